// The part of CComPortBase's body that only the Windows build has (the class
// is declared in ComPortBase.h, which includes this file inside it): the
// operations the other build lacks, and the state of a port over a Win32
// handle. The shared flows include the class, so no Win32 type is named:
// the handle is kept as the void pointer that a HANDLE is.
#ifndef ZARVEX_COM_PORT_BASE_MEMBERS_WINDOWS_H
#define ZARVEX_COM_PORT_BASE_MEMBERS_WINDOWS_H

public:
    // Line settings (8N1 at the port's speed) and time-outs; true also when
    // no port is open.
    bool SetParam();
    // One read of up to 512 bytes into `out` (replaced). True when a byte
    // came. Records an error only when the read itself failed, never a
    // system error left over from elsewhere.
    bool Read(std::string &out);
    // Records GetLastError() of the calling thread as the port's error.
    void HandleErrorMsg();

private:
    enum class Stage { Open, Io };
    void RecordError(unsigned long code, Stage stage);  // a Win32 error code

    int m_nErrorCode = 0;
    std::string m_strErrorMsg;
    std::string m_strPortName;
    int m_nBaudRate = 0;
    void *m_hCom;  // INVALID_HANDLE_VALUE while closed
    PortFailureKind m_failureKind = PortFailureKind::None;

#endif
