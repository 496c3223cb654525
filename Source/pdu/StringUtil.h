// Text helpers for taking modem replies and user input apart and for stamping
// output with the local time: the one set every part of the program uses. None
// keeps any state.
#ifndef ZARVEX_STRING_UTIL_H
#define ZARVEX_STRING_UTIL_H

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

// The non-empty lines of a reply, split at the platform's reply line
// separator: "\n" on Linux, where a "\r" before it stays at the end of its
// line; "\r\n" on Windows, where a reply whose lines end in a bare "\n" is not
// split there. Text after the last separator is not returned.
std::vector<std::string> SplitStringToArray(std::string text);

// The non-empty pieces between occurrences of separator (not empty); text
// after the last separator is not returned.
std::vector<std::string> SplitStringAtSeparator(std::string text, const std::string &separator);

// The pieces between separators, empty ones included. No empty piece follows a
// trailing separator; an empty text gives no piece.
std::vector<std::string> SplitStringByChar(std::string text, char separator);

std::string StringReplaceChar(std::string text, char from, char to);

// Removes one leading and then one trailing `c`; texts shorter than three
// characters are returned unchanged.
std::string TrimChar(std::string text, char c);

// TrimChar until nothing changes, at most 101 times.
std::string TrimAllChar(std::string text, char c);

// TrimAllChar with each character in turn, the result of one feeding the next.
std::string TrimEach(std::string text, std::initializer_list<char> chars);

// The trims below take off every one of their characters that stands at an
// end, however many, whatever the text's length; each name says which.

// Blanks, tabs, CR, LF and NUL bytes at both ends: what may stand around a
// modem's line (a NUL byte is fill between lines, no text).
std::string TrimLineBlanks(const std::string &line);

// C's white space at both ends: blanks, tabs, CR, LF, vertical tabs and form
// feeds.
std::string TrimWhiteSpace(const std::string &text);

// Blanks and tabs at both ends.
std::string TrimBlanksAndTabs(const std::string &text);

// Blanks, tabs, CR, LF and Ctrl-Z at both ends: what may follow a command's
// text, written or echoed (a message body ends with Ctrl-Z).
std::string TrimCommandEnds(const std::string &text);

// CRs at the end: a line as SplitStringToArray gives it on Linux, without the
// CR before its LF.
std::string WithoutTrailingCr(std::string line);

// CRs and LFs at the end.
std::string WithoutTrailingLineEnds(std::string text);

// atoi as the C library reads a number (white space first, a sign, digits up
// to the first other character, 0 without digits), but saturating at the int
// range instead of overflowing on a long digit run.
int ReadInt(const std::string &text);

// Case-sensitive search anywhere in the text.
bool Contains(std::string_view text, std::string_view part);

bool StartsWith(std::string_view text, std::string_view prefix);

// The same text, ASCII letters in either case.
bool SameButForCase(std::string_view text, std::string_view other);

// "YYYY-MM-DD hh:mm:ss" of the current time: the local time on Linux, UTC
// plus 8 hours on Windows.
std::string GetCurTimeStr();

// The same form for the calendar time that lies offsetSeconds after the UTC
// time utcSeconds (seconds since 1970-01-01 00:00:00 UTC, leap seconds not
// counted); a date before year 0 or after 9999 is printed as it falls.
std::string FormatTimeAtOffset(std::int64_t utcSeconds, std::int64_t offsetSeconds);

#endif
