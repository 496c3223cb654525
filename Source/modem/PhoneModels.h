// The supported modem models, listed once as plain data: their type names,
// the module each claims and a sample of its identification reply. Detection,
// the type names and the tests read this table, and each model class hands
// its own row to the base class when it is built. The table names no class:
// the factory (PhoneFactory.h) alone ties a type to its class.
#ifndef ZARVEX_PHONE_MODELS_H
#define ZARVEX_PHONE_MODELS_H

#include <cstddef>

#include "PhoneCardDefine.h"

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
