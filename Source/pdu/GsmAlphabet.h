// The GSM 7-bit default alphabet and its extension table (3GPP TS 23.038
// 6.2.1): packed septets of a received text or of an alphanumeric address to
// the characters the sender wrote, and those to the console's text.
#ifndef ZARVEX_GSM_ALPHABET_H
#define ZARVEX_GSM_ALPHABET_H

#include <cstddef>
#include <string>

namespace pdutext {

// Septets are packed seven bits each into octets, least significant bit
// first (TS 23.038 6.1.2.1.1).
constexpr std::size_t kBitsPerOctet = 8;
constexpr std::size_t kBitsPerSeptet = 7;
constexpr unsigned char kSeptetMask = 0x7F;

// Septet `index` of packed septets: bits 7 * index to
// 7 * index + 6 of the octets, least significant bit first. The octets must
// hold all of its bits: index < SeptetsInOctets(octet count).
unsigned char SeptetAt(const unsigned char *octets, std::size_t index);

// The whole septets that `octets` packed octets hold.
std::size_t SeptetsInOctets(std::size_t octets);

// The characters of `count` septets from septet `first` on, each septet as
// SeptetAt reads it. An escape (27) takes the next septet from the extension
// table; a next septet that the table lacks stands for its own character of
// the default alphabet, as a phone shows it; an escape that ends the septets
// stands for nothing.
std::u32string GsmSeptetsToCodePoints(const unsigned char *octets, std::size_t first, std::size_t count);

// The same characters in the console's encoding, written terminated into a
// buffer of `size` bytes (size > 0), cut before a character that would not
// fit. Returns the bytes written, terminator not counted.
std::size_t GsmSeptetsToConsoleText(const unsigned char *octets, std::size_t first, std::size_t count, char *dst,
                                    std::size_t size);

// A character that the default alphabet reaches only through its extension
// table, and so costs two septets.
bool IsGsmExtensionCharacter(char32_t c);

} // namespace pdutext

#endif
