// Coloured console messages: bright red for errors, bright green for success,
// prompts and help. Callers add their own line ends. Linux colours with
// escape sequences, Windows with console text attributes.
#ifndef ZARVEX_COLOR_COUT_H
#define ZARVEX_COLOR_COUT_H

#include <string>

class CColorCout {
public:
    static void CoutRedMessage(std::string message);
    static void CoutGreenMessage(std::string message);
};

#endif
