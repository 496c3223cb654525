// Command runners of the Linux build: one command of a model object written
// on a port, the reply gathered poll by poll and judged by the model's own
// parser each time.
#include <sys/time.h>
#include <unistd.h>

#include <chrono>

#include "CheckManager.h"
#include "CheckManagerFlow.h"
#include "CheckManagerLinux.h"
#include "CheckManagerPortLine.h"
#include "CommandBudgets.h"
#include "ComPortBase.h"
#include "ComPortBaseLinux.h"
#include "PhoneCardBase.h"

namespace {

using Ms = CommandClock::Duration;

// The poll limits of CommandBudgets.h are the time budget of each command: a
// poll costs at least the port's read pause plus LINUX_SLEEP.
static_assert(RUNNER_POLL_MIN_MS * 1000 == USLEEP_COUNT + static_cast<int>(LINUX_SLEEP),
              "a poll budget's time is the port's read pause plus the runner's sleep");

constexpr std::uint64_t USEC_PER_SEC = 1000000;
constexpr std::uint64_t USEC_PER_MS = 1000;
// usleep_until2 sleeps in steps of at most this much.
constexpr std::uint64_t SLEEP_STEP_USEC = 10000;

bool PortPassesGuard(CComPortBase *port, PortGuard guard)
{
    return guard == PortGuard::Open ? port->Open() : port->IsOpened();
}

ReplyParse ParserOf(CPhoneCardBase *phone, ReplyParser parser)
{
    return [phone, parser](const std::string &reply) { return (phone->*parser)(reply); };
}

bool RunGivenText(CPhoneCardBase *phone, CComPortBase *port, const std::string &text,
                  ReplyParser parser, const CommandBudget &budget, ReplyEnd end)
{
    if (phone == nullptr || port == nullptr || !PortPassesGuard(port, PortGuard::IsOpened))
        return false;
    CommandForm form;
    form.end = end;
    return RunPortCommand(*port, text, ParserOf(phone, parser), budget, form) == CommandEnd::Done;
}

// A command whose reply is a few lines at most: the probe's, and most of
// the flows'.
CommandBudget ShortReply(int polls)
{
    return RunnerBudget(polls, SHORT_REPLY_BOUND);
}

}  // namespace

bool RunBuiltCommand(CPhoneCardBase *phone, CComPortBase *port, PortGuard guard,
                     CommandBuilder builder, ReplyParser parser, const CommandBudget &budget,
                     CommandClock &clock)
{
    if (phone == nullptr || port == nullptr || !PortPassesGuard(port, guard))
        return false;
    return RunPortCommand(clock, *port, (phone->*builder)(), ParserOf(phone, parser), budget)
           == CommandEnd::Done;
}

CommandBudget RunnerBudget(int polls, const ReadBound &bound, CommandClock::Duration extraPause)
{
    CommandBudget budget;
    budget.polls = polls;
    budget.pause = Ms(LINUX_SLEEP / USEC_PER_MS) + extraPause;
    budget.bound = bound;
    return budget;
}

// The runners pause on the steady clock: a wall clock set back, by hand or
// by a time service, would otherwise hold every port's thread in its pause
// until the wall clock caught up again.
CommandClock &RunnerClock()
{
    return SteadyCommandClock();
}

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
        // A silent modem may still take the rest; a refusal stops here, and
        // so does a device that went away or sends without end.
        const CommandEnd end =
            RunPortCommand(*port, command, ParserOf(phone, &CPhoneCardBase::OnInitAtCmdRsp),
                           ShortReply(INIT_POLLS_PER_COMMAND));
        if (end != CommandEnd::Done && end != CommandEnd::OutOfTime)
            return;
    }
}

bool CCheckManager::RunComCmdQuerySMSC(CPhoneCardBase *phone, CComPortBase *port)
{
    if (RunBuiltCommand(phone, port, PortGuard::IsOpened, &CPhoneCardBase::GetQuerySmsCenterCmd,
                        &CPhoneCardBase::OnGetQuerySmsCenterCmdRsp, ShortReply(LONG_POLLS)))
        return true;
    return MaySendWithoutSmsCenter(phone, port);
}

bool CCheckManager::RunComCmdAT(CPhoneCardBase *phone, CComPortBase *port)
{
    return RunBuiltCommand(phone, port, PortGuard::Open, &CPhoneCardBase::GetATCmd,
                           &CPhoneCardBase::OnGetAtCmdRsp, ShortReply(AT_POLLS));
}

bool CCheckManager::RunComCmdATI(CPhoneCardBase *phone, CComPortBase *port)
{
    return RunBuiltCommand(phone, port, PortGuard::IsOpened, &CPhoneCardBase::GetAtiCmd,
                           &CPhoneCardBase::OnGetAtiCmdRsp, ShortReply(LONG_POLLS));
}

bool CCheckManager::RunComCmdGetSerialNumber(CPhoneCardBase *phone, CComPortBase *port)
{
    return RunBuiltCommand(phone, port, PortGuard::Open, &CPhoneCardBase::GetIMEI_Cmd,
                           &CPhoneCardBase::OnGetIMEI_Cmd, ShortReply(VALUE_POLLS));
}

bool CCheckManager::RunComCmdSendPduContext(CPhoneCardBase *phone, CComPortBase *port,
                                            std::string pdu)
{
    return RunGivenText(phone, port, pdu, &CPhoneCardBase::OnSendPduSmsContextCmdRsp,
                        ShortReply(LONG_POLLS), ReplyEnd::FinalResult);
}

bool CCheckManager::RunComCmdSendPduLen(CPhoneCardBase *phone, CComPortBase *port, std::string cmd)
{
    return RunGivenText(phone, port, cmd, &CPhoneCardBase::OnSendPduSmsLenCmdRsp,
                        ShortReply(SEND_LEN_POLLS), ReplyEnd::Prompt);
}

bool CCheckManager::RunComCmdReadAllSmsToPhone(CPhoneCardBase *phone, CComPortBase *port)
{
    return RunBuiltCommand(phone, port, PortGuard::IsOpened, &CPhoneCardBase::GetReadAllSmsCmd,
                           &CPhoneCardBase::OnReadAllSmsCmdRsp,
                           RunnerBudget(LIST_POLLS, LISTING_REPLY_BOUND));
}

bool CCheckManager::RunComCmdSetRecvSmsCompatibleMode(CPhoneCardBase *phone, CComPortBase *port)
{
    return RunBuiltCommand(phone, port, PortGuard::IsOpened,
                           &CPhoneCardBase::GetRecvSmsCompatibleModeCmd,
                           &CPhoneCardBase::OnGetRecvSmsCompatibleModeCmdRsp, ShortReply(LONG_POLLS));
}

bool CCheckManager::RunComCmdSetPduMode(CPhoneCardBase *phone, CComPortBase *port)
{
    return RunBuiltCommand(phone, port, PortGuard::IsOpened, &CPhoneCardBase::SetSmsPDUModeCmd,
                           &CPhoneCardBase::OnSetSmsPduModeCmdRsp, ShortReply(LONG_POLLS));
}

bool CCheckManager::RunComCmdGetSmsCardNumber(CPhoneCardBase *phone, CComPortBase *port)
{
    return RunBuiltCommand(phone, port, PortGuard::IsOpened, &CPhoneCardBase::GetIMSI_Cmd,
                           &CPhoneCardBase::OnGetIMSI_CmdRsp, ShortReply(VALUE_POLLS));
}

bool CCheckManager::RunComCmdReadME_Sms(CPhoneCardBase *phone, CComPortBase *port)
{
    return RunBuiltCommand(phone, port, PortGuard::IsOpened, &CPhoneCardBase::GetReadSmsOnMeCmd,
                           &CPhoneCardBase::OnGetReadSmsOnMeCmd, ShortReply(STORE_SELECT_POLLS));
}

bool CCheckManager::RunComCmdReadSM_Sms(CPhoneCardBase *phone, CComPortBase *port)
{
    return RunBuiltCommand(phone, port, PortGuard::IsOpened, &CPhoneCardBase::GetReadSmsOnSmCmd,
                           &CPhoneCardBase::OnGetReadSmsOnSmCmd, ShortReply(STORE_SELECT_POLLS));
}

bool CCheckManager::RunComCmdGetSignalStrength(CPhoneCardBase *phone, CComPortBase *port)
{
    return RunBuiltCommand(phone, port, PortGuard::IsOpened, &CPhoneCardBase::GetSignalStrengthCmd,
                           &CPhoneCardBase::OnGetSignalStrengthCmdRsp, ShortReply(VALUE_POLLS));
}
