// Line settings as fields of one termios record: the pure half of the terminal
// settings library, with no descriptor and no table in sight. Setters answer
// false for a code they do not know and then leave the record as it was.
// The readers, which nothing in the program calls, are in TermFlagsRead.h.
#ifndef ZARVEX_TERM_FLAGS_H
#define ZARVEX_TERM_FLAGS_H

#include <termios.h>

void tios_set_raw(termios &tio);
bool tios_set_parity(termios &tio, int parity);
bool tios_set_databits(termios &tio, int databits);
bool tios_set_stopbits(termios &tio, int stopbits);
bool tios_set_flowcntrl(termios &tio, int flowcntrl);
void tios_set_local(termios &tio, bool on);
void tios_set_hupcl(termios &tio, bool on);

#endif
