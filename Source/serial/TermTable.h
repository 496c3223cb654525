// The table of registered terminal descriptors as its operations see it.
// Private to the terminal settings library; the operations that nothing in
// the program calls (in the offered library) reach the table through it too.
#ifndef ZARVEX_TERM_TABLE_H
#define ZARVEX_TERM_TABLE_H

#include <termios.h>

namespace termtable {

// The descriptor of a slot that holds no registration.
constexpr int FREE_SLOT = -1;

struct TermSlot {
    int fd;
    termios origtermios;
    termios currtermios;
    termios nexttermios;
};

// Holds the table lock for one operation. Calls that may wait on the device
// (draining output, a break, a DTR pulse) run without it, so that one slow
// port does not hold up the others.
class TableLock {
public:
    TableLock();
    ~TableLock();
    TableLock(const TableLock &) = delete;
    TableLock &operator=(const TableLock &) = delete;
};

// The caller holds the lock for each of these. Slots are only ever added,
// never removed; a freed one is taken by the next registration. A slot's
// index names it for good, but a reference into the table is good only
// while the lock is held: a registration may move them.
int SlotCount();
TermSlot &Slot(int i);
// The slot of fd, or -1 with the library error number set.
int term_find(int fd);

// Runs use on one settings record of fd's slot (&TermSlot::nexttermios, say)
// under the lock; -1 when fd is not registered.
template <typename Use>
int OnSettings(int fd, termios TermSlot::*settings, Use use)
{
    TableLock lock;
    const int i = term_find(fd);
    if (i < 0)
        return -1;
    return use(Slot(i).*settings);
}

// Runs read on fd's current settings under the lock.
template <typename Read>
int ReadCurrent(int fd, Read read)
{
    return OnSettings(fd, &TermSlot::currtermios, read);
}

}  // namespace termtable

#endif
