// Running one modem command on a serial port of either build: the port as
// the command loop's line, and the per-build parts of a command (the clock
// and the form of a budget).
#ifndef ZARVEX_CHECK_MANAGER_PORT_LINE_H
#define ZARVEX_CHECK_MANAGER_PORT_LINE_H

#include <functional>
#include <string>

#include "CommandLoop.h"
#include "PhoneCardDefine.h"

class CComPortBase;

// A reply parser of a modem object, asked about the whole reply each time.
using ReplyParse = std::function<COM_CMD_OPERATE_RESULT_t(const std::string &reply)>;

// What a command may spend, in the form of this build's runners: `polls`
// polls of a Linux runner, or the time they take at least on Windows,
// with `extraPause` more after each poll without a verdict.
CommandBudget RunnerBudget(int polls, const ReadBound &bound,
                           CommandClock::Duration extraPause = CommandClock::Duration(0));
// The clock the runners of this build wait on.
CommandClock &RunnerClock();

// Writes `command` on the port and judges its reply with `parse` until a
// verdict or the budget's end. `text`, when given, receives the reply as
// the parser last saw it.
CommandEnd RunPortCommand(CComPortBase &port, const std::string &command, const ReplyParse &parse,
                          const CommandBudget &budget, const CommandForm &form = CommandForm(),
                          std::string *text = nullptr);
// The same on a clock of the caller's own, for a runner that pauses
// otherwise than the others.
CommandEnd RunPortCommand(CommandClock &clock, CComPortBase &port, const std::string &command,
                          const ReplyParse &parse, const CommandBudget &budget);

// The same for a command whose reply is taken whole once it holds its
// final result (or what else `form` says ends it), whatever it says.
CommandEnd RunPortCommandToEnd(CComPortBase &port, const std::string &command,
                               const CommandBudget &budget, const CommandForm &form = CommandForm(),
                               std::string *text = nullptr);

// The last command on the port got no verdict within its budget: the modem
// stayed silent or never finished its reply.
bool LastCommandUnanswered(CComPortBase &port);

// Gives up a message body that the modem may still wait for at its ">"
// prompt (kCancelMessageBody), and takes what the modem answers to that, up
// to its final result, for as long as any late reply is waited for: the
// answer never becomes the next command's. The ESC is no command of the
// flow's own: LastCommandUnanswered still tells of the command before it.
void CancelMessageBody(CComPortBase &port);

#endif
