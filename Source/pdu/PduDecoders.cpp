// Received SMS-DELIVER and stored SMS-SUBMIT PDUs back to numbers, time stamp
// and text. Every PDU comes from a modem listing that any SMS sender can
// shape, so each field is read through a cursor bounded by the text and
// stored within its member, whatever the PDU announces:
//   - a header field the text does not hold whole ends the decode; that member
//     and the later ones keep what the caller left in them, the result is 0;
//   - user data shorter than its UDL yields the whole octets present;
//   - a number longer than its member is cut to the member, and the cursor
//     still moves past the whole field so that later fields stay in place;
//   - non-hex characters give meaningless octets, an odd last character is
//     never read as an octet.
#include "ConsoleText.h"
#include "PduCodec.h"
#include "PduCursor.h"

#include <cstring>

namespace {

// The largest user data a length octet can announce.
const size_t kUserDataMax = 255;
// "050003": header length 5, IE 00 (concatenation, 8-bit reference), length 3.
const char kConcatHeader[] = "050003";
const size_t kConcatHeaderChars = 12;  // the template and RR TT SS
const unsigned kConcatHeaderOctets = 6;
// First octets of an SMS-DELIVER that the long-part test passes over.
const unsigned char kDeliverPlain = 0x04;
const unsigned char kDeliverWithStatusReport = 0x24;
const size_t kTimeStampChars = 14;
const size_t kTypeOfAddressChars = 2;
// Room for the semi-octets of any address a length octet can announce.
const size_t kAddressCharsMax = 2 * 255 + 2;
const unsigned char kPushIndicator = 5;
const unsigned char kPushShortForm = 1;
const unsigned char kPushLongForm = 7;
// What a push without the indicator passes over before its URL.
const size_t kPushPlainSkips[] = {36, 4, 8, 8};

// Semi-octet digits into a member, cut to what the member holds.
void StoreDigits(const char *semiOctets, size_t chars, char *member, size_t memberSize)
{
    char digits[kAddressCharsMax + 1];
    const int kept = gsmSerializeNumbers(semiOctets, digits, static_cast<int>(chars));
    const size_t stored = static_cast<size_t>(kept) < memberSize - 1 ? static_cast<size_t>(kept) : memberSize - 1;
    std::memcpy(member, digits, stored);
    member[stored] = '\0';
}

// SMS-centre information: a length octet counting the type of address and
// the digit octets. 00 announces no address (TS 27.005): an empty centre and
// the TPDU right after the length octet. Any other length is taken as it
// stands, up to 254 digits, of which smsCenter keeps the first 15.
bool ReadSmsCenter(PduCursor &cursor, SM_PARAM *pDst)
{
    unsigned char length = 0;
    if (!cursor.PeekOctet(length))
        return false;
    const size_t digitChars = length == 0 ? 0 : 2 * (static_cast<size_t>(length) - 1);
    const size_t fieldChars = 2 + (length == 0 ? 0 : kTypeOfAddressChars + digitChars);
    if (cursor.Remaining() < fieldChars)
        return false;
    StoreDigits(cursor.Here() + 2 + (length == 0 ? 0 : kTypeOfAddressChars), digitChars, pDst->smsCenter,
                sizeof(pDst->smsCenter));
    cursor.Skip(fieldChars);
    return true;
}

// Originator or destination: a length octet counting digits, the type of
// address (not examined) and the digits with 'F' fill.
bool ReadAddress(PduCursor &cursor, char *member, size_t memberSize)
{
    unsigned char digits = 0;
    if (!cursor.PeekOctet(digits))
        return false;
    const size_t digitChars = static_cast<size_t>(digits) + (digits % 2);
    const size_t fieldChars = 2 + kTypeOfAddressChars + digitChars;
    if (cursor.Remaining() < fieldChars)
        return false;
    StoreDigits(cursor.Here() + 2 + kTypeOfAddressChars, digitChars, member, memberSize);
    cursor.Skip(fieldChars);
    return true;
}

bool ReadOctet(PduCursor &cursor, unsigned char &value)
{
    return cursor.PeekOctet(value) && cursor.Skip(2);
}

int DecodeSeptets(const PduCursor &cursor, unsigned udl, SM_PARAM *pDst)
{
    unsigned char data[kUserDataMax + 1];
    const size_t octets = cursor.PeekOctets(data, (7 * static_cast<size_t>(udl) + 7) / 8);
    gsmDecode7bit(data, pDst->userText, static_cast<int>(octets));
    return static_cast<int>(udl);
}

int DecodeOctets(const PduCursor &cursor, unsigned udl, SM_PARAM *pDst)
{
    unsigned char data[kUserDataMax + 1];
    const size_t octets = cursor.PeekOctets(data, udl);
    return gsmDecode8bit(data, pDst->userText, static_cast<int>(octets));
}

int DecodeUcs2Octets(const PduCursor &cursor, unsigned octetCount, SM_PARAM *pDst)
{
    unsigned char data[kUserDataMax + 1];
    const size_t octets = cursor.PeekOctets(data, octetCount);
    // userText holds 3 bytes for each of the 127 UCS2 characters of 255
    // octets, and its cleared last byte stays the terminator.
    return gsmDecodeUcs2(data, pDst->userText, static_cast<int>(octets));
}

// A concatenated part as the decoder recognises it. The header must also fit
// the announced user data: with a UDL below 6 the octets are no header.
bool IsConcatPart(const PduCursor &cursor, unsigned char firstOctet, unsigned udl)
{
    return firstOctet != kDeliverPlain && firstOctet != kDeliverWithStatusReport &&
           cursor.Remaining() > kConcatHeaderChars && cursor.StartsWith(kConcatHeader) &&
           udl >= kConcatHeaderOctets;
}

// The header's RR, TT and SS octets.
void ReadConcatHeader(const PduCursor &cursor, unsigned char &ref, unsigned char &total, unsigned char &seq)
{
    unsigned char octets[3];
    gsmString2Bytes(cursor.Here() + 6, octets, 6);
    ref = octets[0];
    total = octets[1];
    seq = octets[2];
}

void ReadLongPart(const PduCursor &cursor, unsigned udl, SM_PARAM *pDst)
{
    unsigned char ref, total, seq;
    ReadConcatHeader(cursor, ref, total, seq);
    pDst->groupRef = ref;
    pDst->groupTotal = total;
    pDst->partNumber = seq;
    std::memset(pDst->partHex, 0, sizeof(pDst->partHex));
    size_t chars = 2 * (static_cast<size_t>(udl) - kConcatHeaderOctets);
    const size_t left = cursor.Remaining() - kConcatHeaderChars;
    if (chars > left)
        chars = left;
    if (chars > sizeof(pDst->partHex) - 1)
        chars = sizeof(pDst->partHex) - 1;
    std::memcpy(pDst->partHex, cursor.Here() + kConcatHeaderChars, chars);
    pDst->partHexLength = static_cast<int32_t>(chars);
}

// Collects a URL from the octet under the cursor up to and including its 0
// octet, or until at most one octet is left. Characters beyond what pushUrl
// holds are passed over. Returns the moves made.
int CollectUrl(PduCursor &cursor, char *url, size_t urlSize)
{
    size_t length = 0;
    int moves = 0;
    unsigned char last = 0;
    if (cursor.PeekOctet(last)) {
        while (last != 0) {
            if (!cursor.PeekOctet(last))
                break;
            if (length < urlSize - 1)
                url[length++] = static_cast<char>(last);
            if (cursor.Remaining() <= 2)
                break;
            cursor.Skip(2);
            moves++;
        }
    }
    url[length < urlSize ? length : urlSize - 1] = '\0';
    return moves;
}

unsigned char PeekOrZero(const PduCursor &cursor)
{
    unsigned char value = 0;
    cursor.PeekOctet(value);
    return value;
}

// A WAP push (data coding F5): walks the push header to its URL, then hands
// the user data to the text conversion, which only the Windows build carries
// out; what it gives is copied within userText, never cutting a character.
int DecodePush(PduCursor &cursor, unsigned udl, SM_PARAM *pDst)
{
    cursor.SkipIfMore(16);
    cursor.SkipIfMore(18);
    if (PeekOrZero(cursor) != kPushIndicator) {
        for (size_t chars : kPushPlainSkips)
            cursor.SkipIfMore(chars);
        return 2 * CollectUrl(cursor, pDst->pushUrl, sizeof(pDst->pushUrl));
    }
    cursor.SkipIfMore(6);
    cursor.SkipIfMore(10);
    CollectUrl(cursor, pDst->pushUrl, sizeof(pDst->pushUrl));
    const unsigned char form = PeekOrZero(cursor);
    cursor.SkipIfMore(2);
    if (form == kPushShortForm) {
        cursor.SkipIfMore(2);
    } else {
        cursor.SkipIfMore(2);
        const unsigned char w = PeekOrZero(cursor);
        cursor.SkipIfMore(2);
        if (w == kPushLongForm) {
            cursor.SkipIfMore(14);
            cursor.SkipIfMore(4);
            const unsigned char x = PeekOrZero(cursor);
            cursor.SkipIfMore(2);
            cursor.SkipIfMore(x == kPushLongForm ? 14 : 8);
        } else {
            cursor.SkipIfMore(8);
        }
        cursor.SkipIfMore(2);
        cursor.SkipIfMore(2);
    }

    unsigned char data[kUserDataMax + 1];
    const size_t octets = cursor.PeekOctets(data, udl);
    data[octets] = 0;
    char *converted = nullptr;
    const int result = Utf8ToGBK(reinterpret_cast<const char *>(data), &converted);
    if (converted != nullptr) {
        const size_t bytes = ConsoleTextPrefixLength(converted, result > 0 ? static_cast<size_t>(result) : 0,
                                                     sizeof(pDst->userText) - 1);
        std::memcpy(pDst->userText, converted, bytes);
        delete[] converted;
    }
    return result;
}

} // namespace

int gsmDecodePdu(const char *pSrc, SM_PARAM *pDst)
{
    if (pDst == nullptr)
        return 0;
    std::memset(pDst->userText, 0, sizeof(pDst->userText));
    PduCursor cursor(pSrc);
    if (!ReadSmsCenter(cursor, pDst))
        return 0;
    unsigned char firstOctet = 0;
    if (!ReadOctet(cursor, firstOctet))
        return 0;
    if (!ReadAddress(cursor, pDst->peerNumber, sizeof(pDst->peerNumber)))
        return 0;
    if (!ReadOctet(cursor, pDst->protocolId) || !ReadOctet(cursor, pDst->dataCoding))
        return 0;
    if (cursor.Remaining() < kTimeStampChars)
        return 0;
    StoreDigits(cursor.Here(), kTimeStampChars, pDst->timeStamp, sizeof(pDst->timeStamp));
    cursor.Skip(kTimeStampChars);
    unsigned char udl = 0;
    if (!ReadOctet(cursor, udl))
        return 0;

    const bool concat = IsConcatPart(cursor, firstOctet, udl);
    pDst->isLongPart = concat;
    if (concat)
        ReadLongPart(cursor, udl, pDst);

    switch (pDst->dataCoding) {
    case GSM_DCS_7BIT:
        // A long part's header is decoded as septets at the start of the text.
        return DecodeSeptets(cursor, udl, pDst);
    case GSM_DCS_8BIT:
        return DecodeOctets(cursor, udl, pDst);
    case GSM_DCS_PUSH:
        return DecodePush(cursor, udl, pDst);
    default:
        // Every other coding, whatever its alphabet bits say, is read as UCS2.
        if (!concat)
            return DecodeUcs2Octets(cursor, udl, pDst);
        unsigned char ref, total, seq;
        ReadConcatHeader(cursor, ref, total, seq);
        pDst->concatRef = ref;
        pDst->partTotal = total;
        pDst->partNumber = seq;
        cursor.Skip(kConcatHeaderChars);
        return DecodeUcs2Octets(cursor, udl - kConcatHeaderOctets, pDst);
    }
}

int gsmDecodeSendPdu(const char *pSrc, SM_PARAM *pDst)
{
    if (pDst == nullptr)
        return 0;
    std::memset(pDst->userText, 0, sizeof(pDst->userText));
    PduCursor cursor(pSrc);
    if (!ReadSmsCenter(cursor, pDst))
        return 0;
    // First octet and message reference; a one-octet validity period is taken
    // to follow the data coding whatever the first octet announces.
    if (!cursor.Skip(4))
        return 0;
    if (!ReadAddress(cursor, pDst->peerNumber, sizeof(pDst->peerNumber)))
        return 0;
    if (!ReadOctet(cursor, pDst->protocolId) || !cursor.PeekOctet(pDst->dataCoding) || !cursor.Skip(4))
        return 0;
    unsigned char udl = 0;
    if (!ReadOctet(cursor, udl))
        return 0;
    switch (pDst->dataCoding) {
    case GSM_DCS_7BIT:
        return DecodeSeptets(cursor, udl, pDst);
    case GSM_DCS_8BIT:
        return DecodeOctets(cursor, udl, pDst);
    default:
        return DecodeUcs2Octets(cursor, udl, pDst);
    }
}

int gsmDecodeStatusReportPdu(const char *, SM_PARAM *) { return 0; }
