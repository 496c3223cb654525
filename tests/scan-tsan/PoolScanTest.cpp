// A pool of 64 modems of every model, and the two silent built-in ports,
// scanned twice: every port on its own thread at the same time, each record
// complete and in its place.
#include <map>

#include "AppTestSupport.h"
#include "CheckManagerScan.h"

namespace {
using app_test::DeviceLinks;
using app_test::Fake;

constexpr int kPoolSize = 64;

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

class PoolScanTest : public app_test::PortTest {};

TEST_F(PoolScanTest, SixtyFourModemsAndTheBuiltInPorts)
{
    FakePool pool;
    DeviceLinks links;
    std::string error;
    std::vector<std::string> paths;
    std::map<std::string, PoolModel> expected;
    for (int i = 0; i < kPoolSize; ++i) {
        const PoolModel &m = kPoolModels[i % kModelCount];
        ASSERT_EQ(pool.Add(Fake(m.model, m.baud), &error), i) << error;
        const std::string path = links.Add("ttyUSB" + std::to_string(i), pool.SlavePath(i));
        ASSERT_FALSE(path.empty());
        paths.push_back(path);
        expected[path] = m;
    }
    for (const char *builtIn : {"ttyS0", "ttyS1"}) {
        const int n = pool.Add(Fake(FakeModel::Silent), &error);
        ASSERT_GE(n, 0) << error;
        paths.push_back(links.Add(builtIn, pool.SlavePath(n)));
        expected[paths.back()] = kPoolModels[kModelCount - 1];
    }
    ASSERT_TRUE(pool.Start(&error)) << error;

    for (int scan = 0; scan < 2; ++scan) {
        const std::vector<DeviceBaseComInfo> records = DetectDevicesOnPorts(paths);
        ASSERT_EQ(records.size(), paths.size()) << "scan " << scan;
        auto next = expected.begin();  // ordered bytewise, as the records
        for (const DeviceBaseComInfo &r : records) {
            ASSERT_EQ(std::string(r.comPath), next->first) << "scan " << scan;
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
}
}  // namespace
