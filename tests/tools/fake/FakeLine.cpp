#include "FakeLine.h"

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>

#include "FakePool.h"
#include "FakePty.h"

FakeLine::~FakeLine()
{
    Close();
}

bool FakeLine::Open(const std::string &path, int baud)
{
    Close();
    m_hungUp = false;
    m_fd = open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (m_fd < 0)
        return false;
    if (!SetBaud(baud)) {
        const int saved = errno;
        Close();
        errno = saved;
        return false;
    }
    tcflush(m_fd, TCIOFLUSH);
    return true;
}

bool FakeLine::SetBaud(int baud)
{
    termios t{};
    if (m_fd < 0 || tcgetattr(m_fd, &t) != 0)
        return false;
    cfmakeraw(&t);
    cfsetospeed(&t, BaudToSpeed(baud));
    cfsetispeed(&t, BaudToSpeed(baud));
    return tcsetattr(m_fd, TCSANOW, &t) == 0;
}

void FakeLine::Close()
{
    if (m_fd >= 0)
        close(m_fd);
    m_fd = -1;
}

bool FakeLine::Write(const std::string &bytes)
{
    std::size_t done = 0;
    const long long deadline = FakeNowMs() + 2000;
    while (done < bytes.size() && m_fd >= 0 && FakeNowMs() < deadline) {
        const ssize_t w = write(m_fd, bytes.data() + done, bytes.size() - done);
        if (w > 0) {
            done += static_cast<std::size_t>(w);
        } else if (w < 0 && errno != EAGAIN && errno != EINTR) {
            return false;
        } else {
            pollfd p{m_fd, POLLOUT, 0};
            poll(&p, 1, 20);
        }
    }
    return done == bytes.size();
}

std::string FakeLine::ReadUntil(const std::string &until, int timeoutMs)
{
    std::string got;
    const long long deadline = FakeNowMs() + timeoutMs;
    while (m_fd >= 0) {
        if (!until.empty() && got.find(until) != std::string::npos)
            break;
        const long long left = deadline - FakeNowMs();
        if (left <= 0)
            break;
        pollfd p{m_fd, POLLIN, 0};
        if (poll(&p, 1, static_cast<int>(left)) <= 0)
            continue;
        char buf[1024];
        const ssize_t r = read(m_fd, buf, sizeof buf);
        if (r > 0) {
            got.append(buf, static_cast<std::size_t>(r));
        } else if (r == 0 || (errno != EAGAIN && errno != EINTR)) {
            m_hungUp = true;  // the other end went away
            break;
        }
    }
    return got;
}

std::string FakeLine::Ask(const std::string &command, int timeoutMs)
{
    if (!Write(command))
        return std::string();
    return ReadUntil("OK\r\n", timeoutMs);
}
