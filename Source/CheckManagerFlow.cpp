#include "CheckManagerFlow.h"

#include "ComPortBase.h"
#include "PhoneCardBase.h"

namespace {
const std::string::size_type DEVICE_DIR_LENGTH = 5;  // "/dev/"
}  // namespace

std::string PortDisplayName(const std::string &comPath)
{
    return comPath.size() > DEVICE_DIR_LENGTH ? comPath.substr(DEVICE_DIR_LENGTH) : std::string();
}

bool IsLineGone(const CComPortBase &port)
{
    return port.GetFailureKind() == PortFailureKind::LineGone;
}

bool MaySendWithoutSmsCenter(CPhoneCardBase *phone, CComPortBase *port)
{
    return phone != nullptr && port != nullptr && port->IsOpened() && !IsLineGone(*port)
           && phone->IsSmsCenterQueryOptional();
}
