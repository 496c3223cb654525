// Command texts and the reply judges of identification, SIM card number,
// serial number, signal, SMS centre and the mode switches. The send steps live
// in PhoneCardBaseSend.cpp, the storage listing in PhoneCardBaseSmsList.cpp,
// the slots that nothing calls in PhoneUncalledSlots.cpp.
#include "PhoneCardBase.h"

#include "PhoneAtText.h"
#include "QueryForms.h"
#include "StringUtil.h"

using phone_at::kCr;
using phone_at::kLf;
using phone_at::kOk;

namespace {

constexpr const char *kAtCmd = "AT\r\n";
constexpr const char *kAtiCmd = "ATI\r\n";
constexpr const char *kPduModeCmd = "at+cmgf=0\r\n";
constexpr const char *kIccidCmd = "AT+CCID\r\n";
constexpr const char *kImeiCmd = "AT+CGSN\r\n";
constexpr const char *kSignalCmd = "at+csq\r\n";
constexpr const char *kSmsCenterCmd = "AT+CSCA?\r\n";
constexpr const char *kDeleteAllCmd = "AT+CMGD=0,4\r\n";
constexpr const char *kCompatibleModeCmd = "AT\r";
constexpr const char *kDeviceStorageCmd = "AT+CPMS=\"ME\"\r\n";
constexpr const char *kSimStorageCmd = "AT+CPMS=\"SM\"\r\n";
constexpr const char *kReportErrorsCmd = "AT+CMEE=1\r\n";
constexpr const char *kEchoOffCmd = "ATE0\r\n";

// The centre number stands between the double quotes after this tag.
constexpr const char *kSmsCenterTag = "+CSCA: \"";

constexpr const char *kTextModeOkReply = "\r\nOK\r\n";

// A modem that no model has claimed goes by no model's name, takes any
// identification reply with an OK as its own and has no sample of one.
constexpr PhoneModel kNoModel = {PHONE_TYPE_BASE, kUnnamedTypeText, kOk, ""};

std::size_t Length(const char *text)
{
    return std::char_traits<char>::length(text);
}

}  // namespace

SmsInfo::SmsInfo() : param()
{
}

CPhoneCardBase::CPhoneCardBase() : CPhoneCardBase(nullptr)
{
}

CPhoneCardBase::CPhoneCardBase(const PhoneModel *model)
    : m_bSendPduSmsRetry(false), m_model(model ? model : &kNoModel)
{
}

CPhoneCardBase::~CPhoneCardBase() = default;

std::string CPhoneCardBase::GetATCmd()
{
    return kAtCmd;
}

COM_CMD_OPERATE_RESULT_t CPhoneCardBase::OnGetAtCmdRsp(std::string reply)
{
    return OnOkErrorRsp(reply);
}

std::string CPhoneCardBase::GetAtiCmd()
{
    return kAtiCmd;
}

COM_CMD_OPERATE_RESULT_t CPhoneCardBase::OnGetAtiCmdRsp(std::string reply)
{
    m_strAtiRsp = reply;
    if (IsATI_RspMatch(reply))
        return COM_CMD_OK;
    // A module that pauses inside its identification text would otherwise be
    // judged on half of it, and a name that arrives later would be missed.
    if (phone_at::JudgeOkError(reply, nullptr) == COM_CMD_WAIT)
        return COM_CMD_WAIT;
    return COM_CMD_ERROR;
}

bool CPhoneCardBase::IsATI_RspMatch(std::string reply)
{
    return Contains(reply, m_model->moduleName);
}

std::string CPhoneCardBase::SetSmsPDUModeCmd()
{
    return kPduModeCmd;
}

COM_CMD_OPERATE_RESULT_t CPhoneCardBase::OnSetSmsPduModeCmdRsp(std::string reply)
{
    return OnOkErrorRsp(reply);
}

std::string CPhoneCardBase::GetIMSI_Cmd()
{
    return kIccidCmd;
}

COM_CMD_OPERATE_RESULT_t CPhoneCardBase::OnGetIMSI_CmdRsp(std::string reply)
{
    return JudgeCcidReply(reply, ErrorCounts::AtOnce);
}

COM_CMD_OPERATE_RESULT_t CPhoneCardBase::JudgeCcidReply(const std::string &reply,
                                                        ErrorCounts errorCounts)
{
    return TakeSmsCardNumber(ReadQueryReply(reply, kCcidForm), errorCounts);
}

COM_CMD_OPERATE_RESULT_t CPhoneCardBase::TakeSmsCardNumber(const QueryReading &reading,
                                                           ErrorCounts errorCounts)
{
    switch (reading.outcome) {
    case QueryOutcome::Value:
        m_strSmsCardNumber = reading.value;
        return COM_CMD_OK;
    case QueryOutcome::NoValue:
        // A number of the wrong form is no number: the probe then asks no signal.
        m_strSmsCardNumber.clear();
        return COM_CMD_ERROR;
    case QueryOutcome::Refused:
        if (errorCounts == ErrorCounts::OnceItsLineEnded && !reading.errorLineEnded)
            return COM_CMD_WAIT;
        return COM_CMD_ERROR;
    case QueryOutcome::Pending:
        break;
    }
    return COM_CMD_WAIT;
}

std::string CPhoneCardBase::GetIMEI_Cmd()
{
    return kImeiCmd;
}

COM_CMD_OPERATE_RESULT_t CPhoneCardBase::OnGetIMEI_Cmd(std::string reply)
{
    const QueryReading reading = ReadQueryReply(reply, kSerialNumberForm);
    switch (reading.outcome) {
    case QueryOutcome::Value:
        m_strSerialNumber = reading.value;
        return COM_CMD_OK;
    case QueryOutcome::NoValue:
        m_strSerialNumber.clear();
        return COM_CMD_ERROR;
    case QueryOutcome::Refused:
        return COM_CMD_ERROR;
    case QueryOutcome::Pending:
        break;
    }
    return COM_CMD_WAIT;
}

std::string CPhoneCardBase::GetSignalStrengthCmd()
{
    return kSignalCmd;
}

COM_CMD_OPERATE_RESULT_t CPhoneCardBase::OnGetSignalStrengthCmdRsp(std::string reply)
{
    if (reply.empty())
        return COM_CMD_WAIT;
    const QueryReading reading = ReadQueryReply(reply, kSignalForm);
    switch (reading.outcome) {
    case QueryOutcome::Value:
        // The blank after the colon stays: the rows show the text as it came.
        m_strSignalStrength = (reading.blankBeforeValue ? " " : "") + reading.value;
        return COM_CMD_OK;
    case QueryOutcome::NoValue:
        m_strSignalStrength.clear();
        return COM_CMD_ERROR;
    case QueryOutcome::Refused:
    case QueryOutcome::Pending:
        break;
    }
    m_strSignalStrength.clear();
    return COM_CMD_WAIT;
}

std::string CPhoneCardBase::GetQuerySmsCenterCmd()
{
    return kSmsCenterCmd;
}

COM_CMD_OPERATE_RESULT_t CPhoneCardBase::OnGetQuerySmsCenterCmdRsp(std::string reply)
{
    const std::size_t tag = reply.find(kSmsCenterTag);
    if (tag != std::string::npos) {
        const std::size_t lineEnd = reply.find(kLf, tag);
        const std::size_t comma = reply.find(',', tag);
        if (comma == std::string::npos || comma > lineEnd) {
            // The rest of the line may still be on its way.
            if (lineEnd == std::string::npos)
                return COM_CMD_WAIT;
            m_strSmsCenter.clear();
            return COM_CMD_ERROR;
        }
        const std::size_t start = tag + Length(kSmsCenterTag);
        // The closing double quote stands just before the comma.
        const std::size_t end = comma > start ? comma - 1 : start;
        m_strSmsCenter = reply.substr(start, end - start);
        return COM_CMD_OK;
    }
    for (const std::string &line : SplitStringToArray(reply)) {
        if (Contains(line, kOk))
            return COM_CMD_OK;
        if (Contains(line, phone_at::kError)) {
            m_strErrorMsg = phone_at::TrimLineEnds(line);
            return COM_CMD_ERROR;
        }
    }
    return COM_CMD_WAIT;
}

bool CPhoneCardBase::IsSmsCenterQueryOptional()
{
    return false;
}

std::string CPhoneCardBase::GetDelAllSmsCmd()
{
    return kDeleteAllCmd;
}

COM_CMD_OPERATE_RESULT_t CPhoneCardBase::OnDelAllSmsCmdRsp(std::string reply)
{
    return OnOkErrorRsp(reply);
}

std::string CPhoneCardBase::GetRecvSmsCompatibleModeCmd()
{
    return kCompatibleModeCmd;
}

COM_CMD_OPERATE_RESULT_t CPhoneCardBase::OnGetRecvSmsCompatibleModeCmdRsp(std::string reply)
{
    if (Contains(reply, kOk))
        return COM_CMD_OK;
    if (Contains(reply, phone_at::kError)) {
        m_strErrorMsg = reply;
        return COM_CMD_ERROR;
    }
    return COM_CMD_WAIT;
}

PHONE_TYPE_t CPhoneCardBase::GetPhoneType()
{
    return PHONE_TYPE_BASE;
}

std::string CPhoneCardBase::GetSmsCardNumber()
{
    return m_strSmsCardNumber;
}

std::string CPhoneCardBase::GetSignalStrength()
{
    return m_strSignalStrength;
}

std::string CPhoneCardBase::GetSerialNumber()
{
    return m_strSerialNumber;
}

std::string CPhoneCardBase::GetErrorMessage()
{
    m_strErrorMsg = phone_at::TrimLineEnds(m_strErrorMsg);
    return m_strErrorMsg;
}

std::string CPhoneCardBase::GetReadSmsOnMeCmd()
{
    return kDeviceStorageCmd;
}

COM_CMD_OPERATE_RESULT_t CPhoneCardBase::OnGetReadSmsOnMeCmd(std::string reply)
{
    return OnOkErrorRsp(reply);
}

std::string CPhoneCardBase::GetReadSmsOnSmCmd()
{
    return kSimStorageCmd;
}

COM_CMD_OPERATE_RESULT_t CPhoneCardBase::OnGetReadSmsOnSmCmd(std::string reply)
{
    return OnOkErrorRsp(reply);
}

std::vector<std::string> CPhoneCardBase::GetInitAtCmd()
{
    return {kReportErrorsCmd, kSimStorageCmd, kEchoOffCmd};
}

std::vector<std::string> CPhoneCardBase::InitAtCmdsWith(const char *moduleCmd)
{
    std::vector<std::string> cmds = CPhoneCardBase::GetInitAtCmd();
    cmds.push_back(moduleCmd);
    return cmds;
}

std::string CPhoneCardBase::GetAtiRspString()
{
    return m_strAtiRsp;
}

bool CPhoneCardBase::IsSendPduSmsRetry() const
{
    return m_bSendPduSmsRetry;
}

std::vector<SmsRecvStruct_t> CPhoneCardBase::GetReadSms()
{
    return m_vecRecvSms;
}

COM_CMD_OPERATE_RESULT_t CPhoneCardBase::OnOkErrorRsp(std::string reply)
{
    std::string errorLine;
    const COM_CMD_OPERATE_RESULT_t result = phone_at::JudgeOkError(reply, &errorLine);
    if (result == COM_CMD_ERROR)
        m_strErrorMsg = TrimEach(errorLine, {kCr, kLf, kCr, kLf, kCr, kLf});
    return result;
}

bool CPhoneCardBase::IsNonEmptyRsp(const std::string &reply)
{
    return !reply.empty();
}

bool OnSetSmsModeTextCmdRsp(std::string reply)
{
    return reply == kTextModeOkReply;
}
