// Command runners of the Linux build: the budget of a runner as a count of
// polls of the port, the rule that ends the initialisation sequence, and the
// runners of the probe, each running its row of the runner table.
#include <sys/time.h>
#include <unistd.h>

#include <cstdint>
#include <optional>

#include "CheckManager.h"
#include "CheckManagerLinux.h"
#include "CheckManagerRunners.h"
#include "CommandBudgets.h"
#include "ComPortBaseLinux.h"

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

}  // namespace

// A Linux runner counts its polls of the port.
CommandBudget RunnerBudget(int polls, const ReadBound &bound, CommandClock::Duration extraPause)
{
    return {polls, Ms(0), Ms(LINUX_SLEEP / USEC_PER_MS) + extraPause, bound};
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

// A silent modem may still take the rest; a refusal ends the sequence, and
// so does a device that went away or sends without end.
bool InitSequenceEnds(const CComPortBase &, const std::optional<CommandEnd> &last)
{
    return last && *last != CommandEnd::Done && *last != CommandEnd::OutOfTime;
}

bool CCheckManager::RunComCmdAT(CPhoneCardBase *phone, CComPortBase *port)
{
    return RunRunner(Runner::AT, phone, port);
}

bool CCheckManager::RunComCmdATI(CPhoneCardBase *phone, CComPortBase *port)
{
    return RunRunner(Runner::ATI, phone, port);
}

bool CCheckManager::RunComCmdGetSerialNumber(CPhoneCardBase *phone, CComPortBase *port)
{
    return RunRunner(Runner::GetSerialNumber, phone, port);
}

bool CCheckManager::RunComCmdGetSmsCardNumber(CPhoneCardBase *phone, CComPortBase *port)
{
    return RunRunner(Runner::GetSmsCardNumber, phone, port);
}

bool CCheckManager::RunComCmdGetSignalStrength(CPhoneCardBase *phone, CComPortBase *port)
{
    return RunRunner(Runner::GetSignalStrength, phone, port);
}
