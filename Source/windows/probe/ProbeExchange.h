// One command and its reply, as every step of the probe sends it, through
// the command loop of both builds: what is pending is dropped first, the
// line's account keeps a late reply from being taken for a later command's,
// and the reply is gathered until its final result code, bounded in time
// and bytes.
#ifndef ZARVEX_PROBE_EXCHANGE_H
#define ZARVEX_PROBE_EXCHANGE_H

#include <cstddef>
#include <string>

#include "LineAccount.h"
#include "ProbeLine.h"

// One exchange's time bound, from the write on. It is also what a port that
// never answers costs per command: two "AT" tries make a silent port's probe.
constexpr int kProbeExchangeTimeMs = 755;
// One reply's byte bound: far above any answer the probe asks for, low
// enough that a line that never goes quiet cannot hold a probe thread.
constexpr std::size_t kProbeReplyByteLimit = 1024;
// The wait between two looks at a line that had nothing new.
constexpr int kProbePollMs = 10;

// Sends commands on one line and keeps whether the line has failed: once it
// has, every further command gives an empty reply at once.
class CProbeSession {
public:
    explicit CProbeSession(CProbeLine &line) : m_line(line) {}

    // A new speed: what the line owed at the old one is forgiven, since a
    // modem that did not understand those commands never answers them, and
    // the probe is in step again: silence at a speed the modem does not use
    // says nothing about its answers at the one it does.
    bool SetSpeed(int baudRate);
    // The reply to `command`; empty when nothing came or the line failed.
    std::string Send(const std::string &command);
    // Writes bytes that no reply is owed for, then gives the line
    // `settleMs` to bring what they may still get, and drops the whole lines
    // that came: an answer to them is expected, so it puts nothing out of
    // step. A line still arriving is left to the next Send.
    void WriteAlone(const std::string &bytes, int settleMs);
    bool Failed() const { return m_failed; }
    // Since the speed was set, every exchange ended with one final result of
    // its own within its bounds, and no final result came that no command
    // was owed: the replies read are the ones their commands were answered
    // with, not a shifted or cut-off one. A modem that answers one command
    // twice shows it sooner or later: by two final results in one reply, by
    // one between two commands, or by its last reply coming after the
    // exchange that took the one before (see StaysQuiet).
    bool InStep() const { return m_inStep && !m_account.strayFinal; }
    // Listens for `milliseconds` without asking anything: true when nothing
    // came in that time but reports the modem sends of its own accord, and
    // the line owes nothing. What came counts as traffic between commands.
    bool StaysQuiet(int milliseconds);

private:
    friend class ProbeSerialLine;

    CProbeLine &m_line;
    LineAccount m_account;
    bool m_failed = false;
    bool m_inStep = true;
};

#endif
