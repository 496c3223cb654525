// The Windows program's read and send flows under Wine against modems that
// answer late, ignore ATE0, refuse or ignore a storage, start streaming in
// the middle of a send, or fall silent after a refusal. A hostile modem's
// block of the read is compared with that of a well-behaved modem of the
// same family in the same run.
#include "FakeSamples.h"
#include "HostileBehaviours.h"
#include "WineFlowSupport.h"

namespace {
using namespace wine_flow;
using namespace hostile;

// The commands one scan sends to a Tarnel.
constexpr int kTarnelScanCommands = 12;
// Past the 755 ms the probe waits for a reply.
constexpr int kOkPastTheProbesWaitMs = 900;
constexpr int kReadCommandsLateMs = 1500;
constexpr int kMessagesOnTheSlowModule = 7;

const char kReadDone[] = "读取短信耗时: ";

FakeConfig WithMessages(FakeModel model)
{
    FakeConfig c = ModemFake(model);
    c.messages = model == FakeModel::Sudrel ? SampleCdmaMessages() : SampleStoredMessages();
    return c;
}

FakeConfig StorageSelectionLate(FakeModel model, int lateMs)
{
    FakeConfig c = WithMessages(model);
    c.faults.replyFaults.push_back(LateReply("AT+CPMS", lateMs));
    return c;
}

std::string StorageFailed(const std::string &port, const std::string &storage, const std::string &reason)
{
    return "端口 " + port + " 读取" + storage + "中的短信失败\t 失败原因: " + reason + "\n";
}

// Seconds between two result times ("YYYY-MM-DD hh:mm:ss" of one day).
long long SecondsBetween(const std::string &from, const std::string &to)
{
    const auto seconds = [](const std::string &t) {
        return std::stoll(t.substr(11, 2)) * 3600 + std::stoll(t.substr(14, 2)) * 60 + std::stoll(t.substr(17, 2));
    };
    return seconds(to) - seconds(from);
}

class HostileFlowWineTest : public WineFlowTest {
protected:
    // The fakes on COM11 and up, read through the menu's flow; what was
    // printed for each, in order.
    std::vector<std::string> ReadThrough(const std::vector<FakeConfig> &fakes)
    {
        std::string answer;
        for (std::size_t i = 0; i < fakes.size(); ++i) {
            const int com = kFirstCom + static_cast<int>(i);
            h.AddFake(com, fakes[i]);
            m_ports.push_back(WineHarness::ComName(com));
            answer += (i ? "," : "") + std::to_string(com);
        }
        Start();
        const auto start = std::chrono::steady_clock::now();
        m_out = Printed(Run(FlowDriver(), {"read"}, answer + "\n"));
        std::cout << "[ measured ] " << fakes.size() << " ports read: " << MsSince(start) << " ms\n";
        return PortBlocks(m_out, m_ports, kReadDone);
    }
    const std::string &Port(std::size_t i) const { return m_ports[i]; }
    const std::string &Out() const { return m_out; }

private:
    static constexpr int kFirstCom = 11;
    std::vector<std::string> m_ports;
    std::string m_out;
};

// A storage selection 600 ms late: both storages, as the modem of the same
// family that answers at once shows them.
class LateStorageWineTest : public HostileFlowWineTest, public testing::WithParamInterface<FakeModel> {};

TEST_P(LateStorageWineTest, ShowsBothStoragesAsAModemOnTime)
{
    const std::vector<std::string> blocks =
        ReadThrough({WithMessages(GetParam()), StorageSelectionLate(GetParam(), kStorageSelectionLateMs)});
    ASSERT_NE(blocks[0].find("设备中的短信共"), std::string::npos) << Out();
    EXPECT_EQ(blocks[1], Renamed(blocks[0], Port(0), Port(1)));
}

INSTANTIATE_TEST_SUITE_P(Families, LateStorageWineTest,
                         testing::Values(FakeModel::Tarnel, FakeModel::VelkorNc5, FakeModel::Sudrel,
                                         FakeModel::VelkorMe),
                         [](const testing::TestParamInfo<FakeModel> &info) { return FakeModelName(info.param); });

// A storage selection at the limit of its wait is never taken for a modem
// without a card or one that does not answer. A storage refused or not
// answered: the SIM is read, and a line after the port's messages names
// the other with the modem's words or says that it did not answer.
TEST_F(HostileFlowWineTest, StorageLateAtItsLimitRefusedOrNotAnswered)
{
    FakeConfig refused = WithMessages(FakeModel::Tarnel);
    refused.faults.errorCommands = {{"AT+CPMS=\"ME\"", "+CMS ERROR: 302"}};
    FakeConfig ignored = WithMessages(FakeModel::Tarnel);
    ignored.faults.silentCommands = {"AT+CPMS=\"ME\""};
    const std::vector<std::string> blocks =
        ReadThrough({StorageSelectionLate(FakeModel::Tarnel, kStorageSelectionAtItsLimitMs), refused, ignored});
    EXPECT_NE(blocks[0], "") << Out();
    for (const char *reason : {kNoCardReason, kNotAtReason})
        EXPECT_EQ(blocks[0].find(reason), std::string::npos) << blocks[0];
    for (const auto &c : {std::make_pair(1u, "+CMS ERROR: 302"), std::make_pair(2u, "no answer")}) {
        const std::string &block = blocks[c.first];
        EXPECT_EQ(block.find("端口 " + Port(c.first) + " 接收短信成功 共 3 条短信\nSIM卡中的短信共 3 条\n"), 0u)
            << block;
        EXPECT_EQ(block.find("设备中的短信共"), std::string::npos) << block;
        const std::string failed = StorageFailed(Port(c.first), "设备", c.second);
        ASSERT_GE(block.size(), failed.size()) << block;
        EXPECT_EQ(block.compare(block.size() - failed.size(), failed.size(), failed), 0) << block;
    }
}

// A module that goes on echoing after ATE0: its own messages, no empty ones
// made of its echo.
TEST_F(HostileFlowWineTest, EchoAfterEchoOffMakesNoMessages)
{
    FakeConfig echoing = WithMessages(FakeModel::VelkorNc5);
    echoing.faults.ignoresEchoOff = true;
    const std::vector<std::string> blocks = ReadThrough({WithMessages(FakeModel::VelkorNc5), echoing});
    ASSERT_NE(blocks[0].find("接收短信成功 共 6 条短信"), std::string::npos) << Out();
    EXPECT_EQ(blocks[1], Renamed(blocks[0], Port(0), Port(1)));
}

// The index list and every fetch answered past a second: all the messages
// all the same.
TEST_F(HostileFlowWineTest, SlowFetchesStillBringEveryMessage)
{
    FakeConfig slow = ModemFake(FakeModel::VelkorNc5);
    for (int i = 1; i <= kMessagesOnTheSlowModule; ++i) {
        StoredMessage m;
        m.index = i;
        m.text = "slow " + std::to_string(i);
        slow.messages.push_back(m);
    }
    for (const char *command : {"AT+CMGD=?", "AT+CMGR="})
        slow.faults.replyFaults.push_back(LateReply(command, kReadCommandsLateMs));
    const std::vector<std::string> blocks = ReadThrough({slow});
    EXPECT_EQ(blocks[0].find("端口 " + Port(0) + " 接收短信成功 共 7 条短信\nSIM卡中的短信共 7 条\n"), 0u)
        << blocks[0];
    for (int i = 1; i <= kMessagesOnTheSlowModule; ++i)
        EXPECT_NE(blocks[0].find("短信内容: slow " + std::to_string(i) + "\n"), std::string::npos) << blocks[0];
}

// A modem whose OK to the card number comes past the probe's wait is still
// sent through with its own model: the flows take it from the
// identification, which the late OK must not displace.
TEST_F(HostileFlowWineTest, LateOkOfTheCardNumberLeavesTheModelAsItIs)
{
    const std::pair<FakeModel, const char *> modems[] = {{FakeModel::Sudrel, "AT+CCID"},
                                                         {FakeModel::VelkorNc5, "AT+CCID"},
                                                         {FakeModel::Pimsor, "AT^ICCID?"},
                                                         {FakeModel::VelkorMe, "AT^ICCID?"}};
    int com = 11;
    for (const auto &m : modems) {
        FakeConfig c = ModemFake(m.first);
        FakeReplyFault late;
        late.command = m.second;
        late.splitBefore = "\r\nOK";
        late.pauseMs = kOkPastTheProbesWaitMs;
        c.faults.replyFaults.push_back(late);
        h.AddFake(com++, c);
    }
    ASSERT_NO_FATAL_FAILURE(Start());
    std::string text;
    const Json::Value sent = RunJson({"11,12,13,14", "13800138000", "hello"}, &text);
    ASSERT_EQ(sent["result"].size(), 4u) << text;
    for (Json::ArrayIndex i = 0; i < 4; ++i)
        EXPECT_EQ(sent["result"][i]["code"].asInt(), 0) << text;
    // The CDMA module in its text mode, the others in PDU mode.
    ASSERT_EQ(h.Record(11).submissions.size(), 1u);
    EXPECT_TRUE(h.Record(11).submissions[0].cdma);
    for (int c : {12, 13, 14}) {
        ASSERT_EQ(h.Record(c).submissions.size(), 1u) << c;
        EXPECT_FALSE(h.Record(c).submissions[0].cdma) << c;
    }
}

// A device that leaves off answering for streaming after its first number
// fails its other numbers, each within seconds; the next port sends all of
// its own.
TEST_F(HostileFlowWineTest, DeviceThatStartsStreamingFailsItsPortOnly)
{
    FakeConfig streaming = ModemFake(FakeModel::Tarnel);
    streaming.faults.floodText = kStreamText;
    // The stream begins with the answer to the second number's first
    // command: the first number's message has been taken by then.
    streaming.faults.floodAfterCommands = kTarnelScanCommands + kCommandsPerNumber + 1;
    streaming.faults.silentAfterCommands = streaming.faults.floodAfterCommands;
    streaming.faults.floodGapMs = kStreamGapMs;
    h.AddFake(11, streaming).AddFake(12, ModemFake(FakeModel::Tarnel));
    ASSERT_NO_FATAL_FAILURE(Start());
    const auto start = std::chrono::steady_clock::now();
    std::string text;
    const Json::Value sent = RunJson({"11,12", "13800138000,13900139000,10086", "hello"}, &text);
    std::cout << "[ measured ] a send beside a streaming device: " << MsSince(start) << " ms\n";
    const Json::Value &results = sent["result"];
    ASSERT_EQ(results.size(), 6u) << text;
    EXPECT_EQ(results[0]["code"].asInt(), 0) << text;
    for (Json::ArrayIndex i : {1u, 2u}) {
        EXPECT_EQ(results[i]["code"].asInt(), 1) << text;
        EXPECT_EQ(results[i]["message"].asString(), "no answer") << text;
    }
    for (Json::ArrayIndex i : {3u, 4u, 5u})
        EXPECT_EQ(results[i]["code"].asInt(), 0) << text;
    EXPECT_LE(SecondsBetween(results[1]["time"].asString(), results[3]["time"].asString()),
              2 * kStreamingNumberBoundS)
        << text;
    EXPECT_EQ(h.Record(11).submissions.size(), 1u);
    EXPECT_EQ(h.Record(12).submissions.size(), 3u);
}

// Refused with error 304, then silent from the next number's message on:
// that number's reason is that the modem did not answer, not the refusal
// of the number before.
TEST_F(HostileFlowWineTest, EachNumberHasItsOwnReason)
{
    FakeConfig refusingThenSilent = ModemFake(FakeModel::Tarnel);
    refusingThenSilent.faults.failSubmissions = 1;
    refusingThenSilent.faults.failCode = 304;
    // The second number's three preparing commands, centre and PDU mode
    // are answered; its length command is not.
    refusingThenSilent.faults.silentAfterCommands = kTarnelScanCommands + kCommandsPerNumber + 5;
    h.AddFake(11, refusingThenSilent);
    ASSERT_NO_FATAL_FAILURE(Start());
    std::string text;
    const Json::Value sent = RunJson({"11", "13800138000,13900139000", "hello"}, &text);
    const Json::Value &results = sent["result"];
    ASSERT_EQ(results.size(), 2u) << text;
    EXPECT_EQ(results[0]["message"].asString(), "+CMS ERROR: 304") << text;
    EXPECT_EQ(results[1]["code"].asInt(), 1) << text;
    EXPECT_EQ(results[1]["message"].asString(), "no answer") << text;
    EXPECT_EQ(h.Record(11).submissions.size(), 1u);
}

}  // namespace
