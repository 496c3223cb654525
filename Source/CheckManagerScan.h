// The platform-free pieces of the device scan, which the port choice and the
// tests use on their own: the models asked to claim an identification reply,
// the order of probe records, and the rows and duration texts of a scan. The
// probing itself is each build's own (Source/linux, Source/windows).
#ifndef ZARVEX_CHECK_MANAGER_SCAN_H
#define ZARVEX_CHECK_MANAGER_SCAN_H

#include <ctime>
#include <memory>
#include <string>
#include <vector>

#include "DeviceRecords.h"

class CPhoneCardBase;

using DetectionModels = std::vector<std::unique_ptr<CPhoneCardBase>>;

// One object of each model of the model table, in its order: the order in
// which they are asked to claim an identification reply. The first also
// talks to a modem that no model has claimed yet.
DetectionModels CreateDetectionModels();

// The first model that accepts the reply, or null.
CPhoneCardBase *FindModelForAti(const DetectionModels &models, const std::string &ati);

// The device rows of a scan's records, in their order, each with the model its
// record names.
std::vector<Win32::CommInfo> MakeDeviceRows(const std::vector<DeviceBaseComInfo> &records);

// "设备检测耗时: N 秒" for a scan between two whole-second clock readings.
std::string FormatScanTime(std::time_t start, std::time_t end);

// "cost time N ms\n" for a scan between two readings of clock(), which
// counts the milliseconds of the process's run on Windows.
std::string FormatScanCostTime(std::clock_t start, std::clock_t end);

#endif
