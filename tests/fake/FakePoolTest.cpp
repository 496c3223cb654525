// The fakes on real pseudo-terminals: speeds set on the slave, timing
// faults, a vanishing device and many fakes on one loop.
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "FakeLine.h"
#include "FakePool.h"
#include "FakeProfile.h"

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
