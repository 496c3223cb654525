#include "PhoneFactory.h"

#include "Phone_Orvast.h"
#include "Phone_Pimsor.h"
#include "Phone_Sudrel.h"
#include "Phone_Tarnel.h"
#include "Phone_Velkor_ME.h"
#include "Phone_Velkor_NC5.h"

CPhoneCardBase *GetPhoneByType(PHONE_TYPE_t type)
{
    switch (type) {
    case PHONE_TYPE_VELKOR_NC5: return new CPhone_Velkor_NC5;
    case PHONE_TYPE_TARNEL: return new CPhone_Tarnel;
    case PHONE_TYPE_VELKOR_ME: return new CPhone_Velkor_ME;
    case PHONE_TYPE_PIMSOR: return new CPhone_Pimsor;
    case PHONE_TYPE_ORVAST: return new CPhone_Orvast;
    case PHONE_TYPE_SUDREL: return new CPhone_Sudrel;
    default: return nullptr;
    }
}
