// Texts as a Windows program under Wine prints them, so that a test states
// what it expects in UTF-8: Wine's Chinese locale makes code page 936 (GBK)
// the program's ANSI code page, and the C runtime writes each "\n" as
// "\r\n" on a standard output left in text mode. A pipe passes the bytes on
// unchanged.
#ifndef ZARVEX_WINE_TEXT_H
#define ZARVEX_WINE_TEXT_H

#include <string>

// False when the text cannot be converted (not UTF-8, or a character GBK
// does not have); *out then holds what was converted before it.
bool Utf8ToGbk(const std::string &utf8, std::string *gbk);
bool GbkToUtf8(const std::string &gbk, std::string *utf8);

// Every "\n" as "\r\n", as the C runtime writes a text-mode stream (a "\r"
// already before it stays: "\r\n" becomes "\r\r\n").
std::string TextModeLineEnds(const std::string &text);

// What the program prints, to a pipe in text mode, when it means this UTF-8
// text. A text GBK cannot hold gives a marker that matches no output.
std::string WineStdout(const std::string &utf8);

// The program's output for a failure message: GBK read as such, bytes that
// are not GBK as \xNN, line ends kept.
std::string ReadableGbk(const std::string &gbk);

#endif
