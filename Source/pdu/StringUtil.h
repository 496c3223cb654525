// Text helpers for taking modem replies and user input apart and for stamping
// output with the local time. All take their strings by value and keep no state.
#ifndef ZARVEX_STRING_UTIL_H
#define ZARVEX_STRING_UTIL_H

#include <cstdint>
#include <string>
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

// "YYYY-MM-DD hh:mm:ss" of the current time: the local time on Linux, UTC
// plus 8 hours on Windows.
std::string GetCurTimeStr();

// The same form for the calendar time that lies offsetSeconds after the UTC
// time utcSeconds (seconds since 1970-01-01 00:00:00 UTC, leap seconds not
// counted); a date before year 0 or after 9999 is printed as it falls.
std::string FormatTimeAtOffset(std::int64_t utcSeconds, std::int64_t offsetSeconds);

#endif
