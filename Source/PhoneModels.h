// The supported modem models, listed once: the factory, the detection, the
// type names and the tests all read this table. A model is its row here and
// a class of its own that overrides only what its module does differently.
#ifndef ZARVEX_PHONE_MODELS_H
#define ZARVEX_PHONE_MODELS_H

#include <cstddef>

#include "PhoneCardDefine.h"

class CPhoneCardBase;

struct PhoneModel {
    PHONE_TYPE_t type;
    const char *typeName;    // the text of PhoneTypeToString
    const char *moduleName;  // claims an identification reply that contains it
    const char *atiSample;   // an identification reply as the module sends it
    CPhoneCardBase *(*create)();  // a new object of the model's class
};

// The rows in the order in which detection asks them to claim a reply: the
// first to claim it wins.
struct PhoneModelList {
    const PhoneModel *first;
    std::size_t count;

    const PhoneModel *begin() const { return first; }
    const PhoneModel *end() const { return first + count; }
};

PhoneModelList AllPhoneModels();

// The row of a type, or null for a type that has none (0, the base type 1,
// and any value outside the enumeration).
const PhoneModel *FindPhoneModel(PHONE_TYPE_t type);

#endif
