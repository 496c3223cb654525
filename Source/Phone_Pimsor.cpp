#include "Phone_Pimsor.h"

namespace {
constexpr const char *kModuleName = "MG301";
constexpr const char *kAtiSample = "\r\nManufacture: HUAWEI\r\n"
                                 "Model: MG301\r\n"
                                 "Revision: 11.310.21.03.00\r\n"
                                 "IMEI: 861234030112233\r\n"
                                 "+GCAP: +CGSM\r\n"
                                 "\r\nOK\r\n";
}  // namespace

CPhone_Pimsor::CPhone_Pimsor() = default;

CPhone_Pimsor::~CPhone_Pimsor() = default;

std::string CPhone_Pimsor::Get_ATI_Rsp()
{
    return kAtiSample;
}

bool CPhone_Pimsor::IsATI_RspMatch(std::string reply)
{
    return ReplyNamesModule(reply, kModuleName);
}

PHONE_TYPE_t CPhone_Pimsor::GetPhoneType()
{
    return PHONE_TYPE_PIMSOR;
}
