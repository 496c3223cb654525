// The local time of the Linux build, open to the tests at a fixed time.
#ifndef ZARVEX_LOCAL_TIME_H
#define ZARVEX_LOCAL_TIME_H

#include <ctime>
#include <string>

// "YYYY-MM-DD hh:mm:ss" of `when` in the process's time zone (TZ).
std::string FormatLocalTimeStr(std::time_t when);

#endif
