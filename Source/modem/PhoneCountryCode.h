// The two rules by which a destination number is judged to carry its country
// prefix. Each build's CPhoneCardBase::JudgePhoneCountryCode uses one of them;
// both are plain functions of the number, so either can be checked anywhere.
#ifndef ZARVEX_PHONE_COUNTRY_CODE_H
#define ZARVEX_PHONE_COUNTRY_CODE_H

#include <string>

#include "PhoneCardBase.h"

// The Linux build's rule: "0086" and 11 more characters, or "86" and 11 more.
// The region code is always 6.
CountryCode_t JudgeCountryCodeByLength(const std::string &number);

// The Windows build's rule: the whole number matched against a table of
// patterns (mainland China, Hong Kong 852, Macau 853), the first match
// deciding; no match gives the defaults (6, no prefix).
CountryCode_t JudgeCountryCodeByPatterns(const std::string &number);

#endif
