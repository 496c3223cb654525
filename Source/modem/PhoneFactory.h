// The model objects: the one for a model type recorded at detection, and one
// of each model for detection to ask. Only the factory knows the model classes.
#ifndef ZARVEX_PHONE_FACTORY_H
#define ZARVEX_PHONE_FACTORY_H

#include <memory>
#include <string>
#include <vector>

#include "PhoneCardBase.h"

// A new object of the model class for types 2 to 7, null for any other type
// (a port whose device no model claimed has none). The caller deletes it.
CPhoneCardBase *GetPhoneByType(PHONE_TYPE_t type);

using DetectionModels = std::vector<std::unique_ptr<CPhoneCardBase>>;

// One object of each model of the model table, in its order: the order in
// which they are asked to claim an identification reply. The first also
// talks to a modem that no model has claimed yet.
DetectionModels CreateDetectionModels();

// The first model that accepts the reply, or null.
CPhoneCardBase *FindModelForAti(const DetectionModels &models, const std::string &ati);

#endif
