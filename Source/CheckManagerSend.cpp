// Send process and results.
#include "CheckManager.h"

// The send flow behind menu key 1 is not built yet: the key returns to the
// menu.
void CCheckManager::OnSendPDUSms()
{
}
