// Text helpers for taking modem replies and user input apart and for stamping
// output with the local time. All take their strings by value and keep no state.
#ifndef ZARVEX_STRING_UTIL_H
#define ZARVEX_STRING_UTIL_H

#include <ctime>
#include <string>
#include <vector>

// The non-empty lines of a reply, split at "\n". A "\r" before the "\n" stays
// at the end of its line; text after the last "\n" is not returned.
std::vector<std::string> SplitStringToArray(std::string text);

// The pieces between separators, empty ones included. No empty piece follows a
// trailing separator; an empty text gives no piece.
std::vector<std::string> SplitStringByChar(std::string text, char separator);

std::string StringReplaceChar(std::string text, char from, char to);

// Removes one leading and then one trailing `c`; texts shorter than three
// characters are returned unchanged.
std::string TrimChar(std::string text, char c);

// TrimChar until nothing changes, at most 101 times.
std::string TrimAllChar(std::string text, char c);

// "YYYY-MM-DD hh:mm:ss" of the current local time.
std::string GetCurTimeStr();

// The same format for a given time, so the form can be checked at a fixed time.
std::string FormatLocalTimeStr(std::time_t when);

#endif
