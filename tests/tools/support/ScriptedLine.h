// A line for the command loop whose input is a script on a clock that moves
// only when the line or the loop spends time: replies, late ones included,
// can be placed to the millisecond without waiting for them.
#ifndef ZARVEX_TEST_SCRIPTED_LINE_H
#define ZARVEX_TEST_SCRIPTED_LINE_H

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "CommandLoop.h"

namespace exchange_test {

using Ms = CommandClock::Duration;

class ManualClock : public CommandClock {
public:
    Duration Now() override { return m_now; }
    void Pause(Duration pause) override
    {
        m_now += pause;
        pauses.push_back(pause);
    }
    void Spend(Duration d) { m_now += d; }
    std::vector<Duration> pauses;

private:
    Duration m_now {1000};
};

class ScriptedLine : public SerialLine {
public:
    // readCost: what one ReadAll costs (the port's wait for its input to
    // pause); a read that brings bytes costs the same.
    ScriptedLine(ManualClock &clock, Ms readCost) : m_clock(clock), m_readCost(readCost) {}

    struct Arrival {
        Ms at;
        std::string bytes;
    };

    // Bytes that arrive this long after the next write.
    ScriptedLine &AfterWrite(Ms after, std::string bytes)
    {
        m_afterWrite.push_back({after, std::move(bytes)});
        return *this;
    }
    // Bytes that arrive `at` on the clock.
    ScriptedLine &At(Ms at, std::string bytes)
    {
        m_arrivals.push_back({at, std::move(bytes)});
        std::stable_sort(m_arrivals.begin(), m_arrivals.end(),
                         [](const Arrival &a, const Arrival &b) { return a.at < b.at; });
        return *this;
    }
    // A modem behind the line: `answer` gives the reply to each command
    // written and how long after the write (or after its previous reply,
    // whichever is later: a modem answers in order) it comes.
    struct Answer {
        std::string bytes;
        Ms delay;
    };
    std::function<Answer(const std::string &command)> modem;

    ScriptedLine &GoneAt(Ms at)
    {
        m_goneAt = at;
        m_gone = true;
        return *this;
    }

    void Write(const std::string &command) override
    {
        written.push_back(command);
        for (Arrival &a : m_afterWrite)
            At(m_clock.Now() + a.at, a.bytes);
        m_afterWrite.clear();
        if (!modem)
            return;
        const Answer answer = modem(command);
        if (answer.bytes.empty())
            return;
        m_lastDue = std::max(m_clock.Now(), m_lastDue) + answer.delay;
        At(m_lastDue, answer.bytes);
    }
    bool ReadAll(std::string &out, const ReadBound &bound) override
    {
        ++reads;
        m_clock.Spend(m_readCost);
        Take(out, bound.maxBytes);
        return true;
    }
    void ReadPending(std::string &out, std::size_t maxBytes) override
    {
        ++pendingReads;
        Take(out, maxBytes);
    }
    bool IsLineGone() const override { return m_gone && m_clock.Now() >= m_goneAt; }
    LineAccount &Account() override { return account; }

    LineAccount account;
    std::vector<std::string> written;
    int reads = 0;
    int pendingReads = 0;

private:

    void Take(std::string &out, std::size_t maxBytes)
    {
        std::size_t taken = 0;
        while (!m_arrivals.empty() && m_arrivals.front().at <= m_clock.Now() && taken < maxBytes) {
            Arrival &a = m_arrivals.front();
            const std::size_t n = std::min(a.bytes.size(), maxBytes - taken);
            out += a.bytes.substr(0, n);
            taken += n;
            a.bytes.erase(0, n);
            if (a.bytes.empty())
                m_arrivals.erase(m_arrivals.begin());
        }
    }

    ManualClock &m_clock;
    Ms m_readCost;
    std::vector<Arrival> m_arrivals;
    std::vector<Arrival> m_afterWrite;
    Ms m_lastDue {0};
    Ms m_goneAt {0};
    bool m_gone = false;
};

// Judges as the modem parsers do: an ERROR decides, so does an OK line.
inline ReplyVerdict OkErrorJudge(const CommandReply &reply)
{
    const std::string &text = reply.Text();
    if (text.find("ERROR") != std::string::npos)
        return ReplyVerdict::Failed;
    if (text.find("OK\r\n") != std::string::npos)
        return ReplyVerdict::Done;
    return ReplyVerdict::Wait;
}

}  // namespace exchange_test

#endif
