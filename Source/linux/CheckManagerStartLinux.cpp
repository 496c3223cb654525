// Start-up of the Linux build: the program talks to serial devices as root
// only, and the line settings table is ready before the first port exists.
#include <unistd.h>

#include <cstdlib>
#include <iostream>

#include "CheckManager.h"
#include "ColorCout.h"
#include "ComPortBase.h"

namespace {
const char kNotRootMessage[] = "此程序必须以root权限运行";
constexpr int NOT_ROOT_EXIT_STATUS = 1;
}  // namespace

void CCheckManager::InitConsoleSize()
{
    if (geteuid() != 0) {
        std::cout << std::endl;
        CColorCout::CoutRedMessage(kNotRootMessage);
        std::cout << std::endl;
        std::exit(NOT_ROOT_EXIT_STATUS);
    }
    // Sets up the line settings table before any port exists.
    CComPortBase::ResetAllComPort();
}
