// A Windows program of the tests: one scan, then the flow of menu key 1 (send)
// or 2 (read) with the answers on standard input. Wine's console on a
// terminal shows the program's GBK texts garbled; through pipes every byte of
// these flows can be compared.
#include <cstring>

#include "CheckManager.h"

int main(int argc, char **argv)
{
    if (argc != 2)
        return 2;
    CCheckManager manager;
    manager.OnScanPort();
    if (std::strcmp(argv[1], "send") == 0)
        manager.OnSendPDUSms();
    else if (std::strcmp(argv[1], "read") == 0)
        manager.OnReadAllSms();
    else
        return 2;
    return 0;
}
