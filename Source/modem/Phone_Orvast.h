// Wavecom modems: standard GSM commands throughout. The model table
// (PhoneModels.h) holds how they are identified.
#ifndef ZARVEX_PHONE_ORVAST_H
#define ZARVEX_PHONE_ORVAST_H

#include "PhoneCardBase.h"
#include "PhoneModels.h"

class CPhone_Orvast : public CPhoneCardBase {
public:
    CPhone_Orvast() : CPhoneCardBase(FindPhoneModel(PHONE_TYPE_ORVAST)) {}

    PHONE_TYPE_t GetPhoneType() override { return PHONE_TYPE_ORVAST; }
};

#endif
