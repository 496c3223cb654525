// The fakes on real pseudo-terminals: speeds set on the slave, timing
// faults, a vanishing device and many fakes on one loop.
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>

#include <gtest/gtest.h>

#include "FakeLine.h"
#include "FakePool.h"
#include "FakeProfile.h"
#include "FakeSamples.h"

namespace {
FakeConfig Model(FakeModel model, FakeBaud baud = FakeBaud::Any)
{
    FakeConfig c;
    c.model = model;
    c.baud = baud;
    return c;
}

TEST(FakePoolTest, SpeedIsReadFromTheSlaveSettings)
{
    FakeModem fake(Model(FakeModel::Tarnel, FakeBaud::Only115200));
    ASSERT_TRUE(fake.Ok()) << fake.Error();
    FakeLine line;
    ASSERT_TRUE(line.Open(fake.SlavePath(), 9600));
    ASSERT_TRUE(line.Write("ATE0\r\n"));
    EXPECT_EQ(line.ReadUntil("", 300), "");
    ASSERT_TRUE(line.SetBaud(115200));
    EXPECT_EQ(line.Ask("ATE0\r\n"), "ATE0\r\r\nOK\r\n");
    EXPECT_EQ(line.Ask("AT+CSQ\r\n"), "\r\n+CSQ: 24,99\r\n\r\nOK\r\n");

    const FakeRecord r = fake.Record();
    ASSERT_EQ(r.commands.size(), 3u);
    EXPECT_EQ(r.commands[0].baud, 9600);
    EXPECT_FALSE(r.commands[0].answered);
    EXPECT_EQ(r.commands[1].baud, 115200);
    EXPECT_TRUE(r.commands[1].answered);
    EXPECT_EQ(r.CommandTexts(), (std::vector<std::string>{"ATE0", "ATE0", "AT+CSQ"}));
}

TEST(FakePoolTest, LineStaysUpBetweenTheProgramsOpens)
{
    FakeModem fake(Model(FakeModel::Pimsor));
    ASSERT_TRUE(fake.Ok()) << fake.Error();
    FakeLine line;
    for (int round = 0; round < 3; ++round) {
        ASSERT_TRUE(line.Open(fake.SlavePath(), 9600)) << round;
        EXPECT_NE(line.Ask("AT\r\n").find("OK\r\n"), std::string::npos) << round;
        line.Close();
    }
}

TEST(FakePoolTest, DelayedAndChunkedReplyTakesItsTime)
{
    FakeConfig c = Model(FakeModel::Orvast);
    c.echo = false;
    c.faults.replyDelayMs = 250;
    c.faults.chunkBytes = 5;
    c.faults.chunkGapMs = 60;
    FakeModem fake(c);
    ASSERT_TRUE(fake.Ok()) << fake.Error();
    FakeLine line;
    ASSERT_TRUE(line.Open(fake.SlavePath(), 9600));
    const long long start = FakeNowMs();
    ASSERT_TRUE(line.Write("AT+CSQ\r\n"));
    EXPECT_EQ(line.ReadUntil("", 150), "");  // still in the delay
    const std::string first = line.ReadUntil("", 200);
    EXPECT_FALSE(first.empty());
    EXPECT_LT(first.size(), 20u);  // a piece, not the whole reply
    const std::string reply = first + line.ReadUntil("OK\r\n", 2000);
    EXPECT_EQ(reply, "\r\n+CSQ: 21,0\r\n\r\nOK\r\n");
    EXPECT_GE(FakeNowMs() - start, 250 + 3 * 60);  // 20 bytes in 4 pieces
}

TEST(FakePoolTest, DroppedLineTakesTheDeviceAway)
{
    FakeConfig c = Model(FakeModel::VelkorMe);
    c.echo = false;
    c.faults.dropAfterCommands = 2;
    FakeModem fake(c);
    ASSERT_TRUE(fake.Ok()) << fake.Error();
    const std::string path = fake.SlavePath();
    FakeLine line;
    ASSERT_TRUE(line.Open(path, 115200));
    EXPECT_EQ(line.Ask("AT\r\n"), "\r\nOK\r\n");
    EXPECT_EQ(line.Ask("AT+CSQ\r\n"), "\r\n+CSQ: 27,99\r\n\r\nOK\r\n");
    line.ReadUntil("", 300);
    EXPECT_TRUE(line.HungUp());
    EXPECT_TRUE(fake.Dropped());
    line.Close();
    // The fake is marked dropped just before its pair is closed, so the path
    // may still open for a moment.
    bool reopened = true;
    for (const long long until = FakeNowMs() + 1000; reopened && FakeNowMs() < until;) {
        FakeLine again;
        reopened = again.Open(path, 115200);
        if (reopened)
            usleep(10000);
    }
    EXPECT_FALSE(reopened);
}

// A reader that takes 100 ms of silence for the end of a reply gets the
// card number cut in two, and the rest arrives after the pause.
TEST(FakePoolTest, PausedReplyFallsSilentInTheMiddle)
{
    FakeConfig c = Model(FakeModel::VelkorMe);
    c.echo = false;
    FakeReplyFault pause;
    pause.command = "AT^ICCID?";
    pause.splitAt = 14;
    pause.pauseMs = 250;
    c.faults.replyFaults = {pause};
    FakeModem fake(c);
    ASSERT_TRUE(fake.Ok()) << fake.Error();
    FakeLine line;
    ASSERT_TRUE(line.Open(fake.SlavePath(), 9600));
    const long long start = FakeNowMs();
    ASSERT_TRUE(line.Write("AT^ICCID?\r"));
    EXPECT_EQ(line.ReadUntil("9868", 1000), "\r\n^ICCID: 9868");
    EXPECT_EQ(line.ReadUntil("", 150), "");
    EXPECT_EQ(line.ReadUntil("OK\r\n", 1000), "0021436587092103\r\n\r\nOK\r\n");
    EXPECT_GE(FakeNowMs() - start, 250);
}

// A port that never goes quiet: bytes keep coming, far more than any one
// reply, with no gap a reader could take for the end; a command is still
// answered somewhere in the stream.
TEST(FakePoolTest, FloodingPortNeverFallsSilent)
{
    FakeConfig c = Model(FakeModel::Tarnel);
    c.echo = false;
    c.faults.floodText = "\r\n^RSSILVL: 60\r\n";
    c.faults.floodAfterCommands = 1;
    FakeModem fake(c);
    ASSERT_TRUE(fake.Ok()) << fake.Error();
    FakeLine line;
    ASSERT_TRUE(line.Open(fake.SlavePath(), 9600));
    EXPECT_EQ(line.Ask("AT\r").substr(0, 6), "\r\nOK\r\n");  // the flood comes after the reply
    ASSERT_TRUE(line.Write("AT+CSQ\r"));
    std::string got;
    long long last = FakeNowMs(), longestGap = 0;
    for (const long long end = last + 600; FakeNowMs() < end;) {
        const std::string piece = line.ReadUntil("", 10);
        if (piece.empty())
            continue;
        longestGap = std::max(longestGap, FakeNowMs() - last);
        last = FakeNowMs();
        got += piece;
    }
    // The fake writes without pausing; a gap is the scheduler's, which a
    // loaded machine under a sanitizer stretches past 100 ms now and then.
    EXPECT_LT(longestGap, 300);
    EXPECT_GT(got.size(), 4096u);
    EXPECT_NE(got.find("\r\n+CSQ: 24,99\r\n\r\nOK\r\n"), std::string::npos);
    const FakeRecord r = fake.Record();
    EXPECT_EQ(r.CommandTexts(), (std::vector<std::string>{"AT", "AT+CSQ"}));
}

// Paced, the flood repeats no faster than its gap allows.
TEST(FakePoolTest, PacedFloodKeepsItsGap)
{
    FakeConfig c = Model(FakeModel::Silent);
    c.faults.floodText = "\r\n^RSSILVL: 60\r\n";
    c.faults.floodGapMs = 50;
    FakeModem fake(c);
    ASSERT_TRUE(fake.Ok()) << fake.Error();
    FakeLine line;
    ASSERT_TRUE(line.Open(fake.SlavePath(), 9600));  // drops what came before
    const std::string got = line.ReadUntil("", 500);
    std::size_t reports = 0;
    for (std::size_t p = got.find("^RSSILVL"); p != std::string::npos; p = got.find("^RSSILVL", p + 1))
        ++reports;
    EXPECT_LE(reports, 500u / 50 + 2);
    EXPECT_GE(reports, 3u);
}

// With nobody reading, the flood waits for room instead of piling up, and
// the loop goes on serving the other fakes.
TEST(FakePoolTest, UnreadFloodDoesNotHoldUpOtherFakes)
{
    FakePool pool;
    std::string error;
    FakeConfig flood = Model(FakeModel::Silent);
    flood.faults.floodText = std::string(200, 'x');
    ASSERT_EQ(pool.Add(flood, &error), 0) << error;
    FakeConfig quiet = Model(FakeModel::Pimsor);
    quiet.echo = false;
    ASSERT_EQ(pool.Add(quiet, &error), 1) << error;
    ASSERT_TRUE(pool.Start(&error)) << error;
    usleep(300000);
    FakeLine line;
    ASSERT_TRUE(line.Open(pool.SlavePath(1), 9600));
    const long long start = FakeNowMs();
    EXPECT_EQ(line.Ask("AT+CGMM\r"), "\r\nMG301\r\n\r\nOK\r\n");
    EXPECT_LT(FakeNowMs() - start, 200);
    FakeLine flooded;
    ASSERT_TRUE(flooded.Open(pool.SlavePath(0), 9600));  // flushes what piled up
    EXPECT_FALSE(flooded.ReadUntil("", 100).empty());
    pool.Stop();
}

// A modem behind a USB serial bridge without flow control, listing its SIM.
FakeConfig Bridged(int messages)
{
    FakeConfig c = Model(FakeModel::Tarnel);
    c.echo = false;
    c.uartBridge = true;
    c.messages = ManyStoredMessages(messages);
    return c;
}

// The listing as the modem sends it.
std::string Listing(const FakeConfig &config, int baud)
{
    FakeSession session(config);
    std::string bytes;
    for (const FakePiece &p : session.Receive("AT+CMGL=4\r", baud).pieces)
        bytes += p.bytes;
    return bytes;
}

long long LineTimeMs(std::size_t bytes, int baud)
{
    return static_cast<long long>(bytes) * 10 * 1000 / baud;
}

struct BridgeCase {
    const char *name;
    int baud;
    int messages;
};
void PrintTo(const BridgeCase &c, std::ostream *os) { *os << c.name; }

class FakeBridgeTest : public testing::TestWithParam<BridgeCase> {};

// Read as it comes, the listing arrives whole, no sooner than the line
// carries it (10 bits a byte), and not much later.
TEST_P(FakeBridgeTest, BytesComeAtTheLineSpeed)
{
    const BridgeCase &c = GetParam();
    const FakeConfig config = Bridged(c.messages);
    const std::string listing = Listing(config, c.baud);
    FakeModem fake(config);
    ASSERT_TRUE(fake.Ok()) << fake.Error();
    FakeLine line;
    ASSERT_TRUE(line.Open(fake.SlavePath(), c.baud));
    const long long start = FakeNowMs();
    ASSERT_TRUE(line.Write("AT+CMGL=4\r"));
    const long long lineMs = LineTimeMs(listing.size(), c.baud);
    EXPECT_EQ(line.ReadUntil("\r\nOK\r\n", static_cast<int>(3 * lineMs + 2000)), listing);
    const long long took = FakeNowMs() - start;
    EXPECT_GE(took, lineMs - 1) << listing.size() << " bytes";
    EXPECT_LT(took, lineMs * 3 / 2 + 500) << listing.size() << " bytes";
}

INSTANTIATE_TEST_SUITE_P(Speeds, FakeBridgeTest,
                         testing::Values(BridgeCase{"At9600", 9600, 3}, BridgeCase{"At115200", 115200, 30}),
                         [](const testing::TestParamInfo<BridgeCase> &i) { return i.param.name; });

// Unread, the port keeps the first 4096 bytes; the rest of the listing,
// its OK included, is lost on the way.
TEST(FakePoolTest, BridgeLosesWhatWouldLeaveMoreThanFourKilobytesUnread)
{
    const FakeConfig config = Bridged(30);
    const std::string listing = Listing(config, 115200);
    ASSERT_GT(listing.size(), 2u * kFakeBridgeUnreadLimit);
    FakeModem fake(config);
    ASSERT_TRUE(fake.Ok()) << fake.Error();
    FakeLine line;
    ASSERT_TRUE(line.Open(fake.SlavePath(), 115200));
    ASSERT_TRUE(line.Write("AT+CMGL=4\r"));
    usleep(static_cast<useconds_t>((LineTimeMs(listing.size(), 115200) + 300) * 1000));
    EXPECT_EQ(line.ReadUntil("", 300), listing.substr(0, kFakeBridgeUnreadLimit));
}

TEST(FakePoolTest, SixtyFourFakesAnswerPromptly)
{
    const FakeModel models[] = {FakeModel::Tarnel, FakeModel::VelkorNc5, FakeModel::VelkorMe,
                                FakeModel::Pimsor, FakeModel::Orvast,    FakeModel::Sudrel,
                                FakeModel::UnknownAti};
    constexpr int kFakes = 64;
    FakePool pool;
    std::string error;
    for (int i = 0; i < kFakes; ++i) {
        FakeConfig c = Model(models[i % 7]);
        c.echo = false;
        c.imei = "8600000000000" + std::to_string(10 + i);
        ASSERT_EQ(pool.Add(c, &error), i) << error;
    }
    ASSERT_TRUE(pool.Start(&error)) << error;
    std::vector<std::unique_ptr<FakeLine>> lines;
    for (int i = 0; i < kFakes; ++i) {
        lines.push_back(std::make_unique<FakeLine>());
        ASSERT_TRUE(lines.back()->Open(pool.SlavePath(static_cast<std::size_t>(i)), 115200)) << i;
    }
    const long long start = FakeNowMs();
    for (auto &l : lines)
        ASSERT_TRUE(l->Write("AT+CGSN\r\n"));
    for (int i = 0; i < kFakes; ++i)
        EXPECT_EQ(lines[static_cast<std::size_t>(i)]->ReadUntil("OK\r\n", 2000),
                  "\r\n8600000000000" + std::to_string(10 + i) + "\r\n\r\nOK\r\n")
            << i;
    const long long elapsed = FakeNowMs() - start;
    EXPECT_LT(elapsed, 1000) << "64 replies took " << elapsed << " ms";
    pool.Stop();
}
}  // namespace
