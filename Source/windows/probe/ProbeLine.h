// The line that the probe talks over, reduced to what the probe needs, so
// that its steps run the same against a Win32 handle and a scripted modem.
#ifndef ZARVEX_PROBE_LINE_H
#define ZARVEX_PROBE_LINE_H

#include <cstddef>
#include <string>

class CProbeLine {
public:
    virtual ~CProbeLine() = default;

    // Line settings for this speed. False when the line refused them; the
    // line must then still never block in Write or ReadAvailable.
    virtual bool SetSpeed(int baudRate) = 0;
    // Sends every byte, in a bounded time; false when not all of them went.
    virtual bool Write(const std::string &bytes) = 0;
    // Appends to `out` what has already arrived, at most `maxBytes`, without
    // waiting for more. False when the line failed (the device has gone).
    virtual bool ReadAvailable(std::string &out, std::size_t maxBytes) = 0;
    virtual void Pause(int milliseconds) = 0;
    // A clock that only moves forward.
    virtual long long NowMilliseconds() = 0;
};

#endif
