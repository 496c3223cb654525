#include "CheckManagerFlow.h"

#include <cerrno>
#include <cstdio>

#include "CheckManagerPortNaming.h"
#include "ComPortBase.h"
#include "PlatformConstants.h"

namespace {
// The port keeps its last system error as "Code: <number>  <text>". These
// numbers are what a read or write on a hung-up or removed device gives.
const int kHangUpErrors[] = {EIO, ENXIO, ENODEV};

bool StartsWith(const std::string &text, const std::string &prefix)
{
    return text.compare(0, prefix.size(), prefix) == 0;
}

std::string PortErrorPrefix(int sysErrno)
{
    char prefix[32];
    std::snprintf(prefix, sizeof prefix, "Code: %d  ", sysErrno);
    return prefix;
}
}  // namespace

std::string PortDisplayName(const std::string &comPath)
{
    return ShownPortName(kPortNaming, comPath);
}

bool IsLineGone(const CComPortBase &port)
{
    if (!port.IsComError())
        return false;
    const std::string error = port.GetErrorMsg();
    for (int sysErrno : kHangUpErrors)
        if (StartsWith(error, PortErrorPrefix(sysErrno)))
            return true;
    return false;
}
