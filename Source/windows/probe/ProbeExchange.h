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
    // modem that did not understand those commands never answers them.
    bool SetSpeed(int baudRate);
    // The reply to `command`; empty when nothing came or the line failed.
    std::string Send(const std::string &command);
    // Writes bytes that no reply is owed for, then gives the line
    // `settleMs` to bring what they may still get: the next Send drops it
    // as nobody's reply before it writes.
    void WriteAlone(const std::string &bytes, int settleMs);
    bool Failed() const { return m_failed; }
    // Every exchange so far ended with its own final result within its
    // bounds: the replies read are the ones their commands were answered
    // with, not a shifted or cut-off one.
    bool InStep() const { return m_inStep; }

private:
    friend class ProbeCommandLine;

    CProbeLine &m_line;
    LineAccount m_account;
    bool m_failed = false;
    bool m_inStep = true;
};

#endif
