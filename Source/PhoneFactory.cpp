#include "PhoneFactory.h"

#include "PhoneModels.h"

CPhoneCardBase *GetPhoneByType(PHONE_TYPE_t type)
{
    const PhoneModel *model = FindPhoneModel(type);
    return model ? model->create() : nullptr;
}
