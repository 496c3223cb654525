// The forms of the lines a modem sends, known by their text alone. Each
// takes one line as it came, with or without its line end.
#ifndef ZARVEX_REPLY_LINES_H
#define ZARVEX_REPLY_LINES_H

#include <string>

// A line that ends a command's reply: "OK", "ERROR", "+CME ERROR: <n>" or
// "+CMS ERROR: <n>".
bool IsFinalResultLine(const std::string &line);

// A report the modem sends of its own accord (a call, a new message, a
// change of network or signal), which answers no command.
bool IsUnsolicitedReport(const std::string &line);

// The ">" with which a modem asks for a message body.
bool IsPromptLine(const std::string &line);

// The line without blanks, tabs, CR and LF at both ends.
std::string TrimLineBlanks(const std::string &line);

#endif
