// The clocks of the Windows build: the time text of the device table and the
// send results, and the seed of the concatenation reference.
#include "PduReference.h"
#include "StringUtil.h"

#include <windows.h>

#include <ctime>

namespace {
// The Windows program shows China Standard Time whatever the machine's zone
// says: a fixed UTC+8, no daylight saving.
const std::int64_t kShownOffsetSeconds = 8 * 3600;
}  // namespace

std::string GetCurTimeStr()
{
    return FormatTimeAtOffset(_time64(nullptr), kShownOffsetSeconds);
}

std::int64_t SplitIndexSeedClock()
{
    return GetTickCount();
}
