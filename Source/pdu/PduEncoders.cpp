// Message text to SMS-SUBMIT PDUs: one UCS2 message with its AT+CMGS length,
// or the parts of a concatenated message with a rolling reference number.
#include "PduCodec.h"
#include "PduReference.h"
#include "SubmitFields.h"
#include "Ucs2Units.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

namespace pdutext {

const char kMessageReference[] = "00";
const char kInternational[] = "91";

std::string NumberDigits(const char *member, size_t memberSize)
{
    std::string digits(member, strnlen(member, memberSize));
    if (!digits.empty() && digits[0] == '+')
        digits.erase(0, 1);
    return digits;
}

std::string SemiOctets(const std::string &digits)
{
    std::vector<char> out(digits.size() + 2);
    const int n = gsmInvertNumbers(digits.c_str(), out.data(), static_cast<int>(digits.size()));
    return std::string(out.data(), static_cast<size_t>(n));
}

std::string Hex2(unsigned value)
{
    char text[12];  // any unsigned value in hex
    std::snprintf(text, sizeof(text), "%02X", value);
    return text;
}

std::string SmsCenterFieldPart(const SM_PARAM *pSrc)
{
    const std::string digits = NumberDigits(pSrc->smsCenter, sizeof(pSrc->smsCenter));
    const unsigned octets = static_cast<unsigned>((digits.size() + 1) / 2 + 1);
    return Hex2(octets) + kInternational + SemiOctets(digits);
}

int CopyHead(const std::string &head, char *pDst, bool terminate)
{
    size_t n = head.size();
    if (n > static_cast<size_t>(SM_SUBMIT_HEAD_SIZE - 1))
        n = SM_SUBMIT_HEAD_SIZE - 1;
    std::memcpy(pDst, head.data(), n);
    if (terminate)
        pDst[n] = '\0';
    return static_cast<int>(n);
}

} // namespace pdutext

namespace {

using pdutext::CopyHead;
using pdutext::Hex2;
using pdutext::kInternational;
using pdutext::kMessageReference;
using pdutext::NumberDigits;
using pdutext::SemiOctets;
using pdutext::SmsCenterFieldPart;

// First octets: SMS-SUBMIT with a relative validity period; with a user-data
// header too (concatenated parts).
const char kSubmitFirstOctet[] = "11";
const char kPartFirstOctet[] = "51";
const char kNationalNew[] = "81";       // gsmEncodePduNew without country prefix
const char kNationalPart[] = "A1";      // GetSubmitPdu without country prefix
const char kPidDcsVpUcs2[] = "0008AA";  // PID 00, UCS2, 4 days
const char kCtrlZ = 0x1A;

const unsigned char kDcsFlashUcs2 = 0x18;
const unsigned char kDcsFlashOther = 0x10;

// Relative validity period (TS 23.040 9.2.3.12.1).
const int kValidityDefaultMinutes = 0;
const unsigned char kValidity24Hours = 0xA7;
const unsigned char kValidity2Days = 0xA8;
const unsigned char kValidity63Weeks = 0xFF;
const int kValidityFiveMinuteSteps = 720;
const int kValidityHalfHourSteps = 1440;
const int kValidityTwoDays = 2880;

// Concatenation: 7-bit parts use the 16-bit reference element, the others
// the 8-bit one.
const char kSeptetPartUdl[] = "A0";      // 160 septets
const char kSeptetPartHeader[] = "060804";
const char kOctetPartHeader[] = "050003";
const size_t kSeptetPartOctets = 133;    // 152 whole septets
const size_t kOctetPartOctets = 134;
const int kOctetHeaderOctets = 6;
const int kSeptetHeaderSeptets = 8;
const size_t kMaxParts = 255;            // TT is one octet
const int kReferenceMax = 255;

// The concatenation reference: seeded once per process, advanced per message.
int16_t g_sSplitIndex = 0;
bool bInitSplitIndex = false;

std::string HexOctets(const unsigned char *octets, int count)
{
    std::vector<char> text(2 * static_cast<size_t>(count > 0 ? count : 0) + 1);
    gsmBytes2String(octets, text.data(), count);
    return std::string(text.data());
}

// "L 91 digits", L written as '0' + L / 16 and '0' + L % 16, which is its hex
// form for every centre number the member holds (L at most 9).
std::string SmsCenterFieldNew(const SM_PARAM *pSrc)
{
    const std::string body = kInternational + SemiOctets(NumberDigits(pSrc->smsCenter, sizeof(pSrc->smsCenter)));
    const size_t octets = body.size() / 2;
    std::string field;
    field += static_cast<char>('0' + octets / 16);
    field += static_cast<char>('0' + octets % 16);
    return field + body;
}

std::string Destination(const SM_PARAM *pSrc, const char *noCountryType)
{
    const std::string digits = NumberDigits(pSrc->peerNumber, sizeof(pSrc->peerNumber));
    return Hex2(static_cast<unsigned>(digits.size())) + (pSrc->noCountryCode ? noCountryType : kInternational) +
           SemiOctets(digits);
}

unsigned char DataCodingOf(const SM_PARAM *pSrc)
{
    if (!pSrc->flash)
        return pSrc->dataCoding;
    return pSrc->dataCoding == GSM_DCS_UCS2 ? kDcsFlashUcs2 : kDcsFlashOther;
}

unsigned char ValidityPeriodOf(int minutes)
{
    if (minutes == kValidityDefaultMinutes)
        return kValidity24Hours;
    if (minutes <= kValidityFiveMinuteSteps)
        return static_cast<unsigned char>((minutes / 5 - 1) & 0xFF);
    if (minutes <= kValidityHalfHourSteps)
        return static_cast<unsigned char>((minutes - kValidityFiveMinuteSteps) / 30 + 143);
    if (minutes <= kValidityTwoDays)
        return kValidity2Days;
    return kValidity63Weeks;
}

int NextReference()
{
    g_sSplitIndex = AdvanceSplitIndex(g_sSplitIndex, bInitSplitIndex, SplitIndexSeedClock());
    return g_sSplitIndex;
}

// The whole text coded for the parts.
std::vector<unsigned char> EncodeLongText(const char *text, size_t length, unsigned char dataCoding)
{
    std::vector<unsigned char> octets(2 * (length + 1));
    const int n = static_cast<int>(length);
    int count;
    if (dataCoding == GSM_DCS_7BIT)
        count = gsmEncode7bit(text, octets.data(), n);
    else if (dataCoding == GSM_DCS_8BIT)
        count = gsmEncode8bit(text, octets.data(), n);
    else
        count = gsmEncodeUcs2(text, octets.data(), n);
    octets.resize(count > 0 ? static_cast<size_t>(count) : 0);
    return octets;
}

// Where each part's octets end. Septets and 8-bit data are cut at the part
// size. A UCS2 part that would end on the first half of a surrogate pair ends
// one unit earlier: a phone shows each part on its own, and a pair cut in two
// is two broken characters, not the emoji that was sent.
std::vector<size_t> PartEnds(const std::vector<unsigned char> &octets, unsigned char dataCoding)
{
    const bool ucs2 = dataCoding != GSM_DCS_7BIT && dataCoding != GSM_DCS_8BIT;
    const size_t room = dataCoding == GSM_DCS_7BIT ? kSeptetPartOctets : kOctetPartOctets;
    std::vector<size_t> ends;
    for (size_t start = 0; start < octets.size() && ends.size() <= kMaxParts; start = ends.back())
        ends.push_back(ucs2 ? pdutext::Ucs2PartEnd(octets.data(), octets.size(), start, room)
                            : std::min(start + room, octets.size()));
    return ends;
}

} // namespace

int16_t AdvanceSplitIndex(int16_t current, bool &seeded, std::int64_t clock)
{
    if (!seeded) {
        seeded = true;
        current = static_cast<int16_t>(clock % kReferenceMax);
    }
    // 255 wraps to 1; a clock before 1970 seeds below 0 and starts at 1 too.
    if (current < 0 || current >= kReferenceMax)
        return 1;
    return static_cast<int16_t>(current + 1);
}

std::string gsmEncodePduNew(const SM_PARAM *pSrc, std::string &strCmd)
{
    const size_t textLength = strnlen(pSrc->userText, SM_SUBMIT_TEXT_MAX);
    unsigned char ucs2[2 * SM_SUBMIT_TEXT_MAX];
    const int octets = gsmEncodeUcs2(pSrc->userText, ucs2, static_cast<int>(textLength));

    const std::string tpdu = std::string(kSubmitFirstOctet) + kMessageReference + Destination(pSrc, kNationalNew) +
                             kPidDcsVpUcs2 + Hex2(static_cast<unsigned>(octets)) + HexOctets(ucs2, octets);
    // TS 27.005: the length counts the TPDU only, not the SMS-centre field.
    strCmd = "AT+CMGS=" + std::to_string(tpdu.size() / 2) + "\r";
    return SmsCenterFieldNew(pSrc) + tpdu + kCtrlZ;
}

int GetSubmitPdu(const SM_PARAM *pSrc, char *pDst)
{
    const std::string head = SmsCenterFieldPart(pSrc) + kPartFirstOctet + kMessageReference +
                             Destination(pSrc, kNationalPart) + Hex2(pSrc->protocolId) + Hex2(DataCodingOf(pSrc)) +
                             Hex2(ValidityPeriodOf(pSrc->validityMinutes));
    return CopyHead(head, pDst, true);
}

void gsmLongSmsPdu(const SM_PARAM *pSrc, std::vector<std::string> &parts, bool /*bUcs2*/)
{
    const int reference = NextReference();
    if (pSrc->longText == nullptr)
        return;

    char head[SM_SUBMIT_HEAD_SIZE] = {};
    GetSubmitPdu(pSrc, head);

    const bool septets = pSrc->dataCoding == GSM_DCS_7BIT;
    std::string header;
    if (septets) {
        char ref[12];
        std::snprintf(ref, sizeof(ref), "%04X", static_cast<unsigned>(reference));
        header = std::string(kSeptetPartHeader) + ref;
    } else {
        header = kOctetPartHeader + Hex2(static_cast<unsigned>(reference));
    }

    const std::vector<unsigned char> octets =
        EncodeLongText(pSrc->longText, std::strlen(pSrc->longText), pSrc->dataCoding);
    // The part count follows the parts as cut, a pair kept whole included.
    const std::vector<size_t> ends = PartEnds(octets, pSrc->dataCoding);
    const size_t total = ends.size();
    // More parts than the header can count would go out with a broken header;
    // no part at all lets the send fail visibly instead.
    if (total == 0 || total > kMaxParts)
        return;

    size_t start = 0;
    for (size_t i = 0; i < total; i++) {
        const int r = static_cast<int>(ends[i] - start);
        std::string udl;
        if (!septets)
            // Every octet part carries its own length: a UCS2 part that kept
            // a pair for the next one is a unit short of the full 8C.
            udl = Hex2(static_cast<unsigned>(r + kOctetHeaderOctets));
        else if (i + 1 == total)
            udl = Hex2(static_cast<unsigned>((r / 7) * 8 + r % 7 + kSeptetHeaderSeptets));
        else
            udl = kSeptetPartUdl;
        parts.push_back(head + udl + header + Hex2(static_cast<unsigned>(total)) +
                        Hex2(static_cast<unsigned>(i + 1)) + HexOctets(octets.data() + start, r));
        start = ends[i];
    }
}
