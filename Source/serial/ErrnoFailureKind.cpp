#include "ErrnoFailureKind.h"

#include <cerrno>

PortFailureKind FailureKindOfErrno(int sysErrno)
{
    switch (sysErrno) {
    case 0:
        return PortFailureKind::None;
    case EIO:
    case ENXIO:
    case ENODEV:
        return PortFailureKind::LineGone;
    case ENOENT:
        return PortFailureKind::NotFound;
    default:
        return PortFailureKind::Other;
    }
}
