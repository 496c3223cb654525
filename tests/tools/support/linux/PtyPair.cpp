#include "PtyPair.h"

#include <poll.h>
#include <pty.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>

PtyPair::PtyPair()
{
    if (openpty(&m_master, &m_slave, nullptr, nullptr, nullptr) < 0) {
        m_master = m_slave = -1;
        return;
    }
    char name[128];
    if (ttyname_r(m_slave, name, sizeof name) == 0)
        m_path = name;
}

PtyPair::~PtyPair()
{
    CloseMaster();
    if (m_slave >= 0)
        close(m_slave);
}

void PtyPair::CloseMaster()
{
    if (m_master >= 0)
        close(m_master);
    m_master = -1;
}

bool PtyPair::WriteMaster(const std::string &data)
{
    size_t done = 0;
    while (done < data.size()) {
        const ssize_t n = write(m_master, data.data() + done, data.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

std::string PtyPair::ReadMaster(size_t bytes, int timeoutMs)
{
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    std::string got;
    while (got.size() < bytes) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0)
            break;
        pollfd p = {m_master, POLLIN, 0};
        if (poll(&p, 1, static_cast<int>(left)) <= 0)
            break;
        char buffer[4096];
        const size_t want = std::min(sizeof buffer, bytes - got.size());
        const ssize_t n = read(m_master, buffer, want);
        if (n <= 0)
            break;
        got.append(buffer, static_cast<size_t>(n));
    }
    return got;
}

termios PtyPair::SlaveSettings() const
{
    termios tio;
    std::memset(&tio, 0, sizeof tio);
    tcgetattr(m_slave, &tio);
    return tio;
}

bool SameSettings(const termios &a, const termios &b)
{
    return a.c_iflag == b.c_iflag && a.c_oflag == b.c_oflag && a.c_cflag == b.c_cflag
           && a.c_lflag == b.c_lflag && cfgetispeed(&a) == cfgetispeed(&b)
           && cfgetospeed(&a) == cfgetospeed(&b);
}
