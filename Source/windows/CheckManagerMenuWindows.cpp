// The menu's key on a Windows console: the C runtime reads one key from the
// console itself, without echo and without a line end.
#include <conio.h>
#include <io.h>

#include <cstdio>

#include "CheckManagerMenu.h"

bool IsInputTerminal()
{
    return _isatty(_fileno(stdin)) != 0;
}

int ReadMenuKey()
{
    return _getch();
}
