// The system's error codes of a serial port turned into what the program
// shows and decides on.
#ifndef ZARVEX_COM_PORT_ERROR_H
#define ZARVEX_COM_PORT_ERROR_H

#include <windows.h>

#include <string>

#include "PortFailureKind.h"

// The system's message for `code` (GetLastError() when 0), as the system
// words it, its own line end included; "{未定义错误描述(<code>)}" when the
// system has none.
std::string FormatLastErrorMsg(int code);

// "Code:<code>   " and the system's message: the port's error text.
std::string FormatComErrorText(DWORD code);

// The kind of a failure: opening a port that is not there, or a device
// that went away under an open handle (USB adapters unplugged report
// several codes; Wine reports a closed pseudo-terminal as not ready).
PortFailureKind OpenFailureKind(DWORD code);
PortFailureKind IoFailureKind(DWORD code);

#endif
