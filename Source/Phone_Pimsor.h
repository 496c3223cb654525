// Huawei MG301 modules: standard GSM commands throughout.
#ifndef ZARVEX_PHONE_PIMSOR_H
#define ZARVEX_PHONE_PIMSOR_H

#include "PhoneCardBase.h"

class CPhone_Pimsor : public CPhoneCardBase {
public:
    CPhone_Pimsor();
    ~CPhone_Pimsor() override;

    std::string Get_ATI_Rsp() override;
    bool IsATI_RspMatch(std::string reply) override;
    PHONE_TYPE_t GetPhoneType() override;
};

#endif
