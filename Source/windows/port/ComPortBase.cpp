#include "ComPortBase.h"

#include <windows.h>

#include <algorithm>
#include <type_traits>
#include <utility>

#include "ComPortError.h"
#include "ComPortLineSettings.h"

namespace {

// One read takes at most this many bytes.
constexpr std::size_t kComReadChunk = 512;
// ReadAll ends after this many bytes or this long, even on a line that never
// goes quiet; its caller reads again for the rest.
constexpr std::size_t kComReadAllByteLimit = 64 * 1024;
constexpr unsigned long long kComReadAllTimeMs = 2000;

// A read returns 10 ms after the last byte, or after 1 ms per requested
// byte plus 50 ms (562 ms for a silent line); a write of n bytes may take
// n + 50 ms.
constexpr COMMTIMEOUTS kFlowTimeouts = {10, 1, 50, 1, 50};
// Reads that return at once with what the input queue holds.
constexpr COMMTIMEOUTS kPendingTimeouts = {MAXDWORD, 0, 0, 1, 50};

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

bool CComPortBase::IsComError() const
{
    return m_nErrorCode != 0;
}

// "Code:<n>   <system text>"
std::string CComPortBase::GetErrorMsg() const
{
    return m_strErrorMsg;
}

PortFailureKind CComPortBase::GetFailureKind() const
{
    return m_failureKind;
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

// Writes every byte or fails and records why (a write that stalls is a
// time-out); true once all of them went. Empty data: false, nothing recorded.
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

// Reads until one brings nothing, within the byte and time caps above.
bool CComPortBase::ReadAll(std::string &out)
{
    return ReadAll(out, ReadBound {kComReadAllByteLimit, static_cast<int>(kComReadAllTimeMs)});
}

bool CComPortBase::ReadAll(std::string &out, const ReadBound &bound)
{
    const ULONGLONG start = GetTickCount64();
    const std::size_t maxBytes = std::min(bound.maxBytes, kComReadAllByteLimit);
    const ULONGLONG maxMs =
        std::min<ULONGLONG>(static_cast<ULONGLONG>(std::max(bound.maxMs, 0)), kComReadAllTimeMs);
    std::size_t gathered = 0;
    std::string piece;
    // The first read is always made, so that a bound used up by earlier
    // reads still lets a vanished device show.
    while (gathered < maxBytes && (gathered == 0 || GetTickCount64() - start < maxMs)) {
        if (!Read(piece))
            break;
        if (piece.size() > maxBytes - gathered)
            piece.resize(maxBytes - gathered);
        out += piece;
        gathered += piece.size();
        if (GetTickCount64() - start >= maxMs)
            break;
    }
    return true;
}

void CComPortBase::ReadPending(std::string &out, std::size_t maxBytes)
{
    if (m_hCom == INVALID_HANDLE_VALUE)
        return;
    COMMTIMEOUTS timeouts = kPendingTimeouts;
    if (!SetCommTimeouts(m_hCom, &timeouts))
        return;  // a read could wait: better nothing than a stall
    char buffer[kComReadChunk];
    std::size_t taken = 0;
    while (taken < maxBytes) {
        DWORD count = 0;
        const DWORD wanted = static_cast<DWORD>(std::min(maxBytes - taken, sizeof buffer));
        if (!ReadFile(m_hCom, buffer, wanted, &count, nullptr)) {
            RecordError(GetLastError(), Stage::Io);
            break;
        }
        if (count == 0)
            break;
        out.append(buffer, count);
        taken += count;
    }
    timeouts = kFlowTimeouts;
    SetCommTimeouts(m_hCom, &timeouts);
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
