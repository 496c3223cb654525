// Check manager members of the Linux build that nothing calls: deleting every
// stored message of a port (key "d" deletes nothing) with its runner, a read
// of the device storage that reads nothing, and a plain-text list of the
// collected send results. The Windows build has none of them.
#include <iostream>

#include "CheckManager.h"
#include "CheckManagerFlow.h"
#include "CheckManagerLinux.h"
#include "CommandBudgets.h"
#include "ComPortBase.h"
#include "PhoneCardBase.h"

namespace {

// Deleting every message can keep a modem busy for minutes: each poll of
// that runner waits this much longer.
constexpr CommandClock::Duration DEL_ALL_EXTRA_WAIT(100);

const char kResultFailedOffered[] = " 的短信发送失败,  失败原因: ";

}  // namespace

bool CCheckManager::RunComCmdDelAllSms(CPhoneCardBase *phone, CComPortBase *port)
{
    return RunBuiltCommand(phone, port, PortGuard::IsOpened, &CPhoneCardBase::GetDelAllSmsCmd,
                           &CPhoneCardBase::OnDelAllSmsCmdRsp,
                           RunnerBudget(DEL_ALL_POLLS, SHORT_REPLY_BOUND, DEL_ALL_EXTRA_WAIT));
}

bool CCheckManager::DeleteAllSmsByPhone(CPhoneCardBase *phone, CComPortBase *port)
{
    if (phone == nullptr || port == nullptr || !port->Open())
        return false;
    const bool deleted = RunComCmdDelAllSms(phone, port);
    port->Close();
    return deleted;
}

bool CCheckManager::ReadAllSmsByPhoneME(CPhoneCardBase *phone, CComPortBase *port)
{
    if (phone != nullptr && port != nullptr)
        port->Open();
    return false;
}

void CCheckManager::PrintSendPduSmsResultAsPlainText()
{
    for (const SendSmsResult_t &result : m_sendResultVec)
        PrintSendResultLine(result, result.comPath, kResultFailedOffered);
    std::cout << std::endl << std::endl;
}
