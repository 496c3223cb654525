// Pieces of the device scan that the port choice and the tests use on their
// own: the models asked to claim an identification reply, the parallel probe
// of a given list of ports, and the rows and duration text made from it.
#ifndef ZARVEX_CHECK_MANAGER_SCAN_H
#define ZARVEX_CHECK_MANAGER_SCAN_H

#include <ctime>
#include <memory>
#include <string>
#include <vector>

#include "ComPortBase.h"
#include "DeviceRecords.h"

// The most a reply to one of the probe's commands may bring, and the longest
// it may keep the port reading. Those replies are a few hundred bytes that
// take a fraction of a second even at 9600 baud; a port that sends more, or
// for longer, has no modem answering behind it. Without this bound a device
// that never stops sending would hold every command for the whole 50 s that
// the port's gathering allows.
constexpr ReadBound PROBE_REPLY_BOUND = {4096, 2000};

class CPhoneCardBase;

using DetectionModels = std::vector<std::unique_ptr<CPhoneCardBase>>;

// One object of each model class, in the order in which they are asked to
// claim an identification reply. The first also talks to a modem that no
// model has claimed yet.
DetectionModels CreateDetectionModels();

// The first model that accepts the reply, or null.
CPhoneCardBase *FindModelForAti(const DetectionModels &models, const std::string &ati);

// Probes every path on a thread of its own and returns one record per port
// whose thread could be started, sorted by path. DetectAllDevice runs it on
// the listed ports.
std::vector<DeviceBaseComInfo> DetectDevicesOnPorts(const std::vector<std::string> &paths);

// The device rows of a scan's records, in their order.
std::vector<Win32::CommInfo> MakeDeviceRows(const std::vector<DeviceBaseComInfo> &records);

// "设备检测耗时: N 秒" for a scan between two whole-second clock readings.
std::string FormatScanTime(std::time_t start, std::time_t end);

#endif
