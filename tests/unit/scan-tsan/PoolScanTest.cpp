// Whole scans of modem pools: every port on its own thread at the same time,
// each record complete and in its place; a pool of 64 modems of every model
// scanned twice, one larger than any fixed table of ports would hold, and a
// pool with a device among the modems that never stops sending.
#include <algorithm>
#include <map>
#include <memory>

#include "DescriptorLimit.h"
#include "StreamingLine.h"
#include "AppTestSupport.h"
#include "CheckManagerLinux.h"

namespace {
using app_test::DeviceLinks;
using app_test::ElapsedMs;
using app_test::Fake;
using Clock = std::chrono::steady_clock;

struct PoolModel {
    FakeModel model;
    FakeBaud baud;
    PHONE_TYPE_t type;
    int baudRate;
};

// Every model, some only at the second speed, and modems no model claims.
const PoolModel kPoolModels[] = {
    {FakeModel::Tarnel, FakeBaud::Any, PHONE_TYPE_TARNEL, 9600},
    {FakeModel::VelkorNc5, FakeBaud::Any, PHONE_TYPE_VELKOR_NC5, 9600},
    {FakeModel::VelkorMe, FakeBaud::Only115200, PHONE_TYPE_VELKOR_ME, 115200},
    {FakeModel::Pimsor, FakeBaud::Any, PHONE_TYPE_PIMSOR, 9600},
    {FakeModel::Orvast, FakeBaud::Only115200, PHONE_TYPE_ORVAST, 115200},
    {FakeModel::Sudrel, FakeBaud::Any, PHONE_TYPE_SUDREL, 9600},
    {FakeModel::UnknownAti, FakeBaud::Any, PHONE_TYPE_BASE, 115200},
    {FakeModel::Silent, FakeBaud::Any, PHONE_TYPE_BASE, 115200},
};
constexpr int kModelCount = sizeof kPoolModels / sizeof kPoolModels[0];
const PoolModel &kNothingIdentified = kPoolModels[kModelCount - 1];

// Fakes served by one loop: few enough that each answers as promptly as a
// modem even on a busy machine. One loop serving hundreds falls behind the
// probe's shortest budget (five polls, a quarter of a second) under the
// sanitizers.
constexpr std::size_t kFakesPerLoop = 16;

// Fakes at names of the test's choosing, and what the scan must report for
// each path.
class ModemPool {
public:
    // `modems` fakes cycling through every model, at ttyUSB<n>, and silent
    // built-in ports at ttyS0 and ttyS1.
    void Build(int modems)
    {
        for (int i = 0; i < modems; ++i) {
            const PoolModel &m = kPoolModels[i % kModelCount];
            const std::string name = "ttyUSB" + std::to_string(i);
            ASSERT_NO_FATAL_FAILURE(AddFake(name, Fake(m.model, m.baud), m));
        }
        for (const char *builtIn : {"ttyS0", "ttyS1"})
            ASSERT_NO_FATAL_FAILURE(AddFake(builtIn, Fake(FakeModel::Silent), kNothingIdentified));
        std::string error;
        for (const std::unique_ptr<FakePool> &loop : m_loops)
            ASSERT_TRUE(loop->Start(&error)) << error;
    }
    // Names a device, a fake of the pool or not, with the record it must yield.
    void AddPath(const std::string &name, const std::string &target, const PoolModel &expected)
    {
        const std::string path = m_links.Add(name, target);
        ASSERT_FALSE(path.empty()) << name;
        m_paths.push_back(path);
        m_expected[path] = expected;
    }

    const std::vector<std::string> &Paths() const { return m_paths; }

    // One record per path, in bytewise order, each as its modem demands.
    void Check(const std::vector<DeviceBaseComInfo> &records) const
    {
        ASSERT_EQ(records.size(), m_paths.size());
        auto next = m_expected.begin();  // ordered bytewise, as the records
        for (const DeviceBaseComInfo &r : records) {
            ASSERT_EQ(std::string(r.comPath), next->first);
            const PoolModel &m = next->second;
            EXPECT_EQ(r.phoneType, m.type) << r.comPath;
            EXPECT_EQ(r.baudRate, m.baudRate) << r.comPath;
            EXPECT_EQ(r.isAtOk, m.type != PHONE_TYPE_BASE) << r.comPath;
            EXPECT_TRUE(r.isPortOk) << r.comPath;
            EXPECT_EQ(r.smsCardNumber[0] != '\0', m.type != PHONE_TYPE_BASE) << r.comPath;
            EXPECT_EQ(r.signalStrength[0] != '\0', m.type != PHONE_TYPE_BASE) << r.comPath;
            ++next;
        }
    }

private:
    void AddFake(const std::string &name, const FakeConfig &config, const PoolModel &expected)
    {
        if (m_loops.empty() || m_loops.back()->Size() == kFakesPerLoop)
            m_loops.push_back(std::make_unique<FakePool>());
        FakePool &loop = *m_loops.back();
        std::string error;
        const int n = loop.Add(config, &error);
        ASSERT_GE(n, 0) << error;
        AddPath(name, loop.SlavePath(static_cast<std::size_t>(n)), expected);
    }

    std::vector<std::unique_ptr<FakePool>> m_loops;
    DeviceLinks m_links;
    std::vector<std::string> m_paths;
    std::map<std::string, PoolModel> m_expected;
};

class PoolScanTest : public app_test::PortTest {};

TEST_F(PoolScanTest, SixtyFourModemsAndTheBuiltInPorts)
{
    ModemPool pool;
    ASSERT_NO_FATAL_FAILURE(pool.Build(64));
    for (int scan = 0; scan < 2; ++scan) {
        SCOPED_TRACE("scan " + std::to_string(scan));
        pool.Check(DetectDevicesOnPorts(pool.Paths()));
    }
}

// Far more ports than 256, and more probe threads than default thread stacks
// leave room for in a 32-bit process, all probed at once: each is configured
// and probed like the others, none is turned away or left out.
TEST_F(PoolScanTest, SixHundredModems)
{
    constexpr int kModems = 600;
    // The pool's two descriptors per fake, the probes' one per port, and room.
    constexpr rlim_t kDescriptors = 4 * kModems;
    ScopedDescriptorLimit limit(std::max(DescriptorSoftLimit(), kDescriptors));
    ASSERT_TRUE(limit.Ok());
    ModemPool pool;
    ASSERT_NO_FATAL_FAILURE(pool.Build(kModems));
    pool.Check(DetectDevicesOnPorts(pool.Paths()));
}

// A device that streams without pause is no modem that answers; it costs
// the scan seconds, not the minutes its stream would last, and the modems
// beside it are read as always.
TEST_F(PoolScanTest, DeviceThatNeverStopsSendingAmongModems)
{
    // Long enough that a scan without a bound ends only when the stream does.
    StreamingLine stream(std::chrono::seconds(40));
    ASSERT_TRUE(stream.Ok());
    ModemPool pool;
    ASSERT_NO_FATAL_FAILURE(pool.Build(kModelCount));
    ASSERT_NO_FATAL_FAILURE(pool.AddPath("ttyUSB99", stream.Path(), kNothingIdentified));

    const Clock::time_point start = Clock::now();
    const std::vector<DeviceBaseComInfo> records = DetectDevicesOnPorts(pool.Paths());
    const long long took = ElapsedMs(start);
    stream.Stop();
    pool.Check(records);
    // Two speeds, each an echo-off read and an AT exchange cut at the bound.
    EXPECT_LT(took, 15000);
}
}  // namespace
