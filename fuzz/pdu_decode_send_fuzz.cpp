// Stored-message decoder against arbitrary modem lines.
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

// 8-bit data reaches the record as hex digits only, whatever its octets (a
// stored message has no push path: F5 is 8-bit data here).
void CheckEightBitAsHex(const SM_PARAM &p)
{
    if (gsmDataCodingAlphabet(p.dataCoding) != SmsAlphabet::EightBit)
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
    CheckEightBitAsHex(p);
    return 0;
}
