// Check manager members of the Linux build that nothing calls: deleting every
// stored message of a port (key "d" deletes nothing) with its runner, a read
// of the device storage that reads nothing, and a plain-text list of the
// collected send results. The Windows build has none of them.
#include <chrono>
#include <cstdint>
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

// This runner alone waits its extra time as a sleep until a time of the wall
// clock; the rest of each pause is the runners' own, on the steady clock.
class DeleteAllClock : public CommandClock {
public:
    Duration Now() override { return SteadyCommandClock().Now(); }
    void Pause(Duration pause) override
    {
        const auto extra = std::chrono::duration_cast<std::chrono::microseconds>(DEL_ALL_EXTRA_WAIT);
        usleep_until2(time_usec2() + static_cast<std::uint64_t>(extra.count()));
        SteadyCommandClock().Pause(pause - DEL_ALL_EXTRA_WAIT);
    }
};

}  // namespace

bool CCheckManager::RunComCmdDelAllSms(CPhoneCardBase *phone, CComPortBase *port)
{
    DeleteAllClock clock;
    return RunBuiltCommand(phone, port, PortGuard::IsOpened, &CPhoneCardBase::GetDelAllSmsCmd,
                           &CPhoneCardBase::OnDelAllSmsCmdRsp,
                           RunnerBudget(DEL_ALL_POLLS, SHORT_REPLY_BOUND, DEL_ALL_EXTRA_WAIT), clock);
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
