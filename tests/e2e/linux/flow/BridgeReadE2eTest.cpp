// Reading through the real program's menu from a modem fixed at 115200
// behind a USB serial bridge without flow control: what lies unread at the
// port beyond about 4 KB is lost on the way, so a read that falls behind the
// line loses messages and, with them, the listing's OK.
#include "FakeSamples.h"
#include "FlowE2eSupport.h"

namespace {
using namespace flow_e2e;

constexpr int kStoredMessages = 100;

class BridgeReadE2eTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (geteuid() != 0)
            GTEST_SKIP() << "mount namespaces need root";
    }

    ZarvexHarness h{kPaths};
};

TEST_F(BridgeReadE2eTest, EveryStoredMessageOfAFullSimArrives)
{
    FakeConfig bridged = Fake(FakeModel::Tarnel);
    bridged.baud = FakeBaud::Only115200;
    bridged.uartBridge = true;
    bridged.messages = ManyStoredMessages(kStoredMessages);
    std::string error;
    ASSERT_TRUE(h.Start({bridged}, &error)) << error;
    auto p = h.StartInteractive({}, &error, kRunMs);
    ASSERT_TRUE(p) << error;
    Terminal t(std::move(p));
    ASSERT_TRUE(t.Dialogue('2', {{kPortPrompt, "USB0"}}, kReadDone));

    const std::string count = std::to_string(kStoredMessages);
    std::vector<std::string> expected = {
        OnTerminal(Green("端口 ttyUSB0 接收短信成功 共 " + count + " 条短信") + "\n"),
        OnTerminal(Green("SIM卡中的短信共 " + count + " 条") + "\n")};
    for (int n = 1; n <= kStoredMessages; ++n)
        expected.push_back(OnTerminal(" 第 " + std::to_string(n) + " 条短信\n发送号码: 8613800138000\n"
                                      "发送时间: 19-08-01 12:05:04\n短信内容: " + ManyStoredText(n) + "\n"));
    expected.push_back(OnTerminal(Green("设备中的短信共 0 条") + "\n"));
    EXPECT_TRUE(InOrder(t.Screen(), expected));
}

}  // namespace
