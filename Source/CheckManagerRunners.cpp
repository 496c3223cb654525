// The runner table and the runners that both builds have. The rule that
// ends the initialisation sequence, and the runners of one build only, are
// in the platform folder.
#include "CheckManagerRunners.h"

#include "CheckManager.h"
#include "CheckManagerFlow.h"
#include "CommandBudgets.h"
#include "ComPortBase.h"
#include "PhoneCardBase.h"

namespace {

using Ms = CommandClock::Duration;
using Phone = CPhoneCardBase;

// Deleting every message can keep a modem busy for minutes: each poll of
// that runner waits this much longer.
constexpr Ms DEL_ALL_EXTRA_WAIT(100);

constexpr ReplyEnd kFinal = ReplyEnd::FinalResult;

const RunnerRow kRunnerRows[] = {
    {Runner::InitPhone, PortGuard::Open, nullptr, &Phone::OnInitAtCmdRsp, INIT_POLLS_PER_COMMAND,
     SHORT_REPLY_BOUND, kFinal, Ms(0)},
    {Runner::DelAllSms, PortGuard::IsOpened, &Phone::GetDelAllSmsCmd, &Phone::OnDelAllSmsCmdRsp,
     DEL_ALL_POLLS, SHORT_REPLY_BOUND, kFinal, DEL_ALL_EXTRA_WAIT},
    {Runner::QuerySMSC, PortGuard::IsOpened, &Phone::GetQuerySmsCenterCmd,
     &Phone::OnGetQuerySmsCenterCmdRsp, LONG_POLLS, SHORT_REPLY_BOUND, kFinal, Ms(0)},
    {Runner::AT, PortGuard::Open, &Phone::GetATCmd, &Phone::OnGetAtCmdRsp, AT_POLLS,
     SHORT_REPLY_BOUND, kFinal, Ms(0)},
    {Runner::ATI, PortGuard::IsOpened, &Phone::GetAtiCmd, &Phone::OnGetAtiCmdRsp, LONG_POLLS,
     SHORT_REPLY_BOUND, kFinal, Ms(0)},
    {Runner::GetSerialNumber, PortGuard::Open, &Phone::GetIMEI_Cmd, &Phone::OnGetIMEI_Cmd,
     VALUE_POLLS, SHORT_REPLY_BOUND, kFinal, Ms(0)},
    {Runner::SendPduContext, PortGuard::IsOpened, nullptr, &Phone::OnSendPduSmsContextCmdRsp,
     LONG_POLLS, SHORT_REPLY_BOUND, kFinal, Ms(0)},
    {Runner::SendPduLen, PortGuard::IsOpened, nullptr, &Phone::OnSendPduSmsLenCmdRsp,
     SEND_LEN_POLLS, SHORT_REPLY_BOUND, ReplyEnd::Prompt, Ms(0)},
    {Runner::ReadAllSmsToPhone, PortGuard::IsOpened, &Phone::GetReadAllSmsCmd,
     &Phone::OnReadAllSmsCmdRsp, LIST_POLLS, LISTING_REPLY_BOUND, kFinal, Ms(0)},
    {Runner::SetRecvSmsCompatibleMode, PortGuard::IsOpened, &Phone::GetRecvSmsCompatibleModeCmd,
     &Phone::OnGetRecvSmsCompatibleModeCmdRsp, LONG_POLLS, SHORT_REPLY_BOUND, kFinal, Ms(0)},
    {Runner::SetPduMode, PortGuard::IsOpened, &Phone::SetSmsPDUModeCmd,
     &Phone::OnSetSmsPduModeCmdRsp, LONG_POLLS, SHORT_REPLY_BOUND, kFinal, Ms(0)},
    {Runner::GetSmsCardNumber, PortGuard::IsOpened, &Phone::GetIMSI_Cmd, &Phone::OnGetIMSI_CmdRsp,
     VALUE_POLLS, SHORT_REPLY_BOUND, kFinal, Ms(0)},
    {Runner::ReadME_Sms, PortGuard::IsOpened, &Phone::GetReadSmsOnMeCmd,
     &Phone::OnGetReadSmsOnMeCmd, STORE_SELECT_POLLS, SHORT_REPLY_BOUND, kFinal, Ms(0)},
    {Runner::ReadSM_Sms, PortGuard::IsOpened, &Phone::GetReadSmsOnSmCmd,
     &Phone::OnGetReadSmsOnSmCmd, STORE_SELECT_POLLS, SHORT_REPLY_BOUND, kFinal, Ms(0)},
    {Runner::GetSignalStrength, PortGuard::IsOpened, &Phone::GetSignalStrengthCmd,
     &Phone::OnGetSignalStrengthCmdRsp, VALUE_POLLS, SHORT_REPLY_BOUND, kFinal, Ms(0)},
};

bool PortPassesGuard(CComPortBase &port, PortGuard guard)
{
    return guard == PortGuard::Open ? port.Open() : port.IsOpened();
}

}  // namespace

const RunnerRow &RunnerRowOf(Runner runner)
{
    for (const RunnerRow &row : kRunnerRows)
        if (row.runner == runner)
            return row;
    // Every runner has its row: the table lists them all.
    return kRunnerRows[0];
}

CommandEnd RunRunnerRow(const RunnerRow &row, CPhoneCardBase &phone, SerialLine &line,
                        CommandClock &clock, const std::string &text)
{
    const std::string command = row.builder != nullptr ? (phone.*row.builder)() : text;
    const ReplyParse parse = [&phone, &row](const std::string &reply) {
        return (phone.*row.parser)(reply);
    };
    CommandForm form;
    form.end = row.end;
    return RunPortCommand(line, clock, command, parse,
                          RunnerBudget(row.polls, row.bound, row.extraPause), form);
}

bool RunRunner(Runner runner, CPhoneCardBase *phone, CComPortBase *port, const std::string &text,
               CommandClock &clock)
{
    const RunnerRow &row = RunnerRowOf(runner);
    if (phone == nullptr || port == nullptr || !PortPassesGuard(*port, row.guard))
        return false;
    PortLine line(*port);
    return RunRunnerRow(row, *phone, line, clock, text) == CommandEnd::Done;
}

void CCheckManager::RunComCmdInitPhone(CPhoneCardBase *phone, CComPortBase *port)
{
    if (phone == nullptr || port == nullptr || !port->Open())
        return;
    const RunnerRow &row = RunnerRowOf(Runner::InitPhone);
    std::optional<CommandEnd> last;
    for (const std::string &command : phone->GetInitAtCmd()) {
        if (InitSequenceEnds(*port, last))
            return;
        if (!port->IsOpened())
            continue;
        PortLine line(*port);
        last = RunRunnerRow(row, *phone, line, RunnerClock(), command);
    }
}

bool CCheckManager::RunComCmdQuerySMSC(CPhoneCardBase *phone, CComPortBase *port)
{
    return RunRunner(Runner::QuerySMSC, phone, port) || MaySendWithoutSmsCenter(phone, port);
}

bool CCheckManager::RunComCmdSendPduContext(CPhoneCardBase *phone, CComPortBase *port,
                                            std::string pdu)
{
    return RunRunner(Runner::SendPduContext, phone, port, pdu);
}

bool CCheckManager::RunComCmdSendPduLen(CPhoneCardBase *phone, CComPortBase *port, std::string cmd)
{
    return RunRunner(Runner::SendPduLen, phone, port, cmd);
}

// A listing refused or never completed is a storage not read: the modem
// object keeps the refusal's text for the read flow to show.
bool CCheckManager::RunComCmdReadAllSmsToPhone(CPhoneCardBase *phone, CComPortBase *port)
{
    return RunRunner(Runner::ReadAllSmsToPhone, phone, port);
}

bool CCheckManager::RunComCmdSetRecvSmsCompatibleMode(CPhoneCardBase *phone, CComPortBase *port)
{
    return RunRunner(Runner::SetRecvSmsCompatibleMode, phone, port);
}

bool CCheckManager::RunComCmdSetPduMode(CPhoneCardBase *phone, CComPortBase *port)
{
    return RunRunner(Runner::SetPduMode, phone, port);
}

// The read flow's storage selections.
bool CCheckManager::RunComCmdReadME_Sms(CPhoneCardBase *phone, CComPortBase *port)
{
    return RunRunner(Runner::ReadME_Sms, phone, port);
}

bool CCheckManager::RunComCmdReadSM_Sms(CPhoneCardBase *phone, CComPortBase *port)
{
    return RunRunner(Runner::ReadSM_Sms, phone, port);
}
