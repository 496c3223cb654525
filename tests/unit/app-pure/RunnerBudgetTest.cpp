// Every command budget of the runners, in this build's form (a count of
// polls on Linux, a time on Windows), on a scripted line whose reads cost
// what a Linux port's wait for a pause costs: a modem that never answers
// holds each command for the time the Linux runner's polls take, and not
// for much longer.
#include <gtest/gtest.h>

#include "CheckManagerPortLine.h"
#include "CommandBudgets.h"
#include "ScriptedLine.h"

namespace {

using exchange_test::ManualClock;
using exchange_test::Ms;
using exchange_test::OkErrorJudge;
using exchange_test::ScriptedLine;

constexpr Ms kReadCost(50);

struct BudgetCase {
    const char *name;
    int polls;
    ReadBound bound;
};

void PrintTo(const BudgetCase &c, std::ostream *os)
{
    *os << c.name;
}

const BudgetCase kBudgets[] = {
    {"InitCommand", INIT_POLLS_PER_COMMAND, SHORT_REPLY_BOUND},
    {"At", AT_POLLS, SHORT_REPLY_BOUND},
    {"Value", VALUE_POLLS, SHORT_REPLY_BOUND},
    {"StorageSelection", STORE_SELECT_POLLS, SHORT_REPLY_BOUND},
    {"MessagePartPrompt", SEND_LEN_POLLS, SHORT_REPLY_BOUND},
    {"Listing", LIST_POLLS, LISTING_REPLY_BOUND},
    {"LongReply", LONG_POLLS, SHORT_REPLY_BOUND},
    {"FetchedMessage", FETCH_REPLY_READS, SHORT_REPLY_BOUND},
};

class RunnerBudgetTest : public testing::TestWithParam<BudgetCase> {};

TEST_P(RunnerBudgetTest, ASilentModemHoldsACommandForTheLinuxRunnersTime)
{
    ManualClock clock;
    ScriptedLine silent(clock, kReadCost);
    const CommandBudget budget = RunnerBudget(GetParam().polls, GetParam().bound);
    const Ms start = clock.Now();
    EXPECT_EQ(RunCommand(silent, clock, "AT\r\n", OkErrorJudge, budget), CommandEnd::OutOfTime);
    const Ms spent = clock.Now() - start;
    EXPECT_GE(spent, Ms(PollBudgetMs(GetParam().polls)));
    // At most the read under way when the time ran out, and its pause.
    EXPECT_LE(spent, Ms(PollBudgetMs(GetParam().polls)) + kReadCost + budget.pause);
    EXPECT_EQ(silent.written.size(), 1u);
}

// A reply the moment it is asked for ends the command at its first read.
TEST_P(RunnerBudgetTest, APromptReplyEndsTheCommandAtOnce)
{
    ManualClock clock;
    ScriptedLine line(clock, kReadCost);
    line.AfterWrite(Ms(0), "\r\nOK\r\n");
    const Ms start = clock.Now();
    EXPECT_EQ(RunCommand(line, clock, "AT\r\n", OkErrorJudge,
                         RunnerBudget(GetParam().polls, GetParam().bound)),
              CommandEnd::Done);
    EXPECT_EQ(clock.Now() - start, kReadCost);
    EXPECT_EQ(line.reads, 1);
}

INSTANTIATE_TEST_SUITE_P(Runners, RunnerBudgetTest, testing::ValuesIn(kBudgets),
                         [](const testing::TestParamInfo<BudgetCase> &info) {
                             return std::string(info.param.name);
                         });

}  // namespace
