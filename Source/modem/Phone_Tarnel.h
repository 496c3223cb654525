// Quectel M35 modules: standard GSM commands throughout. The model table
// (PhoneModels.h) holds how they are identified.
#ifndef ZARVEX_PHONE_TARNEL_H
#define ZARVEX_PHONE_TARNEL_H

#include "PhoneCardBase.h"
#include "PhoneModels.h"

class CPhone_Tarnel : public CPhoneCardBase {
public:
    CPhone_Tarnel() : CPhoneCardBase(FindPhoneModel(PHONE_TYPE_TARNEL)) {}

    PHONE_TYPE_t GetPhoneType() override { return PHONE_TYPE_TARNEL; }
};

#endif
