#include "ProbeExchange.h"

#include <algorithm>

#include "ProbeReplies.h"

void CProbeSession::DiscardPending()
{
    std::string dropped;
    while (dropped.size() < kProbeDiscardByteLimit) {
        const std::size_t before = dropped.size();
        if (!m_line.ReadAvailable(dropped, kProbeDiscardByteLimit - dropped.size())) {
            m_failed = true;
            return;
        }
        if (dropped.size() == before)
            return;
    }
}

std::string CProbeSession::Send(const std::string &command)
{
    std::string reply;
    if (m_failed)
        return reply;
    DiscardPending();
    if (m_failed)
        return reply;
    if (!m_line.Write(command)) {
        m_failed = true;
        return reply;
    }
    const long long deadline = m_line.NowMilliseconds() + kProbeExchangeTimeMs;
    while (reply.size() < kProbeReplyByteLimit) {
        const std::size_t before = reply.size();
        if (!m_line.ReadAvailable(reply, kProbeReplyByteLimit - reply.size())) {
            m_failed = true;
            break;
        }
        if (HasFinalResult(reply))
            break;
        const long long now = m_line.NowMilliseconds();
        if (now >= deadline)
            break;
        if (reply.size() == before)
            m_line.Pause(static_cast<int>(std::min<long long>(kProbePollMs, deadline - now)));
    }
    return reply;
}
