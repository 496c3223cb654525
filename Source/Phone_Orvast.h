// Wavecom modems: standard GSM commands throughout.
#ifndef ZARVEX_PHONE_ORVAST_H
#define ZARVEX_PHONE_ORVAST_H

#include "PhoneCardBase.h"

class CPhone_Orvast : public CPhoneCardBase {
public:
    CPhone_Orvast();
    ~CPhone_Orvast() override;

    std::string Get_ATI_Rsp() override;
    bool IsATI_RspMatch(std::string reply) override;
    PHONE_TYPE_t GetPhoneType() override;
};

#endif
