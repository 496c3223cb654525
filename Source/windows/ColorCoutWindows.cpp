#include "ColorCout.h"

#include <windows.h>

#include <iostream>

namespace {
const WORD kRed = FOREGROUND_RED | FOREGROUND_INTENSITY;
const WORD kGreen = FOREGROUND_GREEN | FOREGROUND_INTENSITY;
// The console's ordinary grey; what was set before is not restored.
const WORD kPlain = FOREGROUND_RED | FOREGROUND_GREEN | FOREGROUND_BLUE;

void CoutColoured(WORD colour, const std::string &message)
{
    const HANDLE console = GetStdHandle(STD_OUTPUT_HANDLE);
    // The attribute applies to what reaches the console while it is set, so
    // the stream's buffer is emptied on both sides of the message. Output to
    // a pipe or a file has no attributes: the calls fail and the text is
    // written all the same.
    std::cout.flush();
    SetConsoleTextAttribute(console, colour);
    std::cout << message;
    std::cout.flush();
    // A console that refused a byte must not silence every later message.
    std::cout.clear();
    SetConsoleTextAttribute(console, kPlain);
}
}  // namespace

void CColorCout::CoutRedMessage(std::string message)
{
    CoutColoured(kRed, message);
}

void CColorCout::CoutGreenMessage(std::string message)
{
    CoutColoured(kGreen, message);
}
