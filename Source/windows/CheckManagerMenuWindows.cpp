// The menu's key on a Windows console: the C runtime reads one key from the
// console itself, without echo and without a line end.
#include <windows.h>

#include <conio.h>
#include <io.h>

#include <cstdio>

#include "CheckManagerMenu.h"

// Keys come from a console's input only. _isatty cannot tell: it holds the
// NUL device, where a scheduler or "< NUL" leaves a program, for a terminal
// too, and _getch then fails at once on every call, so the menu would
// rescan the ports without end.
bool IsInputTerminal()
{
    const HANDLE input = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stdin)));
    DWORD mode = 0;
    return input != INVALID_HANDLE_VALUE && GetConsoleMode(input, &mode) != 0;
}

// _getch reads the console even when standard input is redirected; as on
// Linux, no key is read then, rather than one from a keyboard that the
// input does not come from.
int ReadMenuKey()
{
    if (!IsInputTerminal())
        return -1;
    return _getch();
}
