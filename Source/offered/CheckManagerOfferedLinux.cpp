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
#include "CheckManagerRunners.h"
#include "ComPortBase.h"
#include "PhoneCardBase.h"

namespace {

const char kResultFailedOffered[] = " 的短信发送失败,  失败原因: ";

// This runner alone waits its extra time as a sleep until a time of the wall
// clock; the rest of each pause is the runners' own, on the steady clock.
class DeleteAllClock : public CommandClock {
public:
    explicit DeleteAllClock(Duration extraWait) : m_extraWait(extraWait) {}
    Duration Now() override { return SteadyCommandClock().Now(); }
    void Pause(Duration pause) override
    {
        const auto extra = std::chrono::duration_cast<std::chrono::microseconds>(m_extraWait);
        usleep_until2(time_usec2() + static_cast<std::uint64_t>(extra.count()));
        SteadyCommandClock().Pause(pause - m_extraWait);
    }

private:
    Duration m_extraWait;
};

}  // namespace

bool CCheckManager::RunComCmdDelAllSms(CPhoneCardBase *phone, CComPortBase *port)
{
    DeleteAllClock clock(RunnerRowOf(Runner::DelAllSms).extraPause);
    return RunRunner(Runner::DelAllSms, phone, port, std::string(), clock);
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
