// Running one modem command on a serial port of either build: the port as
// the command loop's line, the per-build parts of a command (the clock and
// the form of a budget), and the commands of the flows that no runner runs.
#ifndef ZARVEX_CHECK_MANAGER_PORT_LINE_H
#define ZARVEX_CHECK_MANAGER_PORT_LINE_H

#include <cstddef>
#include <functional>
#include <string>

#include "CommandLoop.h"
#include "PhoneCardDefine.h"

class CComPortBase;

// A reply parser of a modem object, asked about the whole reply each time.
using ReplyParse = std::function<COM_CMD_OPERATE_RESULT_t(const std::string &reply)>;

// A port as the command loop's line.
class PortLine : public SerialLine {
public:
    explicit PortLine(CComPortBase &port) : m_port(port) {}

    void Write(const std::string &command) override;
    bool ReadAll(std::string &out, const ReadBound &bound) override;
    void ReadPending(std::string &out, std::size_t maxBytes) override;
    bool IsLineGone() const override;
    LineAccount &Account() override;

private:
    CComPortBase &m_port;
};

// What a command may spend, in the form of this build's runners: `polls`
// polls of a Linux runner, or the time they take at least on Windows,
// with `extraPause` more after each poll without a verdict.
CommandBudget RunnerBudget(int polls, const ReadBound &bound,
                           CommandClock::Duration extraPause = CommandClock::Duration(0));
// The clock the runners of both builds wait on.
CommandClock &RunnerClock();

// Writes `command` on `line` and judges its reply with `parse` until a
// verdict or the budget's end, pausing on `clock`. `text`, when given,
// receives the reply as the parser last saw it.
CommandEnd RunPortCommand(SerialLine &line, CommandClock &clock, const std::string &command,
                          const ReplyParse &parse, const CommandBudget &budget,
                          const CommandForm &form = CommandForm(), std::string *text = nullptr);

// The same on the port, for a command whose reply is taken whole once it
// holds its final result (or what else `form` says ends it), whatever it
// says.
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
