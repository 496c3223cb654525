// The Linux serial port: a non-blocking POSIX terminal descriptor in raw 8N1
// mode, registered in the terminal settings library. Errors are kept as the
// system error number and its text; nothing is thrown.
#ifndef ZARVEX_COM_PORT_BASE_LINUX_H
#define ZARVEX_COM_PORT_BASE_LINUX_H

#include <atomic>
#include <cstdint>
#include <string>

#include "ComPortBase.h"

// The pause, in microseconds, that Write makes after sending and Read makes
// before each look at the line: a reply that pauses this long is complete.
constexpr int USLEEP_COUNT = 50000;

// The largest number of bytes handed to one write call: one tenth of the
// output speed of the port configured last (about 100 ms of line time), at
// least 8. Shared by every port of the process.
extern std::atomic<int> tty_write_sz;

// Line options, built with their defaults for every configuration.
struct opt_t {
    char port[128] = {};
    int baud = 9600;
    int flow = 0;
    int parity = 0;
    int databits = 8;
    int stopbits = 1;
    int lecho = 0;
    int noinit = 0;
    int noreset = 0;  // 0: HUPCL is asked for
    char escape = 1;
    char send_cmd[128] = {};
    char receive_cmd[128] = {};
    int imap = 0;
    int omap = 0;
    int emap = 0x42;  // crcrlf and delbs
};

// True when a modem reply holds one of the markers that end an exchange.
bool IsReadFinished(std::string reply);

class CComPortBaseLinux {
public:
    CComPortBaseLinux(std::string devicePath, int baudRate);  // does not open
    virtual ~CComPortBaseLinux();
    CComPortBaseLinux(const CComPortBaseLinux &) = delete;
    CComPortBaseLinux &operator=(const CComPortBaseLinux &) = delete;

    // Opens and configures the device. A port whose configuration failed
    // stays open (IsOpened true) with the settings it had; one that the
    // settings table refused is closed again, with the error EMFILE.
    bool Open();
    // Configures the open line again; EMFILE recorded when the settings table
    // refuses the port. Nothing in the program calls it (offered library).
    bool SetParam();
    bool Close();  // leaves the device raw at the port's speed, HUPCL off
    bool IsOpened() const;
    bool IsComError() const;
    std::string GetErrorMsg() const;
    int GetErrorCode() const;
    PortFailureKind GetFailureKind() const;  // the kind of GetErrorCode()
    void HandleError();  // records the thread's errno when it is not 0

    // Writes the whole command; false once it is written. An empty command
    // instead reads once and is true when that brings a complete reply.
    bool Write(std::string command);
    // Writes the bytes without the pause after them; true once all went.
    bool WriteWithoutPause(const std::string &bytes);
    // Each gathering costs at least USLEEP_COUNT; input that never pauses
    // ends it at a cap of about 50 s and 128000 bytes.
    bool Read(std::string &out);  // appends until the line pauses; false
    bool ReadAll(std::string &out);  // the same, true
    bool ReadAll(std::string &out, const ReadBound &bound);  // also ends at the bound; true
    void ReadPending(std::string &out, std::size_t maxBytes);  // no waiting
    static void ResetAllComPort();

private:
    enum class LineSetup { Done, Refused, Failed };
    // How taking what has arrived ended: the driver had no more, the
    // caller's bound was reached first, or the line hung up or failed.
    enum class Arrival { Drained, BoundReached, Ended };
    LineSetup SetUpLine();
    bool WriteCommand(const std::string &command);
    bool ReadReplyOnce();
    void Gather(std::string &out, std::size_t maxBytes, int64_t deadlineUs);
    Arrival TakeArrived(std::string &out, std::size_t maxBytes, std::size_t &taken);
    bool RecordHangUp();

    int m_nErrorCode = 0;
    std::string m_strErrorMsg;
    std::string m_strDevicePath;
    int m_nBaudRate;
    int m_fd = -1;
    std::string m_strReply;
};

#endif
