// Start-up of the Windows build: no privilege test and no line settings to
// prepare; the console keeps enough lines for a long device table.
#include <windows.h>

#include "CheckManager.h"

namespace {
constexpr SHORT CONSOLE_COLUMNS = 100;
constexpr SHORT CONSOLE_ROWS = 800;
}  // namespace

void CCheckManager::InitConsoleSize()
{
    const HANDLE console = GetStdHandle(STD_OUTPUT_HANDLE);
    // Output to a pipe or a file has no screen buffer: the call fails, and
    // that changes nothing.
    if (console != INVALID_HANDLE_VALUE)
        SetConsoleScreenBufferSize(console, COORD{CONSOLE_COLUMNS, CONSOLE_ROWS});
}
