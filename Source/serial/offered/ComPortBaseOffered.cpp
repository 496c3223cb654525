// The serial port's operations that nothing in the program calls: a read
// that answers false, configuring again, the read counters and two empty
// operations. Their declarations stay with the classes.
#include "ComPortBase.h"

#include "ComPortBaseLinux.h"

bool CComPortBase::Read(std::string &out)
{
    if (!m_pImpl)
        return false;
    std::string collected;
    const bool result = m_pImpl->Read(collected);
    out += collected;
    return result;
}

bool CComPortBase::SetParam()
{
    return m_pImpl ? m_pImpl->SetParam() : false;
}

bool CComPortBase::ResetRead()
{
    m_nReadCount = 0;
    return true;
}

bool CComPortBase::SetReadTotalWaitSeconds(int seconds)
{
    m_nReadTotalWaitSeconds = seconds;
    m_nReadCount = 0;
    return true;
}

void CComPortBase::HandleErrorMsg()
{
}

void CComPortBase::TalkWithCom()
{
}

bool CComPortBaseLinux::SetParam()
{
    return SetUpLine() == LineSetup::Done;
}
