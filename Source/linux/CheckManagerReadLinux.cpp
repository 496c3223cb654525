// The part of the read flow that only the Linux build has: clearing a
// modem's storage. Nothing calls it (key "d" deletes nothing); it stays with
// the runner it needs.
#include "CheckManager.h"
#include "ComPortBase.h"

bool CCheckManager::DeleteAllSmsByPhone(CPhoneCardBase *phone, CComPortBase *port)
{
    if (phone == nullptr || port == nullptr || !port->Open())
        return false;
    const bool deleted = RunComCmdDelAllSms(phone, port);
    port->Close();
    return deleted;
}
