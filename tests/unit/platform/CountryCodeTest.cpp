#include "PhoneCountryCode.h"

#include <gtest/gtest.h>

namespace {

struct CountryCase {
    const char *name;
    std::string number;
    int code;
    bool hasCountryCode;
    friend void PrintTo(const CountryCase &c, std::ostream *os) { *os << c.name; }
};

std::string CaseName(const testing::TestParamInfo<CountryCase> &info) { return info.param.name; }

class PatternRuleTest : public testing::TestWithParam<CountryCase> {};

TEST_P(PatternRuleTest, FirstMatchingPatternDecides)
{
    const CountryCode_t result = JudgeCountryCodeByPatterns(GetParam().number);
    EXPECT_EQ(result.code, GetParam().code);
    EXPECT_EQ(result.hasCountryCode, GetParam().hasCountryCode);
}

INSTANTIATE_TEST_SUITE_P(
    Numbers, PatternRuleTest,
    testing::Values(
        CountryCase{"Mainland0086", "008613912345678", 6, true},
        CountryCase{"Mainland86", "8613912345678", 6, true},
        CountryCase{"MainlandMobile", "13912345678", 6, false},
        CountryCase{"ServiceNumber", "10086", 6, false},
        CountryCase{"AnyFiveDigits", "95588", 6, false},
        CountryCase{"HongKong00852", "0085291234567", 3, true},
        CountryCase{"HongKong852", "85261234567", 3, true},
        CountryCase{"HongKongLocal", "91234567", 3, false},
        CountryCase{"HongKongLocalStartingWith6", "61234567", 3, false},
        // "[6|9]" is a character class: a bar in that place matches too.
        CountryCase{"BarInHongKongClass", "852|1234567", 3, true},
        CountryCase{"Macau853With6", "853612345", 6, true},
        CountryCase{"Macau853With8", "853812345", 6, true},
        CountryCase{"Macau00853", "008536612345", 6, true},
        CountryCase{"MacauLocal", "612345", 6, false},
        CountryCase{"Macau853AndEightDigits", "85312345678", 6, false},
        CountryCase{"Macau853AndElevenDigits", "85312345678901", 6, false},
        CountryCase{"PlusMatchesNothing", "+8613912345678", 6, false},
        CountryCase{"MatchIsWhole", "139123456789", 6, false},
        CountryCase{"Empty", "", 6, false}),
    CaseName);

class LengthRuleTest : public testing::TestWithParam<CountryCase> {};

TEST_P(LengthRuleTest, PrefixAndLengthDecide)
{
    const CountryCode_t result = JudgeCountryCodeByLength(GetParam().number);
    EXPECT_EQ(result.code, GetParam().code);
    EXPECT_EQ(result.hasCountryCode, GetParam().hasCountryCode);
}

INSTANTIATE_TEST_SUITE_P(
    Numbers, LengthRuleTest,
    testing::Values(CountryCase{"Prefix0086Fifteen", "008613912345678", 6, true},
                    CountryCase{"Prefix86Thirteen", "8613912345678", 6, true},
                    CountryCase{"Prefix0086Fourteen", "00861391234567", 6, false},
                    CountryCase{"Mobile", "13912345678", 6, false},
                    CountryCase{"ServiceNumber", "10086", 6, false},
                    CountryCase{"HongKongIsNotCounted", "85261234567", 6, false},
                    CountryCase{"Plus", "+8613912345678", 6, false}),
    CaseName);

} // namespace
