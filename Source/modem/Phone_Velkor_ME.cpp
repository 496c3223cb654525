#include "Phone_Velkor_ME.h"

#include "PhoneModels.h"
#include "QueryForms.h"

namespace {
constexpr const char *kIccidCmd = "AT^ICCID?\r\n";
// Unsolicited signal and status reports would mix into the replies.
constexpr const char *kReportsOffCmd = "AT^CURC=0\r\n";
}  // namespace

CPhone_Velkor_ME::CPhone_Velkor_ME() : CPhoneCardBase(FindPhoneModel(PHONE_TYPE_VELKOR_ME))
{
}

std::string CPhone_Velkor_ME::GetIMSI_Cmd()
{
    return kIccidCmd;
}

COM_CMD_OPERATE_RESULT_t CPhone_Velkor_ME::OnGetIMSI_CmdRsp(std::string reply)
{
    QueryReading reading = ReadQueryReply(reply, kHuaweiIccidForm);
    // Some firmware answers with the card's stored order.
    reading.value = IccidAsPrinted(reading.value);
    return TakeSmsCardNumber(reading, ErrorCounts::OnceItsLineEnded);
}

PHONE_TYPE_t CPhone_Velkor_ME::GetPhoneType()
{
    return PHONE_TYPE_VELKOR_ME;
}

std::vector<std::string> CPhone_Velkor_ME::GetInitAtCmd()
{
    return InitAtCmdsWith(kReportsOffCmd);
}
