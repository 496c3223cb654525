// The Windows runner's loop on a scripted line and a clock that moves only
// when the line or the runner spends time: a read that finds the line silent
// costs what a Win32 read with the port's time-outs costs, so a budget can be
// checked to the millisecond without waiting for it.
#include <gtest/gtest.h>

#include <memory>

#include "CommandBudgets.h"
#include "HandledCommand.h"
#include "PhoneCardBase.h"

namespace {

using Ms = CommandClock::Duration;

// A ReadAll of the Win32 port ends with a read that brings nothing, which
// lasts the port's whole read time-out.
constexpr Ms kEmptyReadCost(562);

class FakeClock : public CommandClock {
public:
    Duration Now() override { return m_now; }
    void Pause(Duration pause) override
    {
        m_now += pause;
        ++pauses;
    }
    void Spend(Duration d) { m_now += d; }
    int pauses = 0;

private:
    Duration m_now {1000};
};

// Bytes that arrive at given times; the line may vanish at a given time.
class ScriptedLine : public CommandLine {
public:
    explicit ScriptedLine(FakeClock &clock) : m_clock(clock) {}

    ScriptedLine &Arrive(Ms at, std::string bytes)
    {
        m_arrivals.push_back({at, std::move(bytes)});
        return *this;
    }
    ScriptedLine &GoneAt(Ms at)
    {
        m_goneAt = at;
        m_gone = true;
        return *this;
    }

    bool IsOpened() const override { return opened; }
    void Write(const std::string &command) override
    {
        written.push_back(command);
        m_start = m_clock.Now();
    }
    void ReadAll(std::string &reply) override
    {
        ++reads;
        for (Arrival &a : m_arrivals)
            if (!a.taken && m_clock.Now() - m_start >= a.at) {
                reply += a.bytes;
                a.taken = true;
            }
        m_clock.Spend(kEmptyReadCost);
    }
    bool IsLineGone() const override { return m_gone && m_clock.Now() - m_start >= m_goneAt; }

    bool opened = true;
    std::vector<std::string> written;
    int reads = 0;

private:
    struct Arrival {
        Ms at;
        std::string bytes;
        bool taken = false;
    };
    FakeClock &m_clock;
    std::vector<Arrival> m_arrivals;
    Ms m_start {0};
    Ms m_goneAt {0};
    bool m_gone = false;
};

// Judges as the modem parsers do: a final OK or ERROR decides.
struct RecordingHandler {
    std::shared_ptr<std::vector<std::string>> seen = std::make_shared<std::vector<std::string>>();
    ComCmdHandler_t Handler() const
    {
        auto replies = seen;
        return [replies](CPhoneCardBase *, std::string reply) {
            replies->push_back(reply);
            if (reply.find("ERROR") != std::string::npos)
                return COM_CMD_ERROR;
            if (reply.find("OK\r\n") != std::string::npos)
                return COM_CMD_OK;
            return COM_CMD_WAIT;
        };
    }
};

class HandledCommandTest : public testing::Test {
protected:
    CommandEnd Run(int polls, const std::string &command = "AT+CMGF=0\r")
    {
        m_start = clock.Now();
        return RunHandledCommand(&phone, line, clock, command, handler.Handler(), Ms(PollBudgetMs(polls)));
    }
    Ms Elapsed() { return clock.Now() - m_start; }

    CPhoneCardBase phone;
    FakeClock clock;
    ScriptedLine line {clock};
    RecordingHandler handler;
    FakeClock::Duration m_start {0};
};

struct BudgetCase {
    const char *name;
    int polls;
};

void PrintTo(const BudgetCase &c, std::ostream *os)
{
    *os << c.name;
}

// The runners' budgets. Counted as polls of a 100 ms pause after a read
// that always ends in an empty one, the longest of them let a silent modem
// hold a command for 1400 x 662 ms, over 15 minutes.
const BudgetCase kBudgets[] = {
    {"InitCommand", INIT_POLLS_PER_COMMAND}, {"StorageSelection", STORE_SELECT_POLLS},
    {"MessagePartPrompt", SEND_LEN_POLLS},   {"Listing", LIST_POLLS},
    {"LongReply", LONG_POLLS},
};

class SilentModemTest : public HandledCommandTest, public testing::WithParamInterface<BudgetCase> {};

TEST_P(SilentModemTest, EndsWhenTheLinuxRunnersBudgetHasPassed)
{
    const int polls = GetParam().polls;
    EXPECT_EQ(Run(polls), CommandEnd::OutOfTime);
    EXPECT_GE(Elapsed(), Ms(PollBudgetMs(polls)));
    // At most the read that was under way when the budget ran out.
    EXPECT_LE(Elapsed(), Ms(PollBudgetMs(polls)) + kEmptyReadCost);
    EXPECT_EQ(line.written, std::vector<std::string>{"AT+CMGF=0\r"});
    EXPECT_EQ(handler.seen->size(), static_cast<std::size_t>(line.reads)) << "every read is judged";
}

INSTANTIATE_TEST_SUITE_P(Budgets, SilentModemTest, testing::ValuesIn(kBudgets),
                         [](const testing::TestParamInfo<BudgetCase> &info) {
                             return std::string(info.param.name);
                         });

TEST_F(HandledCommandTest, AReplyCompleteAtTheFirstPollEndsWithoutAPause)
{
    line.Arrive(Ms(0), "\r\nOK\r\n");
    EXPECT_EQ(Run(LONG_POLLS), CommandEnd::Done);
    EXPECT_EQ(line.reads, 1);
    EXPECT_EQ(clock.pauses, 0);
}

TEST_F(HandledCommandTest, AReplyInPiecesIsJudgedWholeAtEachPoll)
{
    line.Arrive(Ms(0), "\r\n+CSCA: \"+8613").Arrive(Ms(600), "800100500\",145\r\n").Arrive(Ms(1300), "\r\nOK\r\n");
    EXPECT_EQ(Run(LONG_POLLS), CommandEnd::Done);
    EXPECT_EQ(*handler.seen, (std::vector<std::string>{"\r\n+CSCA: \"+8613", "\r\n+CSCA: \"+8613800100500\",145\r\n",
                                                       "\r\n+CSCA: \"+8613800100500\",145\r\n\r\nOK\r\n"}));
}

TEST_F(HandledCommandTest, ARefusalEndsAtOnce)
{
    line.Arrive(Ms(0), "\r\n+CMS ERROR: 321\r\n");
    EXPECT_EQ(Run(LIST_POLLS), CommandEnd::Refused);
    EXPECT_EQ(line.reads, 1);
}

TEST_F(HandledCommandTest, AReplyThatCompletesAfterTheBudgetIsNotWaitedFor)
{
    line.Arrive(Ms(PollBudgetMs(STORE_SELECT_POLLS) + 2000), "\r\nOK\r\n");
    EXPECT_EQ(Run(STORE_SELECT_POLLS), CommandEnd::OutOfTime);
    EXPECT_LT(Elapsed(), Ms(PollBudgetMs(STORE_SELECT_POLLS) + 2000));
}

// Without this the runner waited out the budget: over a minute for the
// longest commands, for every further command of the flow.
TEST_F(HandledCommandTest, AVanishedLineEndsTheCommandAtTheNextPoll)
{
    line.Arrive(Ms(0), "\r\n+CMGL: 1,1,,20\r\n").GoneAt(Ms(1000));
    EXPECT_EQ(Run(LIST_POLLS), CommandEnd::LineGone);
    EXPECT_LE(Elapsed(), Ms(1000) + kEmptyReadCost + kCommandPollPause);
}

TEST_F(HandledCommandTest, NoBudgetWritesTheCommandAndReadsNothing)
{
    line.Arrive(Ms(0), "\r\nOK\r\n");
    EXPECT_EQ(Run(0), CommandEnd::OutOfTime);
    EXPECT_EQ(line.written.size(), 1u);
    EXPECT_EQ(line.reads, 0);
    EXPECT_TRUE(handler.seen->empty());
}

TEST_F(HandledCommandTest, NothingIsWrittenWithoutAModemObjectOrAnOpenLine)
{
    EXPECT_EQ(RunHandledCommand(nullptr, line, clock, "AT\r", handler.Handler(), Ms(1000)), CommandEnd::NotRun);
    line.opened = false;
    EXPECT_EQ(Run(LONG_POLLS), CommandEnd::NotRun);
    EXPECT_TRUE(line.written.empty());
    EXPECT_EQ(line.reads, 0);
}

}  // namespace
