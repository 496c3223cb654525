// The terminals the program itself runs on. Run from a serial console, one of
// the serial ports the scan lists is the operator's own terminal: probing it
// would write commands onto the screen and leave the terminal raw at another
// speed, with no line editing left for the number line or the login after.
#ifndef ZARVEX_OWN_TERMINAL_H
#define ZARVEX_OWN_TERMINAL_H

#include <sys/types.h>

#include <string>

// The controlling terminal named by a process status line as the system
// shows it (the seventh field of /proc/<pid>/stat, after the command name in
// parentheses). False when the line names none or is not of that form.
bool ControllingTerminalOfStatus(const std::string &statusLine, dev_t *device);

// True when `path` is a terminal device that is this program's controlling
// terminal or the terminal of its standard input, output or error. Devices
// are compared, not names: any other path to the same device counts too.
bool IsOwnTerminal(const char *path);

#endif
