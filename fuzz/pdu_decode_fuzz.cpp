// Received-message decoder against arbitrary modem lines: it must stay
// inside the line and inside every member of the record.
#include "PduCodec.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

namespace {

template <size_t N> void CheckTerminated(const char (&member)[N])
{
    if (strnlen(member, N) == N)
        __builtin_trap();
}

// 8-bit data reaches the record as hex digits only, whatever its octets.
void CheckEightBitAsHex(const SM_PARAM &p)
{
    if (p.dataCoding == GSM_DCS_PUSH || gsmDataCodingAlphabet(p.dataCoding) != SmsAlphabet::EightBit)
        return;
    for (const char *c = p.userText; *c != '\0'; c++)
        if (!((*c >= '0' && *c <= '9') || (*c >= 'A' && *c <= 'F')))
            __builtin_trap();
    if (strnlen(p.userText, sizeof(p.userText)) % 2 != 0)
        __builtin_trap();
}

} // namespace

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
    CheckEightBitAsHex(p);
    return 0;
}
