// The runners' pauses against a wall clock that is set back while they wait,
// as an operator or a time service may set it. This binary's wall clock is
// the one defined below: the real one, unless a test steps it.
#include <sys/time.h>
#include <time.h>

#include <atomic>
#include <future>
#include <thread>

#include "AppTestSupport.h"
#include "CheckManagerLinux.h"

namespace {

// Readings of the wall clock left before it steps back; -1: it never does.
std::atomic<int> g_readingsBeforeStep {-1};
std::atomic<long long> g_stepBackUs {0};

constexpr long long kUsPerSecond = 1000000;
constexpr long long kNsPerUs = 1000;

}  // namespace

// Every wall-clock reading of the program's code in this binary comes here.
int gettimeofday(struct timeval *__restrict tv, void *__restrict) noexcept
{
    timespec now {};
    clock_gettime(CLOCK_REALTIME, &now);
    long long us = static_cast<long long>(now.tv_sec) * kUsPerSecond + now.tv_nsec / kNsPerUs;
    int left = g_readingsBeforeStep.load();
    while (left > 0 && !g_readingsBeforeStep.compare_exchange_weak(left, left - 1)) {
    }
    if (left == 0)
        us -= g_stepBackUs.load();
    tv->tv_sec = static_cast<time_t>(us / kUsPerSecond);
    tv->tv_usec = static_cast<suseconds_t>(us % kUsPerSecond);
    return 0;
}

namespace {
using app_test::Fake;
using app_test::PortTest;

// The wall clock goes back `back` once it has been read once more: a sleep
// until a time read before the step would last as long as the step.
class WallClockStep {
public:
    explicit WallClockStep(std::chrono::seconds back)
    {
        g_stepBackUs = std::chrono::duration_cast<std::chrono::microseconds>(back).count();
        g_readingsBeforeStep = 1;
    }
    ~WallClockStep() { Undo(); }
    WallClockStep(const WallClockStep &) = delete;
    WallClockStep &operator=(const WallClockStep &) = delete;
    void Undo()
    {
        g_readingsBeforeStep = -1;
        g_stepBackUs = 0;
    }
};

class RunnerClockTest : public PortTest {};

// The runner polls its silent modem as often and as long as ever; the step
// back holds up none of its pauses.
TEST_F(RunnerClockTest, AWallClockSetBackHoldsUpNoRunner)
{
    FakeModem fake(Fake(FakeModel::Silent));
    ASSERT_TRUE(fake.Ok()) << fake.Error();
    CComPortBase port(fake.SlavePath(), 9600);
    CPhone_Tarnel phone;
    WallClockStep step(std::chrono::hours(1));
    std::future<bool> answered = std::async(std::launch::async, [&] {
        return CCheckManager::RunComCmdAT(&phone, &port);
    });
    // Ten polls of a silent line take about half a second.
    const bool ended = answered.wait_for(std::chrono::seconds(5)) == std::future_status::ready;
    // A runner held up wakes once the clock is put right again.
    step.Undo();
    EXPECT_TRUE(ended) << "a runner's pause waited for the wall clock";
    EXPECT_FALSE(answered.get());
}

}  // namespace
