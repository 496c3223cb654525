// One row of the device table in the Windows build: the shared row's fields
// behind the probe's open handle of the port. A row never owns its handle:
// copies hold the same value, and the scan closes every handle itself once
// the rows are sorted (CloseAllComHandle).
#ifndef ZARVEX_WIN_COMM_INFO_H
#define ZARVEX_WIN_COMM_INFO_H

#include <windows.h>

#include <string>

namespace Win32 {
struct CommInfo {
    HANDLE hCom = INVALID_HANDLE_VALUE;  // stays so when the port could not be opened
    bool isAtOk = false;
    bool isPortOk = false;
    std::string comPath;  // "\\.\COM3"
    std::string smsCardNumber;
    std::string baudText;
    std::string serialNumber;
    std::string signalStrength;
    std::string modelName;
    int modelCode = 0;  // PROBE_MODULE_t
    std::string atiResponse;
};
}  // namespace Win32

#endif
