// The serial port of the Linux build as the application sees it: opened by
// the constructor, closed by the destructor. Every operation is forwarded to
// the platform implementation, which this header only names.
#ifndef ZARVEX_COM_PORT_BASE_H
#define ZARVEX_COM_PORT_BASE_H

#include <cstddef>
#include <string>

#include "LineAccount.h"
#include "PortFailureKind.h"
#include "ReadBound.h"

// The pause, in microseconds, that Write makes after sending and Read makes
// before each look at the line: a reply that pauses this long is complete.
constexpr int USLEEP_COUNT = 50000;

class CComPortBaseLinux;

class CComPortBase {
public:
    // Opens the device at once; ask IsOpened or IsComError for the outcome.
    CComPortBase(std::string devicePath, int baudRate);
    virtual ~CComPortBase();
    CComPortBase(const CComPortBase &) = delete;
    CComPortBase &operator=(const CComPortBase &) = delete;

    bool Open();   // true at once when the port is already open
    bool Close();  // always true
    bool IsOpened();
    bool IsComError() const;
    std::string GetErrorMsg() const;  // "Code: <errno>  <system text>", or empty
    // The system error number of the last failure recorded, 0 when none. A
    // port refused because the process has no descriptor to spare (the
    // settings table included) fails to open with EMFILE.
    int GetErrorCode() const;
    // What the last failure recorded means for the caller: a device that
    // went away (EIO, ENXIO, ENODEV), one that is not there (ENOENT), or
    // anything else; None when nothing failed.
    PortFailureKind GetFailureKind() const;

    // Writes one command and never reads the answer, which stays for
    // ReadAll; the result is false whenever a command was written. False
    // without touching the device when the port is closed.
    bool Write(std::string command);
    // Writes bytes that no reply is read for before the next command goes
    // out, without Write's pause after them; true once all of them went.
    // False without touching the device when the port is closed.
    bool WriteWithoutPause(const std::string &bytes);
    // Appends what arrives until the line pauses for USLEEP_COUNT; always
    // true. Costs at least USLEEP_COUNT. Input that never pauses ends it at
    // a cap of about 50 s and 128000 bytes.
    bool ReadAll(std::string &out);
    // The same within a bound: never more than bound.maxBytes appended, and
    // no look at the line begun after bound.maxMs (at least one is taken).
    bool ReadAll(std::string &out, const ReadBound &bound);
    // Appends what has already arrived, at most maxBytes, without waiting.
    void ReadPending(std::string &out, std::size_t maxBytes);

    // Start-up: prepares the terminal settings table. Call once, before any
    // port exists.
    static void ResetAllComPort();

    // What the conversation on this port still owes from command to command.
    LineAccount &Account() { return m_account; }
    const LineAccount &Account() const { return m_account; }

    // Nothing in the program calls these; the offered library defines them.
    bool Read(std::string &out);  // as ReadAll, but answers false
    bool SetParam();              // configures the open line again
    bool ResetRead();
    bool SetReadTotalWaitSeconds(int seconds);
    void HandleErrorMsg();  // empty
    void TalkWithCom();     // empty

private:
    // The other build's port keeps its state here; this one leaves them alone.
    [[maybe_unused]] int m_reservedHandle = 0;
    std::string m_reservedName;
    std::string m_reservedError;
    [[maybe_unused]] int m_reservedBaud = 0;

    CComPortBaseLinux *m_pImpl = nullptr;
    LineAccount m_account;
    // Written by ResetRead and SetReadTotalWaitSeconds only; nothing reads them.
    int m_nReadCount = 0;
    int m_nReadTotalWaitSeconds = 0;
};

#endif
