// The read and send flows of the real program against modems that answer
// late, ignore ATE0, refuse or ignore a storage, start streaming in the
// middle of a send, or fall silent after a refusal. A hostile modem's block
// of the read is compared with that of a well-behaved modem of the same
// model in the same run.
#include <json/json.h>

#include <algorithm>

#include "FakeSamples.h"
#include "FlowE2eSupport.h"
#include "HostileBehaviours.h"

namespace {
using namespace flow_e2e;
using namespace hostile;

// The commands one scan sends to a Tarnel.
constexpr int kTarnelScanCommands = 9;

FakeConfig WithMessages(FakeModel model)
{
    FakeConfig c = Fake(model);
    c.messages = SampleStoredMessages();
    return c;
}

FakeConfig StorageSelectionLate(int lateMs)
{
    FakeConfig c = WithMessages(FakeModel::Tarnel);
    c.faults.replyFaults.push_back(LateReply("AT+CPMS", lateMs));
    return c;
}

std::string StorageFailed(const std::string &port, const std::string &storage, const std::string &reason)
{
    return OnTerminal(Red("端口 " + port + " 读取" + storage + "中的短信失败\t 失败原因: " + reason) + "\n");
}

class HostileFlowE2eTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (geteuid() != 0)
            GTEST_SKIP() << "mount namespaces need root";
    }

    ZarvexHarness h{kPaths};
};

TEST_F(HostileFlowE2eTest, ReadOfLateIgnoringAndRefusingModems)
{
    FakeConfig refusedDevice = WithMessages(FakeModel::Tarnel);
    refusedDevice.faults.errorCommands = {{"AT+CPMS=\"ME\"", "+CMS ERROR: 302"}};
    FakeConfig ignoredDevice = WithMessages(FakeModel::Tarnel);
    ignoredDevice.faults.silentCommands = {"AT+CPMS=\"ME\""};
    FakeConfig echoing = WithMessages(FakeModel::VelkorNc5);
    echoing.faults.ignoresEchoOff = true;
    const std::vector<FakeConfig> fakes = {WithMessages(FakeModel::Tarnel),
                                           StorageSelectionLate(kStorageSelectionLateMs),
                                           StorageSelectionLate(kStorageSelectionAtItsLimitMs),
                                           refusedDevice,
                                           ignoredDevice,
                                           WithMessages(FakeModel::VelkorNc5),
                                           echoing};
    const std::vector<std::string> ports = {"ttyUSB0", "ttyUSB1", "ttyUSB2", "ttyUSB3",
                                            "ttyUSB4", "ttyUSB5", "ttyUSB6"};
    std::string error;
    ASSERT_TRUE(h.Start(fakes, &error)) << error;
    auto p = h.StartInteractive({}, &error, kRunMs);
    ASSERT_TRUE(p) << error;
    Terminal t(std::move(p));
    ASSERT_TRUE(t.Dialogue('2', {{kPortPrompt, "USB0,USB1,USB2,USB3,USB4,USB5,USB6"}}, kReadDone));
    const std::vector<std::string> blocks =
        PortBlocks(t.Screen().substr(t.Screen().find(kPortPrompt)), ports, kReadDone);

    // A storage selection 600 ms late: both storages, as the modem that
    // answers at once shows them.
    ASSERT_NE(blocks[0].find("设备中的短信共 3 条"), std::string::npos) << t.Screen();
    EXPECT_EQ(blocks[1], Renamed(blocks[0], "ttyUSB0", "ttyUSB1"));
    // At the limit of its wait: never taken for a modem without a card or
    // one that does not answer.
    EXPECT_NE(blocks[2], "") << t.Screen();
    for (const char *reason : {kNoCardReason, kNotAtReason})
        EXPECT_EQ(blocks[2].find(reason), std::string::npos) << blocks[2];
    // A storage refused or not answered: the SIM is read, and a red line
    // after the port's messages names the other with the modem's words or
    // says that it did not answer.
    for (const auto &c : {std::make_pair(3, "+CMS ERROR: 302"), std::make_pair(4, "no answer")}) {
        const std::string &block = blocks[static_cast<std::size_t>(c.first)];
        const std::string port = ports[static_cast<std::size_t>(c.first)];
        EXPECT_TRUE(InOrder(block, {OnTerminal(Green("端口 " + port + " 接收短信成功 共 3 条短信") + "\n"),
                                    OnTerminal(Green("SIM卡中的短信共 3 条") + "\n"),
                                    StorageFailed(port, "设备", c.second)}));
        EXPECT_EQ(block.find("设备中的短信共"), std::string::npos) << block;
    }
    // A module that goes on echoing after ATE0: its own messages, no
    // empty ones made of its echo.
    ASSERT_NE(blocks[5].find("接收短信成功 共 6 条短信"), std::string::npos) << t.Screen();
    EXPECT_EQ(blocks[6], Renamed(blocks[5], "ttyUSB5", "ttyUSB6"));
}

// Seconds between two result times ("YYYY-MM-DD hh:mm:ss" of one day).
long long SecondsBetween(const std::string &from, const std::string &to)
{
    const auto seconds = [](const std::string &t) {
        return std::stoll(t.substr(11, 2)) * 3600 + std::stoll(t.substr(14, 2)) * 60 + std::stoll(t.substr(17, 2));
    };
    return seconds(to) - seconds(from);
}

// A device that leaves off answering for streaming after its first number
// fails its other numbers, each within seconds; the next port sends all of
// its own.
TEST_F(HostileFlowE2eTest, DeviceThatStartsStreamingFailsItsPortOnly)
{
    FakeConfig streaming = Fake(FakeModel::Tarnel);
    streaming.faults.floodText = kStreamText;
    // The stream begins with the answer to the second number's first
    // command: the first number's message has been taken by then.
    streaming.faults.floodAfterCommands = kTarnelScanCommands + kCommandsPerNumber + 1;
    streaming.faults.silentAfterCommands = streaming.faults.floodAfterCommands;
    streaming.faults.floodGapMs = kStreamGapMs;
    std::string error;
    ASSERT_TRUE(h.Start({streaming, Fake(FakeModel::Tarnel)}, &error)) << error;
    const long long start = FakeNowMs();
    const NamespaceResult r = h.Run({"USB0,USB1", "13800138000,13900139000,10086", "hello"}, "", kRunMs);
    std::cout << "[ measured ] a send beside a streaming device: program run " << FakeNowMs() - start << " ms\n";
    EXPECT_EQ(r.exitStatus, 0) << r.err;
    Json::Value result;
    ASSERT_TRUE(Json::Reader().parse(r.out, result)) << r.out;
    const Json::Value &results = result["result"];
    ASSERT_EQ(results.size(), 6u) << r.out;
    EXPECT_EQ(results[0]["code"].asInt(), 0) << r.out << "\ncommands: " << CommandList(h.Record(0));
    for (Json::ArrayIndex i : {1u, 2u}) {
        EXPECT_EQ(results[i]["code"].asInt(), 1) << r.out;
        EXPECT_EQ(results[i]["message"].asString(), "no answer") << r.out;
    }
    for (Json::ArrayIndex i : {3u, 4u, 5u})
        EXPECT_EQ(results[i]["code"].asInt(), 0) << r.out;
    EXPECT_LE(SecondsBetween(results[1]["time"].asString(), results[3]["time"].asString()),
              2 * kStreamingNumberBoundS)
        << r.out;
    EXPECT_EQ(h.Record(0).submissions.size(), 1u);
    EXPECT_EQ(h.Record(1).submissions.size(), 3u);
}

// Refused with error 304, then silent from the next number's message on:
// that number's reason is that the modem did not answer, not the refusal
// of the number before.
TEST_F(HostileFlowE2eTest, EachNumberHasItsOwnReason)
{
    FakeConfig refusingThenSilent = Fake(FakeModel::Tarnel);
    refusingThenSilent.faults.failSubmissions = 1;
    refusingThenSilent.faults.failCode = 304;
    // The second number's three preparing commands, centre and PDU mode
    // are answered; its length command is not.
    refusingThenSilent.faults.silentAfterCommands = kTarnelScanCommands + kCommandsPerNumber + 5;
    std::string error;
    ASSERT_TRUE(h.Start({refusingThenSilent}, &error)) << error;
    const NamespaceResult r = h.Run({"USB0", "13800138000,13900139000", "hello"}, "", kRunMs);
    EXPECT_EQ(r.exitStatus, 0) << r.err;
    Json::Value result;
    ASSERT_TRUE(Json::Reader().parse(r.out, result)) << r.out;
    const Json::Value &results = result["result"];
    ASSERT_EQ(results.size(), 2u) << r.out;
    EXPECT_EQ(results[0]["message"].asString(), "+CMS ERROR: 304") << r.out;
    EXPECT_EQ(results[1]["code"].asInt(), 1) << r.out;
    EXPECT_EQ(results[1]["message"].asString(), "no answer") << r.out;
    EXPECT_EQ(h.Record(0).submissions.size(), 1u);
}

}  // namespace
