#include "StringUtil.h"

#include "PlatformText.h"

#include <cctype>
#include <climits>
#include <cstdio>
#include <utility>

namespace {
// TrimAllChar gives up after this many extra rounds, so a pathological text
// cannot keep it busy.
constexpr int kMaxTrimRounds = 100;
// Texts shorter than this are never trimmed: two quotes stay two quotes.
constexpr std::size_t kMinTrimLength = 3;

// What each trim takes off. A NUL byte is no text: a line may carry one as
// fill between a modem's lines, and a line made of nothing else, or a value
// line with one at its edge, must still be what the modem said.
constexpr std::string_view kLineBlanks(" \t\r\n\0", 5);
constexpr std::string_view kWhiteSpace(" \t\r\n\v\f");
constexpr std::string_view kBlanksAndTabs(" \t");
constexpr std::string_view kCommandEnds(" \t\r\n\x1A");
constexpr std::string_view kCarriageReturn("\r");
constexpr std::string_view kLineEnds("\r\n");

constexpr std::int64_t kSecondsPerDay = 86400;
constexpr std::int64_t kDaysPerEra = 146097;          // 400 Gregorian years
constexpr std::int64_t kDaysFrom0000To1970 = 719468;  // from 0000-03-01

std::string TrimAround(const std::string &text, std::string_view chars)
{
    const std::size_t first = text.find_first_not_of(chars);
    if (first == std::string::npos)
        return std::string();
    const std::size_t last = text.find_last_not_of(chars);
    return text.substr(first, last - first + 1);
}

std::string TrimAtEnd(std::string text, std::string_view chars)
{
    const std::size_t last = text.find_last_not_of(chars);
    text.erase(last == std::string::npos ? 0 : last + 1);
    return text;
}

char UpperCase(char c)
{
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

}  // namespace

std::vector<std::string> SplitStringToArray(std::string text)
{
    return SplitStringAtSeparator(std::move(text), kReplyLineSeparator);
}

std::vector<std::string> SplitStringAtSeparator(std::string text, const std::string &separator)
{
    std::vector<std::string> lines;
    if (separator.empty())
        return lines;
    std::string::size_type pos = 0;
    std::string::size_type end;
    while ((end = text.find(separator, pos)) != std::string::npos) {
        if (end > pos)
            lines.push_back(text.substr(pos, end - pos));
        pos = end + separator.size();
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

std::string TrimEach(std::string text, std::initializer_list<char> chars)
{
    for (char c : chars)
        text = TrimAllChar(text, c);
    return text;
}

std::string TrimLineBlanks(const std::string &line)
{
    return TrimAround(line, kLineBlanks);
}

std::string TrimWhiteSpace(const std::string &text)
{
    return TrimAround(text, kWhiteSpace);
}

std::string TrimBlanksAndTabs(const std::string &text)
{
    return TrimAround(text, kBlanksAndTabs);
}

std::string TrimCommandEnds(const std::string &text)
{
    return TrimAround(text, kCommandEnds);
}

std::string WithoutTrailingCr(std::string line)
{
    return TrimAtEnd(std::move(line), kCarriageReturn);
}

std::string WithoutTrailingLineEnds(std::string text)
{
    return TrimAtEnd(std::move(text), kLineEnds);
}

int ReadInt(const std::string &text)
{
    std::size_t i = 0;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i])))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    long long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > static_cast<long long>(INT_MAX) + 1)
            value = static_cast<long long>(INT_MAX) + 1;
    }
    if (negative)
        value = -value;
    if (value > INT_MAX)
        return INT_MAX;
    if (value < INT_MIN)
        return INT_MIN;
    return static_cast<int>(value);
}

bool Contains(std::string_view text, std::string_view part)
{
    return text.find(part) != std::string_view::npos;
}

bool StartsWith(std::string_view text, std::string_view prefix)
{
    return text.substr(0, prefix.size()) == prefix;
}

bool SameButForCase(std::string_view text, std::string_view other)
{
    if (text.size() != other.size())
        return false;
    for (std::size_t i = 0; i < text.size(); ++i)
        if (UpperCase(text[i]) != UpperCase(other[i]))
            return false;
    return true;
}

std::string FormatTimeAtOffset(std::int64_t utcSeconds, std::int64_t offsetSeconds)
{
    const std::int64_t seconds = utcSeconds + offsetSeconds;
    std::int64_t days = seconds / kSecondsPerDay;
    std::int64_t ofDay = seconds % kSecondsPerDay;
    if (ofDay < 0) {
        ofDay += kSecondsPerDay;
        days -= 1;
    }
    // Days since 1970-01-01 to the proleptic Gregorian date, counted in eras
    // of 400 years that start on 1 March, so that the leap day is last.
    const std::int64_t shifted = days + kDaysFrom0000To1970;
    const std::int64_t era = (shifted >= 0 ? shifted : shifted - (kDaysPerEra - 1)) / kDaysPerEra;
    const std::int64_t dayOfEra = shifted - era * kDaysPerEra;
    const std::int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const std::int64_t monthFromMarch = (5 * dayOfYear + 2) / 153;
    const std::int64_t day = dayOfYear - (153 * monthFromMarch + 2) / 5 + 1;
    const std::int64_t month = monthFromMarch < 10 ? monthFromMarch + 3 : monthFromMarch - 9;
    const std::int64_t year = yearOfEra + era * 400 + (month <= 2 ? 1 : 0);

    char text[80];
    std::snprintf(text, sizeof text, "%04lld-%02lld-%02lld %02lld:%02lld:%02lld", static_cast<long long>(year),
                  static_cast<long long>(month), static_cast<long long>(day),
                  static_cast<long long>(ofDay / 3600), static_cast<long long>(ofDay / 60 % 60),
                  static_cast<long long>(ofDay % 60));
    return text;
}
