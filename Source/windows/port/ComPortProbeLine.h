// The probe's line over a raw Win32 handle of a COM port. Reads never block:
// they take what has already arrived, and the probe's exchange does the
// waiting within its own bounds.
#ifndef ZARVEX_COM_PORT_PROBE_LINE_H
#define ZARVEX_COM_PORT_PROBE_LINE_H

#include <windows.h>

#include "ProbeLine.h"

struct ProbeLineSetup {
    bool lineSet = false;      // 8N1 at the speed, queue sizes
    bool timeoutsSet = false;  // reads return at once, writes are bounded
};

// Line settings for the probe at `baudRate`, then its time-outs. The
// time-outs are set even when the line settings were refused, so that a
// port whose setup failed is still read without blocking.
ProbeLineSetup SetProbeComParam(HANDLE hCom, int baudRate);

class CComProbeLine : public CProbeLine {
public:
    explicit CComProbeLine(HANDLE hCom) : m_hCom(hCom) {}

    bool SetSpeed(int baudRate) override;
    // Refused on a handle whose time-outs were never set: such a write
    // could block without end.
    bool Write(const std::string &bytes) override;
    bool ReadAvailable(std::string &out, std::size_t maxBytes) override;
    void Pause(int milliseconds) override;
    long long NowMilliseconds() override;

private:
    HANDLE m_hCom;
    bool m_bounded = false;  // time-outs set at least once
};

#endif
