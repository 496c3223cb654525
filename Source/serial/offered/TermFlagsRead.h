// Line settings read back from the fields of one termios record, in the codes
// of TermLib.h: the pure half of the getters that nothing in the program
// calls (term_get_parity and its neighbours).
#ifndef ZARVEX_TERM_FLAGS_READ_H
#define ZARVEX_TERM_FLAGS_READ_H

#include <termios.h>

int tios_get_parity(const termios &tio);
int tios_get_databits(const termios &tio);
int tios_get_stopbits(const termios &tio);
int tios_get_flowcntrl(const termios &tio);

#endif
