// The platform-free pieces of the text conversions: UCS2 octets, UTF-16
// units, code points and UTF-8, with no locale and no code page involved.
// The platform bindings (the locale on Linux, the ANSI code page on Windows)
// are built on them.
#ifndef ZARVEX_UCS2_UNITS_H
#define ZARVEX_UCS2_UNITS_H

#include <cstddef>
#include <string>

namespace pdutext {

const char32_t kReplacement = 0xFFFD;
const char32_t kMaxCodePoint = 0x10FFFF;

// UCS2 octets, high octet first, to code points: count / 2 units (an odd last
// octet is ignored); a pair of UTF-16 surrogates joins into its character and
// a lone one stands as U+FFFD, so that one emoji does not cost the whole text.
// Units of value 0 are kept.
std::u32string Ucs2ToCodePoints(const unsigned char *octets, int count);

bool IsHighSurrogate(char32_t c);
bool IsLowSurrogate(char32_t c);

// Where a part of UCS2 octets (high octet first) that starts at `start` ends,
// when a part holds at most `room` octets (an even count, at least 4): after
// `room` octets or at the end of the text, but one unit earlier when that
// would cut a surrogate pair in two, so that a character outside the BMP
// never goes out in two parts. Returns `size` for a start at or past the end.
std::size_t Ucs2PartEnd(const unsigned char *octets, std::size_t size, std::size_t start, std::size_t room);

// Code points to UTF-16 units: above U+FFFF a surrogate pair, above U+10FFFF
// U+FFFD. A value up to U+FFFF, a surrogate half included, is one unit, so
// text that already is UTF-16 (a 16-bit wide text) passes unchanged.
std::u16string CodePointsToUtf16(const std::u32string &text);

// UTF-8 without the C library: ends at a character of value 0; a surrogate
// value or a value above U+10FFFF fails the whole text (ok false, result
// empty), as the C library's UTF-8 conversion does.
std::string WideToUtf8(const std::wstring &text, bool &ok);

// UTF-8 bytes to wide text without the C library: ends at a NUL byte; every
// byte that does not begin a well-formed sequence becomes U+FFFD.
std::wstring Utf8ToWideLenient(const std::string &text);

// The longest prefix of the first `bytes` bytes of text, at most `room` bytes
// long, that cuts no character in two. In UTF-8 a cut never leaves a lead
// byte without its continuation bytes (bytes that begin no well-formed
// sequence count as one byte each).
std::size_t Utf8PrefixLength(const char *text, std::size_t bytes, std::size_t room);

// The same for a double-byte code page such as 936: a byte for which
// isLeadByte is true starts a two-byte character.
std::size_t DoubleBytePrefixLength(const char *text, std::size_t bytes, std::size_t room,
                                   bool (*isLeadByte)(unsigned char));

} // namespace pdutext

#endif
