#include "CommandLoop.h"

#include <algorithm>
#include <limits>
#include <thread>

namespace {

class SteadyClock : public CommandClock {
public:
    Duration Now() override
    {
        return std::chrono::duration_cast<Duration>(
            std::chrono::steady_clock::now().time_since_epoch());
    }
    void Pause(Duration pause) override { std::this_thread::sleep_for(pause); }
};

using Duration = CommandClock::Duration;

// Without a bound a read takes what the port's own gathering allows.
const ReadBound kUnbounded = {std::numeric_limits<std::size_t>::max(),
                              std::numeric_limits<int>::max()};

// The budget's use so far: reads counted, the time that counts, the reply's
// bound. Reads and pauses while the line still settles earlier commands'
// replies are the command's own only if the line never catches up: once it
// has, they are given back (see kSettlingGivenBackLimit).
class BudgetUse {
public:
    BudgetUse(const CommandBudget &budget, Duration start)
        : m_budget(budget), m_deadline(start + budget.time), m_now(start)
    {
    }

    bool AllowsRead(bool settling, bool answered) const
    {
        if (MaySettle(settling, answered))
            return true;
        if (m_budget.polls > 0)
            return m_polls < m_budget.polls;
        return m_budget.time.count() > 0 && (m_polls == 0 || m_now < m_deadline);
    }

    // A read that ran from `from` to `to` and brought `bytes`.
    void CountRead(Duration from, Duration to, std::size_t bytes, bool settling)
    {
        m_now = to;
        if (bytes > 0) {
            m_bytes += bytes;
            m_longestGathering = std::max(m_longestGathering, to - from);
        }
        ++m_polls;
        if (settling) {
            ++m_settlingPolls;
            m_settled += to - from;
        }
    }

    void CountPause(Duration pause, bool settling)
    {
        m_now += pause;
        if (settling)
            m_settled += pause;
    }

    // The line has caught up with this command: what settling took is given
    // back, within the allowance.
    void Settled()
    {
        if (m_settled <= kSettlingGivenBackLimit) {
            m_polls -= m_settlingPolls;
            m_deadline += m_settled;
        }
        m_settlingPolls = 0;
    }

    ReadBound Left() const
    {
        if (!m_budget.bound)
            return kUnbounded;
        const ReadBound &bound = *m_budget.bound;
        const std::size_t bytes = m_bytes < bound.maxBytes ? bound.maxBytes - m_bytes : 0;
        return {bytes, bound.maxMs};
    }

    bool IsBoundReached() const
    {
        return m_budget.bound
               && (m_bytes >= m_budget.bound->maxBytes
                   || m_longestGathering.count() >= m_budget.bound->maxMs);
    }

    // The pause after a read without a verdict, no longer than the time
    // left, unless the line may settle past it.
    Duration Pause(bool settling, bool answered) const
    {
        if (m_budget.polls > 0 || m_budget.time.count() <= 0 || MaySettle(settling, answered))
            return m_budget.pause;
        return std::max(Duration(0), std::min(m_budget.pause, m_deadline - m_now));
    }

private:
    bool MaySettle(bool settling, bool answered) const
    {
        const bool hasBudget = m_budget.polls > 0 || m_budget.time.count() > 0;
        return settling && answered && m_settled < kSettlingPastBudgetLimit && hasBudget;
    }

    const CommandBudget &m_budget;
    Duration m_deadline;
    Duration m_now;
    int m_polls = 0;
    int m_settlingPolls = 0;
    std::size_t m_bytes = 0;
    Duration m_longestGathering {0};
    Duration m_settled {0};
};

}  // namespace

CommandClock &SteadyCommandClock()
{
    static SteadyClock clock;
    return clock;
}

ReplyVerdict JudgeByEnd(const CommandReply &reply)
{
    return reply.HasEnd() ? ReplyVerdict::Done : ReplyVerdict::Wait;
}

CommandEnd RunCommand(SerialLine &line, CommandClock &clock, const std::string &command,
                      const ReplyJudge &judge, const CommandBudget &budget,
                      const CommandForm &form, std::string *text)
{
    LineAccount &owed = line.Account();
    if (owed.owedFinals > 0 && clock.Now().count() > owed.owedUntilMs)
        owed.owedFinals = 0;  // later than any reply comes: it never will
    CommandReply reply(owed, command, form.end, form.lines);
    std::string pending;
    line.ReadPending(pending, kPendingDropLimit);
    reply.TakePending(pending);
    line.Write(command);

    const Duration written = clock.Now();
    BudgetUse use(budget, written);
    LineAccount &account = owed;
    CommandEnd end = CommandEnd::OutOfTime;
    bool decided = false;
    while (!decided && use.AllowsRead(reply.IsSettling(), account.answered)) {
        const bool settling = reply.IsSettling();
        const Duration from = clock.Now();
        std::string arrived;
        const bool read = line.ReadAll(arrived, use.Left());
        use.CountRead(from, clock.Now(), arrived.size(), settling);
        // A reply that outgrew its bound is no modem's answer, whatever it
        // says: a device that floods OKs must not pass for one that answers.
        if (use.IsBoundReached()) {
            end = CommandEnd::BoundReached;
            break;
        }
        if (read) {
            reply.Take(arrived);
            if (settling && !reply.IsSettling())
                use.Settled();
            switch (judge(reply)) {
            case ReplyVerdict::Done: end = CommandEnd::Done; decided = true; continue;
            case ReplyVerdict::Failed: end = CommandEnd::Refused; decided = true; continue;
            case ReplyVerdict::Wait: break;
            }
        }
        // A vanished device cannot answer: waiting out the budget (over a
        // minute for some commands) would only hold up the flow.
        if (line.IsLineGone()) {
            end = CommandEnd::LineGone;
            break;
        }
        const bool stillSettling = reply.IsSettling();
        if (budget.polls <= 0 && !use.AllowsRead(stillSettling, account.answered))
            break;
        const Duration pause = use.Pause(stillSettling, account.answered);
        clock.Pause(pause);
        use.CountPause(pause, stillSettling);
    }
    reply.Finish(decided, clock.Now() - written < kLateReplyLimit,
                 (written + kLateReplyLimit).count());
    owed.overflowing = end == CommandEnd::BoundReached;
    if (text != nullptr)
        *text = reply.Text();
    return end;
}
