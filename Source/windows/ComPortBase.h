// The serial port of the Windows build as the send and read flows use it:
// a Win32 handle opened by the constructor, closed by the destructor. Every
// failure is kept as the system's error code, its text and its kind.
#ifndef ZARVEX_COM_PORT_BASE_H
#define ZARVEX_COM_PORT_BASE_H

// The shared flows include this header, so it names no Win32 type: the
// handle is kept as the void pointer that a HANDLE is.
#include <cstddef>
#include <string>

#include "LineAccount.h"
#include "PortFailureKind.h"
#include "ReadBound.h"

// One read takes at most this many bytes.
constexpr std::size_t kComReadChunk = 512;
// ReadAll ends after this many bytes or this long, even on a line that never
// goes quiet; its caller reads again for the rest.
constexpr std::size_t kComReadAllByteLimit = 64 * 1024;
constexpr unsigned long long kComReadAllTimeMs = 2000;

class CComPortBase {
public:
    // Opens the port at once; ask IsOpened or IsComError for the outcome.
    CComPortBase(std::string portName, int baudRate);
    virtual ~CComPortBase();
    CComPortBase(const CComPortBase &) = delete;
    CComPortBase &operator=(const CComPortBase &) = delete;

    // Clears the error code (the text stays); true at once when open.
    bool Open();
    // Line settings (8N1 at the port's speed) and time-outs; true also when
    // no port is open.
    bool SetParam();
    // Writes every byte or fails and records why (a write that stalls is a
    // time-out). Empty data: false, nothing recorded.
    bool Write(std::string data);
    // One read of up to kComReadChunk bytes into `out` (replaced). True when
    // a byte came. Records an error only when the read itself failed, never
    // a system error left over from elsewhere.
    bool Read(std::string &out);
    // Appends reads to `out` until one brings nothing, within the byte and
    // time bounds above. Always true.
    bool ReadAll(std::string &out);
    // The same within `bound` as well: no more bytes, no read begun after
    // its time.
    bool ReadAll(std::string &out, const ReadBound &bound);
    // Appends what the input queue already holds, at most maxBytes, without
    // waiting for more.
    void ReadPending(std::string &out, std::size_t maxBytes);

    // What the conversation on this port still owes from command to command.
    LineAccount &Account() { return m_account; }
    const LineAccount &Account() const { return m_account; }

    bool IsOpened() const;
    bool IsComError() const { return m_nErrorCode != 0; }
    std::string GetErrorMsg() const { return m_strErrorMsg; }  // "Code:<n>   <system text>"
    PortFailureKind GetFailureKind() const { return m_failureKind; }

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
    LineAccount m_account;
};

#endif
