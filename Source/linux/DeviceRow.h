// What a row of the device table carries in the Linux build beside the values
// both builds share (DeviceRecords.h): nothing, since the Linux probe closes
// its ports before it reports.
#ifndef ZARVEX_DEVICE_ROW_LINUX_H
#define ZARVEX_DEVICE_ROW_LINUX_H

namespace Win32 {
struct PlatformRowFields {};
}  // namespace Win32

#endif
