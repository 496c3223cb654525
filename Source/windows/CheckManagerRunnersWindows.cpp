// Command runners of the Windows build: the budget of a runner as the time
// the Linux runner's polls take, and the rule that ends the initialisation
// sequence.
#include "CheckManagerFlow.h"
#include "CheckManagerRunners.h"
#include "CommandBudgets.h"
#include "ComPortBase.h"

namespace {

using Ms = CommandClock::Duration;

// The pause after a poll that brought no verdict.
constexpr Ms kCommandPollPause(100);

}  // namespace

// A Windows runner bounds a command by the time the Linux runner's polls
// take at least, since its port reads with other pauses.
CommandBudget RunnerBudget(int polls, const ReadBound &bound, CommandClock::Duration extraPause)
{
    return {0, Ms(PollBudgetMs(polls)), kCommandPollPause + extraPause, bound};
}

// Every command is sent whatever the one before got: the Windows build
// takes any answer to them as done. Only a vanished line, or one that sends
// without end, stops them.
bool InitSequenceEnds(const CComPortBase &port, const std::optional<CommandEnd> &)
{
    return !IsLineUsable(port);
}
