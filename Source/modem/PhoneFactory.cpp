#include "PhoneFactory.h"

#include "PhoneModels.h"
#include "Phone_Orvast.h"
#include "Phone_Pimsor.h"
#include "Phone_Sudrel.h"
#include "Phone_Tarnel.h"
#include "Phone_Velkor_ME.h"
#include "Phone_Velkor_NC5.h"

namespace {

template <class Model>
CPhoneCardBase *Create()
{
    return new Model;
}

struct ModelClass {
    PHONE_TYPE_t type;
    CPhoneCardBase *(*create)();  // a new object of the model's class
};

// What a model is known by lives in the model table (PhoneModels.h); this one
// only ties each type to its class, so that nothing else needs the classes.
constexpr ModelClass kModelClasses[] = {
    {PHONE_TYPE_VELKOR_NC5, Create<CPhone_Velkor_NC5>},
    {PHONE_TYPE_TARNEL, Create<CPhone_Tarnel>},
    {PHONE_TYPE_VELKOR_ME, Create<CPhone_Velkor_ME>},
    {PHONE_TYPE_PIMSOR, Create<CPhone_Pimsor>},
    {PHONE_TYPE_ORVAST, Create<CPhone_Orvast>},
    {PHONE_TYPE_SUDREL, Create<CPhone_Sudrel>},
};

}  // namespace

CPhoneCardBase *GetPhoneByType(PHONE_TYPE_t type)
{
    for (const ModelClass &model : kModelClasses)
        if (model.type == type)
            return model.create();
    return nullptr;
}

DetectionModels CreateDetectionModels()
{
    DetectionModels models;
    for (const PhoneModel &model : AllPhoneModels())
        models.emplace_back(GetPhoneByType(model.type));
    return models;
}

CPhoneCardBase *FindModelForAti(const DetectionModels &models, const std::string &ati)
{
    for (const std::unique_ptr<CPhoneCardBase> &model : models)
        if (model->IsATI_RspMatch(ati))
            return model.get();
    return nullptr;
}
