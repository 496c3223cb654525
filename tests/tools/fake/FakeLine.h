// The program's end of a fake, for the fakes' own tests: opens a slave path
// as a serial device (raw, at a speed), writes commands and reads replies
// with a bounded wait.
#ifndef ZARVEX_FAKE_LINE_H
#define ZARVEX_FAKE_LINE_H

#include <string>

class FakeLine {
public:
    FakeLine() = default;
    ~FakeLine();
    FakeLine(const FakeLine &) = delete;
    FakeLine &operator=(const FakeLine &) = delete;

    bool Open(const std::string &path, int baud);  // false: errno tells why
    bool SetBaud(int baud);
    void Close();
    int Fd() const { return m_fd; }

    bool Write(const std::string &bytes);
    // Reads until `until` has arrived (empty: until timeoutMs passes) or the
    // line ends; returns what was read.
    std::string ReadUntil(const std::string &until, int timeoutMs);
    // Writes a command and reads its reply up to the final "OK\r\n".
    std::string Ask(const std::string &command, int timeoutMs = 2000);
    bool HungUp() const { return m_hungUp; }

private:
    int m_fd = -1;
    bool m_hungUp = false;
};

#endif
