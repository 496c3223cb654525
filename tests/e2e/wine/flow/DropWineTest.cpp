// Modems that go away or fall silent under the flows, under Wine: a line
// that drops in the middle of a send or of a read ends that port's work at
// once with the system's reason, a modem that stops answering holds its
// port for bounded time; the other ports, and a silent port beside them,
// are unaffected.
#include <algorithm>

#include "FakeSamples.h"
#include "WineFlowSupport.h"

namespace {
using namespace wine_flow;

// The commands one scan of the Windows program sends to a modem of each
// model, as the fakes count them.
constexpr int kPimsorScanCommands = 10;
constexpr int kVelkorNc5ScanCommands = 12;

// No flow here waits out a budget of a dead line: each would be over a
// minute.
constexpr long long kBoundMs = 45000;

class DropWineTest : public WineFlowTest {};

TEST_F(DropWineTest, ALineThatDropsEndsItsPortOnly)
{
    // The first number goes out (3 initialisation commands, centre, PDU
    // mode, length, body); the line drops after the second number's first.
    FakeConfig sending = ModemFake(FakeModel::Pimsor);
    sending.faults.dropAfterCommands = kPimsorScanCommands + 8;
    // Two scans (one for each run), then 3 initialisation commands, device
    // storage, 2 modes, the index list and 2 fetches.
    FakeConfig reading = ModemFake(FakeModel::VelkorNc5);
    reading.messages = SampleStoredMessages();
    reading.faults.dropAfterCommands = 2 * kVelkorNc5ScanCommands + 9;
    FakeConfig stored = ModemFake(FakeModel::Tarnel);
    stored.messages = SampleStoredMessages();
    // Lists its two messages, then leaves each fetch unanswered: a fetch
    // waits as long as on Linux, not a hundred reads of the silent line
    // (about a minute each under the Windows port's time-outs).
    FakeConfig silentFetches = ModemFake(FakeModel::VelkorNc5);
    for (int index : {1, 2}) {
        StoredMessage m;
        m.index = index;
        m.text = "unfetched";
        silentFetches.messages.push_back(m);
    }
    silentFetches.faults.silentCommands = {"AT+CMGR"};
    h.AddFake(11, sending)
        .AddFake(12, ModemFake(FakeModel::Pimsor))
        .AddFake(13, ModemFake(FakeModel::Silent))
        .AddFake(14, reading)
        .AddFake(15, stored)
        .AddFake(16, silentFetches);
    ASSERT_NO_FATAL_FAILURE(Start());

    auto start = std::chrono::steady_clock::now();
    std::string text;
    const Json::Value sent = RunJson({"11,12,13", "13800138000,13900139000,10086", "hello"}, &text);
    EXPECT_LT(MsSince(start), kBoundMs);
    const Json::Value &r = sent["result"];
    ASSERT_EQ(r.size(), 9u) << text;
    EXPECT_EQ(r[0]["code"].asInt(), 0) << text;
    // The system's own words (Chinese under this locale), as UTF-8, without
    // the line end the system puts after them.
    const std::string reason = r[1]["message"].asString();
    EXPECT_EQ(reason.compare(0, 5, "Code:"), 0) << text;
    EXPECT_EQ(reason.find_last_of("\r\n"), std::string::npos) << text;
    EXPECT_NE(std::find_if(reason.begin(), reason.end(), [](char c) { return (c & 0x80) != 0; }), reason.end())
        << text;
    for (Json::ArrayIndex i : {1u, 2u}) {
        EXPECT_EQ(r[i]["code"].asInt(), 1) << text;
        EXPECT_EQ(r[i]["message"].asString(), reason) << text;
    }
    for (Json::ArrayIndex i : {3u, 4u, 5u})
        EXPECT_EQ(r[i]["code"].asInt(), 0) << text;
    for (Json::ArrayIndex i : {6u, 7u, 8u}) {
        EXPECT_EQ(r[i]["com"].asString(), "COM13");
        EXPECT_EQ(r[i]["code"].asInt(), 4) << text;
    }
    EXPECT_EQ(h.Record(11).submissions.size(), 1u);
    EXPECT_EQ(h.Record(12).submissions.size(), 3u);

    // The read: the index-list modem goes during its fetches; the one that
    // never answers a fetch holds the flow a few seconds; the next port is
    // read whole; the silent one never answered AT (its empty card cell says
    // nothing of a card).
    start = std::chrono::steady_clock::now();
    const NamespaceResult read = Run(FlowDriver(), {"read"}, "14,16,15,13\n");
    EXPECT_LT(MsSince(start), kBoundMs);
    const std::string out = Printed(read);
    const std::size_t failed = out.find("端口 COM14 接收短信失败\t 失败原因: Code:");
    const std::size_t nextRead = out.find("端口 COM15 接收短信成功 共 6 条短信\n");
    const std::size_t notAt = out.find("端口 COM13 接收短信失败\t 失败原因: 设备不AT\n");
    EXPECT_NE(failed, std::string::npos) << out;
    EXPECT_NE(nextRead, std::string::npos) << out;
    EXPECT_NE(notAt, std::string::npos) << out;
    EXPECT_TRUE(failed < nextRead && nextRead < notAt) << out;
    EXPECT_EQ(out.find("端口 COM14 接收短信成功"), std::string::npos) << out;
    // The system's message ends its own line rather than show "\r\n" in it.
    EXPECT_EQ(out.find("\\r\\n"), std::string::npos) << out;
    EXPECT_EQ(h.Record(16).CommandsStartingWith("AT+CMGR=").size(), 2u);
}

}  // namespace
