// The Linux termios2 requests, which carry the line speed as a number of bits
// per second: any speed the hardware can make, not only the B-codes.
#include <sys/ioctl.h>

#include <cerrno>
#include <cstring>

#include "TermSupport.h"

namespace {

// The kernel's record for TCGETS2 and TCSETS2; the C library's termios.h has
// no such record, and the kernel's own header clashes with termios.h.
constexpr int KERNEL_NCCS = 19;
constexpr tcflag_t KERNEL_BOTHER = 0x1000;  // speed given by c_ispeed/c_ospeed
constexpr int INPUT_SPEED_SHIFT = 16;       // CBAUD bits to the input-speed bits
// The C library keeps a private flag of its own in the top bit of the
// input flags; the kernel must not see it.
constexpr tcflag_t LIBC_PRIVATE_IFLAG = 0x80000000u;

}  // namespace

struct termios2 {
    tcflag_t c_iflag;
    tcflag_t c_oflag;
    tcflag_t c_cflag;
    tcflag_t c_lflag;
    cc_t c_line;
    cc_t c_cc[KERNEL_NCCS];
    speed_t c_ispeed;
    speed_t c_ospeed;
};

int tc2setattr(int fd, int when, const termios *settings)
{
    unsigned long request;
    switch (when) {
    case TCSANOW: request = TCSETS2; break;
    case TCSADRAIN: request = TCSETSW2; break;
    case TCSAFLUSH: request = TCSETSF2; break;
    default: errno = EINVAL; return -1;
    }
    termios2 t2;
    std::memset(&t2, 0, sizeof t2);
    t2.c_iflag = settings->c_iflag & ~LIBC_PRIVATE_IFLAG;
    t2.c_oflag = settings->c_oflag;
    t2.c_cflag = settings->c_cflag;
    t2.c_lflag = settings->c_lflag;
    t2.c_line = settings->c_line;
    std::memcpy(t2.c_cc, settings->c_cc, KERNEL_NCCS);
    t2.c_ispeed = settings->c_ispeed;
    t2.c_ospeed = settings->c_ospeed;
    return ioctl(fd, request, &t2);
}

int tc2getattr(int fd, termios *settings)
{
    termios2 t2;
    std::memset(&t2, 0, sizeof t2);
    const int r = ioctl(fd, TCGETS2, &t2);
    if (r < 0)
        return r;
    settings->c_iflag = t2.c_iflag;
    settings->c_oflag = t2.c_oflag;
    settings->c_cflag = t2.c_cflag;
    settings->c_lflag = t2.c_lflag;
    settings->c_line = t2.c_line;
    std::memset(settings->c_cc, 0, sizeof settings->c_cc);
    std::memcpy(settings->c_cc, t2.c_cc, KERNEL_NCCS);
    settings->c_ispeed = t2.c_ispeed;
    settings->c_ospeed = t2.c_ospeed;
    return 0;
}

int cf2setispeed(termios *settings, int code)
{
    if (code < 0 || (static_cast<tcflag_t>(code) & ~static_cast<tcflag_t>(CBAUD)) != 0) {
        errno = EINVAL;
        return -1;
    }
    settings->c_ispeed = static_cast<speed_t>(code);
    settings->c_cflag &= ~(static_cast<tcflag_t>(CBAUD) << INPUT_SPEED_SHIFT);
    settings->c_cflag |= static_cast<tcflag_t>(code) << INPUT_SPEED_SHIFT;
    return 0;
}

int cf2getispeed(const termios *settings)
{
    return static_cast<int>((settings->c_cflag >> INPUT_SPEED_SHIFT) & CBAUD);
}

int cf2setospeed_custom(termios *settings, int speed)
{
    if (speed <= 0) {
        errno = EINVAL;
        return -1;
    }
    settings->c_cflag &= ~static_cast<tcflag_t>(CBAUD);
    settings->c_cflag |= KERNEL_BOTHER;
    settings->c_ospeed = static_cast<speed_t>(speed);
    return 0;
}

int cf2setispeed_custom(termios *settings, int speed)
{
    if (speed < 0) {
        errno = EINVAL;
        return -1;
    }
    settings->c_cflag &= ~(static_cast<tcflag_t>(CBAUD) << INPUT_SPEED_SHIFT);
    if (speed > 0) {
        settings->c_cflag |= KERNEL_BOTHER << INPUT_SPEED_SHIFT;
        settings->c_ispeed = static_cast<speed_t>(speed);
    }
    return 0;
}
