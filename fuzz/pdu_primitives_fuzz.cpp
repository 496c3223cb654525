// Hex conversion and septet unpacking against arbitrary input, with the
// buffer sizes their contracts give, plus the round trips that must hold.
#include "PduCodec.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace {

void HexRoundTrip(const uint8_t *data, size_t size)
{
    // Any text: (count + 1) / 2 octets are written, and an odd count reads
    // the terminator after the text.
    const std::string text(reinterpret_cast<const char *>(data), size);
    const int count = static_cast<int>(strnlen(text.c_str(), size));
    std::vector<unsigned char> octets(static_cast<size_t>(count + 1) / 2);
    if (gsmString2Bytes(text.c_str(), octets.data(), count) != count / 2)
        __builtin_trap();

    // Octets to hex and back are exact.
    std::vector<char> hex(2 * size + 1);
    gsmBytes2String(data, hex.data(), static_cast<int>(size));
    std::vector<unsigned char> back(size);
    gsmString2Bytes(hex.data(), back.data(), static_cast<int>(2 * size));
    if (size > 0 && std::memcmp(back.data(), data, size) != 0)
        __builtin_trap();
}

// The septet values at which the GSM default alphabet holds the ASCII
// character of the same code.
bool SameInAscii(unsigned char c)
{
    return c == '\n' || c == '\r' || (c >= ' ' && c <= '#') || (c >= '%' && c <= '?') || (c >= 'A' && c <= 'Z') ||
           (c >= 'a' && c <= 'z');
}

void SeptetRoundTrip(const uint8_t *data, size_t size)
{
    // Arbitrary octets: at most the work area is unpacked, each septet into
    // at most its share of bytes.
    const int count = static_cast<int>(size);
    const int read = count < GSM_7BIT_MAX_OCTETS ? count : GSM_7BIT_MAX_OCTETS;
    const size_t room = GSM_7BIT_TEXT_BYTES_PER_SEPTET * static_cast<size_t>(read + read / 7) + 1;
    std::vector<char> text(room);
    const int n = gsmDecode7bit(data, text.data(), count);
    if (n < 0 || static_cast<size_t>(n) >= room || text[static_cast<size_t>(n)] != '\0')
        __builtin_trap();

    // Text that the alphabet shares with ASCII comes back as it went.
    std::string plain;
    for (size_t i = 0; i < size && plain.size() < 300; i++) {
        const unsigned char c = data[i] & 0x7F;
        if (SameInAscii(c))
            plain += static_cast<char>(c);
    }
    std::vector<unsigned char> packed(plain.size() + 1);
    const int octets = gsmEncode7bit(plain.data(), packed.data(), static_cast<int>(plain.size()));
    std::vector<char> unpacked(GSM_7BIT_TEXT_BYTES_PER_SEPTET * static_cast<size_t>(octets + octets / 7) + 1);
    gsmDecode7bit(packed.data(), unpacked.data(), octets);
    if (std::strncmp(unpacked.data(), plain.c_str(), plain.size()) != 0)
        __builtin_trap();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    HexRoundTrip(data, size);
    SeptetRoundTrip(data, size);
    return 0;
}
