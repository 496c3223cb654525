// Terminal settings library: one process-wide table of registered terminal
// descriptors, each with the settings it had when registered (saved), the
// settings last put into effect (current) and the settings being prepared
// (next). Setters change only the next settings; term_apply puts them into
// effect. Every operation answers 0 or -1 (getters: the value or -1) and
// leaves the reason of a failure in term_errno.
//
// Every table operation runs under one lock, so the probe threads of a scan
// may register, change, apply and forget their own descriptors at once.
//
// A scan registers every port it lists at the same time, so the table grows
// as descriptors are registered: it holds as many as the process may have
// open (its RLIMIT_NOFILE soft limit at the time of a registration), and
// only a registration beyond that is refused as full.
//
// The library's operations that nothing in the program calls are declared in
// TermLibOffered.h and live in the offered library.
#ifndef ZARVEX_TERM_LIB_H
#define ZARVEX_TERM_LIB_H

// Library error numbers; term_strerror (offered) gives their texts.
enum term_errno_e {
    TERM_EOK = 0,
    TERM_ENOINIT,
    TERM_EFULL,
    TERM_ENOTFOUND,
    TERM_EEXISTS,
    TERM_EATEXIT,
    TERM_EISATTY,
    TERM_EFLUSH,
    TERM_EGETATTR,
    TERM_ESETATTR,
    TERM_EBAUD,
    TERM_ESETOSPEED,
    TERM_ESETISPEED,
    TERM_EGETSPEED,
    TERM_EPARITY,
    TERM_EDATABITS,
    TERM_ESTOPBITS,
    TERM_EFLOW,
    TERM_EDTRDOWN,
    TERM_EDTRUP,
    TERM_EMCTL,
    TERM_EDRAIN,
    TERM_EBREAK,
    TERM_ERRNO_COUNT
};

enum term_parity_e { P_NONE = 0, P_EVEN, P_ODD, P_MARK, P_SPACE };
enum term_flowcntrl_e { FC_NONE = 0, FC_RTSCTS, FC_XONXOFF, FC_OTHER };

// The library's last error number. Each thread has its own, like errno, so
// that a probe thread reads the reason of its own failure, not a neighbour's;
// and like errno it is reached through a function, which keeps the
// thread-local object inside the library.
int *term_errno_location();
#define term_errno (*term_errno_location())

// First call: sets up the table and installs the restore of every registered
// descriptor at process exit. Later calls: restore and forget every
// registered descriptor now.
int term_lib_init();

int term_add(int fd);
int term_set(int fd, int raw, int baud, int parity, int databits, int stopbits, int flowcntrl,
             int local, int hupcl);
// now != 0: TCSANOW; now == 0: TCSAFLUSH. Next and current then hold what the
// driver accepted.
int term_apply(int fd, int now);
int term_erase(int fd);  // forgets fd without touching the device
int term_flush(int fd);

int term_set_raw(int fd);
int term_set_baudrate(int fd, int baud);
int term_set_parity(int fd, int parity);
int term_set_databits(int fd, int databits);
int term_set_stopbits(int fd, int stopbits);
int term_set_flowcntrl(int fd, int flowcntrl);
int term_set_local(int fd, int on);
int term_set_hupcl(int fd, int on);

// The output speed of the current (applied) settings; the input speed goes
// to *ispeed when it is given.
int term_get_baudrate(int fd, int *ispeed);

#endif
