// The members of CPhoneCardBase whose Linux body differs from the Windows one.
#include "PhoneCardBase.h"
#include "PhoneCountryCode.h"

COM_CMD_OPERATE_RESULT_t CPhoneCardBase::OnInitAtCmdRsp(std::string reply)
{
    return OnOkErrorRsp(reply);
}

CountryCode_t CPhoneCardBase::JudgePhoneCountryCode(const std::string &number)
{
    return JudgeCountryCodeByLength(number);
}
