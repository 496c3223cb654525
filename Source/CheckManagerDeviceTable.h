// The cells of the device table and their widths in bytes, which differ
// between the builds. Both builds' layouts live here so that the tests of
// either build check both; PlatformConstants.h picks the build's own as
// kDeviceTableLayout.
#ifndef ZARVEX_CHECK_MANAGER_DEVICE_TABLE_H
#define ZARVEX_CHECK_MANAGER_DEVICE_TABLE_H

#include <cstddef>
#include <string>

#include "CheckManagerPortNaming.h"
#include "DeviceRecords.h"

// Cells are padded with blanks to their width in bytes; a longer value is
// not cut. A placeholder and a value of the same column may have widths of
// their own: in UTF-8 a Chinese character takes three bytes but two columns
// on screen.
struct DeviceTableLayout {
    // The header cells 端口号, 波特率, AT标识, SMS卡号 and 信号强度; the last
    // one, 设备序列号, has no width.
    int headerWidths[5];
    int portWidth;
    int baudWidth;
    int portUnusableWidth;  // "端口不可用"
    int atStateWidth;       // "OK" or "不AT"
    int ownTerminalWidth;   // "本终端"
    int noCardNumberWidth;  // "未读卡"
    int cardNumberWidth;
    int noSignalWidth;  // "无信号"
    int signalWidth;
};

extern const DeviceTableLayout kLinuxDeviceTableLayout;
// In code page 936 a Chinese character takes two bytes and two columns: one
// width serves a whole column.
extern const DeviceTableLayout kWindowsDeviceTableLayout;

// The header line, with its line end.
std::string DeviceTableHeaderLine(const DeviceTableLayout &layout);

// One row's line under its dashes, with its line end: the port's shown name
// ("unknow" without a path), the speed, the AT state (the program's own
// terminal says so in its place), then the SIM card
// number, signal and serial number as the row holds them (see
// TrimDeviceRowValues) or their placeholders. The values come from the modem
// and are shown in printable form, on this one line.
std::string DeviceTableRowLine(const Win32::CommInfo &row, const DeviceTableLayout &layout,
                               const PortNaming &naming);

// The line under the table, with its line end, that says how many listed
// ports were not probed; empty when all were.
std::string UnprobedPortsLine(std::size_t count);

// Modems wrap their values in blanks and quotes; the row keeps them without.
void TrimDeviceRowValues(Win32::CommInfo &row);

#endif
