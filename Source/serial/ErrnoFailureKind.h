// The kind of failure that a system error number of the Linux port stands
// for, so that a flow decides on a value instead of the error's text.
#ifndef ZARVEX_ERRNO_FAILURE_KIND_H
#define ZARVEX_ERRNO_FAILURE_KIND_H

#include "PortFailureKind.h"

// 0: nothing failed. EIO, ENXIO and ENODEV: what a read or write gives once
// the device was unplugged or the line hung up. ENOENT: no such device.
// Every other number: Other.
PortFailureKind FailureKindOfErrno(int sysErrno);

#endif
