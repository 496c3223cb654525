#include "CheckManagerPortLine.h"

#include "CheckManagerFlow.h"
#include "ComPortBase.h"

namespace {

class PortCommandLine : public CommandLine {
public:
    explicit PortCommandLine(CComPortBase &port) : m_port(port) {}

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

}  // namespace

CommandEnd RunPortCommand(CComPortBase &port, const std::string &command, const ReplyParse &parse,
                          const CommandBudget &budget, const CommandForm &form, std::string *text)
{
    PortCommandLine line(port);
    const ReplyJudge judge = [&parse](const CommandReply &reply) {
        return VerdictOf(parse(reply.Text()));
    };
    return RunCommand(line, RunnerClock(), command, judge, budget, form, text);
}

CommandEnd RunPortCommandToEnd(CComPortBase &port, const std::string &command,
                               const CommandBudget &budget, const CommandForm &form,
                               std::string *text)
{
    PortCommandLine line(port);
    return RunCommand(line, RunnerClock(), command, JudgeByEnd, budget, form, text);
}

bool LastCommandUnanswered(CComPortBase &port)
{
    return port.Account().lastUnanswered;
}
