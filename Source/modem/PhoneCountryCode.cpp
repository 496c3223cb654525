#include "PhoneCountryCode.h"

// GCC 12 reports uninitialised members inside libstdc++'s regex compiler when
// it is built with the sanitizers: a false report in the library's own code.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif
#include <regex>
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic pop
#endif
#include <vector>

#include "StringUtil.h"

namespace {

constexpr const char *kPrefix0086 = "0086";
constexpr std::size_t kLength0086Number = 15;
constexpr const char *kPrefix86 = "86";
constexpr std::size_t kLength86Number = 13;

constexpr int kRegionMainland = 6;
constexpr int kRegionHongKong = 3;

struct CountryPattern {
    const char *pattern;
    int code;
    bool hasCountryCode;
};

// Kept as the Windows program has always matched them: "[6|9]" and "[66|68]"
// are character classes (one of 6, | and 9; one of 6, | and 8), not choices
// between numbers.
const CountryPattern kCountryPatterns[] = {
    {"00861\\d{10}|861\\d{10}", kRegionMainland, true},
    {"1\\d{10}", kRegionMainland, false},
    {"\\d{5}", kRegionMainland, false},
    {"00852[6|9]\\d{7}|852[6|9]\\d{7}", kRegionHongKong, true},
    {"[6|9]\\d{7}", kRegionHongKong, false},
    {"008536[66|68]\\d{5}|853[66|68]\\d{5}", kRegionMainland, true},
    {"[66|68]\\d{5}|853\\d{11}", kRegionMainland, false},
};

} // namespace

CountryCode_t JudgeCountryCodeByLength(const std::string &number)
{
    CountryCode_t result;
    result.hasCountryCode = (StartsWith(number, kPrefix0086) && number.size() == kLength0086Number) ||
                            (StartsWith(number, kPrefix86) && number.size() == kLength86Number);
    return result;
}

CountryCode_t JudgeCountryCodeByPatterns(const std::string &number)
{
    // Compiled once: the table is fixed and a send judges every number.
    static const std::vector<std::regex> compiled = [] {
        std::vector<std::regex> out;
        for (const CountryPattern &p : kCountryPatterns)
            out.emplace_back(p.pattern, std::regex::ECMAScript);
        return out;
    }();
    CountryCode_t result;
    for (std::size_t i = 0; i < compiled.size(); i++) {
        if (std::regex_match(number, compiled[i])) {
            result.code = kCountryPatterns[i].code;
            result.hasCountryCode = kCountryPatterns[i].hasCountryCode;
            break;
        }
    }
    return result;
}
