// The Windows program's read under Wine from a modem fixed at 115200 behind
// a USB serial bridge without flow control: what lies unread at the port
// beyond about 4 KB is lost on the way, so the port must be read while the
// listing still flows.
#include "FakeSamples.h"
#include "WineFlowSupport.h"

namespace {
using namespace wine_flow;

constexpr int kStoredMessages = 100;

class BridgeWineTest : public WineFlowTest {};

TEST_F(BridgeWineTest, EveryStoredMessageOfAFullSimArrives)
{
    h.AddFake(11, BridgedFullSim(kStoredMessages));
    ASSERT_NO_FATAL_FAILURE(Start());

    const std::string out = Printed(Run(FlowDriver(), {"read"}, "11\n"));
    const std::string count = std::to_string(kStoredMessages);
    std::string listed = "端口 COM11 接收短信成功 共 " + count + " 条短信\nSIM卡中的短信共 " + count + " 条\n";
    for (int n = 1; n <= kStoredMessages; ++n)
        listed += Listed(n, "8613800138000", "19-08-01 12:05:04", ManyStoredText(n));
    listed += kDashes + "\n设备中的短信共 0 条\n";
    EXPECT_NE(out.find(listed), std::string::npos) << out;
}

}  // namespace
