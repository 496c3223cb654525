// What every decoder target demands of the record it fills, whatever the
// input: each text member ends inside its own bounds, and 8-bit data reaches
// the record as whole octets of upper-case hex digits, never raw.
#ifndef ZARVEX_FUZZ_RECORD_CHECKS_H
#define ZARVEX_FUZZ_RECORD_CHECKS_H

#include <cstddef>
#include <cstring>

#include "PduCodec.h"

template <size_t N> void CheckTerminated(const char (&member)[N])
{
    if (strnlen(member, N) == N)
        __builtin_trap();
}

// userText when the data coding's alphabet is 8-bit.
inline void CheckEightBitAsHex(const SM_PARAM &p)
{
    if (gsmDataCodingAlphabet(p.dataCoding) != SmsAlphabet::EightBit)
        return;
    for (const char *c = p.userText; *c != '\0'; c++)
        if (!((*c >= '0' && *c <= '9') || (*c >= 'A' && *c <= 'F')))
            __builtin_trap();
    if (strnlen(p.userText, sizeof(p.userText)) % 2 != 0)
        __builtin_trap();
}

#endif
