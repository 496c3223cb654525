// One command and its reply, as every step of the probe sends it: what is
// still pending from earlier is dropped first, so that a late piece or an
// unsolicited report is never taken for this command's answer; then the
// reply is gathered until its final result code, bounded in time and bytes.
#ifndef ZARVEX_PROBE_EXCHANGE_H
#define ZARVEX_PROBE_EXCHANGE_H

#include <cstddef>
#include <string>

#include "ProbeLine.h"

// One exchange's time bound, from the write on. It is also what a port that
// never answers costs per command: two "AT" tries make a silent port's probe.
constexpr int kProbeExchangeTimeMs = 755;
// One reply's byte bound: far above any answer the probe asks for, low
// enough that a line that never goes quiet cannot hold a probe thread.
constexpr std::size_t kProbeReplyByteLimit = 1024;
// Pending input dropped before a command, at most: more than this is
// someone else's stream, and the exchange's own bounds take over.
constexpr std::size_t kProbeDiscardByteLimit = 4096;
// The wait between two looks at a line that had nothing new.
constexpr int kProbePollMs = 10;

// Sends commands on one line and keeps whether the line has failed: once it
// has, every further command gives an empty reply at once.
class CProbeSession {
public:
    explicit CProbeSession(CProbeLine &line) : m_line(line) {}

    bool SetSpeed(int baudRate) { return m_line.SetSpeed(baudRate); }
    // The reply to `command`; empty when nothing came or the line failed.
    std::string Send(const std::string &command);
    bool Failed() const { return m_failed; }

private:
    void DiscardPending();

    CProbeLine &m_line;
    bool m_failed = false;
};

#endif
