// Huawei MG301 modules: standard GSM commands throughout. The model table
// (PhoneModels.h) holds how they are identified.
#ifndef ZARVEX_PHONE_PIMSOR_H
#define ZARVEX_PHONE_PIMSOR_H

#include "PhoneCardBase.h"
#include "PhoneModels.h"

class CPhone_Pimsor : public CPhoneCardBase {
public:
    CPhone_Pimsor() : CPhoneCardBase(FindPhoneModel(PHONE_TYPE_PIMSOR)) {}

    PHONE_TYPE_t GetPhoneType() override { return PHONE_TYPE_PIMSOR; }
};

#endif
