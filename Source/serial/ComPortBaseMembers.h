// The part of CComPortBase's body that only the Linux build has (the class is
// declared in ComPortBase.h, which includes this file inside it): the
// operations the other build lacks, and the state of a port that forwards
// every operation to a CComPortBaseLinux of its own.
#ifndef ZARVEX_COM_PORT_BASE_MEMBERS_LINUX_H
#define ZARVEX_COM_PORT_BASE_MEMBERS_LINUX_H

public:
    bool Close();  // always true
    // The system error number of the last failure recorded, 0 when none. A
    // port refused because the process has no descriptor to spare (the
    // settings table included) fails to open with EMFILE.
    int GetErrorCode() const;
    // Writes bytes that no reply is read for before the next command goes
    // out, without Write's pause after them; true once all of them went.
    // False without touching the device when the port is closed.
    bool WriteWithoutPause(const std::string &bytes);

    // Start-up: prepares the terminal settings table. Call once, before any
    // port exists.
    static void ResetAllComPort();

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

    // Its first mention names the implementation at namespace scope, where
    // ComPortBaseLinux.h declares it, and not as a class inside this one.
    class CComPortBaseLinux *m_pImpl = nullptr;
    // Written by ResetRead and SetReadTotalWaitSeconds only; nothing reads them.
    int m_nReadCount = 0;
    int m_nReadTotalWaitSeconds = 0;

#endif
