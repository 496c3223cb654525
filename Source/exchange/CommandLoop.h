// One command written once and its reply judged, poll by poll, until a
// verdict, a vanished line, the command's budget or its reply's bound. The
// line and the clock are the caller's: the same loop runs every command of
// both builds, on a serial port or on a scripted line in a test.
#ifndef ZARVEX_COMMAND_LOOP_H
#define ZARVEX_COMMAND_LOOP_H

#include <chrono>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>

#include "CommandReply.h"
#include "LineAccount.h"
#include "ReadBound.h"

// The serial line that a command is written on and its reply read from, as
// the loop uses it.
class SerialLine {
public:
    virtual ~SerialLine() = default;
    // Whatever the write did: the reply tells.
    virtual void Write(const std::string &command) = 0;
    // Appends what arrives, waiting as the port does for its input to pause,
    // within `bound` (no more bytes, no look at the line begun after its
    // time). False when nothing could be read at all: the poll then judges
    // nothing.
    virtual bool ReadAll(std::string &out, const ReadBound &bound) = 0;
    // Appends what has already arrived, at most maxBytes, without waiting.
    virtual void ReadPending(std::string &out, std::size_t maxBytes) = 0;
    // The device went away: no reply can come any more.
    virtual bool IsLineGone() const = 0;
    // What the line's conversation owes from one command to the next.
    virtual LineAccount &Account() = 0;
};

class CommandClock {
public:
    using Duration = std::chrono::milliseconds;
    virtual ~CommandClock() = default;
    virtual Duration Now() = 0;
    virtual void Pause(Duration pause) = 0;
};

// The steady clock and a real sleep.
CommandClock &SteadyCommandClock();

// How long a command may wait for its verdict: a count of reads (the Linux
// runners) or a time since the write (the Windows runner), with a pause
// after every read that brings no verdict. Neither given: the command is
// written and nothing is read.
struct CommandBudget {
    int polls = 0;
    CommandClock::Duration time {0};
    CommandClock::Duration pause {0};
    // Reading one reply, at most: its bytes, and the time one read may keep
    // gathering because the line never paused (a line that never goes
    // quiet is no modem answering). None: the port's own gathering caps
    // each read.
    std::optional<ReadBound> bound;
};

// The latest a reply may begin after its command was written: the slowest
// answer a modem gives (a SIM slow to select its storage) begins within it.
// A command that ended sooner without its final result is still owed it for
// that long; after that nothing more is waited for.
constexpr CommandClock::Duration kLateReplyLimit(2000);

// While the line still owes earlier commands their final results, its reads
// settle those: a modem that answers late gets its own command's whole
// budget for each reply. A port with nothing behind it never catches up and
// never answered, so it costs no more than its budgets.
//
// Once the line has caught up, the time settling took is given back to the
// command if it took no longer than this: that long is what waiting out a
// slow modem's late replies costs. A line that kept the command settling
// longer was sending more than late replies, and its time stays spent.
constexpr CommandClock::Duration kSettlingGivenBackLimit(2000);

// A line that has answered before may go on settling past the command's
// budget until its settling has taken this long: a modem that answers at
// all gets to finish the replies it still owes and then be heard on its own
// command, but a line still settling after that long holds up the flow.
constexpr CommandClock::Duration kSettlingPastBudgetLimit(2000);

// Pending input dropped before a write, at most: more than this is a
// stream, and the command's own bound takes over.
constexpr std::size_t kPendingDropLimit = 4096;

enum class ReplyVerdict { Done, Failed, Wait };
using ReplyJudge = std::function<ReplyVerdict(const CommandReply &reply)>;

// How a command ended.
enum class CommandEnd {
    Done,          // the judge answered Done
    Refused,       // the judge answered Failed
    LineGone,      // the device went away before a verdict
    OutOfTime,     // the budget ran out before a verdict
    BoundReached,  // the reply took all its bound allows without a verdict
};

struct CommandForm {
    ReplyEnd end = ReplyEnd::FinalResult;
    ReplyLines lines = ReplyLines::WithoutReports;
};

// Drops what is pending, writes `command`, then reads and asks `judge`
// until it decides or the command ends otherwise. The judge sees the reply
// whole each time (see CommandReply). The last read may end after a time
// budget by one read: its reply is still judged. `text`, when given,
// receives the reply as its judge last saw it.
CommandEnd RunCommand(SerialLine &line, CommandClock &clock, const std::string &command,
                      const ReplyJudge &judge, const CommandBudget &budget,
                      const CommandForm &form = CommandForm(), std::string *text = nullptr);

// A judge for a reply that counts once it holds what ends it.
ReplyVerdict JudgeByEnd(const CommandReply &reply);

#endif
