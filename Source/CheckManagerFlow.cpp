#include "CheckManagerFlow.h"

#include "CheckManagerPortNaming.h"
#include "ComPortBase.h"
#include "PhoneCardBase.h"
#include "PlatformConstants.h"

std::string PortDisplayName(const std::string &comPath)
{
    return ShownPortName(kPortNaming, comPath);
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
