// What a row of the device table carries in the Windows build before the
// values both builds share (DeviceRecords.h): the probe's open handle of the
// port. A row never owns its handle: copies hold the same value, and the scan
// closes every handle itself once the rows are sorted (CloseAllComHandle).
#ifndef ZARVEX_DEVICE_ROW_WINDOWS_H
#define ZARVEX_DEVICE_ROW_WINDOWS_H

#include <cstdint>

namespace Win32 {

// A Win32 HANDLE is a void pointer, and INVALID_HANDLE_VALUE that pointer
// with all bits set. Spelled out here, the row needs no Win32 header, so
// the shared code that keeps rows includes none (ComScan.cpp checks that
// both still agree with the system's).
using ProbeHandle = void *;
inline ProbeHandle NoProbeHandle()
{
    return reinterpret_cast<ProbeHandle>(static_cast<std::intptr_t>(-1));
}

struct PlatformRowFields {
    ProbeHandle hCom = NoProbeHandle();  // stays so when the port could not be opened
};

}  // namespace Win32

#endif
