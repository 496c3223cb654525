// Stored-message decoder against arbitrary modem lines.
#include "PduCodec.h"
#include "RecordChecks.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const std::string line(reinterpret_cast<const char *>(data), size);
    SM_PARAM p;
    std::memset(&p, 0, sizeof(p));
    const int result = gsmDecodeSendPdu(line.c_str(), &p);
    CheckTerminated(p.smsCenter);
    CheckTerminated(p.peerNumber);
    CheckTerminated(p.userText);
    // Members of the received-message path stay as the caller left them.
    if (p.timeStamp[0] != '\0' || p.isLongPart || p.partHexLength != 0 || p.pushUrl[0] != '\0')
        __builtin_trap();
    if (result < 0)
        __builtin_trap();
    // A stored message has no push path: F5 is 8-bit data here too.
    CheckEightBitAsHex(p);
    return 0;
}
