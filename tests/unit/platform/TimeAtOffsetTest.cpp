#include "StringUtil.h"

#include <gtest/gtest.h>

namespace {

constexpr std::int64_t kChinaOffset = 8 * 3600;

struct TimeCase {
    const char *name;
    std::int64_t utc;
    std::int64_t offset;
    const char *text;
    friend void PrintTo(const TimeCase &c, std::ostream *os) { *os << c.name; }
};

class TimeAtOffsetTest : public testing::TestWithParam<TimeCase> {};

TEST_P(TimeAtOffsetTest, FormatsTheShiftedCalendarTime)
{
    EXPECT_EQ(FormatTimeAtOffset(GetParam().utc, GetParam().offset), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Times, TimeAtOffsetTest,
    testing::Values(
        // 23:59:59 UTC on 31 December is already the next year in UTC+8.
        TimeCase{"NewYearUtcPlus8", 1577836799, kChinaOffset, "2020-01-01 07:59:59"},
        TimeCase{"NextDayUtcPlus8", 1559755800, kChinaOffset, "2019-06-06 01:30:00"},
        TimeCase{"SameDayUtcPlus8", 1559351100, kChinaOffset, "2019-06-01 09:05:00"},
        TimeCase{"LeapDay", 1582920000, kChinaOffset, "2020-02-29 04:00:00"},
        // Years divisible by 100 are leap years only when divisible by 400.
        TimeCase{"CenturyWithoutLeapDay", 4107513600, kChinaOffset, "2100-03-01 00:00:00"},
        TimeCase{"CenturyWithLeapDay", 951753600, kChinaOffset, "2000-02-29 00:00:00"},
        TimeCase{"Epoch", 0, 0, "1970-01-01 00:00:00"},
        TimeCase{"BeforeEpochShiftedToIt", -28801, kChinaOffset, "1969-12-31 23:59:59"},
        TimeCase{"NegativeOffset", 0, -1, "1969-12-31 23:59:59"}),
    [](const testing::TestParamInfo<TimeCase> &info) { return std::string(info.param.name); });

} // namespace
