// Command runners of the Linux build: one command of a model object written
// on a port, the reply gathered poll by poll and judged by the model's own
// parser each time.
#include <sys/time.h>
#include <unistd.h>

#include <chrono>

#include "CheckManager.h"
#include "CheckManagerFlow.h"
#include "CheckManagerLinux.h"
#include "CommandBudgets.h"
#include "ComPortBase.h"
#include "PhoneCardBase.h"

namespace {

using CommandBuilder = std::string (CPhoneCardBase::*)();
using ReplyParser = COM_CMD_OPERATE_RESULT_t (CPhoneCardBase::*)(std::string);

// How a runner makes sure it may write. Runners that start a conversation
// open a closed port; the others refuse one, since a port that closed under
// them lost whatever state the earlier commands set up.
enum class PortGuard { Open, IsOpened };

// The poll limits of CommandBudgets.h are the time budget of each command: a
// poll costs at least the port's read pause plus LINUX_SLEEP.
static_assert(RUNNER_POLL_MIN_MS * 1000 == USLEEP_COUNT + static_cast<int>(LINUX_SLEEP),
              "a poll budget's time is the port's read pause plus the runner's sleep");

// Deleting every message can keep a modem busy for minutes: each poll of
// that runner waits this much longer.
constexpr std::uint64_t DEL_ALL_EXTRA_WAIT_USEC = 100000;

constexpr std::uint64_t USEC_PER_SEC = 1000000;
// usleep_until2 sleeps in steps of at most this much.
constexpr std::uint64_t SLEEP_STEP_USEC = 10000;

bool PortPassesGuard(CComPortBase *port, PortGuard guard)
{
    return guard == PortGuard::Open ? port->Open() : port->IsOpened();
}

// One reply gathered poll by poll, within a bound when the command has one:
// the bytes gathered, and the time spent in polls that brought bytes, count
// against it. A poll that finds the line silent costs the port's pause and
// is bounded by the runner's poll count instead, so a modem slow to begin
// its reply keeps the whole budget of its command.
class BoundedReply {
public:
    explicit BoundedReply(const ReadBound *bound) : m_bound(bound) {}

    // Appends what the port delivers now, never more than the bound leaves.
    bool ReadMore(CComPortBase *port)
    {
        if (m_bound == nullptr)
            return port->ReadAll(m_reply);
        const std::size_t before = m_reply.size();
        const Clock::time_point start = Clock::now();
        const ReadBound left = {m_bound->maxBytes - before, m_bound->maxMs - m_receivingMs};
        const bool read = port->ReadAll(m_reply, left);
        if (m_reply.size() > before)
            m_receivingMs += static_cast<int>(
                std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start)
                    .count());
        return read;
    }

    // The reply took all that its bound allows without being decisive.
    bool IsBoundReached() const
    {
        return m_bound != nullptr
               && (m_reply.size() >= m_bound->maxBytes || m_receivingMs >= m_bound->maxMs);
    }

    const std::string &Text() const { return m_reply; }

private:
    using Clock = std::chrono::steady_clock;

    const ReadBound *m_bound;
    std::string m_reply;
    int m_receivingMs = 0;
};

// Polls the reply to the command just written: every ReadAll appends to one
// reply, which the parser sees whole each time. Answers COM_CMD_WAIT when
// the polls ran out without a verdict, and COM_CMD_ERROR as soon as the line
// has gone away: a vanished device cannot answer, and waiting out the whole
// budget (over a minute for some commands) would only hold the flow up. A
// reply that reaches its bound without a verdict is no answer either.
COM_CMD_OPERATE_RESULT_t PollReply(CPhoneCardBase *phone, CComPortBase *port, ReplyParser parser,
                                   int polls, std::uint64_t extraWaitUsec,
                                   const ReadBound *bound = nullptr)
{
    BoundedReply reply(bound);
    for (int poll = 0; poll < polls; ++poll) {
        if (reply.ReadMore(port)) {
            const COM_CMD_OPERATE_RESULT_t verdict = (phone->*parser)(reply.Text());
            if (verdict == COM_CMD_OK || verdict == COM_CMD_ERROR)
                return verdict;
        }
        if (reply.IsBoundReached() || IsLineGone(*port))
            return COM_CMD_ERROR;
        if (extraWaitUsec > 0)
            usleep_until2(time_usec2() + extraWaitUsec);
        usleep(LINUX_SLEEP);
    }
    return COM_CMD_WAIT;
}

bool WriteAndJudge(CPhoneCardBase *phone, CComPortBase *port, const std::string &command,
                   ReplyParser parser, int polls, std::uint64_t extraWaitUsec = 0,
                   const ReadBound *bound = nullptr)
{
    // Write answers false even after a good write; the reply tells.
    port->Write(command);
    return PollReply(phone, port, parser, polls, extraWaitUsec, bound) == COM_CMD_OK;
}

bool RunBuiltCommand(CPhoneCardBase *phone, CComPortBase *port, PortGuard guard,
                     CommandBuilder builder, ReplyParser parser, int polls,
                     std::uint64_t extraWaitUsec = 0, const ReadBound *bound = nullptr)
{
    if (phone == nullptr || port == nullptr || !PortPassesGuard(port, guard))
        return false;
    return WriteAndJudge(phone, port, (phone->*builder)(), parser, polls, extraWaitUsec, bound);
}

// A command of the probe, whose reply is a few lines at most.
bool RunProbeCommand(CPhoneCardBase *phone, CComPortBase *port, PortGuard guard,
                     CommandBuilder builder, ReplyParser parser, int polls)
{
    return RunBuiltCommand(phone, port, guard, builder, parser, polls, 0, &PROBE_REPLY_BOUND);
}

bool RunGivenText(CPhoneCardBase *phone, CComPortBase *port, const std::string &text,
                  ReplyParser parser, int polls)
{
    if (phone == nullptr || port == nullptr || !PortPassesGuard(port, PortGuard::IsOpened))
        return false;
    return WriteAndJudge(phone, port, text, parser, polls);
}

}  // namespace

std::uint64_t time_usec2()
{
    timeval now {};
    gettimeofday(&now, nullptr);
    return static_cast<std::uint64_t>(now.tv_sec) * USEC_PER_SEC
           + static_cast<std::uint64_t>(now.tv_usec);
}

int usleep_until2(std::uint64_t targetUsec)
{
    for (;;) {
        const std::uint64_t now = time_usec2();
        if (now >= targetUsec)
            return 0;
        const std::uint64_t left = targetUsec - now;
        usleep(static_cast<useconds_t>(left <= SLEEP_STEP_USEC ? left : SLEEP_STEP_USEC));
    }
}

void CCheckManager::RunComCmdInitPhone(CPhoneCardBase *phone, CComPortBase *port)
{
    if (phone == nullptr || port == nullptr || !port->Open())
        return;
    for (const std::string &command : phone->GetInitAtCmd()) {
        if (!port->IsOpened())
            continue;
        port->Write(command);
        // A silent modem may still take the rest; only a refusal stops here.
        // The replies are as short as the probe's, whichever flow asks.
        if (PollReply(phone, port, &CPhoneCardBase::OnInitAtCmdRsp, INIT_POLLS_PER_COMMAND, 0,
                      &PROBE_REPLY_BOUND)
            == COM_CMD_ERROR)
            return;
    }
}

bool CCheckManager::RunComCmdDelAllSms(CPhoneCardBase *phone, CComPortBase *port)
{
    return RunBuiltCommand(phone, port, PortGuard::IsOpened, &CPhoneCardBase::GetDelAllSmsCmd,
                           &CPhoneCardBase::OnDelAllSmsCmdRsp, DEL_ALL_POLLS,
                           DEL_ALL_EXTRA_WAIT_USEC);
}

bool CCheckManager::RunComCmdQuerySMSC(CPhoneCardBase *phone, CComPortBase *port)
{
    if (RunBuiltCommand(phone, port, PortGuard::IsOpened, &CPhoneCardBase::GetQuerySmsCenterCmd,
                        &CPhoneCardBase::OnGetQuerySmsCenterCmdRsp, LONG_POLLS))
        return true;
    return MaySendWithoutSmsCenter(phone, port);
}

bool CCheckManager::RunComCmdAT(CPhoneCardBase *phone, CComPortBase *port)
{
    return RunProbeCommand(phone, port, PortGuard::Open, &CPhoneCardBase::GetATCmd,
                           &CPhoneCardBase::OnGetAtCmdRsp, AT_POLLS);
}

bool CCheckManager::RunComCmdATI(CPhoneCardBase *phone, CComPortBase *port)
{
    return RunProbeCommand(phone, port, PortGuard::IsOpened, &CPhoneCardBase::GetAtiCmd,
                           &CPhoneCardBase::OnGetAtiCmdRsp, LONG_POLLS);
}

bool CCheckManager::RunComCmdGetSerialNumber(CPhoneCardBase *phone, CComPortBase *port)
{
    return RunProbeCommand(phone, port, PortGuard::Open, &CPhoneCardBase::GetIMEI_Cmd,
                           &CPhoneCardBase::OnGetIMEI_Cmd, VALUE_POLLS);
}

bool CCheckManager::RunComCmdSendPduContext(CPhoneCardBase *phone, CComPortBase *port,
                                            std::string pdu)
{
    return RunGivenText(phone, port, pdu, &CPhoneCardBase::OnSendPduSmsContextCmdRsp, LONG_POLLS);
}

bool CCheckManager::RunComCmdSendPduLen(CPhoneCardBase *phone, CComPortBase *port, std::string cmd)
{
    return RunGivenText(phone, port, cmd, &CPhoneCardBase::OnSendPduSmsLenCmdRsp, SEND_LEN_POLLS);
}

bool CCheckManager::RunComCmdReadAllSmsToPhone(CPhoneCardBase *phone, CComPortBase *port)
{
    return RunBuiltCommand(phone, port, PortGuard::IsOpened, &CPhoneCardBase::GetReadAllSmsCmd,
                           &CPhoneCardBase::OnReadAllSmsCmdRsp, LIST_POLLS);
}

bool CCheckManager::RunComCmdSetRecvSmsCompatibleMode(CPhoneCardBase *phone, CComPortBase *port)
{
    return RunBuiltCommand(phone, port, PortGuard::IsOpened,
                           &CPhoneCardBase::GetRecvSmsCompatibleModeCmd,
                           &CPhoneCardBase::OnGetRecvSmsCompatibleModeCmdRsp, LONG_POLLS);
}

bool CCheckManager::RunComCmdSetPduMode(CPhoneCardBase *phone, CComPortBase *port)
{
    return RunBuiltCommand(phone, port, PortGuard::IsOpened, &CPhoneCardBase::SetSmsPDUModeCmd,
                           &CPhoneCardBase::OnSetSmsPduModeCmdRsp, LONG_POLLS);
}

bool CCheckManager::RunComCmdGetSmsCardNumber(CPhoneCardBase *phone, CComPortBase *port)
{
    return RunProbeCommand(phone, port, PortGuard::IsOpened, &CPhoneCardBase::GetIMSI_Cmd,
                           &CPhoneCardBase::OnGetIMSI_CmdRsp, VALUE_POLLS);
}

bool CCheckManager::RunComCmdReadME_Sms(CPhoneCardBase *phone, CComPortBase *port)
{
    return RunBuiltCommand(phone, port, PortGuard::IsOpened, &CPhoneCardBase::GetReadSmsOnMeCmd,
                           &CPhoneCardBase::OnGetReadSmsOnMeCmd, STORE_SELECT_POLLS);
}

bool CCheckManager::RunComCmdReadSM_Sms(CPhoneCardBase *phone, CComPortBase *port)
{
    return RunBuiltCommand(phone, port, PortGuard::IsOpened, &CPhoneCardBase::GetReadSmsOnSmCmd,
                           &CPhoneCardBase::OnGetReadSmsOnSmCmd, STORE_SELECT_POLLS);
}

bool CCheckManager::RunComCmdGetSignalStrength(CPhoneCardBase *phone, CComPortBase *port)
{
    return RunProbeCommand(phone, port, PortGuard::IsOpened, &CPhoneCardBase::GetSignalStrengthCmd,
                           &CPhoneCardBase::OnGetSignalStrengthCmdRsp, VALUE_POLLS);
}
