// One modem command written once and its reply judged, poll by poll, by a
// handler that asks one reply parser of the modem object. The line and the
// clock are the caller's, so that the loop runs the same on a Win32 port and
// on a scripted line in a test.
#ifndef ZARVEX_HANDLED_COMMAND_H
#define ZARVEX_HANDLED_COMMAND_H

#include <chrono>
#include <functional>
#include <string>

#include "PhoneCardDefine.h"

class CPhoneCardBase;

// A reply handler: calls one reply parser of `phone` on the whole reply
// gathered since the command was written and answers its verdict.
using ComCmdHandler_t =
    std::function<COM_CMD_OPERATE_RESULT_t(CPhoneCardBase *phone, std::string reply)>;

// The port as the runner uses it.
class CommandLine {
public:
    virtual ~CommandLine() = default;
    virtual bool IsOpened() const = 0;
    // Whatever the write did: the reply tells.
    virtual void Write(const std::string &command) = 0;
    // Appends what arrives until the line pauses (a bounded wait).
    virtual void ReadAll(std::string &reply) = 0;
    // The device went away: no reply can come any more.
    virtual bool IsLineGone() const = 0;
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

// How a command ended.
enum class CommandEnd {
    Done,       // the handler answered COM_CMD_OK
    Refused,    // the handler answered COM_CMD_ERROR
    LineGone,   // the device went away before a verdict
    OutOfTime,  // the budget ran out before a verdict
    NotRun,     // no modem object, or the line is not open: nothing written
};

// Pause after a poll that brought no verdict.
constexpr CommandClock::Duration kCommandPollPause(100);

// Writes `command`, then reads and asks `handler` until it decides, the
// line goes away, or `budget` has passed since the write; a budget of zero
// or less reads nothing. The last poll may end after the budget by one
// ReadAll: its reply is still judged.
CommandEnd RunHandledCommand(CPhoneCardBase *phone, CommandLine &line, CommandClock &clock,
                             const std::string &command, const ComCmdHandler_t &handler,
                             CommandClock::Duration budget);

#endif
