// Hex text, septet packing, 8-bit copies and semi-octet digit order: the
// conversions from which the PDU encoders and decoders are built.
#include "GsmAlphabet.h"
#include "PduCodec.h"

#include <cstring>

namespace {

const char kHexDigits[] = "0123456789ABCDEF";

// Modems write upper case; other characters follow the arithmetic rule, and
// unsigned arithmetic keeps hostile bytes (negative chars included) defined.
unsigned HexValue(char c)
{
    if (c >= '0' && c <= '9')
        return static_cast<unsigned>(c - '0');
    return static_cast<unsigned>(static_cast<int>(c) - 55);
}

// The septet value of a character that the packing can hold.
unsigned char ToSeptet(char c)
{
    const unsigned char u = static_cast<unsigned char>(c);
    // A byte above 127 would spill into its neighbour's bits.
    return u > pdutext::kSeptetMask ? static_cast<unsigned char>('?') : u;
}

// Swaps each character pair of an even count of characters.
int SwapPairs(const char *pSrc, char *pDst, int count)
{
    int written = 0;
    for (int i = 0; i < count; i += 2) {
        pDst[written++] = pSrc[i + 1];
        pDst[written++] = pSrc[i];
    }
    return written;
}

} // namespace

int gsmString2Bytes(const char *pSrc, unsigned char *pDst, int nSrcLength)
{
    if (nSrcLength <= 0)
        return 0;
    for (int i = 0; i < nSrcLength; i += 2) {
        const unsigned high = (HexValue(pSrc[i]) << 4) & 0xFF;
        pDst[i / 2] = static_cast<unsigned char>(high | HexValue(pSrc[i + 1]));
    }
    return nSrcLength / 2;
}

int gsmBytes2String(const unsigned char *pSrc, char *pDst, int nSrcLength)
{
    const int count = nSrcLength > 0 ? nSrcLength : 0;
    for (int i = 0; i < count; i++) {
        pDst[2 * i] = kHexDigits[pSrc[i] >> 4];
        pDst[2 * i + 1] = kHexDigits[pSrc[i] & 0x0F];
    }
    pDst[2 * count] = '\0';
    return 2 * count;
}

int gsmEncode7bit(const char *pSrc, unsigned char *pDst, int nSrcLength)
{
    int written = 0;
    unsigned held = 0;
    for (int i = 0; i < nSrcLength; i++) {
        const int shift = i % 8;
        const unsigned septet = ToSeptet(pSrc[i]);
        if (shift == 0) {
            held = septet;
            continue;
        }
        pDst[written++] = static_cast<unsigned char>(((septet << (8 - shift)) | held) & 0xFF);
        held = septet >> shift;
    }
    if (nSrcLength > 0 && nSrcLength % 8 != 0)
        pDst[written++] = static_cast<unsigned char>(held);
    return written;
}

int gsmDecode7bit(const unsigned char *pSrc, char *pDst, int nSrcLength)
{
    int count = nSrcLength > 0 ? nSrcLength : 0;
    if (count > GSM_7BIT_MAX_OCTETS)
        count = GSM_7BIT_MAX_OCTETS;
    const size_t septets = pdutext::SeptetsInOctets(static_cast<size_t>(count));
    const size_t size = GSM_7BIT_TEXT_BYTES_PER_SEPTET * septets + 1;
    return static_cast<int>(pdutext::GsmSeptetsToConsoleText(pSrc, 0, septets, pDst, size));
}

int gsmEncode8bit(const char *pSrc, unsigned char *pDst, int nSrcLength)
{
    const int count = nSrcLength > 0 ? nSrcLength : 0;
    if (count > 0)
        std::memcpy(pDst, pSrc, static_cast<size_t>(count));
    return count;
}

int gsmDecode8bit(const unsigned char *pSrc, char *pDst, int nSrcLength)
{
    const int count = nSrcLength > 0 ? nSrcLength : 0;
    if (count > 0)
        std::memcpy(pDst, pSrc, static_cast<size_t>(count));
    pDst[count] = '\0';
    return count;
}

int gsmInvertNumbers(const char *pSrc, char *pDst, int nSrcLength)
{
    const int count = nSrcLength > 0 ? nSrcLength : 0;
    const int even = count - count % 2;
    int written = SwapPairs(pSrc, pDst, even);
    if (count % 2 != 0) {
        pDst[written++] = 'F';
        pDst[written++] = pSrc[count - 1];
    }
    pDst[written] = '\0';
    return written;
}

int gsmSerializeNumbers(const char *pSrc, char *pDst, int nSrcLength)
{
    const int count = nSrcLength > 0 ? nSrcLength : 0;
    const int even = count - count % 2;
    int written = SwapPairs(pSrc, pDst, even);
    if (count % 2 != 0)
        pDst[written++] = pSrc[count - 1];
    if (written > 0 && pDst[written - 1] == 'F')
        written--;
    pDst[written] = '\0';
    return written;
}
