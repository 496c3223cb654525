// Helpers shared by the codec tests: hex text to octets and back without the
// codec, so that expectations do not lean on the code under test.
#ifndef ZARVEX_PDU_TEST_SUPPORT_H
#define ZARVEX_PDU_TEST_SUPPORT_H

#include <cstring>
#include <string>
#include <vector>

inline std::vector<unsigned char> Octets(const std::string &hex)
{
    std::vector<unsigned char> out;
    for (size_t i = 0; i + 1 < hex.size(); i += 2)
        out.push_back(static_cast<unsigned char>(std::stoul(hex.substr(i, 2), nullptr, 16)));
    return out;
}

inline std::string Hex(const unsigned char *octets, size_t count)
{
    static const char digits[] = "0123456789ABCDEF";
    std::string out;
    for (size_t i = 0; i < count; i++) {
        out += digits[octets[i] >> 4];
        out += digits[octets[i] & 0x0F];
    }
    return out;
}

inline std::string Hex(const std::vector<unsigned char> &octets) { return Hex(octets.data(), octets.size()); }

// UTF-8 text as big-endian UCS2 hex, for the BMP characters the tests use.
inline std::string Ucs2Hex(const std::u16string &text)
{
    std::string out;
    static const char digits[] = "0123456789ABCDEF";
    for (char16_t c : text) {
        for (int shift = 12; shift >= 0; shift -= 4)
            out += digits[(c >> shift) & 0x0F];
    }
    return out;
}

inline std::string Repeat(const std::string &piece, size_t times)
{
    std::string out;
    for (size_t i = 0; i < times; i++)
        out += piece;
    return out;
}

// A member holds a terminated text within its size.
template <size_t N> bool Terminated(const char (&member)[N]) { return strnlen(member, N) < N; }

#endif
