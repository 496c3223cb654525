// Read flow.
#include "CheckManager.h"

// The read flow behind menu key 2 is not built yet: the key returns to the
// menu.
void CCheckManager::OnReadAllSms()
{
}

// Key "d": the port dialogue, and then nothing. Deleting every stored
// message without a confirmation would destroy what may still be needed.
void CCheckManager::OnDelAllSms()
{
    std::vector<ComPortBaseInfo_t> ports;
    InputReadAllSmsComPort(ports);
}
