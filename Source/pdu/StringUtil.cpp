#include "StringUtil.h"

#include "PlatformConstants.h"

#include <cstdio>
#include <utility>

namespace {
// TrimAllChar gives up after this many extra rounds, so a pathological text
// cannot keep it busy.
constexpr int kMaxTrimRounds = 100;
// Texts shorter than this are never trimmed: two quotes stay two quotes.
constexpr std::size_t kMinTrimLength = 3;

constexpr std::int64_t kSecondsPerDay = 86400;
constexpr std::int64_t kDaysPerEra = 146097;          // 400 Gregorian years
constexpr std::int64_t kDaysFrom0000To1970 = 719468;  // from 0000-03-01
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
