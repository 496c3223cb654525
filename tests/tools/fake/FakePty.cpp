#include "FakePty.h"

#include <fcntl.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace {
struct SpeedBaud { speed_t speed; int baud; };
const SpeedBaud kSpeeds[] = {
    {B1200, 1200},     {B2400, 2400},     {B4800, 4800},     {B9600, 9600},
    {B19200, 19200},   {B38400, 38400},   {B57600, 57600},   {B115200, 115200},
    {B230400, 230400}, {B460800, 460800}, {B921600, 921600},
};

std::string Failure(const char *what)
{
    return std::string(what) + ": " + std::strerror(errno);
}
}  // namespace

int SpeedToBaud(unsigned speed)
{
    for (const SpeedBaud &s : kSpeeds)
        if (s.speed == speed)
            return s.baud;
    return 0;
}

unsigned BaudToSpeed(int baud)
{
    for (const SpeedBaud &s : kSpeeds)
        if (s.baud == baud)
            return s.speed;
    return B0;
}

FakePty::~FakePty()
{
    Close();
}

bool FakePty::Open(std::string *error)
{
    Close();
    m_master = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (m_master < 0) {
        *error = Failure("posix_openpt");
        return false;
    }
    char name[128];
    if (grantpt(m_master) != 0 || unlockpt(m_master) != 0 || ptsname_r(m_master, name, sizeof name) != 0) {
        *error = Failure("pty slave");
        Close();
        return false;
    }
    m_slavePath = name;
    m_slave = open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (m_slave < 0) {
        *error = Failure(name);
        Close();
        return false;
    }
    // Raw from the start: with the default line discipline the slave would
    // echo the fake's own replies back to the master as if they were commands.
    termios t{};
    if (tcgetattr(m_slave, &t) != 0) {
        *error = Failure("tcgetattr");
        Close();
        return false;
    }
    cfmakeraw(&t);
    cfsetospeed(&t, B9600);
    cfsetispeed(&t, B9600);
    if (tcsetattr(m_slave, TCSANOW, &t) != 0) {
        *error = Failure("tcsetattr");
        Close();
        return false;
    }
    const int flags = fcntl(m_master, F_GETFL);
    fcntl(m_master, F_SETFL, flags | O_NONBLOCK);
    return true;
}

void FakePty::Close()
{
    if (m_slave >= 0)
        close(m_slave);
    if (m_master >= 0)
        close(m_master);
    m_slave = m_master = -1;
}

int FakePty::Baud() const
{
    termios t{};
    if (m_slave < 0 || tcgetattr(m_slave, &t) != 0)
        return 0;
    return SpeedToBaud(cfgetospeed(&t));
}

int FakePty::InputPending() const
{
    int n = 0;
    if (m_slave < 0 || ioctl(m_slave, TIOCINQ, &n) != 0)
        return 0;
    return n;
}
