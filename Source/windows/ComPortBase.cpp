#include "ComPortBase.h"

#include <windows.h>

#include <type_traits>
#include <utility>

#include "ComPortError.h"
#include "ComPortLineSettings.h"

namespace {

// A read returns 10 ms after the last byte, or after 1 ms per requested
// byte plus 50 ms (562 ms for a silent line); a write of n bytes may take
// n + 50 ms.
constexpr COMMTIMEOUTS kFlowTimeouts = {10, 1, 50, 1, 50};

static_assert(std::is_same<void *, HANDLE>::value, "the port keeps its HANDLE as a void pointer");

}  // namespace

CComPortBase::CComPortBase(std::string portName, int baudRate)
    : m_strPortName(std::move(portName)), m_nBaudRate(baudRate), m_hCom(INVALID_HANDLE_VALUE)
{
    Open();
}

bool CComPortBase::IsOpened() const
{
    return m_hCom != INVALID_HANDLE_VALUE;
}

CComPortBase::~CComPortBase()
{
    if (m_hCom != INVALID_HANDLE_VALUE)
        CloseHandle(m_hCom);
    m_hCom = INVALID_HANDLE_VALUE;
}

bool CComPortBase::Open()
{
    m_nErrorCode = 0;
    m_failureKind = PortFailureKind::None;
    if (m_hCom != INVALID_HANDLE_VALUE)
        return true;
    m_hCom = CreateFileA(m_strPortName.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                         OPEN_EXISTING, 0, nullptr);
    if (m_hCom == INVALID_HANDLE_VALUE) {
        RecordError(GetLastError(), Stage::Open);
        return false;
    }
    if (SetParam())
        return true;
    RecordError(GetLastError(), Stage::Open);
    CloseHandle(m_hCom);
    m_hCom = INVALID_HANDLE_VALUE;
    return false;
}

bool CComPortBase::SetParam()
{
    if (m_hCom == INVALID_HANDLE_VALUE)
        return true;
    if (!SetComLine8N1(m_hCom, m_nBaudRate))
        return false;
    COMMTIMEOUTS timeouts = kFlowTimeouts;
    SetCommTimeouts(m_hCom, &timeouts);
    return true;
}

bool CComPortBase::Write(std::string data)
{
    if (data.empty())
        return false;
    if (m_hCom == INVALID_HANDLE_VALUE) {
        // The failed open, when there was one, stays the reason.
        if (m_nErrorCode == 0)
            RecordError(ERROR_INVALID_HANDLE, Stage::Io);
        return false;
    }
    std::size_t sent = 0;
    while (sent < data.size()) {
        DWORD written = 0;
        if (!WriteFile(m_hCom, data.data() + sent, static_cast<DWORD>(data.size() - sent), &written,
                       nullptr)) {
            RecordError(GetLastError(), Stage::Io);
            return false;
        }
        if (written == 0) {
            // The write time-out ran out without a byte going.
            RecordError(ERROR_TIMEOUT, Stage::Io);
            return false;
        }
        sent += written;
    }
    return true;
}

bool CComPortBase::Read(std::string &out)
{
    if (m_hCom == INVALID_HANDLE_VALUE)
        return false;
    out.clear();
    char buffer[kComReadChunk];
    DWORD count = 0;
    if (!ReadFile(m_hCom, buffer, sizeof buffer, &count, nullptr)) {
        RecordError(GetLastError(), Stage::Io);
        return false;
    }
    out.assign(buffer, count);
    if (count == 0) {
        // A pulled adapter (or, under Wine, a closed pseudo-terminal) may
        // read as plain silence; asking the line's state tells it apart.
        DWORD errors = 0;
        COMSTAT status = {};
        if (!ClearCommError(m_hCom, &errors, &status))
            RecordError(GetLastError(), Stage::Io);
    }
    return !out.empty();
}

bool CComPortBase::ReadAll(std::string &out)
{
    const ULONGLONG start = GetTickCount64();
    std::size_t gathered = 0;
    std::string piece;
    while (gathered < kComReadAllByteLimit && GetTickCount64() - start < kComReadAllTimeMs) {
        if (!Read(piece))
            break;
        out += piece;
        gathered += piece.size();
    }
    return true;
}

void CComPortBase::HandleErrorMsg()
{
    RecordError(GetLastError(), Stage::Io);
}

void CComPortBase::RecordError(unsigned long code, Stage stage)
{
    m_nErrorCode = static_cast<int>(code);
    m_strErrorMsg = FormatComErrorText(code);
    m_failureKind = stage == Stage::Open ? OpenFailureKind(code) : IoFailureKind(code);
}
