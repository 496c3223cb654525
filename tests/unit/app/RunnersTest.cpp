// The command runners against fake modems on pseudo-terminals: how often
// they poll and sleep, what their guards let through, and that a reply is
// judged whole however it arrives.
#include <algorithm>

#include "StreamingLine.h"
#include "AppTestSupport.h"
#include "CheckManagerLinux.h"
#include "CommandBudgets.h"

namespace {
using app_test::ElapsedMs;
using app_test::Fake;
using app_test::Received;
using app_test::WatchedPhone;
using Clock = std::chrono::steady_clock;

using Runner = bool (*)(CPhoneCardBase *, CComPortBase *);

bool DelAllSms(CPhoneCardBase *phone, CComPortBase *port)
{
    CCheckManager manager;
    return manager.RunComCmdDelAllSms(phone, port);
}
bool ReadMeSms(CPhoneCardBase *phone, CComPortBase *port)
{
    CCheckManager manager;
    return manager.RunComCmdReadME_Sms(phone, port);
}
bool ReadSmSms(CPhoneCardBase *phone, CComPortBase *port)
{
    CCheckManager manager;
    return manager.RunComCmdReadSM_Sms(phone, port);
}
bool SendPduLen(CPhoneCardBase *phone, CComPortBase *port)
{
    return CCheckManager::RunComCmdSendPduLen(phone, port, "AT+CMGS=19\r");
}
bool SendPduContext(CPhoneCardBase *phone, CComPortBase *port)
{
    return CCheckManager::RunComCmdSendPduContext(phone, port, "0011000B818130000000F00008AA04004F60597D\x1a");
}

struct RunnerCase {
    const char *name;
    Runner run;
    int polls;
    bool opensClosedPort;  // the Open guard; the others want an open port
    const char *command;   // as the fake records it
};

void PrintTo(const RunnerCase &c, std::ostream *os)
{
    *os << c.name;
}

// Every runner but the one that deletes all messages, whose limit means
// minutes of waiting (its own pacing is tested below).
const RunnerCase kRunners[] = {
    {"AT", CCheckManager::RunComCmdAT, 10, true, "AT"},
    {"ATI", CCheckManager::RunComCmdATI, 1400, false, "ATI"},
    {"SerialNumber", CCheckManager::RunComCmdGetSerialNumber, VALUE_POLLS, true, "AT+CGSN"},
    {"SmsCardNumber", CCheckManager::RunComCmdGetSmsCardNumber, VALUE_POLLS, false, "AT+CCID"},
    {"SignalStrength", CCheckManager::RunComCmdGetSignalStrength, VALUE_POLLS, false, "at+csq"},
    {"QuerySMSC", CCheckManager::RunComCmdQuerySMSC, 1400, false, "AT+CSCA?"},
    {"SetPduMode", CCheckManager::RunComCmdSetPduMode, 1400, false, "at+cmgf=0"},
    {"RecvSmsCompatibleMode", CCheckManager::RunComCmdSetRecvSmsCompatibleMode, 1400, false, "AT"},
    {"ReadAllSmsToPhone", CCheckManager::RunComCmdReadAllSmsToPhone, 1200, false, "AT+CMGL=4"},
    {"SendPduLen", SendPduLen, 1200, false, "AT+CMGS=19"},
    {"SendPduContext", SendPduContext, 1400, false, nullptr},
    {"ReadME_Sms", ReadMeSms, STORE_SELECT_POLLS, false, "AT+CPMS=\"ME\""},
    {"ReadSM_Sms", ReadSmSms, STORE_SELECT_POLLS, false, "AT+CPMS=\"SM\""},
};

class RunnerTest : public app_test::PortTest, public ::testing::WithParamInterface<RunnerCase> {};

// A modem that never decides: the runner reads exactly its number of polls
// and sleeps LINUX_SLEEP after each one, the last included.
TEST_P(RunnerTest, SilentModemIsPolledToTheLimit)
{
    const RunnerCase &c = GetParam();
    FakeModem fake(Fake(FakeModel::Silent));
    ASSERT_TRUE(fake.Ok()) << fake.Error();
    CComPortBase port(fake.SlavePath(), 9600);
    ASSERT_TRUE(port.IsOpened());
    WatchedPhone phone;
    phone.closeOnFirstJudge = &port;

    const Clock::time_point start = Clock::now();
    EXPECT_FALSE(c.run(&phone, &port));
    EXPECT_EQ(phone.replies.size(), static_cast<std::size_t>(c.polls));
    EXPECT_GE(ElapsedMs(start), c.polls * static_cast<long long>(LINUX_SLEEP) / 1000);
    // What went out is the model's own command (a message body is no line).
    if (c.command != nullptr) {
        EXPECT_EQ(fake.Record().CommandTexts(), std::vector<std::string> {c.command});
    }
}

// A closed port: runners that start a conversation open it and go on, the
// others refuse without writing.
TEST_P(RunnerTest, ClosedPortIsOpenedOrRefused)
{
    const RunnerCase &c = GetParam();
    FakeConfig config = Fake(FakeModel::Tarnel);
    config.echo = false;
    FakeModem fake(config);
    ASSERT_TRUE(fake.Ok()) << fake.Error();
    CComPortBase port(fake.SlavePath(), 9600);
    port.Close();
    WatchedPhone phone;

    const bool result = c.run(&phone, &port);
    const std::vector<std::string> received = Received(fake);
    if (c.opensClosedPort) {
        EXPECT_TRUE(result);
        EXPECT_TRUE(port.IsOpened());
        EXPECT_EQ(received, std::vector<std::string> {c.command});
    } else {
        EXPECT_FALSE(result);
        EXPECT_TRUE(received.empty());
        EXPECT_TRUE(phone.replies.empty());
    }
}

// The device goes away while the runner waits for its reply: the run fails
// as soon as the port sees the hang-up, not after the whole poll budget.
TEST_P(RunnerTest, VanishedLineEndsTheRunPromptly)
{
    const RunnerCase &c = GetParam();
    if (c.command == nullptr)
        GTEST_SKIP() << "a message body is no command line the fake can hold back";
    FakeConfig config = Fake(FakeModel::Tarnel);
    config.echo = false;
    config.faults.silentCommands = {c.command};
    config.faults.dropAfterCommands = 1;
    FakeModem fake(config);
    ASSERT_TRUE(fake.Ok()) << fake.Error();
    CComPortBase port(fake.SlavePath(), 9600);
    ASSERT_TRUE(port.IsOpened());
    WatchedPhone phone;

    const Clock::time_point start = Clock::now();
    EXPECT_FALSE(c.run(&phone, &port));
    EXPECT_LT(ElapsedMs(start), 2000);
    EXPECT_TRUE(port.IsComError());
}

TEST_P(RunnerTest, MissingModelOrPortFailsAtOnce)
{
    const RunnerCase &c = GetParam();
    FakeModem fake(Fake(FakeModel::Tarnel));
    ASSERT_TRUE(fake.Ok()) << fake.Error();
    CComPortBase port(fake.SlavePath(), 9600);
    WatchedPhone phone;
    EXPECT_FALSE(c.run(nullptr, &port));
    EXPECT_FALSE(c.run(&phone, nullptr));
    EXPECT_TRUE(Received(fake).empty());
}

INSTANTIATE_TEST_SUITE_P(Runners, RunnerTest, ::testing::ValuesIn(kRunners),
                         [](const ::testing::TestParamInfo<RunnerCase> &info) {
                             return std::string(info.param.name);
                         });

class RunnerReplyTest : public app_test::PortTest {};

// A reply that trickles in is handed to the judge whole each time: every
// call sees what the one before saw, and more, and the verdict comes with
// the last piece.
TEST_F(RunnerReplyTest, ReplyInPiecesIsJudgedWhole)
{
    FakeConfig config = Fake(FakeModel::Tarnel);
    config.echo = false;
    config.faults.chunkBytes = 8;
    config.faults.chunkGapMs = 120;
    FakeModem fake(config);
    ASSERT_TRUE(fake.Ok()) << fake.Error();
    CComPortBase port(fake.SlavePath(), 9600);
    WatchedPhone phone;
    phone.judge = [](int, const std::string &reply) {
        return reply.find("OK\r\n") != std::string::npos ? COM_CMD_OK : COM_CMD_WAIT;
    };

    EXPECT_TRUE(CCheckManager::RunComCmdQuerySMSC(&phone, &port));
    ASSERT_GE(phone.replies.size(), 3u);
    for (std::size_t i = 1; i < phone.replies.size(); ++i) {
        const std::string &before = phone.replies[i - 1];
        EXPECT_EQ(phone.replies[i].compare(0, before.size(), before), 0) << "call " << i;
    }
    EXPECT_EQ(phone.replies.back(), "\r\n+CSCA: \"+8613800100500\",145\r\n\r\nOK\r\n");
}

// An ERROR ends the run at the poll that brought it, not after 1400.
TEST_F(RunnerReplyTest, RefusalEndsTheRunAtOnce)
{
    FakeConfig config = Fake(FakeModel::Tarnel);
    config.echo = false;
    config.faults.errorCommands.push_back({"AT+CSCA", "+CMS ERROR: 330"});
    FakeModem fake(config);
    ASSERT_TRUE(fake.Ok()) << fake.Error();
    CComPortBase port(fake.SlavePath(), 9600);
    WatchedPhone phone;

    const Clock::time_point start = Clock::now();
    EXPECT_FALSE(CCheckManager::RunComCmdQuerySMSC(&phone, &port));
    EXPECT_LT(ElapsedMs(start), 1000);
    ASSERT_EQ(phone.replies.size(), 1u);
    EXPECT_NE(phone.replies[0].find("+CMS ERROR: 330"), std::string::npos);
}

// Any verdict other than done or failed counts as not finished.
TEST_F(RunnerReplyTest, UnknownVerdictMeansGoOn)
{
    FakeModem fake(Fake(FakeModel::Silent));
    ASSERT_TRUE(fake.Ok()) << fake.Error();
    CComPortBase port(fake.SlavePath(), 9600);
    WatchedPhone phone;
    phone.judge = [](int call, const std::string &) {
        return call < 3 ? static_cast<COM_CMD_OPERATE_RESULT_t>(7) : COM_CMD_OK;
    };
    EXPECT_TRUE(CCheckManager::RunComCmdAT(&phone, &port));
    EXPECT_EQ(phone.replies.size(), 3u);
}

// Deleting every message gives the modem 100 ms more after each poll.
TEST_F(RunnerReplyTest, DelAllSmsWaitsLongerBetweenPolls)
{
    FakeModem fake(Fake(FakeModel::Silent));
    ASSERT_TRUE(fake.Ok()) << fake.Error();
    CComPortBase port(fake.SlavePath(), 9600);
    WatchedPhone phone;
    phone.closeOnFirstJudge = &port;
    phone.judge = [](int call, const std::string &) {
        return call < 4 ? COM_CMD_WAIT : COM_CMD_OK;
    };
    const Clock::time_point start = Clock::now();
    EXPECT_TRUE(DelAllSms(&phone, &port));
    EXPECT_EQ(phone.replies.size(), 4u);
    // Three polls went on, each with 100 ms more and LINUX_SLEEP.
    EXPECT_GE(ElapsedMs(start), 3 * 101);
    EXPECT_EQ(fake.Record().CommandTexts(), std::vector<std::string> {"AT+CMGD=0,4"});
}

struct ProbeRunnerCase {
    const char *name;
    Runner run;
};

void PrintTo(const ProbeRunnerCase &c, std::ostream *os)
{
    *os << c.name;
}

bool InitPhone(CPhoneCardBase *phone, CComPortBase *port)
{
    CCheckManager::RunComCmdInitPhone(phone, port);
    return false;
}

// The commands of the probe, whose replies are a few lines.
const ProbeRunnerCase kProbeRunners[] = {
    {"AT", CCheckManager::RunComCmdAT},
    {"ATI", CCheckManager::RunComCmdATI},
    {"InitPhone", InitPhone},
    {"SerialNumber", CCheckManager::RunComCmdGetSerialNumber},
    {"SmsCardNumber", CCheckManager::RunComCmdGetSmsCardNumber},
    {"SignalStrength", CCheckManager::RunComCmdGetSignalStrength},
};

class ProbeRunnerTest : public app_test::PortTest,
                        public ::testing::WithParamInterface<ProbeRunnerCase> {};

// A device that never stops sending gets no verdict of its own: the run gives
// up once the reply has reached its bound, which the judge never sees
// exceeded (a reply over its bound is not judged at all), instead of
// gathering for the port's 50 s cap every poll.
TEST_P(ProbeRunnerTest, DeviceThatNeverStopsSendingIsNoAnswer)
{
    StreamingLine line(std::chrono::seconds(30));
    ASSERT_TRUE(line.Ok());
    CComPortBase port(line.Path(), 9600);
    ASSERT_TRUE(port.IsOpened());
    WatchedPhone phone;

    const Clock::time_point start = Clock::now();
    EXPECT_FALSE(GetParam().run(&phone, &port));
    EXPECT_LT(ElapsedMs(start), SHORT_REPLY_BOUND.maxMs + 1000);
    for (const std::string &reply : phone.replies)
        EXPECT_LE(reply.size(), SHORT_REPLY_BOUND.maxBytes);
}

INSTANTIATE_TEST_SUITE_P(Runners, ProbeRunnerTest, ::testing::ValuesIn(kProbeRunners),
                         [](const ::testing::TestParamInfo<ProbeRunnerCase> &info) {
                             return std::string(info.param.name);
                         });

// A storage listing is far longer than any reply of the probe, and is
// gathered whole.
TEST_F(RunnerReplyTest, ListingLongerThanAnyProbeReplyIsJudgedWhole)
{
    FakeConfig config = Fake(FakeModel::Tarnel);
    config.echo = false;
    for (int i = 0; i < 40; ++i) {
        StoredMessage m;
        m.index = i;
        m.text = "第" + std::to_string(i + 1) + "条存储的测试短信";
        config.messages.push_back(m);
    }
    FakeModem fake(config);
    ASSERT_TRUE(fake.Ok()) << fake.Error();
    CComPortBase port(fake.SlavePath(), 9600);
    WatchedPhone phone;

    EXPECT_TRUE(CCheckManager::RunComCmdReadAllSmsToPhone(&phone, &port));
    ASSERT_FALSE(phone.replies.empty());
    const std::string &listing = phone.replies.back();
    EXPECT_GT(listing.size(), SHORT_REPLY_BOUND.maxBytes);
    EXPECT_EQ(listing.substr(listing.size() - 6), "\r\nOK\r\n");
}

class InitPhoneTest : public app_test::PortTest {};

TEST_F(InitPhoneTest, AllCommandsOfAWillingModem)
{
    FakeModem fake(Fake(FakeModel::Tarnel));
    ASSERT_TRUE(fake.Ok()) << fake.Error();
    CComPortBase port(fake.SlavePath(), 9600);
    WatchedPhone phone;
    CCheckManager::RunComCmdInitPhone(&phone, &port);
    EXPECT_EQ(Received(fake), (std::vector<std::string> {"AT+CMEE=1", "AT+CPMS=\"SM\"", "ATE0"}));
}

// The first ERROR stops the sequence: the commands after it are not written.
TEST_F(InitPhoneTest, StopsAtTheFirstRefusal)
{
    FakeConfig config = Fake(FakeModel::Tarnel);
    config.faults.errorCommands.push_back({"AT+CPMS", "+CMS ERROR: 310"});
    FakeModem fake(config);
    ASSERT_TRUE(fake.Ok()) << fake.Error();
    CComPortBase port(fake.SlavePath(), 9600);
    WatchedPhone phone;
    CCheckManager::RunComCmdInitPhone(&phone, &port);
    EXPECT_EQ(Received(fake), (std::vector<std::string> {"AT+CMEE=1", "AT+CPMS=\"SM\""}));
}

// A silent modem gets every command all the same, five polls each.
TEST_F(InitPhoneTest, SilentModemGetsEveryCommand)
{
    FakeModem fake(Fake(FakeModel::Silent));
    ASSERT_TRUE(fake.Ok()) << fake.Error();
    CComPortBase port(fake.SlavePath(), 9600);
    WatchedPhone phone;
    CCheckManager::RunComCmdInitPhone(&phone, &port);
    EXPECT_EQ(Received(fake), (std::vector<std::string> {"AT+CMEE=1", "AT+CPMS=\"SM\"", "ATE0"}));
    EXPECT_EQ(phone.replies.size(), 3u * 5u);
}

TEST_F(InitPhoneTest, OpensAClosedPortAndSkipsWhenNothingIsToBeSaid)
{
    FakeModem fake(Fake(FakeModel::Tarnel));
    ASSERT_TRUE(fake.Ok()) << fake.Error();
    CComPortBase port(fake.SlavePath(), 9600);
    port.Close();
    WatchedPhone phone;
    phone.noInitCommands = true;
    CCheckManager::RunComCmdInitPhone(&phone, &port);
    EXPECT_TRUE(port.IsOpened());
    EXPECT_TRUE(Received(fake).empty());

    phone.noInitCommands = false;
    port.Close();
    CCheckManager::RunComCmdInitPhone(&phone, &port);
    EXPECT_EQ(Received(fake).size(), 3u);
    CCheckManager::RunComCmdInitPhone(nullptr, &port);
    CCheckManager::RunComCmdInitPhone(&phone, nullptr);
    EXPECT_EQ(Received(fake).size(), 3u);
}

// A port that closes during the sequence is sent no further command.
TEST_F(InitPhoneTest, PortClosedMidwaySkipsTheRest)
{
    FakeModem fake(Fake(FakeModel::Tarnel));
    ASSERT_TRUE(fake.Ok()) << fake.Error();
    CComPortBase port(fake.SlavePath(), 9600);
    WatchedPhone phone;
    phone.closeOnFirstJudge = &port;
    CCheckManager::RunComCmdInitPhone(&phone, &port);
    EXPECT_EQ(Received(fake), std::vector<std::string> {"AT+CMEE=1"});
}

TEST(UsleepUntil, SleepsUntilTheTargetAndReturnsAtOnceForThePast)
{
    const std::uint64_t start = time_usec2();
    EXPECT_EQ(usleep_until2(start + 35000), 0);
    const std::uint64_t woke = time_usec2();
    EXPECT_GE(woke, start + 35000);
    EXPECT_LT(woke, start + 35000 + 200000);

    const Clock::time_point before = Clock::now();
    EXPECT_EQ(usleep_until2(start - 1000000), 0);
    EXPECT_EQ(usleep_until2(0), 0);
    EXPECT_LT(ElapsedMs(before), 50);
}

TEST(TimeUsec, CountsMicrosecondsOfTheWallClock)
{
    const std::uint64_t now = time_usec2();
    const std::uint64_t seconds = static_cast<std::uint64_t>(std::time(nullptr));
    EXPECT_LE(now / 1000000, seconds);
    EXPECT_GE(now / 1000000 + 1, seconds);
}
}  // namespace
