#include "Phone_Orvast.h"

namespace {
constexpr const char *kModuleName = "WAVECOM";
constexpr const char *kAtiSample = "\r\n WAVECOM MODEM\r\n"
                                 "\r\n MULTIBAND  900E  1800 \r\n"
                                 "\r\nOK\r\n";
}  // namespace

CPhone_Orvast::CPhone_Orvast() = default;

CPhone_Orvast::~CPhone_Orvast() = default;

std::string CPhone_Orvast::Get_ATI_Rsp()
{
    return kAtiSample;
}

bool CPhone_Orvast::IsATI_RspMatch(std::string reply)
{
    return ReplyNamesModule(reply, kModuleName);
}

PHONE_TYPE_t CPhone_Orvast::GetPhoneType()
{
    return PHONE_TYPE_ORVAST;
}
