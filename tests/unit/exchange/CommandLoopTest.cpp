// The command loop on a scripted line and a clock that moves only when the
// line or the loop spends time, in both forms of budget: a count of polls of
// a port that waits 50 ms for its input to pause (the Linux runners), and a
// time since the write on a port whose silent read lasts 562 ms (the
// Windows runner). Late replies, unsolicited reports and streams are placed
// to the millisecond.
#include "CommandLoop.h"

#include <gtest/gtest.h>

#include "ScriptedLine.h"

namespace {

using exchange_test::ManualClock;
using exchange_test::Ms;
using exchange_test::OkErrorJudge;
using exchange_test::ScriptedLine;

constexpr Ms kLinuxReadCost(50);
constexpr Ms kLinuxPause(1);
constexpr Ms kWindowsReadCost(562);
constexpr Ms kWindowsPause(100);
const ReadBound kShortBound = {4096, 2000};

CommandBudget Polls(int polls, Ms pause = kLinuxPause)
{
    CommandBudget budget;
    budget.polls = polls;
    budget.pause = pause;
    budget.bound = kShortBound;
    return budget;
}

CommandBudget Time(Ms time)
{
    CommandBudget budget;
    budget.time = time;
    budget.pause = kWindowsPause;
    budget.bound = kShortBound;
    return budget;
}

// What each judged poll saw.
struct Recorder {
    std::vector<std::string> seen;
    ReplyJudge Judge()
    {
        return [this](const CommandReply &reply) {
            seen.push_back(reply.Text());
            return OkErrorJudge(reply);
        };
    }
};

class TimeBudgetTest : public testing::Test {
protected:
    CommandEnd Run(Ms budget, const std::string &command = "AT+CMGF=0\r")
    {
        m_start = clock.Now();
        return RunCommand(line, clock, command, recorder.Judge(), Time(budget));
    }
    Ms Elapsed() { return clock.Now() - m_start; }

    ManualClock clock;
    ScriptedLine line {clock, kWindowsReadCost};
    Recorder recorder;
    Ms m_start {0};
};

TEST_F(TimeBudgetTest, SilentLineEndsWhenTheBudgetHasPassed)
{
    for (const Ms budget : {Ms(255), Ms(2040), Ms(61200), Ms(71400)}) {
        ScriptedLine silent(clock, kWindowsReadCost);
        Recorder seen;
        const Ms start = clock.Now();
        EXPECT_EQ(RunCommand(silent, clock, "AT\r", seen.Judge(), Time(budget)),
                  CommandEnd::OutOfTime);
        EXPECT_GE(clock.Now() - start, budget);
        // At most the read that was under way when the budget ran out.
        EXPECT_LE(clock.Now() - start, budget + kWindowsReadCost);
        EXPECT_EQ(silent.written, std::vector<std::string> {"AT\r"});
        EXPECT_EQ(seen.seen.size(), static_cast<std::size_t>(silent.reads)) << "every read is judged";
        EXPECT_TRUE(silent.Account().lastUnanswered);
        // Only a command that ended sooner than a reply may be late is still
        // owed one.
        EXPECT_EQ(silent.Account().owedFinals, budget < kLateReplyLimit ? 1 : 0) << budget.count();
    }
}

TEST_F(TimeBudgetTest, AReplyCompleteAtTheFirstPollEndsWithoutAPause)
{
    line.AfterWrite(Ms(0), "\r\nOK\r\n");
    EXPECT_EQ(Run(Ms(71400)), CommandEnd::Done);
    EXPECT_EQ(line.reads, 1);
    EXPECT_TRUE(clock.pauses.empty());
    EXPECT_EQ(line.Account().owedFinals, 0);
}

TEST_F(TimeBudgetTest, AReplyInPiecesIsJudgedWholeAtEachPoll)
{
    line.AfterWrite(Ms(0), "\r\n+CSCA: \"+8613").AfterWrite(Ms(600), "800100500\",145\r\n").AfterWrite(Ms(1300), "\r\nOK\r\n");
    EXPECT_EQ(Run(Ms(71400)), CommandEnd::Done);
    EXPECT_EQ(recorder.seen, (std::vector<std::string> {"\r\n+CSCA: \"+8613",
                                                        "\r\n+CSCA: \"+8613800100500\",145\r\n",
                                                        "\r\n+CSCA: \"+8613800100500\",145\r\n\r\nOK\r\n"}));
}

TEST_F(TimeBudgetTest, ARefusalEndsAtOnce)
{
    line.AfterWrite(Ms(0), "\r\n+CMS ERROR: 321\r\n");
    EXPECT_EQ(Run(Ms(61200)), CommandEnd::Refused);
    EXPECT_EQ(line.reads, 1);
    EXPECT_FALSE(line.Account().lastUnanswered);
}

TEST_F(TimeBudgetTest, AReplyThatCompletesAfterTheBudgetIsNotWaitedFor)
{
    line.AfterWrite(Ms(4300), "\r\nOK\r\n");
    EXPECT_EQ(Run(Ms(2040)), CommandEnd::OutOfTime);
    EXPECT_LT(Elapsed(), Ms(4300));
}

// Without this the runner waited out the budget: over a minute for the
// longest commands, for every further command of the flow.
TEST_F(TimeBudgetTest, AVanishedLineEndsTheCommandAtTheNextPoll)
{
    line.AfterWrite(Ms(0), "\r\n+CMGL: 1,1,,20\r\n").GoneAt(Ms(2000));
    EXPECT_EQ(Run(Ms(61200)), CommandEnd::LineGone);
    EXPECT_LE(Elapsed(), Ms(1000) + kWindowsReadCost + kWindowsPause);
}

TEST_F(TimeBudgetTest, NoBudgetWritesTheCommandAndReadsNothing)
{
    line.AfterWrite(Ms(0), "\r\nOK\r\n");
    EXPECT_EQ(Run(Ms(0)), CommandEnd::OutOfTime);
    EXPECT_EQ(line.written.size(), 1u);
    EXPECT_EQ(line.reads, 0);
    EXPECT_TRUE(recorder.seen.empty());
}

// A device that starts streaming: the command ends at its reply's bound,
// not at its budget of over a minute.
TEST_F(TimeBudgetTest, AStreamEndsAtTheReplysBound)
{
    for (int i = 0; i < 400; ++i)
        line.AfterWrite(Ms(10 * i), "noise noise noise\r\n");
    EXPECT_EQ(Run(Ms(71400)), CommandEnd::BoundReached);
    EXPECT_LE(Elapsed(), Ms(kShortBound.maxMs) + kWindowsReadCost + kWindowsPause);
}

class PollBudgetTest : public testing::Test {
protected:
    ManualClock clock;
    ScriptedLine line {clock, kLinuxReadCost};
    Recorder recorder;
};

// A modem that never decides: exactly the budget's polls are read, each
// followed by the pause, the last included.
TEST_F(PollBudgetTest, SilentLineIsPolledToTheLimit)
{
    for (const int polls : {1, 5, 40, 1400}) {
        ScriptedLine silent(clock, kLinuxReadCost);
        Recorder seen;
        clock.pauses.clear();
        const Ms start = clock.Now();
        EXPECT_EQ(RunCommand(silent, clock, "AT\r\n", seen.Judge(), Polls(polls)),
                  CommandEnd::OutOfTime);
        EXPECT_EQ(silent.reads, polls);
        EXPECT_EQ(seen.seen.size(), static_cast<std::size_t>(polls));
        EXPECT_EQ(clock.pauses.size(), static_cast<std::size_t>(polls));
        EXPECT_EQ(clock.Now() - start, polls * (kLinuxReadCost + kLinuxPause));
    }
}

TEST_F(PollBudgetTest, ARefusalEndsAfterOneRead)
{
    line.AfterWrite(Ms(0), "\r\nERROR\r\n");
    EXPECT_EQ(RunCommand(line, clock, "AT\r\n", recorder.Judge(), Polls(1400)), CommandEnd::Refused);
    EXPECT_EQ(line.reads, 1);
}

TEST_F(PollBudgetTest, AnExtraPausePerPollSlowsOnlyItsOwnCommand)
{
    EXPECT_EQ(RunCommand(line, clock, "AT+CMGD=0,4\r\n", recorder.Judge(), Polls(3, Ms(101))),
              CommandEnd::OutOfTime);
    EXPECT_EQ(clock.pauses, (std::vector<Ms> {Ms(101), Ms(101), Ms(101)}));
}

// The probe's commands one after the other, each answered `delay` after it
// reaches the modem (or after the modem's previous reply), with each
// command's own budget.
struct Exchange {
    const char *command;
    const char *reply;
    int polls;
};

class LateModemTest : public PollBudgetTest {
protected:
    // Runs the exchanges and gives the text each one's judge last saw, or ""
    // for one that got no verdict.
    std::vector<std::string> RunAll(ScriptedLine &line, const std::vector<Exchange> &exchanges,
                                    Ms delay, const char *lateCommand = nullptr, Ms lateBy = Ms(0))
    {
        line.modem = [&](const std::string &command) {
            for (const Exchange &e : exchanges)
                if (command == e.command)
                    return ScriptedLine::Answer {e.reply,
                                                 lateCommand && command == lateCommand ? lateBy : delay};
            return ScriptedLine::Answer {"\r\nERROR\r\n", delay};
        };
        std::vector<std::string> verdicts;
        for (const Exchange &e : exchanges) {
            std::string text;
            const CommandEnd end =
                RunCommand(line, clock, e.command, OkErrorJudge, Polls(e.polls), CommandForm(), &text);
            verdicts.push_back(end == CommandEnd::Done ? text : std::string());
        }
        return verdicts;
    }
};

const std::vector<Exchange> kProbe = {
    {"ATE0\r\n", "\r\nOK\r\n", 1},
    {"AT\r\n", "\r\nOK\r\n", 10},
    {"ATI\r\n", "\r\nQuectel\r\nM35\r\nRevision: M35AR01A01\r\n\r\nOK\r\n", 1400},
    {"AT+CMEE=1\r\n", "\r\nOK\r\n", 5},
    {"AT+CPMS=\"SM\"\r\n", "\r\n+CPMS: 0,50,0,50,0,50\r\n\r\nOK\r\n", 5},
    {"ATE0\r\n", "\r\nOK\r\n", 5},
    {"AT+CGSN\r\n", "\r\n866123456789012\r\n\r\nOK\r\n", 20},
    {"AT+CCID\r\n", "\r\n+CCID: 89860012345678901234\r\n\r\nOK\r\n", 20},
    {"at+csq\r\n", "\r\n+CSQ: 20,99\r\n\r\nOK\r\n", 20},
};

// Every reply 300 ms late: the short budgets run out, but no command's
// verdict is ever taken from another command's reply, and the value reads,
// whose own budgets cover the delay, get their own.
TEST_F(LateModemTest, EveryReplyLateIsNeverCreditedToTheNextCommand)
{
    const std::vector<std::string> texts = RunAll(line, kProbe, Ms(300));
    EXPECT_EQ(texts[1], "\r\nOK\r\n") << "AT, its own OK after the late one of ATE0";
    EXPECT_EQ(texts[2], kProbe[2].reply);
    EXPECT_EQ(texts[6], "\r\n866123456789012\r\n\r\nOK\r\n");
    EXPECT_EQ(texts[7], "\r\n+CCID: 89860012345678901234\r\n\r\nOK\r\n");
    EXPECT_EQ(texts[8], "\r\n+CSQ: 20,99\r\n\r\nOK\r\n");
    for (std::size_t i = 0; i < texts.size(); ++i) {
        if (!texts[i].empty()) {
            EXPECT_EQ(texts[i].find(kProbe[i].reply), 0u) << kProbe[i].command;
        }
    }
}

// One command answered far beyond its budget: the replies that follow are
// still each command's own, and the late one goes to nobody.
TEST_F(LateModemTest, OneLateReplyShiftsNothing)
{
    for (const Ms lateBy : {Ms(700), Ms(1200), Ms(1500)}) {
        ScriptedLine late(clock, kLinuxReadCost);
        const std::vector<std::string> texts = RunAll(late, kProbe, Ms(20), "AT+CPMS=\"SM\"\r\n", lateBy);
        EXPECT_EQ(texts[4], "") << "the storage selection ran out of time";
        EXPECT_EQ(texts[6], "\r\n866123456789012\r\n\r\nOK\r\n") << lateBy.count();
        EXPECT_EQ(texts[7], "\r\n+CCID: 89860012345678901234\r\n\r\nOK\r\n") << lateBy.count();
    }
}

// A command that is never answered leaves the line out of step for good:
// each later command's reply pays the debt and that command gets none,
// never another command's value.
TEST_F(LateModemTest, AModemThatStaysOutOfStepGivesNoValues)
{
    std::vector<Exchange> exchanges = kProbe;
    line.modem = [&](const std::string &command) {
        if (command == "AT+CPMS=\"SM\"\r\n")
            return ScriptedLine::Answer {"", Ms(0)};
        for (const Exchange &e : exchanges)
            if (command == e.command)
                return ScriptedLine::Answer {e.reply, Ms(10)};
        return ScriptedLine::Answer {"", Ms(0)};
    };
    for (std::size_t i = 0; i < 6; ++i)
        RunCommand(line, clock, exchanges[i].command, OkErrorJudge, Polls(exchanges[i].polls));
    for (std::size_t i = 6; i < exchanges.size(); ++i) {
        std::string text;
        const CommandEnd end =
            RunCommand(line, clock, exchanges[i].command, OkErrorJudge, Polls(exchanges[i].polls),
                       CommandForm(), &text);
        EXPECT_EQ(end, CommandEnd::OutOfTime) << exchanges[i].command;
        EXPECT_EQ(text.find("OK"), std::string::npos) << exchanges[i].command << text;
    }
}

// A line with nothing behind it costs its budgets and not a millisecond
// more, however many commands it left unanswered.
TEST_F(PollBudgetTest, ASilentLineGetsNoTimeToSettle)
{
    RunCommand(line, clock, "ATE0\r\n", OkErrorJudge, Polls(1));
    const Ms start = clock.Now();
    EXPECT_EQ(RunCommand(line, clock, "AT\r\n", OkErrorJudge, Polls(10)), CommandEnd::OutOfTime);
    EXPECT_EQ(clock.Now() - start, 10 * (kLinuxReadCost + kLinuxPause));
}

// A command the modem never answers, waited for as long as any reply may be
// late, leaves nothing owed: the next command's reply is its own.
TEST_F(PollBudgetTest, AReplyNeverGivenIsNotWaitedForBeyondTheLimit)
{
    line.modem = [](const std::string &command) {
        if (command == "AT+CSCA?\r\n")
            return ScriptedLine::Answer {"", Ms(0)};
        return ScriptedLine::Answer {"\r\nOK\r\n", Ms(20)};
    };
    EXPECT_EQ(RunCommand(line, clock, "AT+CSCA?\r\n", OkErrorJudge, Polls(60)), CommandEnd::OutOfTime);
    EXPECT_EQ(RunCommand(line, clock, "at+cmgf=0\r\n", OkErrorJudge, Polls(60)), CommandEnd::Done);
}

// The same for one left unanswered by a short budget: once the limit has
// passed by the next command, it is owed nothing.
TEST_F(PollBudgetTest, AnOverdueDebtIsForgiven)
{
    line.modem = [](const std::string &command) {
        if (command == "AT+CMEE=1\r\n")
            return ScriptedLine::Answer {"", Ms(0)};
        return ScriptedLine::Answer {"\r\nOK\r\n", Ms(20)};
    };
    EXPECT_EQ(RunCommand(line, clock, "AT+CMEE=1\r\n", OkErrorJudge, Polls(5)), CommandEnd::OutOfTime);
    EXPECT_EQ(line.Account().owedFinals, 1);
    clock.Spend(kLateReplyLimit);
    EXPECT_EQ(RunCommand(line, clock, "ATE0\r\n", OkErrorJudge, Polls(5)), CommandEnd::Done);
}

// What is pending when a command is written was never its reply.
TEST_F(PollBudgetTest, PendingInputIsDroppedBeforeTheWrite)
{
    line.At(Ms(0), "\r\n+CREG: 1\r\ngarbage\r\n\r\nOK\r\n");
    line.modem = [](const std::string &) { return ScriptedLine::Answer {"\r\n+CSQ: 20,99\r\n\r\nOK\r\n", Ms(100)}; };
    std::string text;
    EXPECT_EQ(RunCommand(line, clock, "at+csq\r\n", OkErrorJudge, Polls(5), CommandForm(), &text),
              CommandEnd::Done);
    EXPECT_EQ(text, "\r\n+CSQ: 20,99\r\n\r\nOK\r\n");
    EXPECT_EQ(line.pendingReads, 1);
}

}  // namespace
