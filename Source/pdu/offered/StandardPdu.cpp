#include "StandardPdu.h"

#include "PduCodec.h"

#include <cstring>

namespace {

const char kFirstOctetAndReference[] = "1100";
const char kPidDcsVp[] = "0008AA";
const char kInternationalType[] = "91";
const char kNationalType[] = "81";
const char kCtrlZ = 0x1A;

// Digits of a number without its '+', 'F'-filled to an even count and swapped
// into semi-octet order in `area`; returns the characters used.
int PackDigits(const char *number, int length, char *area, int areaSize)
{
    if (length > 0 && number[0] == '+') {
        number++;
        length--;
    }
    if (length + length % 2 > areaSize)
        return 0;
    std::memcpy(area, number, static_cast<size_t>(length));
    if (length % 2 != 0)
        area[length++] = 'F';
    CStandardPdu::SwapNextTwoValue(area, length);
    return length;
}

} // namespace

PDU_DATA::PDU_DATA()
{
    std::memset(smscLength, '0', sizeof(smscLength));
    std::memset(smscType, '0', sizeof(smscType));
    std::memset(smscDigits, 0, sizeof(smscDigits));
    std::memcpy(firstOctetAndReference, kFirstOctetAndReference, sizeof(firstOctetAndReference));
    std::memset(destLength, '0', sizeof(destLength));
    std::memset(destType, '0', sizeof(destType));
    std::memset(destDigits, 0, sizeof(destDigits));
    std::memcpy(pidDcsVp, kPidDcsVp, sizeof(pidDcsVp));
    std::memset(userDataLength, '0', sizeof(userDataLength));
    std::memset(userData, 0, sizeof(userData));
}

CStandardPdu::CStandardPdu() = default;

bool CStandardPdu::InitSample(const std::string &smsc, const std::string &number, const std::string &text)
{
    if (smsc.size() > MAX_SMSC_LENGTH)
        return false;
    std::memcpy(m_smsc, smsc.data(), smsc.size());
    m_smscLength = static_cast<int>(smsc.size());
    if (number.size() > MAX_NUMBER_LENGTH)
        return false;
    std::memcpy(m_number, number.data(), number.size());
    m_numberLength = static_cast<int>(number.size());
    if (text.size() > MAX_TEXT_LENGTH)
        return false;
    std::memcpy(m_text, text.data(), text.size());
    m_textLength = static_cast<int>(text.size());
    return true;
}

bool CStandardPdu::SaveToUCS2Data(char *out, int size, int &total, int &tpduLength)
{
    PDU_DATA data;
    const std::string smsc(m_smsc, static_cast<size_t>(m_smscLength));
    const std::string number(m_number, static_cast<size_t>(m_numberLength));

    const bool smscInternational = IsSMSCInternal(smsc.c_str());
    std::memcpy(data.smscType, smscInternational ? kInternationalType : kNationalType, 2);
    const int smscChars = PackDigits(m_smsc, m_smscLength, data.smscDigits, sizeof(data.smscDigits));
    const int smscOctets = 1 + smscChars / 2;
    data.smscLength[0] = static_cast<char>('0' + smscOctets / 16);
    data.smscLength[1] = static_cast<char>('0' + smscOctets % 16);

    std::memcpy(data.destType, IsSMSCInternal(number.c_str()) ? kInternationalType : kNationalType, 2);
    const int destDigitCount = m_numberLength - (IsSMSCInternal(number.c_str()) ? 1 : 0);
    data.destLength[0] = ValueToHex(destDigitCount / 16);
    data.destLength[1] = ValueToHex(destDigitCount % 16);
    const int destChars = PackDigits(m_number, m_numberLength, data.destDigits, sizeof(data.destDigits));

    int userChars = ToUnicode(m_text, m_textLength, data.userData, sizeof(data.userData) - 1);
    const int ucs2Octets = userChars / 2;
    if (ucs2Octets > MAX_UCS2_OCTETS)
        return false;
    data.userDataLength[0] = ValueToHex(ucs2Octets / 16);
    data.userDataLength[1] = ValueToHex(ucs2Octets % 16);
    data.userData[userChars++] = kCtrlZ;

    char pdu[sizeof(PDU_DATA)];
    int n = 0;
    n = AppendData(pdu, n, data.smscLength, 2);
    n = AppendData(pdu, n, data.smscType, 2);
    n = AppendData(pdu, n, data.smscDigits, smscChars);
    const int smscField = n;
    n = AppendData(pdu, n, data.firstOctetAndReference, 4);
    n = AppendData(pdu, n, data.destLength, 2);
    n = AppendData(pdu, n, data.destType, 2);
    n = AppendData(pdu, n, data.destDigits, destChars);
    n = AppendData(pdu, n, data.pidDcsVp, 6);
    n = AppendData(pdu, n, data.userDataLength, 2);
    n = AppendData(pdu, n, data.userData, userChars);

    // The caller's buffer is checked even though the original builder trusted it.
    if (out == nullptr || n > size)
        return false;
    std::memcpy(out, pdu, static_cast<size_t>(n));
    if (n < size)
        out[n] = '\0';
    total = n;
    tpduLength = n - smscField - 1;
    return true;
}

std::vector<PDU_Send_Base_t> CStandardPdu::CreateLongPduSmsFromData() { return {}; }

int CStandardPdu::AppendData(char *dst, int dstLength, const char *src, int srcLength)
{
    if (srcLength > 0)
        std::memcpy(dst + dstLength, src, static_cast<size_t>(srcLength));
    return dstLength + srcLength;
}

bool CStandardPdu::SwapNextTwoValue(char *text, int length)
{
    if (length % 2 != 0)
        return false;
    for (int i = 0; i + 1 < length; i += 2) {
        const char c = text[i];
        text[i] = text[i + 1];
        text[i + 1] = c;
    }
    return true;
}

char CStandardPdu::ValueToHex(int value)
{
    if (value >= 0 && value <= 9)
        return static_cast<char>('0' + value);
    if (value >= 10 && value <= 15)
        return static_cast<char>('A' + value - 10);
    return '0';
}

int CStandardPdu::HexToValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

bool CStandardPdu::IsSMSCInternal(const char *text) { return text != nullptr && text[0] == '+'; }

int CStandardPdu::gsmBytes2String(const unsigned char *pSrc, char *pDst, int nSrcLength)
{
    return ::gsmBytes2String(pSrc, pDst, nSrcLength);
}

int CStandardPdu::ToUnicode(const char *, int, char *, int) { return 0; }
