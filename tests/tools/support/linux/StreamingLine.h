// A device that never stops sending (a receiver left streaming, a line full
// of noise): a pseudo-terminal whose master a thread writes to again and
// again, never pausing as long as a reply's end, while it throws away
// whatever the port writes. The stream ends by itself after a while, so that
// a program that waits for the line to fall quiet is not held for ever.
#ifndef ZARVEX_TEST_STREAMING_LINE_H
#define ZARVEX_TEST_STREAMING_LINE_H

#include <fcntl.h>
#include <pty.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>

// Position reports: no "OK", "ERROR" or ">" that could end a reply.
constexpr char kPositionReport[] =
    "$GPGGA,092750.000,5321.6802,N,00630.3372,W,1,8,1.03,61.7,M,55.2,M,,*76\r\n";

class StreamingLine {
public:
    // `piece` every `gap`, for `streamFor`. The default fills the line far
    // faster than a port reads it.
    explicit StreamingLine(std::chrono::milliseconds streamFor,
                           std::string piece = kPositionReport,
                           std::chrono::microseconds gap = std::chrono::microseconds(2000))
    {
        char name[128];
        if (openpty(&m_master, &m_slave, name, nullptr, nullptr) != 0) {
            m_master = m_slave = -1;
            return;
        }
        m_path = name;
        fcntl(m_master, F_SETFL, fcntl(m_master, F_GETFL) | O_NONBLOCK);
        m_thread = std::thread([this, streamFor, piece, gap] { Stream(streamFor, piece, gap); });
    }
    ~StreamingLine()
    {
        Stop();
        // The test's own slave descriptor kept the line from hanging up
        // between the port's opens.
        if (m_slave >= 0)
            close(m_slave);
        if (m_master >= 0)
            close(m_master);
    }
    StreamingLine(const StreamingLine &) = delete;
    StreamingLine &operator=(const StreamingLine &) = delete;

    bool Ok() const { return m_master >= 0; }
    const std::string &Path() const { return m_path; }
    void Stop()
    {
        m_stop = true;
        if (m_thread.joinable())
            m_thread.join();
    }

private:
    void Stream(std::chrono::milliseconds streamFor, const std::string &piece,
                std::chrono::microseconds gap)
    {
        const auto end = std::chrono::steady_clock::now() + streamFor;
        char sink[4096];
        while (!m_stop && std::chrono::steady_clock::now() < end) {
            // A full line refuses the piece; the next one follows all the same.
            (void)!write(m_master, piece.data(), piece.size());
            while (read(m_master, sink, sizeof sink) > 0) {
            }
            std::this_thread::sleep_for(gap);
        }
    }

    int m_master = -1;
    int m_slave = -1;
    std::string m_path;
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};

#endif
