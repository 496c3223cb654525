#include "StringUtil.h"

#include <cstdio>

namespace {
// TrimAllChar gives up after this many extra rounds, so a pathological text
// cannot keep it busy.
constexpr int kMaxTrimRounds = 100;
// Texts shorter than this are never trimmed: two quotes stay two quotes.
constexpr std::size_t kMinTrimLength = 3;
}  // namespace

std::vector<std::string> SplitStringToArray(std::string text)
{
    std::vector<std::string> lines;
    std::string::size_type pos = 0;
    std::string::size_type end;
    while ((end = text.find('\n', pos)) != std::string::npos) {
        if (end > pos)
            lines.push_back(text.substr(pos, end - pos));
        pos = end + 1;
    }
    return lines;
}

std::vector<std::string> SplitStringByChar(std::string text, char separator)
{
    std::vector<std::string> pieces;
    std::string::size_type pos = 0;
    std::string::size_type end;
    while ((end = text.find(separator, pos)) != std::string::npos) {
        pieces.push_back(text.substr(pos, end - pos));
        pos = end + 1;
    }
    if (pos < text.size())
        pieces.push_back(text.substr(pos));
    return pieces;
}

std::string StringReplaceChar(std::string text, char from, char to)
{
    std::string result;
    result.reserve(text.size());
    for (char c : text)
        result += (c == from) ? to : c;
    return result;
}

std::string TrimChar(std::string text, char c)
{
    if (text.size() < kMinTrimLength)
        return text;
    if (text.front() == c)
        text.erase(0, 1);
    if (!text.empty() && text.back() == c)
        text.pop_back();
    return text;
}

std::string TrimAllChar(std::string text, char c)
{
    std::string previous = text;
    std::string result = TrimChar(text, c);
    for (int round = 0; result != previous && round < kMaxTrimRounds; ++round) {
        previous = result;
        result = TrimChar(result, c);
    }
    return result;
}

std::string FormatLocalTimeStr(std::time_t when)
{
    std::tm local{};
    localtime_r(&when, &local);
    char text[80];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", local.tm_year + 1900,
                  local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec);
    return text;
}

std::string GetCurTimeStr()
{
    return FormatLocalTimeStr(std::time(nullptr));
}
