#include "CheckManagerRunnersWindows.h"

#include <chrono>
#include <thread>
#include <utility>

#include "CheckManager.h"
#include "CheckManagerFlow.h"
#include "CommandBudgets.h"
#include "ComPortBase.h"
#include "PhoneCardBase.h"

namespace {

using Clock = std::chrono::steady_clock;
using CommandBuilder = std::string (CPhoneCardBase::*)();
using ReplyParser = COM_CMD_OPERATE_RESULT_t (CPhoneCardBase::*)(std::string);

// Pause after a poll that brought no verdict.
constexpr std::chrono::milliseconds POLL_PAUSE(100);

ComCmdHandler_t ParserHandler(ReplyParser parser)
{
    return [parser](CPhoneCardBase *phone, std::string reply) {
        return (phone->*parser)(std::move(reply));
    };
}

bool RunBuiltCommand(CPhoneCardBase *phone, CComPortBase *port, CommandBuilder builder,
                     ReplyParser parser, int polls)
{
    if (phone == nullptr)
        return false;
    return RunComCmd(phone, port, (phone->*builder)(), ParserHandler(parser), polls);
}

}  // namespace

// Stand-in until the handler-driven runner and its handler table land: the
// same contract, kept to the least that lets the flows run on the Windows port.
bool RunComCmd(CPhoneCardBase *phone, CComPortBase *port, std::string command,
               ComCmdHandler_t handler, int polls)
{
    if (phone == nullptr || port == nullptr || !port->IsOpened())
        return false;
    port->Write(std::move(command));
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(PollBudgetMs(polls));
    std::string reply;
    while (Clock::now() < deadline) {
        port->ReadAll(reply);
        const COM_CMD_OPERATE_RESULT_t verdict = handler(phone, reply);
        if (verdict == COM_CMD_OK)
            return true;
        if (verdict == COM_CMD_ERROR || IsLineGone(*port))
            return false;
        std::this_thread::sleep_for(POLL_PAUSE);
    }
    return false;
}

// Stand-ins until the wrappers of the handler-driven runner land: each runs
// its command with the budget of the Linux runner of the same name.
void CCheckManager::RunComCmdInitPhone(CPhoneCardBase *phone, CComPortBase *port)
{
    if (phone == nullptr || port == nullptr || !port->Open())
        return;
    for (const std::string &command : phone->GetInitAtCmd())
        RunComCmd(phone, port, command, ParserHandler(&CPhoneCardBase::OnInitAtCmdRsp),
                  INIT_POLLS_PER_COMMAND);
}

bool CCheckManager::RunComCmdQuerySMSC(CPhoneCardBase *phone, CComPortBase *port)
{
    return RunBuiltCommand(phone, port, &CPhoneCardBase::GetQuerySmsCenterCmd,
                           &CPhoneCardBase::OnGetQuerySmsCenterCmdRsp, LONG_POLLS)
           || MaySendWithoutSmsCenter(phone, port);
}

bool CCheckManager::RunComCmdSetPduMode(CPhoneCardBase *phone, CComPortBase *port)
{
    return RunBuiltCommand(phone, port, &CPhoneCardBase::SetSmsPDUModeCmd,
                           &CPhoneCardBase::OnSetSmsPduModeCmdRsp, LONG_POLLS);
}

bool CCheckManager::RunComCmdSetRecvSmsCompatibleMode(CPhoneCardBase *phone, CComPortBase *port)
{
    return RunBuiltCommand(phone, port, &CPhoneCardBase::GetRecvSmsCompatibleModeCmd,
                           &CPhoneCardBase::OnGetRecvSmsCompatibleModeCmdRsp, LONG_POLLS);
}

bool CCheckManager::RunComCmdReadAllSmsToPhone(CPhoneCardBase *phone, CComPortBase *port)
{
    return RunBuiltCommand(phone, port, &CPhoneCardBase::GetReadAllSmsCmd,
                           &CPhoneCardBase::OnReadAllSmsCmdRsp, LIST_POLLS);
}

bool CCheckManager::RunComCmdSendPduLen(CPhoneCardBase *phone, CComPortBase *port, std::string cmd)
{
    return RunComCmd(phone, port, std::move(cmd),
                     ParserHandler(&CPhoneCardBase::OnSendPduSmsLenCmdRsp), SEND_LEN_POLLS);
}

bool CCheckManager::RunComCmdSendPduContext(CPhoneCardBase *phone, CComPortBase *port,
                                            std::string pdu)
{
    return RunComCmd(phone, port, std::move(pdu),
                     ParserHandler(&CPhoneCardBase::OnSendPduSmsContextCmdRsp), LONG_POLLS);
}

// The read flow's two storage steps.
bool CCheckManager::RunComCmdReadME_Sms(CPhoneCardBase *phone, CComPortBase *port)
{
    return RunBuiltCommand(phone, port, &CPhoneCardBase::GetReadSmsOnMeCmd,
                           &CPhoneCardBase::OnGetReadSmsOnMeCmd, STORE_SELECT_POLLS);
}

bool CCheckManager::RunComCmdReadSM_Sms(CPhoneCardBase *phone, CComPortBase *port)
{
    return RunBuiltCommand(phone, port, &CPhoneCardBase::GetReadSmsOnSmCmd,
                           &CPhoneCardBase::OnGetReadSmsOnSmCmd, STORE_SELECT_POLLS);
}
