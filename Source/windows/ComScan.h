// The Windows device scan: the COM ports listed in the registry, each probed
// on a thread of its own over a raw handle, one row per probed port. The
// check manager's scan members call these:
//   GetAllComPort    -> ListRegistryComNames
//   DetectAllDevice  -> MakeComDevicePath, then ProbeComPorts
//   OnScanPort       -> sort with LessCommInfo, then CloseAllComHandle
#ifndef ZARVEX_COM_SCAN_H
#define ZARVEX_COM_SCAN_H

#include <windows.h>

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "DeviceRecords.h"

// The most ports probed in one scan.
constexpr std::size_t kMaxProbedPorts = 255;

// The COM names of the serial port map HKLM\Hardware\DeviceMap\SerialComm,
// appended in the registry's order. True when at least one was found.
bool ListRegistryComNames(std::vector<std::string> &names);
// The same for any key: the serial port map, or a key a test made.
bool ListComNamesUnderKey(HKEY root, const std::string &subKey, std::vector<std::string> &names);

// The probe of one port (its row's comPath set): open it exclusively, find
// its speed, module and values. The handle stays open in the row; a port
// that cannot be opened leaves the row as it was made (isPortOk false).
void ProbeComPort(Win32::CommInfo &row);

using ComPortProbe = std::function<void(Win32::CommInfo &row)>;

struct ComScanResult {
    // One row per probed port, in the order the probes ended.
    std::vector<Win32::CommInfo> rows;
    // Ports that got no probe: those beyond kMaxProbedPorts, and any whose
    // thread could not be started.
    std::vector<std::string> unprobedPaths;
};

// Probes every device path at once, one thread per port, and returns when
// every probe has ended. The rows are gathered under a lock private to this
// scan: nothing outside the process can hold it up.
ComScanResult ProbeComPorts(const std::vector<std::string> &devicePaths,
                            const ComPortProbe &probe = ProbeComPort);

// Row order: by COM number as an integer (COM2 before COM10).
bool LessCommInfo(const Win32::CommInfo &left, const Win32::CommInfo &right);

// Closes the probe handle of every row and marks it closed.
void CloseAllComHandle(std::vector<Win32::CommInfo> &rows);

#endif
