// The forms of the lines a modem sends, known by their text alone.
#ifndef ZARVEX_REPLY_LINES_H
#define ZARVEX_REPLY_LINES_H

#include <string>

// True for a line (without its line end) that ends a command's reply:
// "OK", "ERROR", "+CME ERROR: <n>" or "+CMS ERROR: <n>".
bool IsFinalResultLine(const std::string &line);

#endif
