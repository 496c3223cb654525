#include "ProbeExchange.h"

#include <algorithm>

#include "CommandLoop.h"
#include "ProbeText.h"
#include "ReplyLines.h"

// The probe's line as the command loop's: reads take what has arrived, and
// the loop's own pause waits between them.
class ProbeSerialLine : public SerialLine {
public:
    explicit ProbeSerialLine(CProbeSession &session) : m_session(session) {}

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

constexpr char kLineEnd = '\n';

int CountReplyEnds(const std::string &reply)
{
    int ends = 0;
    for (const ReplyLine &line : SplitReplyLines(reply))
        ends += EndsCommandReply(line.text) ? 1 : 0;
    return ends;
}

// What is kept of the traffic after its last line end: a line still
// arriving, unless it is only blanks so far.
std::string LineStillArriving(const std::string &afterLastLineEnd)
{
    return TrimLineBlanks(afterLastLineEnd).empty() ? std::string() : afterLastLineEnd;
}

}  // namespace

bool CProbeSession::SetSpeed(int baudRate)
{
    m_account = LineAccount();
    m_inStep = true;
    return m_line.SetSpeed(baudRate);
}

bool CProbeSession::StaysQuiet(int milliseconds)
{
    if (m_failed || m_account.owedFinals > 0)
        return false;
    std::string heard;
    const long long end = m_line.NowMilliseconds() + milliseconds;
    for (;;) {
        if (!m_line.ReadAvailable(heard, kProbeReplyByteLimit - heard.size())) {
            m_failed = true;
            return false;
        }
        const long long now = m_line.NowMilliseconds();
        if (heard.size() >= kProbeReplyByteLimit || now >= end)
            break;
        m_line.Pause(static_cast<int>(std::min<long long>(kProbePollMs, end - now)));
    }

    const std::string traffic = m_account.unfinishedLine + heard;
    bool quiet = true;
    std::size_t start = 0;
    for (std::size_t lineEnd; (lineEnd = traffic.find(kLineEnd, start)) != std::string::npos;
         start = lineEnd + 1) {
        const std::string line = TrimLineBlanks(traffic.substr(start, lineEnd - start));
        if (EndsCommandReply(line))
            m_account.strayFinal = true;
        if (!line.empty() && !IsUnsolicitedReport(line))
            quiet = false;
    }
    // A line still arriving is the start of something: not quiet, and the
    // next command's reply must not take it for its own.
    m_account.unfinishedLine = LineStillArriving(traffic.substr(start));
    return quiet && m_account.unfinishedLine.empty() && heard.size() < kProbeReplyByteLimit;
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
    std::string heard;
    if (!m_line.ReadAvailable(heard, kProbeReplyByteLimit)) {
        m_failed = true;
        return;
    }
    const std::string traffic = m_account.unfinishedLine + heard;
    const std::size_t lastEnd = traffic.rfind(kLineEnd);
    m_account.unfinishedLine =
        LineStillArriving(lastEnd == std::string::npos ? traffic : traffic.substr(lastEnd + 1));
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
    ProbeSerialLine line(*this);
    ProbeClock clock(m_line);
    const CommandEnd end = RunCommand(line, clock, command, JudgeByEnd, budget, CommandForm(), &reply);
    // A second final result in one reply is another command's answer, or
    // one too many: either way the replies no longer match their commands.
    if (end != CommandEnd::Done || CountReplyEnds(reply) > 1)
        m_inStep = false;
    return m_failed ? std::string() : reply;
}
