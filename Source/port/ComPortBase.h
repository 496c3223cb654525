// The serial port as the application sees it, in either build: opened by the
// constructor, closed by the destructor, each failure kept as the system's
// error number, its text and what it means for the caller. This header
// declares what the shared code uses, and each build defines it over its own
// system interface: a POSIX terminal (Source/serial) or a Win32 handle
// (Source/windows/port). Neither names a platform type here.
#ifndef ZARVEX_COM_PORT_BASE_H
#define ZARVEX_COM_PORT_BASE_H

#include <cstddef>
#include <string>

#include "LineAccount.h"
#include "PortFailureKind.h"
#include "ReadBound.h"

class CComPortBase {
public:
    // Opens the port at once; ask IsOpened or IsComError for the outcome.
    CComPortBase(std::string devicePath, int baudRate);
    virtual ~CComPortBase();
    CComPortBase(const CComPortBase &) = delete;
    CComPortBase &operator=(const CComPortBase &) = delete;

    // Opens a closed port; true at once when the port is already open.
    bool Open();
    bool IsOpened() const;
    bool IsComError() const;
    // The last failure recorded: the system's error number and its text,
    // each build in its own form; empty before any.
    std::string GetErrorMsg() const;
    // What the last failure recorded means for the caller: a device that
    // went away, one that is not there, or anything else; None when nothing
    // failed.
    PortFailureKind GetFailureKind() const;

    // Writes one command and never reads the answer, which stays for
    // ReadAll. Nothing is written on a closed port. The result is each
    // build's own and tells the flows nothing: the reply does.
    bool Write(std::string command);
    // Appends what arrives until the line goes quiet, as the port waits for
    // a pause in its input; always true. Input that never pauses ends it at
    // the port's own caps.
    bool ReadAll(std::string &out);
    // The same within a bound: never more than bound.maxBytes appended, and
    // no look at the line begun after bound.maxMs (at least one is taken).
    bool ReadAll(std::string &out, const ReadBound &bound);
    // Appends what has already arrived, at most maxBytes, without waiting.
    void ReadPending(std::string &out, std::size_t maxBytes);

    // What the conversation on this port still owes from command to command.
    LineAccount &Account() { return m_account; }
    const LineAccount &Account() const { return m_account; }

    // What only this build's port has, its own operations and its state:
    // ComPortBaseMembers.h of the build's port folder is part of this body.
#include "ComPortBaseMembers.h"

private:
    LineAccount m_account;
};

#endif
