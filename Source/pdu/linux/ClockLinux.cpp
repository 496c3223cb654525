// The clocks of the Linux build: the local time of the device table and the
// send results, and the seed of the concatenation reference.
#include "LocalTime.h"
#include "PduReference.h"
#include "StringUtil.h"

#include <time.h>

std::string FormatLocalTimeStr(std::time_t when)
{
    std::tm local{};
    localtime_r(&when, &local);
    return FormatTimeAtOffset(when, local.tm_gmtoff);
}

std::string GetCurTimeStr()
{
    return FormatLocalTimeStr(std::time(nullptr));
}

std::int64_t SplitIndexSeedClock()
{
    return std::time(nullptr);
}
