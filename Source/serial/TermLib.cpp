// The table of registered terminal descriptors and the operations on it that
// the program uses; the others are in the offered library.
#include "TermLib.h"

#include <pthread.h>
#include <sys/resource.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <new>
#include <vector>

#include "SysErrorText.h"
#include "TermBaud.h"
#include "TermFlags.h"
#include "TermTable.h"

namespace {

using termtable::FREE_SLOT;
using termtable::TermSlot;

constexpr size_t TTY_NAME_SIZE = 128;

struct TermTable {
    int init;
    std::vector<TermSlot> slots;
};

TermTable term;
pthread_mutex_t termLock = PTHREAD_MUTEX_INITIALIZER;

// A child forked while another thread held the lock would find it locked
// forever; taking it around fork keeps the child's copy usable.
void LockBeforeFork() { pthread_mutex_lock(&termLock); }
void UnlockAfterFork() { pthread_mutex_unlock(&termLock); }

// How many descriptors the table may hold: as many as the process may have
// open, since each registered one is an open descriptor of its own.
std::size_t TableCapacity()
{
    rlimit limit {};
    if (getrlimit(RLIMIT_NOFILE, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY ||
        limit.rlim_cur > static_cast<rlim_t>(std::numeric_limits<int>::max()))
        return static_cast<std::size_t>(std::numeric_limits<int>::max());
    return static_cast<std::size_t>(limit.rlim_cur);
}

}  // namespace

namespace termtable {

TableLock::TableLock()
{
    pthread_mutex_lock(&termLock);
}

TableLock::~TableLock()
{
    pthread_mutex_unlock(&termLock);
}

int SlotCount()
{
    return static_cast<int>(term.slots.size());
}

TermSlot &Slot(int i)
{
    return term.slots[i];
}

int term_find(int fd)
{
    if (!term.init) {
        term_errno = TERM_ENOINIT;
        return -1;
    }
    for (int i = 0; i < SlotCount(); i++)
        if (term.slots[i].fd == fd)
            return i;
    term_errno = TERM_ENOTFOUND;
    return -1;
}

}  // namespace termtable

namespace {

using termtable::SlotCount;
using termtable::TableLock;
using termtable::term_find;

// The first free slot, a new one at the end when every slot is taken, or -1
// once the table holds as many descriptors as the process may open. Caller
// holds the lock.
int term_find_next_free()
{
    if (!term.init) {
        term_errno = TERM_ENOINIT;
        return -1;
    }
    for (int i = 0; i < SlotCount(); i++)
        if (term.slots[i].fd == FREE_SLOT)
            return i;
    if (term.slots.size() >= TableCapacity()) {
        term_errno = TERM_EFULL;
        return -1;
    }
    try {
        term.slots.push_back(TermSlot {FREE_SLOT, {}, {}, {}});
    } catch (const std::bad_alloc &) {
        term_errno = TERM_EFULL;
        return -1;
    }
    return SlotCount() - 1;
}

int SetAttrRetrying(int fd, const termios &tio)
{
    int r;
    do {
        r = tcsetattr(fd, TCSANOW, &tio);
    } while (r < 0 && errno == EINTR);
    return r;
}

// Puts a slot's saved settings back and frees it. Caller holds the lock.
void RestoreAndFree(int i, const char *who)
{
    const int fd = term.slots[i].fd;
    tcflush(fd, TCIOFLUSH);
    if (SetAttrRetrying(fd, term.slots[i].origtermios) < 0) {
        const int failure = errno;
        char name[TTY_NAME_SIZE];
        const char *devName = ttyname_r(fd, name, sizeof name) == 0 ? name : "UNKNOWN";
        std::fprintf(stderr, "%s: reset failed for dev %s: %s\n", who, devName,
                     SysErrorText(failure).c_str());
    }
    term.slots[i].fd = FREE_SLOT;
}

void term_exitfunc()
{
    TableLock lock;
    if (!term.init)
        return;
    for (int i = 0; i < SlotCount(); i++)
        if (term.slots[i].fd != FREE_SLOT)
            RestoreAndFree(i, "term_exitfunc");
}

// Registers fd and answers its slot, or -1. Caller holds the lock.
int AddLocked(int fd)
{
    if (!term.init) {
        term_errno = TERM_ENOINIT;
        return -1;
    }
    for (const TermSlot &slot : term.slots) {
        if (slot.fd == fd) {
            term_errno = TERM_EEXISTS;
            return -1;
        }
    }
    if (!isatty(fd)) {
        term_errno = TERM_EISATTY;
        return -1;
    }
    const int i = term_find_next_free();
    if (i < 0)
        return -1;
    TermSlot &slot = term.slots[i];
    if (tcgetattr(fd, &slot.origtermios) < 0) {
        term_errno = TERM_EGETATTR;
        return -1;
    }
    slot.currtermios = slot.origtermios;
    slot.nexttermios = slot.origtermios;
    slot.fd = fd;
    return i;
}

// The setters, on a slot's next settings. Each answers 0 or -1 with the
// library error number set.
int SetBaudrateOn(termios &tio, int baud)
{
    const int code = Bcode(baud);
    if (code < 0) {
        term_errno = TERM_EBAUD;
        return -1;
    }
    if (cfsetospeed(&tio, static_cast<speed_t>(code)) < 0) {
        term_errno = TERM_ESETOSPEED;
        return -1;
    }
    // Input speed B0: input follows the output speed.
    cfsetispeed(&tio, B0);
    return 0;
}

int Checked(bool accepted, int failure)
{
    if (accepted)
        return 0;
    term_errno = failure;
    return -1;
}

int SetParityOn(termios &tio, int parity)
{
    return Checked(tios_set_parity(tio, parity), TERM_EPARITY);
}

int SetDatabitsOn(termios &tio, int databits)
{
    return Checked(tios_set_databits(tio, databits), TERM_EDATABITS);
}

int SetStopbitsOn(termios &tio, int stopbits)
{
    return Checked(tios_set_stopbits(tio, stopbits), TERM_ESTOPBITS);
}

int SetFlowcntrlOn(termios &tio, int flowcntrl)
{
    return Checked(tios_set_flowcntrl(tio, flowcntrl), TERM_EFLOW);
}

// Runs change on fd's next settings under the lock.
template <typename Change>
int ChangeNext(int fd, Change change)
{
    return termtable::OnSettings(fd, &TermSlot::nexttermios, change);
}

}  // namespace

int term_lib_init()
{
    TableLock lock;
    if (term.init) {
        for (int i = 0; i < SlotCount(); i++)
            if (term.slots[i].fd != FREE_SLOT)
                RestoreAndFree(i, "term_lib_init");
        return 0;
    }
    if (std::atexit(term_exitfunc) != 0) {
        term_errno = TERM_EATEXIT;
        return -1;
    }
    pthread_atfork(LockBeforeFork, UnlockAfterFork, UnlockAfterFork);
    term.init = 1;
    return 0;
}

int term_add(int fd)
{
    TableLock lock;
    return AddLocked(fd) < 0 ? -1 : 0;
}

int term_set(int fd, int raw, int baud, int parity, int databits, int stopbits, int flowcntrl,
             int local, int hupcl)
{
    TableLock lock;
    bool added = false;
    int i = term_find(fd);
    if (i < 0) {
        if (term_errno == TERM_ENOINIT)
            return -1;
        i = AddLocked(fd);
        if (i < 0)
            return -1;
        added = true;
    }
    termios &tio = term.slots[i].nexttermios;
    const termios before = tio;
    int r = 0;
    if (raw)
        tios_set_raw(tio);
    if (r == 0)
        r = SetBaudrateOn(tio, baud);
    if (r == 0)
        r = SetParityOn(tio, parity);
    if (r == 0)
        r = SetDatabitsOn(tio, databits);
    if (r == 0)
        r = SetStopbitsOn(tio, stopbits);
    if (r == 0)
        r = SetFlowcntrlOn(tio, flowcntrl);
    if (r == 0) {
        tios_set_local(tio, local != 0);
        tios_set_hupcl(tio, hupcl != 0);
        return 0;
    }
    if (added)
        term.slots[i].fd = FREE_SLOT;
    else
        tio = before;
    return -1;
}

int term_apply(int fd, int now)
{
    termios tio;
    {
        TableLock lock;
        const int i = term_find(fd);
        if (i < 0)
            return -1;
        tio = term.slots[i].nexttermios;
    }
    // TCSAFLUSH waits for pending output to leave: done without the lock.
    if (tcsetattr(fd, now ? TCSANOW : TCSAFLUSH, &tio) < 0) {
        term_errno = TERM_ESETATTR;
        return -1;
    }
    if (tcgetattr(fd, &tio) < 0) {
        term_errno = TERM_EGETATTR;
        return -1;
    }
    TableLock lock;
    const int i = term_find(fd);
    if (i < 0)
        return -1;
    term.slots[i].nexttermios = tio;
    term.slots[i].currtermios = tio;
    return 0;
}

int term_erase(int fd)
{
    TableLock lock;
    const int i = term_find(fd);
    if (i < 0)
        return -1;
    term.slots[i].fd = FREE_SLOT;
    return 0;
}

int term_flush(int fd)
{
    TableLock lock;
    if (term_find(fd) < 0)
        return -1;
    return tcflush(fd, TCIOFLUSH) < 0 ? -1 : 0;
}

int term_set_raw(int fd)
{
    return ChangeNext(fd, [](termios &tio) {
        tios_set_raw(tio);
        return 0;
    });
}

int term_set_baudrate(int fd, int baud)
{
    return ChangeNext(fd, [baud](termios &tio) { return SetBaudrateOn(tio, baud); });
}

int term_set_parity(int fd, int parity)
{
    return ChangeNext(fd, [parity](termios &tio) { return SetParityOn(tio, parity); });
}

int term_set_databits(int fd, int databits)
{
    return ChangeNext(fd, [databits](termios &tio) { return SetDatabitsOn(tio, databits); });
}

int term_set_stopbits(int fd, int stopbits)
{
    return ChangeNext(fd, [stopbits](termios &tio) { return SetStopbitsOn(tio, stopbits); });
}

int term_set_flowcntrl(int fd, int flowcntrl)
{
    return ChangeNext(fd, [flowcntrl](termios &tio) { return SetFlowcntrlOn(tio, flowcntrl); });
}

int term_set_local(int fd, int on)
{
    return ChangeNext(fd, [on](termios &tio) {
        tios_set_local(tio, on != 0);
        return 0;
    });
}

int term_set_hupcl(int fd, int on)
{
    return ChangeNext(fd, [on](termios &tio) {
        tios_set_hupcl(tio, on != 0);
        return 0;
    });
}

int term_get_baudrate(int fd, int *ispeed)
{
    return termtable::ReadCurrent(fd, [ispeed](const termios &tio) {
        if (ispeed)
            *ispeed = Bspeed(static_cast<int>(cfgetispeed(&tio)));
        const int ospeed = Bspeed(static_cast<int>(cfgetospeed(&tio)));
        if (ospeed < 0)
            term_errno = TERM_EGETSPEED;
        return ospeed;
    });
}

