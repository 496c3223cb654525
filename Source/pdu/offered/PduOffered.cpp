#include "PduOffered.h"

#include "GsmAlphabet.h"
#include "SubmitFields.h"

namespace {

// A push head: SMS-SUBMIT with a user-data header and no validity period;
// protocol identifier 00 and the data coding of a push message.
const char kPushFirstOctet[] = "41";
const char kPushPidDcs[] = "00F5";

} // namespace

int gsmEncode7bitLength(const char *pSrc, int nSrcLength)
{
    int septets = 0;
    for (int i = 0; i < nSrcLength; i++)
        septets += pdutext::IsGsmExtensionCharacter(static_cast<unsigned char>(pSrc[i])) ? 2 : 1;
    return septets;
}

int GetPushSubmitPdu(const SM_PARAM *pSrc, char *pDst)
{
    const std::string digits = pdutext::NumberDigits(pSrc->peerNumber, sizeof(pSrc->peerNumber));
    const std::string head = pdutext::SmsCenterFieldPart(pSrc) + kPushFirstOctet + pdutext::kMessageReference +
                             pdutext::Hex2(static_cast<unsigned>(digits.size())) + pdutext::kInternational +
                             pdutext::SemiOctets(digits) + kPushPidDcs;
    return pdutext::CopyHead(head, pDst, false);
}

int gsmDecodeStatusReportPdu(const char *, SM_PARAM *) { return 0; }

std::string UnicodeToUTF8(const std::wstring &text)
{
    const size_t bytes = 2 * text.size();
    return std::string(reinterpret_cast<const char *>(text.data()), bytes);
}

std::wstring UTF8ToUnicode(const std::string &text)
{
    std::wstring out;
    for (size_t i = 0; i + 1 < text.size(); i += 2) {
        const unsigned low = static_cast<unsigned char>(text[i]);
        const unsigned high = static_cast<unsigned char>(text[i + 1]);
        out += static_cast<wchar_t>(low | (high << 8));
    }
    return out;
}

std::string UTF8ToANSI(const std::string &text) { return UnicodeToANSI(UTF8ToUnicode(text)); }

std::string ANSIToUTF8(const std::string &text) { return UnicodeToUTF8(ANSIToUnicode(text)); }
