// The wrappers of the Windows runner: each picks its command, its handler
// and its budget, the budget of the Linux runner of the same name.
#include "CheckManagerRunnersWindows.h"

#include <utility>

#include "CheckManager.h"
#include "CheckManagerFlow.h"
#include "CheckManagerPortLine.h"
#include "CommandBudgets.h"
#include "ComPortBase.h"
#include "PhoneCardBase.h"

namespace {

using Ms = CommandClock::Duration;
using CommandBuilder = std::string (CPhoneCardBase::*)();

// The pause after a poll that brought no verdict.
constexpr Ms kCommandPollPause(100);

bool RunBuiltCommand(CPhoneCardBase *phone, CComPortBase *port, CommandBuilder builder,
                     ComCmdHandler_t handler, int polls)
{
    if (phone == nullptr)
        return false;
    return RunComCmd(phone, port, (phone->*builder)(), std::move(handler), polls);
}

// A command of the given form and bound, its budget the time that `polls`
// polls of the Linux runner of the same name take.
bool RunFormedCommand(CPhoneCardBase *phone, CComPortBase *port, const std::string &command,
                      const ComCmdHandler_t &handler, int polls, const ReadBound &bound,
                      const CommandForm &form)
{
    if (phone == nullptr || port == nullptr || !port->IsOpened())
        return false;
    const ReplyParse parse = [phone, &handler](const std::string &reply) {
        return handler(phone, reply);
    };
    return RunPortCommand(*port, command, parse, RunnerBudget(polls, bound), form)
           == CommandEnd::Done;
}

}  // namespace

CommandBudget RunnerBudget(int polls, const ReadBound &bound, CommandClock::Duration extraPause)
{
    CommandBudget budget;
    budget.time = Ms(PollBudgetMs(polls));
    budget.pause = kCommandPollPause + extraPause;
    budget.bound = bound;
    return budget;
}

CommandClock &RunnerClock()
{
    return SteadyCommandClock();
}

bool RunComCmd(CPhoneCardBase *phone, CComPortBase *port, std::string command,
               ComCmdHandler_t handler, int polls)
{
    return RunFormedCommand(phone, port, command, handler, polls, SHORT_REPLY_BOUND, CommandForm());
}

// Every command is sent whatever the one before got: the Windows build
// takes any answer to them as done. Only a vanished line, or one that sends
// without end, stops them.
void CCheckManager::RunComCmdInitPhone(CPhoneCardBase *phone, CComPortBase *port)
{
    if (phone == nullptr || port == nullptr || !port->Open())
        return;
    for (const std::string &command : phone->GetInitAtCmd()) {
        if (!IsLineUsable(*port))
            return;
        RunComCmd(phone, port, command, OnInitPhoneHandler, INIT_POLLS_PER_COMMAND);
    }
}

bool CCheckManager::RunComCmdQuerySMSC(CPhoneCardBase *phone, CComPortBase *port)
{
    return RunBuiltCommand(phone, port, &CPhoneCardBase::GetQuerySmsCenterCmd, OnQuerySMSCHandler,
                           LONG_POLLS)
           || MaySendWithoutSmsCenter(phone, port);
}

bool CCheckManager::RunComCmdSetPduMode(CPhoneCardBase *phone, CComPortBase *port)
{
    return RunBuiltCommand(phone, port, &CPhoneCardBase::SetSmsPDUModeCmd, OnSetPduModeHandler,
                           LONG_POLLS);
}

bool CCheckManager::RunComCmdSetRecvSmsCompatibleMode(CPhoneCardBase *phone, CComPortBase *port)
{
    return RunBuiltCommand(phone, port, &CPhoneCardBase::GetRecvSmsCompatibleModeCmd,
                           OnSetRecvSmsCompatibleModeHandler, LONG_POLLS);
}

// A listing refused or never completed is a storage not read: the modem
// object keeps the refusal's text for the read flow to show.
bool CCheckManager::RunComCmdReadAllSmsToPhone(CPhoneCardBase *phone, CComPortBase *port)
{
    if (phone == nullptr)
        return false;
    return RunFormedCommand(phone, port, phone->GetReadAllSmsCmd(), OnReadAllSmsToPhoneHandler,
                            LIST_POLLS, LISTING_REPLY_BOUND, CommandForm());
}

bool CCheckManager::RunComCmdSendPduLen(CPhoneCardBase *phone, CComPortBase *port, std::string cmd)
{
    CommandForm prompt;
    prompt.end = ReplyEnd::Prompt;
    return RunFormedCommand(phone, port, cmd, OnSendPduLenHandler, SEND_LEN_POLLS,
                            SHORT_REPLY_BOUND, prompt);
}

bool CCheckManager::RunComCmdSendPduContext(CPhoneCardBase *phone, CComPortBase *port,
                                            std::string pdu)
{
    return RunComCmd(phone, port, std::move(pdu), OnSendPduContextHandler, LONG_POLLS);
}

// The read flow's two storage steps.
bool CCheckManager::RunComCmdReadME_Sms(CPhoneCardBase *phone, CComPortBase *port)
{
    return RunBuiltCommand(phone, port, &CPhoneCardBase::GetReadSmsOnMeCmd, OnReadME_SmsHandler,
                           STORE_SELECT_POLLS);
}

bool CCheckManager::RunComCmdReadSM_Sms(CPhoneCardBase *phone, CComPortBase *port)
{
    return RunBuiltCommand(phone, port, &CPhoneCardBase::GetReadSmsOnSmCmd, OnReadSM_SmsHandler,
                           STORE_SELECT_POLLS);
}
