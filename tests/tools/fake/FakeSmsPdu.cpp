#include "FakeSmsPdu.h"

#include <cstdint>
#include <cstdio>
#include <vector>

namespace {
const char kHexDigits[] = "0123456789ABCDEF";
constexpr unsigned kReplacement = 0xFFFD;

// TP-MTI and flags of the first octet.
constexpr int kFirstDeliver = 0x04;       // SMS-DELIVER, no more messages waiting
constexpr int kFirstSubmit = 0x11;        // SMS-SUBMIT, relative validity period
constexpr int kUserDataHeader = 0x40;     // TP-UDHI
constexpr int kDcsGsm7 = 0x00;
constexpr int kDcsUcs2 = 0x08;
constexpr int kValidityFourDays = 0xAA;
constexpr int kTimeZoneChinaQuarters = 0x23;  // +8 h, semi-octets swapped

void AppendUcs2(std::string &out, unsigned cp)
{
    if (cp > 0xFFFF)
        cp = kReplacement;
    out.push_back(static_cast<char>((cp >> 8) & 0xFF));
    out.push_back(static_cast<char>(cp & 0xFF));
}

void AppendOctet(std::string &hex, int value)
{
    hex.push_back(kHexDigits[(value >> 4) & 0xF]);
    hex.push_back(kHexDigits[value & 0xF]);
}

// The GSM 7-bit default alphabet for the characters fixtures use: the
// ASCII letters, digits and most punctuation share their codes; the rest
// go through the extension table or become '?'.
void AppendGsm7(std::vector<int> &septets, unsigned char c)
{
    struct Ext { char c; int code; };
    static const Ext kExtension[] = {{'^', 20}, {'{', 40}, {'}', 41}, {'\\', 47},
                                     {'[', 60},  {'~', 61}, {']', 62}, {'|', 64}};
    if (c == '@') { septets.push_back(0); return; }
    if (c == '$') { septets.push_back(2); return; }
    if (c == '_') { septets.push_back(17); return; }
    for (const Ext &e : kExtension)
        if (e.c == static_cast<char>(c)) {
            septets.push_back(27);
            septets.push_back(e.code);
            return;
        }
    if (c == '\n' || c == '\r' || (c >= 0x20 && c < 0x7F && c != '`'))
        septets.push_back(c);
    else
        septets.push_back('?');
}

// Packs septets behind `headerOctets` octets of user-data header, padding
// to the next septet boundary as TS 23.040 9.2.3.24 asks.
std::string PackSeptets(const std::vector<int> &septets, int headerOctets, int *udl)
{
    const int headerSeptets = (headerOctets * 8 + 6) / 7;
    const int totalBits = (headerSeptets + static_cast<int>(septets.size())) * 7;
    std::string out(static_cast<std::size_t>((totalBits + 7) / 8), '\0');
    int bit = headerSeptets * 7;
    for (int s : septets) {
        for (int b = 0; b < 7; ++b, ++bit)
            if (s & (1 << b))
                out[static_cast<std::size_t>(bit / 8)] |= static_cast<char>(1 << (bit % 8));
    }
    *udl = headerSeptets + static_cast<int>(septets.size());
    return out.substr(static_cast<std::size_t>(headerOctets));
}

std::string SwappedDigits(const std::string &digits)
{
    std::string d = digits;
    if (d.size() % 2)
        d.push_back('F');
    for (std::size_t i = 0; i + 1 < d.size(); i += 2)
        std::swap(d[i], d[i + 1]);
    return d;
}

std::string Digits(const std::string &number)
{
    return !number.empty() && number[0] == '+' ? number.substr(1) : number;
}

std::string SmscField(const std::string &smsc)
{
    const std::string digits = Digits(smsc);
    if (digits.empty())
        return "00";
    std::string field;
    AppendOctet(field, static_cast<int>((digits.size() + 1) / 2 + 1));
    field += "91" + SwappedDigits(digits);
    return field;
}

std::string AddressField(const std::string &number)
{
    std::string field;
    AppendOctet(field, static_cast<int>(Digits(number).size()));
    field += EncodeAddressDigits(number);
    return field;
}

// The 12 digits YYMMDDhhmmss (shorter text is padded with zeros) and the
// time-zone octet, each pair swapped.
std::string TimeStampField(const std::string &time)
{
    std::string t = time.substr(0, 12);
    t.resize(12, '0');
    std::string field = SwappedDigits(t);
    AppendOctet(field, kTimeZoneChinaQuarters);
    return field;
}

std::string UserData(const StoredMessage &m, bool *udhi, int *udl)
{
    const bool concatenated = m.concatRef >= 0;
    std::string header;
    if (concatenated) {
        header = "050003";
        AppendOctet(header, m.concatRef & 0xFF);
        AppendOctet(header, m.concatTotal & 0xFF);
        AppendOctet(header, m.concatSeq & 0xFF);
    }
    *udhi = concatenated;
    if (m.coding == "7bit") {
        std::vector<int> septets;
        for (unsigned char c : m.text)
            AppendGsm7(septets, c);
        const std::string packed = PackSeptets(septets, static_cast<int>(header.size() / 2), udl);
        return header + HexEncode(packed);
    }
    const std::string ucs2 = Utf8ToUcs2(m.text);
    *udl = static_cast<int>(header.size() / 2 + ucs2.size());
    return header + HexEncode(ucs2);
}
}  // namespace

std::string Utf8ToUcs2(const std::string &utf8)
{
    std::string out;
    std::size_t i = 0;
    while (i < utf8.size()) {
        const unsigned char c = static_cast<unsigned char>(utf8[i]);
        int extra = c < 0x80 ? 0 : (c >> 5) == 6 ? 1 : (c >> 4) == 14 ? 2 : (c >> 3) == 30 ? 3 : -1;
        if (extra < 0 || i + static_cast<std::size_t>(extra) >= utf8.size()) {
            AppendUcs2(out, kReplacement);
            ++i;
            continue;
        }
        unsigned cp = extra == 0 ? c : c & (0x3F >> extra);
        bool ok = true;
        for (int k = 1; k <= extra; ++k) {
            const unsigned char cc = static_cast<unsigned char>(utf8[i + static_cast<std::size_t>(k)]);
            if ((cc & 0xC0) != 0x80) {
                ok = false;
                break;
            }
            cp = (cp << 6) | (cc & 0x3F);
        }
        if (!ok) {
            AppendUcs2(out, kReplacement);
            ++i;
            continue;
        }
        AppendUcs2(out, cp);
        i += static_cast<std::size_t>(extra) + 1;
    }
    return out;
}

std::string Ucs2ToUtf8(const std::string &ucs2)
{
    std::string out;
    for (std::size_t i = 0; i + 1 < ucs2.size(); i += 2) {
        const unsigned cp = (static_cast<unsigned char>(ucs2[i]) << 8) | static_cast<unsigned char>(ucs2[i + 1]);
        if (cp < 0x80) {
            out.push_back(static_cast<char>(cp));
        } else if (cp < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        }
    }
    return out;
}

std::string HexEncode(const std::string &bytes)
{
    std::string hex;
    hex.reserve(bytes.size() * 2);
    for (unsigned char c : bytes)
        AppendOctet(hex, c);
    return hex;
}

bool HexDecode(const std::string &hex, std::string *bytes)
{
    if (hex.size() % 2)
        return false;
    auto value = [](char c) {
        if (c >= '0' && c <= '9') return c - '0';
        if (c >= 'A' && c <= 'F') return c - 'A' + 10;
        if (c >= 'a' && c <= 'f') return c - 'a' + 10;
        return -1;
    };
    std::string out;
    for (std::size_t i = 0; i < hex.size(); i += 2) {
        const int hi = value(hex[i]), lo = value(hex[i + 1]);
        if (hi < 0 || lo < 0)
            return false;
        out.push_back(static_cast<char>(hi * 16 + lo));
    }
    *bytes = out;
    return true;
}

std::string EncodeAddressDigits(const std::string &number)
{
    const bool international = !number.empty() && number[0] == '+';
    return std::string(international ? "91" : "81") + SwappedDigits(Digits(number));
}

std::string BuildStoredPdu(const StoredMessage &m, const std::string &smsc)
{
    const bool outgoing = m.stat == 2 || m.stat == 3;
    bool udhi = false;
    int udl = 0;
    const std::string userData = UserData(m, &udhi, &udl);
    const int dcs = m.coding == "7bit" ? kDcsGsm7 : kDcsUcs2;

    std::string pdu = SmscField(smsc);
    if (outgoing) {
        AppendOctet(pdu, kFirstSubmit | (udhi ? kUserDataHeader : 0));
        pdu += "00";  // message reference
        pdu += AddressField(m.sender);
        pdu += "00";  // protocol identifier
        AppendOctet(pdu, dcs);
        AppendOctet(pdu, kValidityFourDays);
    } else {
        AppendOctet(pdu, kFirstDeliver | (udhi ? kUserDataHeader : 0));
        pdu += AddressField(m.sender);
        pdu += "00";
        AppendOctet(pdu, dcs);
        pdu += TimeStampField(m.time);
    }
    AppendOctet(pdu, udl & 0xFF);
    return pdu + userData;
}

int TpduOctets(const std::string &pduHex)
{
    std::string bytes;
    if (!HexDecode(pduHex, &bytes) || bytes.empty())
        return -1;
    const int smscOctets = static_cast<unsigned char>(bytes[0]);
    const int tpdu = static_cast<int>(bytes.size()) - 1 - smscOctets;
    return tpdu < 0 ? -1 : tpdu;
}
