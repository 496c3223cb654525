// The slots of the modem classes that nothing in the program calls: the
// card-number query by ATI, calls and hang-ups, the text-mode send and
// receive, the receive store, the device-storage flag and the identification
// sample. They are virtual, so every model's vtable points at them and their
// bodies stay linked; they are kept apart here so that none of them is taken
// for part of a flow.
#include "PhoneAtText.h"
#include "PhoneCardBase.h"
#include "Phone_Sudrel.h"
#include "Phone_Velkor_ME.h"
#include "Phone_Velkor_NC5.h"

namespace {

constexpr const char *kCcidQueryCmd = "ATI+CCID\r\n";
constexpr const char *kHangUpCmd = "ATH\r\n";
constexpr const char *kTextModeCmd = "at+cmgf=1\r\n";
constexpr const char *kReceiveSmsCmd = "at+cmgr=1\r\n";
constexpr const char *kSetReceiveStoreCmd = "at+cpms=\"SM\"\r\n";
// The blanks around the plus sign are what the modems have always been sent.
constexpr const char *kQueryReceiveStoreCmd = "at + cpms?\r\n";

constexpr const char *kSudrelHangUpCmd = "AT+CHV\r\n";
constexpr const char *kSudrelReceiveSmsCmd = "at^hcmgr=1\r\n";

}  // namespace

// ---- CPhoneCardBase ---------------------------------------------------------

// Nothing in the program calls it.
std::string CPhoneCardBase::Get_ATI_Rsp()
{
    return m_model->atiSample;
}

// Nothing in the program calls it.
std::string CPhoneCardBase::GetCCIDCmd()
{
    return kCcidQueryCmd;
}

// Nothing in the program calls it.
bool CPhoneCardBase::OnCCIDCmdRsp(std::string reply)
{
    return OnOkErrorRsp(reply) == COM_CMD_OK;
}

// Nothing in the program calls it.
std::string CPhoneCardBase::GetCallCmd(std::string number)
{
    return "ATD" + number + ";\r\n";
}

// Nothing in the program calls it.
bool CPhoneCardBase::OnCallCmdRsp(std::string reply)
{
    return OnOkErrorRsp(reply) == COM_CMD_OK;
}

// Nothing in the program calls it.
std::string CPhoneCardBase::GetHungUpCmd()
{
    return kHangUpCmd;
}

// Nothing in the program calls it.
bool CPhoneCardBase::OnHungUpCmdRsp(std::string reply)
{
    return OnOkErrorRsp(reply) == COM_CMD_OK;
}

// Nothing in the program calls it.
std::string CPhoneCardBase::SetSmsModeTextCmd()
{
    return kTextModeCmd;
}

// Nothing in the program calls it.
bool CPhoneCardBase::OnSetSmsModeTextCmdRsp(std::string reply)
{
    return OnOkErrorRsp(reply) == COM_CMD_OK;
}

// Nothing in the program calls it.
std::string CPhoneCardBase::GetSendSMS_PhoneCmd(std::string number)
{
    return "at+cmgs=\"" + number + "\"\r\n";
}

// Nothing in the program calls it.
bool CPhoneCardBase::OnSendSMS_PhoneCmd(std::string reply)
{
    return OnOkErrorRsp(reply) == COM_CMD_OK;
}

// Nothing in the program calls it.
std::string CPhoneCardBase::GetSendSMS_ContextCmd(std::string text)
{
    return text + " " + m_model->typeName + phone_at::kCr + phone_at::kCtrlZ;
}

// Nothing in the program calls it.
bool CPhoneCardBase::OnSendSMS_ContextCmd(std::string reply)
{
    return OnOkErrorRsp(reply) == COM_CMD_OK;
}

// Nothing in the program calls it.
std::string CPhoneCardBase::GetReceiveSmsCmd()
{
    return kReceiveSmsCmd;
}

// Nothing in the program calls it.
bool CPhoneCardBase::OnReceiveSmsCmdRsp(std::string reply)
{
    return OnOkErrorRsp(reply) == COM_CMD_OK;
}

// Nothing in the program calls it.
std::string CPhoneCardBase::GetSetReceiveSmsStoreCmd()
{
    return kSetReceiveStoreCmd;
}

// Nothing in the program calls it.
bool CPhoneCardBase::OnSetReceiveSmsStoreCmdRsp(std::string reply)
{
    return OnOkErrorRsp(reply) == COM_CMD_OK;
}

// Nothing in the program calls it.
std::string CPhoneCardBase::GetQueryReceiveSmsStoreCmd()
{
    return kQueryReceiveStoreCmd;
}

// Nothing in the program calls it.
bool CPhoneCardBase::OnQueryReceiveSmsStoreCmdRsp(std::string reply)
{
    return OnOkErrorRsp(reply) == COM_CMD_OK;
}

// Nothing in the program calls it.
bool CPhoneCardBase::HasME()
{
    return false;
}

// ---- The models' own ---------------------------------------------------------
// The Velkor modules hang up with "+CHUP"; they and Sudrel take any answer to
// a call or a hang-up as done.

// Nothing in the program calls it.
std::string CPhone_Sudrel::GetCallCmd(std::string number)
{
    return "AT+CDV" + number + "\r\n";
}

// Nothing in the program calls it.
bool CPhone_Velkor_NC5::OnCallCmdRsp(std::string reply)
{
    return IsNonEmptyRsp(reply);
}

// Nothing in the program calls it.
bool CPhone_Velkor_ME::OnCallCmdRsp(std::string reply)
{
    return IsNonEmptyRsp(reply);
}

// Nothing in the program calls it.
bool CPhone_Sudrel::OnCallCmdRsp(std::string reply)
{
    return IsNonEmptyRsp(reply);
}

// Nothing in the program calls it.
std::string CPhone_Velkor_NC5::GetHungUpCmd()
{
    return phone_at::kHangUpChupCmd;
}

// Nothing in the program calls it.
std::string CPhone_Velkor_ME::GetHungUpCmd()
{
    return phone_at::kHangUpChupCmd;
}

// Nothing in the program calls it.
std::string CPhone_Sudrel::GetHungUpCmd()
{
    return kSudrelHangUpCmd;
}

// Nothing in the program calls it.
bool CPhone_Velkor_NC5::OnHungUpCmdRsp(std::string reply)
{
    return IsNonEmptyRsp(reply);
}

// Nothing in the program calls it.
bool CPhone_Velkor_ME::OnHungUpCmdRsp(std::string reply)
{
    return IsNonEmptyRsp(reply);
}

// Nothing in the program calls it.
bool CPhone_Sudrel::OnHungUpCmdRsp(std::string reply)
{
    return IsNonEmptyRsp(reply);
}

// Nothing in the program calls it.
std::string CPhone_Sudrel::GetSendSMS_PhoneCmd(std::string number)
{
    return "AT^HCMGS=\"" + number + "\"\r\n";
}

// Nothing in the program calls it.
bool CPhone_Sudrel::OnSendSMS_PhoneCmd(std::string reply)
{
    return IsNonEmptyRsp(reply);
}

// Nothing in the program calls it.
std::string CPhone_Sudrel::GetReceiveSmsCmd()
{
    return kSudrelReceiveSmsCmd;
}

// Nothing in the program calls it.
bool CPhone_Sudrel::OnReceiveSmsCmdRsp(std::string reply)
{
    return IsNonEmptyRsp(reply);
}
