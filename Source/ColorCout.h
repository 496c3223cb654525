// Coloured console messages: bold red for errors, bold green for success,
// prompts and help. Callers add their own line ends.
#ifndef ZARVEX_COLOR_COUT_H
#define ZARVEX_COLOR_COUT_H

#include <string>

class CColorCout {
public:
    static void CoutRedMessage(std::string message);
    static void CoutGreenMessage(std::string message);
};

#endif
