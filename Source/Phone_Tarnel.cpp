#include "Phone_Tarnel.h"

namespace {
constexpr const char *kModuleName = "M35";
constexpr const char *kAtiSample = "\r\nQuectel_Ltd\r\n"
                                 "Quectel_M35\r\n"
                                 "Revision: M35FBR02A03\r\n"
                                 "\r\nOK\r\n";
}  // namespace

CPhone_Tarnel::CPhone_Tarnel() = default;

CPhone_Tarnel::~CPhone_Tarnel() = default;

std::string CPhone_Tarnel::Get_ATI_Rsp()
{
    return kAtiSample;
}

bool CPhone_Tarnel::IsATI_RspMatch(std::string reply)
{
    return ReplyNamesModule(reply, kModuleName);
}

PHONE_TYPE_t CPhone_Tarnel::GetPhoneType()
{
    return PHONE_TYPE_TARNEL;
}
