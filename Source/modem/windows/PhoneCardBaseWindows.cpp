// The members of CPhoneCardBase whose Windows body differs from the Linux one.
#include "PhoneCardBase.h"
#include "PhoneCountryCode.h"

// The Windows program sends every initialisation command and takes whatever
// comes back as done: a modem that refuses one of them (an old module without
// numeric error reports) still gets its messages sent.
COM_CMD_OPERATE_RESULT_t CPhoneCardBase::OnInitAtCmdRsp(std::string)
{
    return COM_CMD_OK;
}

CountryCode_t CPhoneCardBase::JudgePhoneCountryCode(const std::string &number)
{
    return JudgeCountryCodeByPatterns(number);
}
