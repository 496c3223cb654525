#include "Phone_Velkor_ME.h"

#include "PhoneAtText.h"
#include "StringUtil.h"

namespace {
constexpr const char *kModuleName = "ME909s-821";
constexpr const char *kAtiSample = "\r\nManufacturer: Huawei Technologies Co., Ltd.\r\n"
                                   "Model: ME909s-821\r\n"
                                   "Revision: 11.617.05.00.00\r\n"
                                   "IMEI: 866123034567890\r\n"
                                   "+GCAP: +CGSM,+DS,+ES\r\n"
                                   "\r\nOK\r\n";
constexpr const char *kIccidCmd = "AT^ICCID?\r\n";
constexpr const char *kIccidTag = "^ICCID: ";
// Unsolicited signal and status reports would mix into the replies.
constexpr const char *kReportsOffCmd = "AT^CURC=0\r\n";
}  // namespace

CPhone_Velkor_ME::CPhone_Velkor_ME() = default;

CPhone_Velkor_ME::~CPhone_Velkor_ME() = default;

std::string CPhone_Velkor_ME::Get_ATI_Rsp()
{
    return kAtiSample;
}

bool CPhone_Velkor_ME::IsATI_RspMatch(std::string reply)
{
    return ReplyNamesModule(reply, kModuleName);
}

std::string CPhone_Velkor_ME::GetCallCmd(std::string number)
{
    return CPhoneCardBase::GetCallCmd(number);
}

bool CPhone_Velkor_ME::OnCallCmdRsp(std::string reply)
{
    return IsNonEmptyRsp(reply);
}

std::string CPhone_Velkor_ME::GetHungUpCmd()
{
    return phone_at::kHangUpChupCmd;
}

bool CPhone_Velkor_ME::OnHungUpCmdRsp(std::string reply)
{
    return IsNonEmptyRsp(reply);
}

std::string CPhone_Velkor_ME::GetIMSI_Cmd()
{
    return kIccidCmd;
}

COM_CMD_OPERATE_RESULT_t CPhone_Velkor_ME::OnGetIMSI_CmdRsp(std::string reply)
{
    if (reply.empty())
        return COM_CMD_WAIT;
    for (const std::string &line : SplitStringToArray(reply)) {
        const std::size_t tag = line.find(kIccidTag);
        if (tag == std::string::npos)
            continue;
        const std::string value = line.substr(tag + std::char_traits<char>::length(kIccidTag));
        m_strSmsCardNumber =
            phone_at::TrimEach(value, {' ', phone_at::kCr, phone_at::kLf, ' ', phone_at::kCr,
                                       phone_at::kLf});
        return COM_CMD_OK;
    }
    // Until the final result has come, the tag line may still be on its way.
    if (phone_at::JudgeOkError(reply, nullptr) == COM_CMD_WAIT)
        return COM_CMD_WAIT;
    return COM_CMD_ERROR;
}

PHONE_TYPE_t CPhone_Velkor_ME::GetPhoneType()
{
    return PHONE_TYPE_VELKOR_ME;
}

std::vector<std::string> CPhone_Velkor_ME::GetInitAtCmd()
{
    std::vector<std::string> cmds = CPhoneCardBase::GetInitAtCmd();
    cmds.push_back(kReportsOffCmd);
    return cmds;
}
