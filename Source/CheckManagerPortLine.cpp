#include "CheckManagerPortLine.h"

#include "CheckManagerFlow.h"
#include "CommandBudgets.h"
#include "ComPortBase.h"
#include "PromptCancel.h"

namespace {

class PortSerialLine : public SerialLine {
public:
    explicit PortSerialLine(CComPortBase &port) : m_port(port) {}

    void Write(const std::string &command) override { m_port.Write(command); }
    bool ReadAll(std::string &out, const ReadBound &bound) override
    {
        return m_port.ReadAll(out, bound);
    }
    void ReadPending(std::string &out, std::size_t maxBytes) override
    {
        m_port.ReadPending(out, maxBytes);
    }
    bool IsLineGone() const override { return ::IsLineGone(m_port); }
    LineAccount &Account() override { return m_port.Account(); }

private:
    CComPortBase &m_port;
};

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

CommandEnd RunOnClock(CommandClock &clock, CComPortBase &port, const std::string &command,
                      const ReplyParse &parse, const CommandBudget &budget,
                      const CommandForm &form, std::string *text)
{
    PortSerialLine line(port);
    const ReplyJudge judge = [&parse](const CommandReply &reply) {
        return VerdictOf(parse(reply.Text()));
    };
    return RunCommand(line, clock, command, judge, budget, form, text);
}

}  // namespace

CommandEnd RunPortCommand(CComPortBase &port, const std::string &command, const ReplyParse &parse,
                          const CommandBudget &budget, const CommandForm &form, std::string *text)
{
    return RunOnClock(RunnerClock(), port, command, parse, budget, form, text);
}

CommandEnd RunPortCommand(CommandClock &clock, CComPortBase &port, const std::string &command,
                          const ReplyParse &parse, const CommandBudget &budget)
{
    return RunOnClock(clock, port, command, parse, budget, CommandForm(), nullptr);
}

CommandEnd RunPortCommandToEnd(CComPortBase &port, const std::string &command,
                               const CommandBudget &budget, const CommandForm &form,
                               std::string *text)
{
    PortSerialLine line(port);
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
    PortSerialLine line(port);
    RunCommand(line, RunnerClock(), kCancelMessageBody, JudgeByEnd,
               RunnerBudget(CANCEL_ANSWER_POLLS, SHORT_REPLY_BOUND));
    account.lastUnanswered = lastUnanswered;
}
