// Received-message decoder against arbitrary modem lines: it must stay
// inside the line and inside every member of the record.
#include "PduCodec.h"
#include "RecordChecks.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // A listing line ends at its terminator; the decoder sees nothing past it.
    const std::string line(reinterpret_cast<const char *>(data), size);
    SM_PARAM p;
    std::memset(&p, 0, sizeof(p));
    const int result = gsmDecodePdu(line.c_str(), &p);
    CheckTerminated(p.smsCenter);
    CheckTerminated(p.peerNumber);
    CheckTerminated(p.timeStamp);
    CheckTerminated(p.userText);
    CheckTerminated(p.pushUrl);
    CheckTerminated(p.partHex);
    if (p.partHexLength < 0 || p.partHexLength >= SM_PART_HEX_SIZE ||
        static_cast<size_t>(p.partHexLength) != strnlen(p.partHex, SM_PART_HEX_SIZE))
        __builtin_trap();
    if (result < 0)
        __builtin_trap();
    // A push message has its own path: F5 is 8-bit data only elsewhere.
    if (p.dataCoding != GSM_DCS_PUSH)
        CheckEightBitAsHex(p);
    return 0;
}
