// The terminal settings library's operations that nothing in the program
// calls: they live in the offered library, which only their tests link. The
// table, the error numbers and the codes are those of TermLib.h.
#ifndef ZARVEX_TERM_LIB_OFFERED_H
#define ZARVEX_TERM_LIB_OFFERED_H

// Puts the saved settings back (after a flush) and forgets fd; the slot is
// freed even when the flush or the restore failed.
int term_remove(int fd);
// Gives newfd the current settings of oldfd's slot, which newfd then owns.
int term_replace(int oldfd, int newfd);
// Puts the saved settings back and keeps the registration.
int term_reset(int fd);
int term_revert(int fd);   // next settings = current settings
int term_refresh(int fd);  // current settings = what the device reports
int term_drain(int fd);
int term_break(int fd);

// Getters read the current (applied) settings.
int term_get_parity(int fd);
int term_get_databits(int fd);
int term_get_stopbits(int fd);
int term_get_flowcntrl(int fd);

// Bits answered by term_get_mctl.
enum term_mctl_e {
    MCTL_DTR = 0x02,
    MCTL_DSR = 0x04,
    MCTL_DCD = 0x08,
    MCTL_RTS = 0x10,
    MCTL_CTS = 0x20,
    MCTL_RI = 0x40,
};

int term_pulse_dtr(int fd);
int term_raise_dtr(int fd);
int term_lower_dtr(int fd);
int term_get_mctl(int fd);

// The text of a library error number; numbers of device failures carry the
// system's text for sys_errno. Null for an unknown number. The text lives in
// a per-thread buffer that the next call overwrites.
const char *term_strerror(int terrnum, int sys_errno);
int term_perror(const char *prefix);

// Speeds of the baud table.
int term_baud_up(int baud);
int term_baud_down(int baud);
int term_baud_ok(int baud);

#endif
