// Fields of an SMS-SUBMIT head as hex text, shared by the encoders and the
// offered push head (in the offered library). Private to the codec.
#ifndef ZARVEX_SUBMIT_FIELDS_H
#define ZARVEX_SUBMIT_FIELDS_H

#include <cstddef>
#include <string>

#include "PduCodec.h"

namespace pdutext {

extern const char kMessageReference[];  // "00": the modem assigns its own
extern const char kInternational[];     // type of address 91

// A number member read within its bounds, without a leading '+'.
std::string NumberDigits(const char *member, std::size_t memberSize);
// Digits in semi-octet order, 'F'-filled to an even count.
std::string SemiOctets(const std::string &digits);
std::string Hex2(unsigned value);  // "%02X"
// The SMS-centre field of a concatenated part's head: length, 91, digits.
std::string SmsCenterFieldPart(const SM_PARAM *pSrc);
// Copies a head into the caller's buffer of SM_SUBMIT_HEAD_SIZE characters,
// cut to fit, terminated when asked; the characters copied.
int CopyHead(const std::string &head, char *pDst, bool terminate);

} // namespace pdutext

#endif
