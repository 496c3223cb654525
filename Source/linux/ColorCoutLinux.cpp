#include "ColorCout.h"

#include <iostream>

namespace {
const char kBold[] = "\033[1m";
const char kRed[] = "\033[31m";
const char kGreen[] = "\033[32m";
const char kReset[] = "\033[0m";

void CoutColoured(const char *colour, const std::string &message)
{
    std::cout << kBold << colour << message << kReset;
    // A console that refused a byte must not silence every later message.
    std::cout.clear();
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
