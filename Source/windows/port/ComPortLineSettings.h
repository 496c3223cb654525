// The line settings that every use of a COM port starts from, the flows'
// port and the probe's line alike.
#ifndef ZARVEX_COM_PORT_LINE_SETTINGS_H
#define ZARVEX_COM_PORT_LINE_SETTINGS_H

#include <windows.h>

// 8 data bits, no parity, one stop bit at `baudRate`, then the driver's
// queue sizes. False when the line's state could not be read or was
// refused; the queues are sized only once the line took its settings.
bool SetComLine8N1(HANDLE hCom, int baudRate);

#endif
