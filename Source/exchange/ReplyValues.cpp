#include "ReplyValues.h"

#include <cstddef>
#include <utility>

#include "StringUtil.h"

namespace {

constexpr std::size_t kSerialNumberMinLength = 8;
constexpr std::size_t kSerialNumberMaxLength = 32;
constexpr std::size_t kIccidShortLength = 19;
constexpr std::size_t kIccidLength = 20;
constexpr std::size_t kSignalNumberMaxDigits = 3;
constexpr char kSignalSeparator = ',';
constexpr char kStoredOrderPrefix[] = "98";

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool IsLetterOrDigit(char c)
{
    return IsDigit(c) || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

bool IsHexDigit(char c)
{
    return IsDigit(c) || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

template <typename Predicate>
bool AllOf(const std::string &text, Predicate accepts)
{
    for (char c : text)
        if (!accepts(c))
            return false;
    return true;
}

bool IsSignalNumber(const std::string &text)
{
    return !text.empty() && text.size() <= kSignalNumberMaxDigits && AllOf(text, IsDigit);
}

}  // namespace

bool IsSerialNumberText(const std::string &text)
{
    return text.size() >= kSerialNumberMinLength && text.size() <= kSerialNumberMaxLength &&
           AllOf(text, IsLetterOrDigit);
}

bool IsSmsCardNumberText(const std::string &text)
{
    return (text.size() == kIccidShortLength || text.size() == kIccidLength) &&
           AllOf(text, IsHexDigit);
}

bool IsSignalText(const std::string &text)
{
    const std::size_t comma = text.find(kSignalSeparator);
    if (comma == std::string::npos)
        return false;
    return IsSignalNumber(text.substr(0, comma)) && IsSignalNumber(text.substr(comma + 1));
}

std::string IccidAsPrinted(const std::string &iccid)
{
    if (iccid.size() != kIccidLength || !StartsWith(iccid, kStoredOrderPrefix))
        return iccid;
    std::string printed = iccid;
    for (std::size_t i = 0; i + 1 < printed.size(); i += 2)
        std::swap(printed[i], printed[i + 1]);
    return printed;
}
