#include "ComPortProbeLine.h"

#include <algorithm>

#include "ComPortLineSettings.h"

namespace {

constexpr DWORD kReadChunk = 256;

// Reads return at once with what the input queue holds; a write of n bytes
// may take n + 100 ms.
constexpr COMMTIMEOUTS kProbeTimeouts = {MAXDWORD, 0, 0, 1, 100};

}  // namespace

ProbeLineSetup SetProbeComParam(HANDLE hCom, int baudRate)
{
    ProbeLineSetup setup;
    setup.lineSet = SetComLine8N1(hCom, baudRate);
    COMMTIMEOUTS timeouts = kProbeTimeouts;
    setup.timeoutsSet = SetCommTimeouts(hCom, &timeouts) != FALSE;
    return setup;
}

bool CComProbeLine::SetSpeed(int baudRate)
{
    const ProbeLineSetup setup = SetProbeComParam(m_hCom, baudRate);
    m_bounded = m_bounded || setup.timeoutsSet;
    return setup.lineSet && setup.timeoutsSet;
}

bool CComProbeLine::Write(const std::string &bytes)
{
    if (!m_bounded)
        return false;
    std::size_t sent = 0;
    while (sent < bytes.size()) {
        DWORD written = 0;
        if (!WriteFile(m_hCom, bytes.data() + sent, static_cast<DWORD>(bytes.size() - sent),
                       &written, nullptr) ||
            written == 0)
            return false;
        sent += written;
    }
    return true;
}

bool CComProbeLine::ReadAvailable(std::string &out, std::size_t maxBytes)
{
    if (!m_bounded)
        return true;  // nothing can be read without blocking: silence
    char buffer[kReadChunk];
    while (maxBytes > 0) {
        DWORD count = 0;
        const DWORD wanted = static_cast<DWORD>(std::min<std::size_t>(maxBytes, sizeof buffer));
        if (!ReadFile(m_hCom, buffer, wanted, &count, nullptr))
            return false;
        if (count == 0)
            break;
        out.append(buffer, count);
        maxBytes -= count;
    }
    if (maxBytes > 0) {
        // A pulled adapter (or a closed pseudo-terminal under Wine) can read
        // as silence; the line's state tells a vanished device apart.
        DWORD errors = 0;
        COMSTAT status = {};
        if (!ClearCommError(m_hCom, &errors, &status))
            return false;
    }
    return true;
}

void CComProbeLine::Pause(int milliseconds)
{
    Sleep(static_cast<DWORD>(std::max(milliseconds, 0)));
}

long long CComProbeLine::NowMilliseconds()
{
    return static_cast<long long>(GetTickCount64());
}
