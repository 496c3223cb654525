// The operations of the terminal settings library that nothing in the
// program calls: restoring, moving and re-reading a registration, reading
// back single line settings, the modem-control lines, draining and breaks.
#include "TermLibOffered.h"

#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>

#include "TermFlagsRead.h"
#include "TermLib.h"
#include "TermTable.h"

namespace {

using termtable::FREE_SLOT;
using termtable::Slot;
using termtable::SlotCount;
using termtable::TableLock;
using termtable::TermSlot;
using termtable::term_find;

constexpr unsigned DTR_PULSE_SECONDS = 1;

// Looks fd up under the lock and answers its slot (for calls on the device
// that need the lock no longer).
int FindSlot(int fd)
{
    TableLock lock;
    return term_find(fd);
}

}  // namespace

int term_remove(int fd)
{
    TableLock lock;
    const int i = term_find(fd);
    if (i < 0)
        return -1;
    int r = 0;
    if (tcflush(fd, TCIOFLUSH) < 0) {
        term_errno = TERM_EFLUSH;
        r = -1;
    } else if (tcsetattr(fd, TCSANOW, &Slot(i).origtermios) < 0) {
        term_errno = TERM_ESETATTR;
        r = -1;
    }
    Slot(i).fd = FREE_SLOT;
    return r;
}

int term_replace(int oldfd, int newfd)
{
    TableLock lock;
    const int i = term_find(oldfd);
    if (i < 0)
        return -1;
    // Two slots for one descriptor would leave the table contradicting itself.
    for (int k = 0; k < SlotCount(); k++) {
        if (k != i && Slot(k).fd == newfd) {
            term_errno = TERM_EEXISTS;
            return -1;
        }
    }
    TermSlot &slot = Slot(i);
    if (tcsetattr(newfd, TCSANOW, &slot.currtermios) < 0) {
        term_errno = TERM_ESETATTR;
        return -1;
    }
    if (tcgetattr(newfd, &slot.currtermios) < 0) {
        term_errno = TERM_EGETATTR;
        return -1;
    }
    slot.fd = newfd;
    return 0;
}

int term_reset(int fd)
{
    TableLock lock;
    const int i = term_find(fd);
    if (i < 0)
        return -1;
    if (tcflush(fd, TCIOFLUSH) < 0) {
        term_errno = TERM_EFLUSH;
        return -1;
    }
    TermSlot &slot = Slot(i);
    if (tcsetattr(fd, TCSANOW, &slot.origtermios) < 0) {
        term_errno = TERM_ESETATTR;
        return -1;
    }
    if (tcgetattr(fd, &slot.currtermios) < 0) {
        term_errno = TERM_EGETATTR;
        return -1;
    }
    slot.nexttermios = slot.currtermios;
    return 0;
}

int term_revert(int fd)
{
    TableLock lock;
    const int i = term_find(fd);
    if (i < 0)
        return -1;
    Slot(i).nexttermios = Slot(i).currtermios;
    return 0;
}

int term_refresh(int fd)
{
    TableLock lock;
    const int i = term_find(fd);
    if (i < 0)
        return -1;
    if (tcgetattr(fd, &Slot(i).currtermios) < 0) {
        term_errno = TERM_EGETATTR;
        return -1;
    }
    return 0;
}

int term_drain(int fd)
{
    if (FindSlot(fd) < 0)
        return -1;
    int r;
    do {
        r = tcdrain(fd);
    } while (r < 0 && errno == EINTR);
    if (r < 0) {
        term_errno = TERM_EDRAIN;
        return -1;
    }
    return 0;
}

int term_break(int fd)
{
    if (FindSlot(fd) < 0)
        return -1;
    if (tcsendbreak(fd, 0) < 0) {
        term_errno = TERM_EBREAK;
        return -1;
    }
    return 0;
}

int term_get_parity(int fd)
{
    return termtable::ReadCurrent(fd, [](const termios &tio) { return tios_get_parity(tio); });
}

int term_get_databits(int fd)
{
    return termtable::ReadCurrent(fd, [](const termios &tio) { return tios_get_databits(tio); });
}

int term_get_stopbits(int fd)
{
    return termtable::ReadCurrent(fd, [](const termios &tio) { return tios_get_stopbits(tio); });
}

int term_get_flowcntrl(int fd)
{
    return termtable::ReadCurrent(fd, [](const termios &tio) { return tios_get_flowcntrl(tio); });
}

int term_raise_dtr(int fd)
{
    if (FindSlot(fd) < 0)
        return -1;
    int bits = TIOCM_DTR;
    if (ioctl(fd, TIOCMBIS, &bits) < 0) {
        term_errno = TERM_EDTRUP;
        return -1;
    }
    return 0;
}

int term_lower_dtr(int fd)
{
    if (FindSlot(fd) < 0)
        return -1;
    int bits = TIOCM_DTR;
    if (ioctl(fd, TIOCMBIC, &bits) < 0) {
        term_errno = TERM_EDTRDOWN;
        return -1;
    }
    return 0;
}

int term_pulse_dtr(int fd)
{
    if (term_lower_dtr(fd) < 0)
        return -1;
    sleep(DTR_PULSE_SECONDS);
    return term_raise_dtr(fd);
}

int term_get_mctl(int fd)
{
    if (FindSlot(fd) < 0)
        return -1;
    int bits = 0;
    if (ioctl(fd, TIOCMGET, &bits) < 0)
        return -1;
    int mctl = 0;
    if (bits & TIOCM_DTR)
        mctl |= MCTL_DTR;
    if (bits & TIOCM_DSR)
        mctl |= MCTL_DSR;
    if (bits & TIOCM_CD)
        mctl |= MCTL_DCD;
    if (bits & TIOCM_RTS)
        mctl |= MCTL_RTS;
    if (bits & TIOCM_CTS)
        mctl |= MCTL_CTS;
    if (bits & TIOCM_RI)
        mctl |= MCTL_RI;
    return mctl;
}
