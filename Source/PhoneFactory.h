// The model object for a model type recorded at detection.
#ifndef ZARVEX_PHONE_FACTORY_H
#define ZARVEX_PHONE_FACTORY_H

#include "PhoneCardBase.h"

// A new object of the model class for types 2 to 7, null for any other type
// (a port whose device no model claimed has none). The caller deletes it.
CPhoneCardBase *GetPhoneByType(PHONE_TYPE_t type);

#endif
