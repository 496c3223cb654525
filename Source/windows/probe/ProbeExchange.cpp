#include "ProbeExchange.h"

#include "CommandLoop.h"

// The probe's line as the command loop's: reads take what has arrived, and
// the loop's own pause waits between them.
class ProbeCommandLine : public CommandLine {
public:
    explicit ProbeCommandLine(CProbeSession &session) : m_session(session) {}

    void Write(const std::string &command) override
    {
        if (!m_session.m_failed && !m_session.m_line.Write(command))
            m_session.m_failed = true;
    }
    bool ReadAll(std::string &out, const ReadBound &bound) override
    {
        if (!m_session.m_failed && !m_session.m_line.ReadAvailable(out, bound.maxBytes))
            m_session.m_failed = true;
        return !m_session.m_failed;
    }
    void ReadPending(std::string &out, std::size_t maxBytes) override
    {
        if (!m_session.m_failed && !m_session.m_line.ReadAvailable(out, maxBytes))
            m_session.m_failed = true;
    }
    bool IsLineGone() const override { return m_session.m_failed; }
    LineAccount &Account() override { return m_session.m_account; }

private:
    CProbeSession &m_session;
};

namespace {

// The probe line's own clock.
class ProbeClock : public CommandClock {
public:
    explicit ProbeClock(CProbeLine &line) : m_line(line) {}
    Duration Now() override { return Duration(m_line.NowMilliseconds()); }
    void Pause(Duration pause) override { m_line.Pause(static_cast<int>(pause.count())); }

private:
    CProbeLine &m_line;
};

}  // namespace

bool CProbeSession::SetSpeed(int baudRate)
{
    m_account = LineAccount();
    return m_line.SetSpeed(baudRate);
}

void CProbeSession::WriteAlone(const std::string &bytes, int settleMs)
{
    if (m_failed)
        return;
    if (!m_line.Write(bytes)) {
        m_failed = true;
        return;
    }
    m_line.Pause(settleMs);
}

std::string CProbeSession::Send(const std::string &command)
{
    std::string reply;
    if (m_failed)
        return reply;
    CommandBudget budget;
    budget.time = CommandClock::Duration(kProbeExchangeTimeMs);
    budget.pause = CommandClock::Duration(kProbePollMs);
    budget.bound = ReadBound {kProbeReplyByteLimit, kProbeExchangeTimeMs};
    ProbeCommandLine line(*this);
    ProbeClock clock(m_line);
    const CommandEnd end = RunCommand(line, clock, command, JudgeByEnd, budget, CommandForm(), &reply);
    if (end != CommandEnd::Done)
        m_inStep = false;
    return m_failed ? std::string() : reply;
}
