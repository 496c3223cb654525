// The platform-free code of the device scan, which the tests use on their
// own: the order of probe records, and the rows and duration texts of a scan.
// The models asked to claim an identification reply come from the factory
// (PhoneFactory.h); the probing itself is each build's own (Source/linux,
// Source/windows).
#ifndef ZARVEX_CHECK_MANAGER_SCAN_H
#define ZARVEX_CHECK_MANAGER_SCAN_H

#include <ctime>
#include <string>
#include <vector>

#include "DeviceRecords.h"

// The device rows of a scan's records, in their order, each with the model its
// record names.
std::vector<Win32::CommInfo> MakeDeviceRows(const std::vector<DeviceBaseComInfo> &records);

// "设备检测耗时: N 秒" for a scan between two whole-second clock readings.
std::string FormatScanTime(std::time_t start, std::time_t end);

// "cost time N ms\n" for a scan between two readings of clock(), which
// counts the milliseconds of the process's run on Windows.
std::string FormatScanCostTime(std::clock_t start, std::clock_t end);

#endif
