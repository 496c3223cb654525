#include "CheckManagerPortLine.h"

#include "CheckManagerFlow.h"
#include "CommandBudgets.h"
#include "ComPortBase.h"
#include "PromptCancel.h"

namespace {

ReplyVerdict VerdictOf(COM_CMD_OPERATE_RESULT_t result)
{
    switch (result) {
    case COM_CMD_OK: return ReplyVerdict::Done;
    case COM_CMD_ERROR: return ReplyVerdict::Failed;
    default: return ReplyVerdict::Wait;
    }
}

// Polls that outlast the longest a late reply is waited for: a cancel that
// gets no answer within them leaves nothing owed on the line.
constexpr int CANCEL_ANSWER_POLLS =
    static_cast<int>((kLateReplyLimit.count() + RUNNER_POLL_MIN_MS - 1) / RUNNER_POLL_MIN_MS);

}  // namespace

void PortLine::Write(const std::string &command)
{
    m_port.Write(command);
}

bool PortLine::ReadAll(std::string &out, const ReadBound &bound)
{
    return m_port.ReadAll(out, bound);
}

void PortLine::ReadPending(std::string &out, std::size_t maxBytes)
{
    m_port.ReadPending(out, maxBytes);
}

bool PortLine::IsLineGone() const
{
    return ::IsLineGone(m_port);
}

LineAccount &PortLine::Account()
{
    return m_port.Account();
}

// The runners pause on the steady clock: a wall clock set back, by hand or
// by a time service, would otherwise hold every port's thread in its pause
// until the wall clock caught up again.
CommandClock &RunnerClock()
{
    return SteadyCommandClock();
}

CommandEnd RunPortCommand(SerialLine &line, CommandClock &clock, const std::string &command,
                          const ReplyParse &parse, const CommandBudget &budget,
                          const CommandForm &form, std::string *text)
{
    const ReplyJudge judge = [&parse](const CommandReply &reply) {
        return VerdictOf(parse(reply.Text()));
    };
    return RunCommand(line, clock, command, judge, budget, form, text);
}

CommandEnd RunPortCommandToEnd(CComPortBase &port, const std::string &command,
                               const CommandBudget &budget, const CommandForm &form,
                               std::string *text)
{
    PortLine line(port);
    return RunCommand(line, RunnerClock(), command, JudgeByEnd, budget, form, text);
}

bool LastCommandUnanswered(CComPortBase &port)
{
    return port.Account().lastUnanswered;
}

void CancelMessageBody(CComPortBase &port)
{
    LineAccount &account = port.Account();
    const bool lastUnanswered = account.lastUnanswered;
    // A modem at no prompt answers nothing, so no answer is owed: the ESC
    // ends at its final result or once nothing late can come any more.
    PortLine line(port);
    RunCommand(line, RunnerClock(), kCancelMessageBody, JudgeByEnd,
               RunnerBudget(CANCEL_ANSWER_POLLS, SHORT_REPLY_BOUND));
    account.lastUnanswered = lastUnanswered;
}
