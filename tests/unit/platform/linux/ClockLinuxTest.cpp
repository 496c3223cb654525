#include "LocalTime.h"
#include "PduReference.h"
#include "StringUtil.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

namespace {

TEST(GetCurTimeStr, FormatsLocalTime)
{
    setenv("TZ", "CST-8", 1);  // POSIX form: needs no zone files
    tzset();
    // 2019-06-01 09:05:00 in UTC+8 is 01:05:00 UTC.
    EXPECT_EQ(FormatLocalTimeStr(1559351100), "2019-06-01 09:05:00");
    setenv("TZ", "UTC0", 1);
    tzset();
    EXPECT_EQ(FormatLocalTimeStr(1559351100), "2019-06-01 01:05:00");
    EXPECT_EQ(FormatLocalTimeStr(0), "1970-01-01 00:00:00");

    const std::string now = GetCurTimeStr();
    ASSERT_EQ(now.size(), 19u);
    EXPECT_EQ(now[4], '-');
    EXPECT_EQ(now[10], ' ');
    EXPECT_EQ(now[13], ':');
    unsetenv("TZ");
    tzset();
}

TEST(SplitIndexSeedClock, IsTheTimeInSeconds)
{
    const std::time_t before = std::time(nullptr);
    const std::int64_t clock = SplitIndexSeedClock();
    const std::time_t after = std::time(nullptr);
    EXPECT_GE(clock, before);
    EXPECT_LE(clock, after);
}

} // namespace
