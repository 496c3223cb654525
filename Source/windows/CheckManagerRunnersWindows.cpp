// The wrappers of the Windows runner: each picks its command, its handler
// and its budget, the budget of the Linux runner of the same name.
#include "CheckManagerRunnersWindows.h"

#include <utility>

#include "CheckManager.h"
#include "CheckManagerFlow.h"
#include "CommandBudgets.h"
#include "ComPortBase.h"
#include "PhoneCardBase.h"

namespace {

// The Win32 port as the runner's line. A null port is a closed one.
class ComPortLine : public CommandLine {
public:
    explicit ComPortLine(CComPortBase *port) : m_port(port) {}
    bool IsOpened() const override { return m_port != nullptr && m_port->IsOpened(); }
    void Write(const std::string &command) override { m_port->Write(command); }
    void ReadAll(std::string &reply) override { m_port->ReadAll(reply); }
    bool IsLineGone() const override { return m_port != nullptr && ::IsLineGone(*m_port); }

private:
    CComPortBase *m_port;
};

using CommandBuilder = std::string (CPhoneCardBase::*)();

bool RunBuiltCommand(CPhoneCardBase *phone, CComPortBase *port, CommandBuilder builder,
                     ComCmdHandler_t handler, int polls)
{
    if (phone == nullptr)
        return false;
    return RunComCmd(phone, port, (phone->*builder)(), std::move(handler), polls);
}

}  // namespace

bool RunComCmd(CPhoneCardBase *phone, CComPortBase *port, std::string command,
               ComCmdHandler_t handler, int polls)
{
    ComPortLine line(port);
    const CommandClock::Duration budget(PollBudgetMs(polls));
    return RunHandledCommand(phone, line, SteadyCommandClock(), command, handler, budget)
           == CommandEnd::Done;
}

// Every command is sent whatever the one before got: the Windows build
// takes any answer to them as done. Only a vanished line stops them.
void CCheckManager::RunComCmdInitPhone(CPhoneCardBase *phone, CComPortBase *port)
{
    if (phone == nullptr || port == nullptr || !port->Open())
        return;
    for (const std::string &command : phone->GetInitAtCmd()) {
        if (IsLineGone(*port))
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
    return RunBuiltCommand(phone, port, &CPhoneCardBase::GetReadAllSmsCmd,
                           OnReadAllSmsToPhoneHandler, LIST_POLLS);
}

bool CCheckManager::RunComCmdSendPduLen(CPhoneCardBase *phone, CComPortBase *port, std::string cmd)
{
    return RunComCmd(phone, port, std::move(cmd), OnSendPduLenHandler, SEND_LEN_POLLS);
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
