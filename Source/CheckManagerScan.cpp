#include "CheckManagerScan.h"

#include <cstdio>
#include <cstring>

#include "CheckManager.h"

namespace {

const char kScanTimePrefix[] = "设备检测耗时: ";
const char kScanTimeSuffix[] = " 秒";
const char kScanCostTimeFormat[] = "cost time %lld ms\n";

constexpr long long MS_PER_SECOND = 1000;

}  // namespace

bool LessDeviceBaseComInfo(const DeviceBaseComInfo &a, const DeviceBaseComInfo &b)
{
    return std::strcmp(a.comPath, b.comPath) < 0;
}

std::vector<Win32::CommInfo> MakeDeviceRows(const std::vector<DeviceBaseComInfo> &records)
{
    std::vector<Win32::CommInfo> rows;
    rows.reserve(records.size());
    for (const DeviceBaseComInfo &record : records) {
        Win32::CommInfo row;
        row.comPath = record.comPath;
        // The program's own terminal was never set to a speed of the probe.
        row.baudText = record.isOwnTerminal ? std::string() : std::to_string(record.baudRate);
        row.isAtOk = record.isAtOk;
        row.isPortOk = record.isPortOk;
        row.isOwnTerminal = record.isOwnTerminal;
        row.smsCardNumber = record.smsCardNumber;
        row.serialNumber = record.serialNumber;
        row.signalStrength = record.signalStrength;
        row.atiResponse = record.atiResponse;
        row.phoneType = static_cast<PHONE_TYPE_t>(record.phoneType);
        rows.push_back(row);
    }
    return rows;
}

std::string FormatScanTime(std::time_t start, std::time_t end)
{
    // Whole-second readings: a scan within one second counts as 1.
    char count[32];
    std::snprintf(count, sizeof count, "%ld", static_cast<long>(end - start + 1));
    return std::string(kScanTimePrefix) + count + kScanTimeSuffix;
}

std::string FormatScanCostTime(std::clock_t start, std::clock_t end)
{
    const long long milliseconds =
        static_cast<long long>(end - start) * MS_PER_SECOND / CLOCKS_PER_SEC;
    char text[64] = {};
    std::snprintf(text, sizeof text, kScanCostTimeFormat, milliseconds);
    return text;
}
