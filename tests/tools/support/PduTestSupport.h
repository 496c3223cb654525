// Shared by the codec tests and the platforms' text conversion tests: hex
// text to octets and back without the codec, so that expectations do not
// lean on the code under test.
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

inline std::string Hex2Octet(size_t value)
{
    const unsigned char octet = static_cast<unsigned char>(value);
    return Hex(&octet, 1);
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

// An SMS-SUBMIT split into its fields by the rules of TS 23.040 (9.2.2.2),
// written apart from the codec so that encoder output is checked against the
// standard rather than against itself. Fields are hex text.
struct SubmitFields {
    std::string scaLength, scaType, scaDigits;  // digits in semi-octet order
    std::string firstOctet, messageRef;
    std::string daLength, daType, daDigits;
    std::string pid, dcs, vp;
    std::string udl, udh, ud;  // udh: UDHL and the elements, when UDHI is set
    bool complete = false;     // every announced octet was there, nothing more
};

inline SubmitFields SplitSubmit(const std::string &hex)
{
    SubmitFields f;
    size_t at = 0;
    auto take = [&](size_t octets, std::string &field) {
        if (at + 2 * octets > hex.size())
            return false;
        field = hex.substr(at, 2 * octets);
        at += 2 * octets;
        return true;
    };
    auto value = [](const std::string &field) { return static_cast<size_t>(std::stoul(field, nullptr, 16)); };
    if (!take(1, f.scaLength))
        return f;
    if (value(f.scaLength) > 0 && !(take(1, f.scaType) && take(value(f.scaLength) - 1, f.scaDigits)))
        return f;
    if (!take(1, f.firstOctet) || !take(1, f.messageRef) || !take(1, f.daLength) || !take(1, f.daType))
        return f;
    if (!take((value(f.daLength) + 1) / 2, f.daDigits) || !take(1, f.pid) || !take(1, f.dcs))
        return f;
    const size_t fo = value(f.firstOctet);
    const size_t vpf = (fo >> 3) & 3;  // 0 none, 2 relative, 1 and 3 seven octets
    if (vpf != 0 && !take(vpf == 2 ? 1 : 7, f.vp))
        return f;
    if (!take(1, f.udl))
        return f;
    if (fo & 0x40) {
        std::string udhl;
        if (!take(1, udhl))
            return f;
        at -= 2;
        if (!take(1 + value(udhl), f.udh))
            return f;
    }
    f.ud = hex.substr(at);
    f.complete = f.ud.size() % 2 == 0;
    return f;
}

#endif
