// How long each modem command may keep its runner waiting for a verdict,
// named once for the runners of both builds.
//
// The Linux runners count polls of the port: a poll lasts at least the
// port's read pause (50 ms) plus the runner's own LINUX_SLEEP, so a budget of
// N polls gives the modem at least PollBudgetMs(N) to answer. The Windows
// port reads with other pauses, so the Windows runner bounds each command by
// that same time on the clock instead of by a count: a command waits as long
// in either build.
#ifndef ZARVEX_COMMAND_BUDGETS_H
#define ZARVEX_COMMAND_BUDGETS_H

#include "ReadBound.h"

// Pause between two polls of a Linux command runner, in microseconds.
constexpr unsigned LINUX_SLEEP = 1000;
// The least time one poll of a Linux runner takes, in milliseconds.
constexpr int RUNNER_POLL_MIN_MS = 51;

constexpr int INIT_POLLS_PER_COMMAND = 5;
constexpr int AT_POLLS = 10;
// Serial number, card number and signal: a modem slow to answer them (a SIM
// card is slow to read) is still read, and only an identified modem is asked.
constexpr int VALUE_POLLS = 20;
// Choosing the SIM or device storage: a slow SIM takes seconds to answer, so
// a reply that begins within 2 s is taken.
constexpr int STORE_SELECT_POLLS = 40;
constexpr int LONG_POLLS = 1400;         // replies that may take a minute
constexpr int SEND_LEN_POLLS = 1200;     // the ">" prompt of a message part
constexpr int LIST_POLLS = 1200;         // a whole storage listing
constexpr int DEL_ALL_POLLS = 1400;
// The reads the read flow spends on the reply to one fetched message. They
// bound its time as polls do: a read of a silent line takes far longer on
// Windows than on Linux.
constexpr int FETCH_REPLY_READS = 100;

// The most one reply may bring, and the longest it may keep arriving without
// a pause. A line that sends more, or without pausing for longer, has no
// modem answering behind it, whatever it says: without a bound a device that
// never stops sending would hold each command for the port's whole
// gathering time. Replies of a few lines:
constexpr ReadBound SHORT_REPLY_BOUND = {4096, 2000};
// A storage listing, which may hold hundreds of messages:
constexpr ReadBound LISTING_REPLY_BOUND = {1024 * 1024, LIST_POLLS * RUNNER_POLL_MIN_MS};

// The time that `polls` polls of a Linux runner take at least.
constexpr int PollBudgetMs(int polls)
{
    return polls * RUNNER_POLL_MIN_MS;
}

#endif
