// Quectel M35 modules: standard GSM commands throughout.
#ifndef ZARVEX_PHONE_TARNEL_H
#define ZARVEX_PHONE_TARNEL_H

#include "PhoneCardBase.h"

class CPhone_Tarnel : public CPhoneCardBase {
public:
    CPhone_Tarnel();
    ~CPhone_Tarnel() override;

    std::string Get_ATI_Rsp() override;
    bool IsATI_RspMatch(std::string reply) override;
    PHONE_TYPE_t GetPhoneType() override;
};

#endif
