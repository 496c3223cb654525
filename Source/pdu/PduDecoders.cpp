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
//     never read as an octet;
//   - a user-data header is passed over by its own length in every coding,
//     but never beyond the user data or the line, whatever that length says;
//   - the alphabet comes from the data coding's group: a flash or class-1
//     7-bit text is no UCS2, and octets of data never reach the console raw.
#include "ConsoleText.h"
#include "GsmAlphabet.h"
#include "PduCodec.h"
#include "PduCursor.h"

#include <algorithm>
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
// TP-UDHI: the user data opens with a header (TS 23.040 9.2.3.23).
const unsigned char kUserDataHeaderIndicator = 0x40;
// Header elements that make a part of a concatenated message: an 8-bit
// reference (00) and a 16-bit one (08), each followed by total and sequence.
const unsigned char kIeiConcat8BitRef = 0x00;
const unsigned char kIeiConcat8BitRefLength = 3;
const unsigned char kIeiConcat16BitRef = 0x08;
const unsigned char kIeiConcat16BitRefLength = 4;
using pdutext::kBitsPerOctet;
using pdutext::kBitsPerSeptet;
const size_t kTimeStampChars = 14;
// What a stored SMS-SUBMIT holds where an SMS-DELIVER has none: the message
// reference after the first octet, a validity period after the data coding.
const size_t kMessageReferenceChars = 2;
const size_t kValidityPeriodChars = 2;
const size_t kTypeOfAddressChars = 2;
// The type of number, bits 4 to 6 of the type of address (TS 23.040 9.1.2.5):
// 5 is a name in the GSM alphabet, such as a bank's or an operator's.
const unsigned kTypeOfNumberShift = 4;
const unsigned char kTypeOfNumberMask = 0x07;
const unsigned char kTypeOfNumberAlphanumeric = 5;
const size_t kBitsPerSemiOctet = 4;
// Room for the semi-octets of any address a length octet can announce.
const size_t kAddressCharsMax = 2 * 255 + 2;
// Coding groups of the data coding scheme (TS 23.038 4). Groups 00 and 01
// (general data coding, automatic deletion) are told by bits 7 and 6 and
// share their layout: bit 5 compression, bits 3 and 2 the alphabet.
const unsigned char kGeneralGroupMask = 0xC0;
const unsigned char kGeneralGroup = 0x00;
const unsigned char kAutoDeletionGroup = 0x40;
const unsigned char kCompressedBit = 0x20;
const unsigned char kAlphabetMask = 0x0C;
const unsigned char kAlphabet7Bit = 0x00;
const unsigned char kAlphabet8Bit = 0x04;
const unsigned char kAlphabetUcs2 = 0x08;
// The other groups are told by bits 7 to 4.
const unsigned char kGroupMask = 0xF0;
const unsigned char kWaitingDiscardGroup = 0xC0;   // 7-bit
const unsigned char kWaitingStoreGroup = 0xD0;     // 7-bit
const unsigned char kWaitingStoreUcs2Group = 0xE0;
const unsigned char kDataClassGroup = 0xF0;        // bit 2: 8-bit, else 7-bit
const unsigned char kDataClass8BitBit = 0x04;
// Shown in place of a compressed text: nothing here expands one, and its
// octets read as any alphabet would be garbage.
const char kCompressedText[] = "[压缩短信，无法解码]";

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

bool IsAlphanumeric(unsigned char typeOfAddress)
{
    return ((typeOfAddress >> kTypeOfNumberShift) & kTypeOfNumberMask) == kTypeOfNumberAlphanumeric;
}

// A name: its semi-octets hold (semiOctets * 4) / 7 septets of the GSM
// alphabet, read from the field's own octets only.
void StoreName(const PduCursor &field, size_t semiOctets, char *member, size_t memberSize)
{
    unsigned char octets[kAddressCharsMax / 2];
    const size_t present = field.PeekOctets(octets, (semiOctets + 1) / 2);
    const size_t septets =
        std::min(kBitsPerSemiOctet * semiOctets / kBitsPerSeptet, pdutext::SeptetsInOctets(present));
    pdutext::GsmSeptetsToConsoleText(octets, 0, septets, member, memberSize);
}

// Originator or destination: a length octet counting the useful semi-octets,
// the type of address, then the digits with 'F' fill or a name.
bool ReadAddress(PduCursor &cursor, char *member, size_t memberSize)
{
    unsigned char semiOctets = 0;
    if (!cursor.PeekOctet(semiOctets))
        return false;
    const size_t digitChars = static_cast<size_t>(semiOctets) + (semiOctets % 2);
    const size_t fieldChars = 2 + kTypeOfAddressChars + digitChars;
    if (cursor.Remaining() < fieldChars)
        return false;
    PduCursor field = cursor;
    field.Skip(2);
    unsigned char typeOfAddress = 0;
    field.PeekOctet(typeOfAddress);
    field.Skip(kTypeOfAddressChars);
    if (IsAlphanumeric(typeOfAddress))
        StoreName(field, semiOctets, member, memberSize);
    else
        StoreDigits(field.Here(), digitChars, member, memberSize);
    cursor.Skip(fieldChars);
    return true;
}

bool ReadOctet(PduCursor &cursor, unsigned char &value)
{
    return cursor.PeekOctet(value) && cursor.Skip(2);
}

// What tells an SMS-DELIVER's header from a stored SMS-SUBMIT's.
enum class TpduKind { Deliver, Submit };

// The header fields that decide how the user data is read.
struct TpduHeader {
    unsigned char firstOctet = 0;
    unsigned char udl = 0;
};

// Clears pDst's text, then walks the header from the SMS centre to the
// user-data length, storing its fields in pDst, and leaves the cursor at the
// user data. False when there is no pDst or the text does not hold the header
// whole; pDst then keeps what the walk stored before the missing field.
bool ReadTpduHeader(PduCursor &cursor, TpduKind kind, SM_PARAM *pDst, TpduHeader &tpdu)
{
    if (pDst == nullptr)
        return false;
    std::memset(pDst->userText, 0, sizeof(pDst->userText));
    if (!ReadSmsCenter(cursor, pDst) || !ReadOctet(cursor, tpdu.firstOctet))
        return false;
    if (kind == TpduKind::Submit && !cursor.Skip(kMessageReferenceChars))
        return false;
    if (!ReadAddress(cursor, pDst->peerNumber, sizeof(pDst->peerNumber)))
        return false;
    if (!ReadOctet(cursor, pDst->protocolId) || !ReadOctet(cursor, pDst->dataCoding))
        return false;
    if (kind == TpduKind::Submit) {
        // The validity period is taken to be one octet whatever the first
        // octet announces.
        if (!cursor.Skip(kValidityPeriodChars))
            return false;
    } else {
        if (cursor.Remaining() < kTimeStampChars)
            return false;
        StoreDigits(cursor.Here(), kTimeStampChars, pDst->timeStamp, sizeof(pDst->timeStamp));
        cursor.Skip(kTimeStampChars);
    }
    return ReadOctet(cursor, tpdu.udl);
}

// userText is sized for the septets of the largest UDL, read as octets.
static_assert(kBitsPerOctet * ((kBitsPerSeptet * kUserDataMax + kBitsPerOctet - 1) / kBitsPerOctet) /
                      kBitsPerSeptet <=
                  static_cast<size_t>(SM_USER_DATA_MAX_SEPTETS),
              "userText holds the text of a UDL's septets");

// Exactly the UDL's septets: the fill bits of the last octet are no
// character the sender wrote, and would read as a trailing '@'.
int DecodeSeptets(const PduCursor &cursor, unsigned udl, SM_PARAM *pDst)
{
    unsigned char data[kUserDataMax + 1];
    const size_t octets = cursor.PeekOctets(data, (7 * static_cast<size_t>(udl) + 7) / 8);
    const size_t septets = std::min(static_cast<size_t>(udl), pdutext::SeptetsInOctets(octets));
    pdutext::GsmSeptetsToConsoleText(data, 0, septets, pDst->userText, sizeof pDst->userText);
    return static_cast<int>(udl);
}

// userText holds every octet of the largest user data as two hex digits.
static_assert(2 * kUserDataMax < static_cast<size_t>(SM_USER_TEXT_SIZE), "userText holds 255 octets as hex");

// 8-bit data is no text in any alphabet: copied as it stands, a zero octet
// would end it and other octets would reach the console as controls. Hex
// digits show it whole on one line.
int DecodeOctets(const PduCursor &cursor, unsigned udl, SM_PARAM *pDst)
{
    unsigned char data[kUserDataMax + 1];
    const size_t octets = cursor.PeekOctets(data, udl);
    gsmBytes2String(data, pDst->userText, static_cast<int>(octets));
    return static_cast<int>(octets);
}

int DecodeCompressed(unsigned udl, SM_PARAM *pDst)
{
    static_assert(sizeof(kCompressedText) <= sizeof(pDst->userText), "the note fits userText");
    std::memcpy(pDst->userText, kCompressedText, sizeof(kCompressedText));
    return static_cast<int>(udl);
}

int DecodeUcs2Octets(const PduCursor &cursor, unsigned octetCount, SM_PARAM *pDst)
{
    unsigned char data[kUserDataMax + 1];
    const size_t octets = cursor.PeekOctets(data, octetCount);
    // userText holds 3 bytes for each of the 127 UCS2 characters of 255
    // octets, and its cleared last byte stays the terminator.
    return gsmDecodeUcs2(data, pDst->userText, static_cast<int>(octets));
}

// The octets that hold a UDL's user data: the UDL itself, or for septets the
// octets that many septets fill. A compressed text's UDL counts octets.
size_t UserDataOctets(unsigned udl, SmsAlphabet alphabet)
{
    if (alphabet == SmsAlphabet::Gsm7Bit)
        return (kBitsPerSeptet * udl + kBitsPerOctet - 1) / kBitsPerOctet;
    return udl;
}

// The "050003" form that has always been taken for a concatenated part, the
// header indicator set or not. The header must also fit the announced user
// data: with a UDL below 6 the octets are no header.
bool IsConcatPart(const PduCursor &cursor, unsigned char firstOctet, unsigned udl)
{
    return firstOctet != kDeliverPlain && firstOctet != kDeliverWithStatusReport &&
           cursor.Remaining() > kConcatHeaderChars && cursor.StartsWith(kConcatHeader) &&
           udl >= kConcatHeaderOctets;
}

// A user-data header as far as the user data and the line hold it.
struct UserDataHeader {
    size_t octets = 0;  // the length octet and the elements it announces
    bool concat = false;
    unsigned ref = 0;
    unsigned char total = 0;
    unsigned char seq = 0;
};

// Reads the header at the start of the user data. Elements are read only
// from the octets that both the header length and the user data cover; an
// element that runs past them ends the walk.
UserDataHeader ReadUserDataHeader(const PduCursor &cursor, size_t userDataOctets)
{
    UserDataHeader header;
    unsigned char data[kUserDataMax + 1];
    const size_t present = cursor.PeekOctets(data, std::min(userDataOctets, kUserDataMax));
    if (present == 0)
        return header;
    header.octets = 1 + static_cast<size_t>(data[0]);
    const size_t end = std::min(header.octets, present);
    for (size_t at = 1; at + 2 <= end;) {
        const unsigned char iei = data[at];
        const unsigned char length = data[at + 1];
        const unsigned char *value = data + at + 2;
        at += 2 + static_cast<size_t>(length);
        if (at > end)
            break;
        if (header.concat)
            continue;
        if (iei == kIeiConcat8BitRef && length == kIeiConcat8BitRefLength) {
            header.ref = value[0];
            header.total = value[1];
            header.seq = value[2];
            header.concat = true;
        } else if (iei == kIeiConcat16BitRef && length == kIeiConcat16BitRefLength) {
            header.ref = static_cast<unsigned>(value[0]) << 8 | value[1];
            header.total = value[2];
            header.seq = value[3];
            header.concat = true;
        }
    }
    return header;
}

// A part made by a concatenation element of a header that lies whole within
// the user data and the line, with something after it in the line (as for
// "050003", a line that ends with the header is not taken as a part).
bool IsHeaderLongPart(const PduCursor &cursor, const UserDataHeader &header, size_t userDataOctets)
{
    return header.concat && header.octets <= userDataOctets && cursor.Remaining() > 2 * header.octets;
}

// The part's reference, total and sequence, and its user data after the
// header as hex text, for the joining of the parts.
void StoreLongPart(const PduCursor &cursor, const UserDataHeader &header, size_t userDataOctets,
                   SM_PARAM *pDst)
{
    pDst->groupRef = static_cast<uint16_t>(header.ref);
    pDst->groupTotal = header.total;
    pDst->partNumber = header.seq;
    std::memset(pDst->partHex, 0, sizeof(pDst->partHex));
    const size_t headerChars = 2 * header.octets;
    size_t chars = 2 * (userDataOctets - header.octets);
    chars = std::min(chars, cursor.Remaining() - headerChars);
    chars = std::min(chars, sizeof(pDst->partHex) - 1);
    std::memcpy(pDst->partHex, cursor.Here() + headerChars, chars);
    pDst->partHexLength = static_cast<int32_t>(chars);
}

// Septet text after a header of `headerOctets`: it starts at the first septet
// boundary after the header (past the fill bits) and ends with the UDL's
// septets or with the line.
int DecodeSeptetsAfterHeader(const PduCursor &cursor, unsigned udl, size_t headerOctets, SM_PARAM *pDst)
{
    unsigned char data[kUserDataMax + 1];
    const size_t octets = cursor.PeekOctets(data, UserDataOctets(udl, SmsAlphabet::Gsm7Bit));
    const size_t firstSeptet = (kBitsPerOctet * headerOctets + kBitsPerSeptet - 1) / kBitsPerSeptet;
    const size_t lastSeptet = std::min(static_cast<size_t>(udl), pdutext::SeptetsInOctets(octets));
    if (firstSeptet < lastSeptet)
        pdutext::GsmSeptetsToConsoleText(data, firstSeptet, lastSeptet - firstSeptet, pDst->userText,
                                         sizeof(pDst->userText));
    return static_cast<int>(udl);
}

// The user data with its header passed over, decoded in its alphabet. The
// header is passed over only as far as the user data and the line reach.
int DecodeAfterHeader(PduCursor cursor, unsigned udl, size_t headerOctets, SmsAlphabet alphabet, SM_PARAM *pDst)
{
    if (alphabet == SmsAlphabet::Gsm7Bit)
        return DecodeSeptetsAfterHeader(cursor, udl, headerOctets, pDst);
    if (alphabet == SmsAlphabet::Compressed)
        return DecodeCompressed(udl, pDst);
    const size_t skipped = std::min(headerOctets, static_cast<size_t>(udl));
    cursor.SkipUpTo(2 * skipped);
    const unsigned rest = udl - static_cast<unsigned>(skipped);
    if (alphabet == SmsAlphabet::EightBit)
        return DecodeOctets(cursor, rest, pDst);
    return DecodeUcs2Octets(cursor, rest, pDst);
}

// The user data without a header, decoded in its alphabet.
int DecodeUserData(const PduCursor &cursor, unsigned udl, SmsAlphabet alphabet, SM_PARAM *pDst)
{
    switch (alphabet) {
    case SmsAlphabet::Gsm7Bit:
        return DecodeSeptets(cursor, udl, pDst);
    case SmsAlphabet::EightBit:
        return DecodeOctets(cursor, udl, pDst);
    case SmsAlphabet::Compressed:
        return DecodeCompressed(udl, pDst);
    case SmsAlphabet::Ucs2:
        break;
    }
    return DecodeUcs2Octets(cursor, udl, pDst);
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

SmsAlphabet gsmDataCodingAlphabet(unsigned char dataCoding)
{
    const unsigned char group = dataCoding & kGeneralGroupMask;
    if (group == kGeneralGroup || group == kAutoDeletionGroup) {
        if ((dataCoding & kCompressedBit) != 0)
            return SmsAlphabet::Compressed;
        switch (dataCoding & kAlphabetMask) {
        case kAlphabet7Bit:
            return SmsAlphabet::Gsm7Bit;
        case kAlphabet8Bit:
            return SmsAlphabet::EightBit;
        case kAlphabetUcs2:
        default:
            return SmsAlphabet::Ucs2;
        }
    }
    switch (dataCoding & kGroupMask) {
    case kWaitingDiscardGroup:
    case kWaitingStoreGroup:
        return SmsAlphabet::Gsm7Bit;
    case kDataClassGroup:
        return (dataCoding & kDataClass8BitBit) != 0 ? SmsAlphabet::EightBit : SmsAlphabet::Gsm7Bit;
    case kWaitingStoreUcs2Group:
    default:
        return SmsAlphabet::Ucs2;
    }
}

int gsmDecodePdu(const char *pSrc, SM_PARAM *pDst)
{
    PduCursor cursor(pSrc);
    TpduHeader tpdu;
    if (!ReadTpduHeader(cursor, TpduKind::Deliver, pDst, tpdu))
        return 0;

    // A push walks its own header from the start of the user data.
    const bool push = pDst->dataCoding == GSM_DCS_PUSH;
    const SmsAlphabet alphabet = gsmDataCodingAlphabet(pDst->dataCoding);
    const bool fixedFormConcat = IsConcatPart(cursor, tpdu.firstOctet, tpdu.udl);
    const bool hasHeader = fixedFormConcat || (!push && (tpdu.firstOctet & kUserDataHeaderIndicator) != 0);
    const size_t userDataOctets = UserDataOctets(tpdu.udl, alphabet);
    UserDataHeader header;
    if (hasHeader)
        header = ReadUserDataHeader(cursor, userDataOctets);
    const bool longPart = fixedFormConcat || (!push && IsHeaderLongPart(cursor, header, userDataOctets));
    pDst->isLongPart = longPart;
    if (longPart)
        StoreLongPart(cursor, header, userDataOctets, pDst);

    if (push)
        return DecodePush(cursor, tpdu.udl, pDst);
    if (alphabet == SmsAlphabet::Ucs2 && longPart) {
        // The UCS2 path alone keeps these (the low octet of a 16-bit
        // reference).
        pDst->concatRef = static_cast<unsigned char>(header.ref);
        pDst->partTotal = header.total;
    }
    if (hasHeader)
        return DecodeAfterHeader(cursor, tpdu.udl, header.octets, alphabet, pDst);
    return DecodeUserData(cursor, tpdu.udl, alphabet, pDst);
}

int gsmDecodeSendPdu(const char *pSrc, SM_PARAM *pDst)
{
    PduCursor cursor(pSrc);
    TpduHeader tpdu;
    if (!ReadTpduHeader(cursor, TpduKind::Submit, pDst, tpdu))
        return 0;
    const SmsAlphabet alphabet = gsmDataCodingAlphabet(pDst->dataCoding);
    // A stored part of a long message is shown as it stands, without its header.
    if ((tpdu.firstOctet & kUserDataHeaderIndicator) != 0) {
        const UserDataHeader header = ReadUserDataHeader(cursor, UserDataOctets(tpdu.udl, alphabet));
        return DecodeAfterHeader(cursor, tpdu.udl, header.octets, alphabet, pDst);
    }
    return DecodeUserData(cursor, tpdu.udl, alphabet, pDst);
}
