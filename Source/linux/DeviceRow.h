// One row of the device table in the Linux build: the shared values and
// nothing else, since the Linux probe closes its ports before it reports.
#ifndef ZARVEX_DEVICE_ROW_H
#define ZARVEX_DEVICE_ROW_H

#include "DeviceRecords.h"

namespace Win32 {
struct CommInfo : CommInfoFields {};
}  // namespace Win32

#endif
