#include "ComPortLineSettings.h"

namespace {

constexpr DWORD kInputQueueBytes = 4096;
constexpr DWORD kOutputQueueBytes = 1024;

}  // namespace

bool SetComLine8N1(HANDLE hCom, int baudRate)
{
    DCB dcb = {};
    dcb.DCBlength = sizeof dcb;
    if (!GetCommState(hCom, &dcb))
        return false;
    dcb.BaudRate = static_cast<DWORD>(baudRate);
    dcb.ByteSize = 8;
    dcb.Parity = NOPARITY;
    dcb.StopBits = ONESTOPBIT;
    if (!SetCommState(hCom, &dcb))
        return false;
    SetupComm(hCom, kInputQueueBytes, kOutputQueueBytes);
    return true;
}
