#include "ComPortBase.h"

#include <utility>

#include "ComPortBaseLinux.h"

CComPortBase::CComPortBase(std::string devicePath, int baudRate)
    : m_pImpl(new CComPortBaseLinux(std::move(devicePath), baudRate))
{
    Open();
}

CComPortBase::~CComPortBase()
{
    if (m_pImpl) {
        m_pImpl->Close();
        delete m_pImpl;
    }
}

bool CComPortBase::Open()
{
    return m_pImpl ? m_pImpl->Open() : false;
}

bool CComPortBase::Close()
{
    return m_pImpl ? m_pImpl->Close() : false;
}

bool CComPortBase::IsOpened() const
{
    return m_pImpl ? m_pImpl->IsOpened() : false;
}

bool CComPortBase::IsComError() const
{
    return m_pImpl ? m_pImpl->IsComError() : false;
}

std::string CComPortBase::GetErrorMsg() const
{
    return m_pImpl ? m_pImpl->GetErrorMsg() : std::string();
}

int CComPortBase::GetErrorCode() const
{
    return m_pImpl ? m_pImpl->GetErrorCode() : 0;
}

PortFailureKind CComPortBase::GetFailureKind() const
{
    return m_pImpl ? m_pImpl->GetFailureKind() : PortFailureKind::None;
}

bool CComPortBase::Write(std::string command)
{
    if (!m_pImpl || !m_pImpl->IsOpened())
        return false;
    return m_pImpl->Write(std::move(command));
}

bool CComPortBase::WriteWithoutPause(const std::string &bytes)
{
    if (!m_pImpl || !m_pImpl->IsOpened())
        return false;
    return m_pImpl->WriteWithoutPause(bytes);
}

bool CComPortBase::ReadAll(std::string &out)
{
    if (!m_pImpl)
        return false;
    std::string collected;
    m_pImpl->ReadAll(collected);
    out += collected;
    return true;
}

bool CComPortBase::ReadAll(std::string &out, const ReadBound &bound)
{
    if (!m_pImpl)
        return false;
    std::string collected;
    m_pImpl->ReadAll(collected, bound);
    out += collected;
    return true;
}

void CComPortBase::ReadPending(std::string &out, std::size_t maxBytes)
{
    if (m_pImpl)
        m_pImpl->ReadPending(out, maxBytes);
}

void CComPortBase::ResetAllComPort()
{
    CComPortBaseLinux::ResetAllComPort();
}
