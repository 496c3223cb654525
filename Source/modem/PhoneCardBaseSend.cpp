// The PDU-mode send of CPhoneCardBase: the steps of one message (one PDU, or
// one per part of a concatenated message) and the judges of the modem's answers
// to the length command and to the body.
#include <cstdio>
#include <cstring>

#include "PhoneAtText.h"
#include "PhoneCardBase.h"
#include "StringUtil.h"

using phone_at::kCr;
using phone_at::kLf;

namespace {

// One message in the platform's multibyte encoding; one byte more and the text
// goes out as a concatenated message.
constexpr std::size_t kMaxSingleSmsBytes = 140;
// User data of one message: 70 UCS2 characters. A single PDU carrying more is
// not a valid SMS, whatever the byte count of the text.
constexpr int kMaxSingleSmsOctets = 140;
constexpr unsigned char kDataCodingUcs2 = 8;

constexpr const char *kLengthCmdFormat = "AT+CMGS=%d\r";
constexpr const char *kPromptTag = ">";
// Error numbers in this range (unknown and manufacturer-specific errors) earn
// the message another try.
constexpr int kRetryErrorFirst = 500;
constexpr int kRetryErrorLast = 600;

constexpr const char *kInternationalDialPrefix = "00";

constexpr std::size_t kMaxSmsCenterDigits = SM_SMS_CENTER_SIZE - 1;

constexpr const char *kNoSendSteps = "短信编码失败";

std::string WithoutPlusSign(const std::string &number)
{
    return (!number.empty() && number[0] == '+') ? number.substr(1) : number;
}

template <std::size_t N>
void CopyField(char (&field)[N], const std::string &value)
{
    const std::size_t n = value.size() < N - 1 ? value.size() : N - 1;
    std::memcpy(field, value.data(), n);
    field[n] = '\0';
}

// The encoders take the centre's digits only and have room for 15 of them; a
// centre they cannot hold is left out, so the modem uses the one it stores.
std::string SmsCenterForPdu(const std::string &center)
{
    const std::string digits = WithoutPlusSign(center);
    return digits.size() <= kMaxSmsCenterDigits ? digits : std::string();
}

int Ucs2OctetCount(const std::string &text)
{
    std::vector<unsigned char> octets(2 * text.size() + 2);
    return gsmEncodeUcs2(text.c_str(), octets.data(), static_cast<int>(text.size()));
}

// The record that both builders start from: centre, destination and UCS2.
SM_PARAM SendParam(const std::string &smsCenter, const std::string &number)
{
    SM_PARAM param;
    std::memset(&param, 0, sizeof param);
    CopyField(param.smsCenter, SmsCenterForPdu(smsCenter));
    const CountryCode_t country = CPhoneCardBase::JudgePhoneCountryCode(number);
    // A number written with "+" is international by definition, whatever its
    // digits.
    const bool international = country.hasCountryCode || StartsWith(number, "+");
    param.noCountryCode = !international;
    CopyField(param.peerNumber,
              WithoutPlusSign(CPhoneCardBase::ModifyPhoneCode(number, country.hasCountryCode)));
    param.dataCoding = kDataCodingUcs2;
    return param;
}

std::string LengthCmd(int tpduOctets)
{
    char cmd[32];
    std::snprintf(cmd, sizeof cmd, kLengthCmdFormat, tpduOctets);
    return cmd;
}

// The TPDU octets of a part: all but the centre-length octet and the octets it
// counts.
int TpduOctets(const std::string &partHex)
{
    if (partHex.size() < 2)
        return 0;
    unsigned char centerLength = 0;
    gsmString2Bytes(partHex.c_str(), &centerLength, 2);
    return static_cast<int>(partHex.size() / 2) - (centerLength + 1);
}

}  // namespace

std::vector<PDU_LONG_SMS_Base_t> CPhoneCardBase::GetSendPduSmsCmdArray(std::string number,
                                                                       std::string text)
{
    if (IsLongSms(text) || Ucs2OctetCount(text) > kMaxSingleSmsOctets)
        return GetSendLongPduSmsCmd(number, text);
    return GetSendSmsModePDUCmd(number, text);
}

std::vector<PDU_LONG_SMS_Base_t> CPhoneCardBase::GetSendSmsModePDUCmd(std::string number,
                                                                      std::string text)
{
    SM_PARAM param = SendParam(m_strSmsCenter, number);
    CopyField(param.userText, text);
    PDU_LONG_SMS_Base_t step;
    step.pdu = gsmEncodePduNew(&param, m_strSendPduLenCmd);
    step.cmd = m_strSendPduLenCmd;
    return {step};
}

std::vector<PDU_LONG_SMS_Base_t> CPhoneCardBase::GetSendLongPduSmsCmd(std::string number,
                                                                      std::string text)
{
    SM_PARAM param = SendParam(m_strSmsCenter, number);
    // The encoder reads a terminated text that the caller owns.
    std::vector<char> longText(2 * text.size() + 1, '\0');
    std::memcpy(longText.data(), text.data(), text.size());
    param.longText = longText.data();

    std::vector<std::string> parts;
    gsmLongSmsPdu(&param, parts, true);
    if (parts.empty())
        return RefuseText(kNoSendSteps);

    std::vector<PDU_LONG_SMS_Base_t> steps;
    for (const std::string &part : parts) {
        const int tpduOctets = TpduOctets(part);
        if (tpduOctets <= 0)
            return RefuseText(kNoSendSteps);
        PDU_LONG_SMS_Base_t step;
        step.cmd = LengthCmd(tpduOctets);
        step.pdu = part + phone_at::kCtrlZ;
        steps.push_back(step);
    }
    return steps;
}

std::vector<PDU_LONG_SMS_Base_t> CPhoneCardBase::RefuseText(const char *reason)
{
    m_strErrorMsg = reason;
    return {};
}

COM_CMD_OPERATE_RESULT_t CPhoneCardBase::OnSendPduSmsLenCmdRsp(std::string reply)
{
    if (Contains(reply, kPromptTag))
        return COM_CMD_OK;
    if (reply.empty() || !Contains(reply, phone_at::kError))
        return COM_CMD_WAIT;
    m_strErrorMsg = TrimEach(reply, {kCr, kCr, kLf, kCr, kLf});
    return COM_CMD_ERROR;
}

COM_CMD_OPERATE_RESULT_t CPhoneCardBase::OnSendPduSmsContextCmdRsp(std::string reply)
{
    m_bSendPduSmsRetry = false;
    for (const std::string &line : SplitStringToArray(reply)) {
        if (Contains(line, phone_at::kOk))
            return COM_CMD_OK;
        if (!Contains(line, phone_at::kError))
            continue;
        for (const std::string &piece : SplitStringByChar(line, ' ')) {
            const int value = ReadInt(piece);
            if (value >= kRetryErrorFirst && value <= kRetryErrorLast)
                m_bSendPduSmsRetry = true;
        }
        m_strErrorMsg = phone_at::TrimLineEnds(line);
        return COM_CMD_ERROR;
    }
    return COM_CMD_WAIT;
}

bool CPhoneCardBase::IsLongSms(std::string text)
{
    return text.size() > kMaxSingleSmsBytes;
}

std::string CPhoneCardBase::ModifyPhoneCode(const std::string &number, bool hasCountryCode)
{
    if (hasCountryCode && number.size() > 2 && StartsWith(number, kInternationalDialPrefix))
        return number.substr(2);
    return number;
}
