#include "GsmAlphabet.h"

#include "ConsoleText.h"

#include <cstring>

namespace pdutext {

namespace {

const unsigned char kEscape = 0x1B;

// The default alphabet by septet value. Where it agrees with ASCII the
// character is written as ASCII. The escape's own place (1B) is never read:
// an escape always takes the septet after it.
const char32_t kDefaultAlphabet[128] = {
    U'@', U'\u00A3', U'$', U'\u00A5', U'\u00E8', U'\u00E9', U'\u00F9', U'\u00EC',  // 00: @ £ $ ¥ è é ù ì
    U'\u00F2', U'\u00C7', U'\n', U'\u00D8', U'\u00F8', U'\r', U'\u00C5', U'\u00E5',  // 08: ò Ç LF Ø ø CR Å å
    U'\u0394', U'_', U'\u03A6', U'\u0393', U'\u039B', U'\u03A9', U'\u03A0', U'\u03A8',  // 10: Δ _ Φ Γ Λ Ω Π Ψ
    U'\u03A3', U'\u0398', U'\u039E', U' ', U'\u00C6', U'\u00E6', U'\u00DF', U'\u00C9',  // 18: Σ Θ Ξ (escape) Æ æ ß É
    U' ', U'!', U'"', U'#', U'\u00A4', U'%', U'&', U'\'',  // 20: SP ! " # ¤ % & '
    U'(', U')', U'*', U'+', U',', U'-', U'.', U'/',  // 28: ( ) * + , - . /
    U'0', U'1', U'2', U'3', U'4', U'5', U'6', U'7',  // 30: 0 1 2 3 4 5 6 7
    U'8', U'9', U':', U';', U'<', U'=', U'>', U'?',  // 38: 8 9 : ; < = > ?
    U'\u00A1', U'A', U'B', U'C', U'D', U'E', U'F', U'G',  // 40: ¡ A B C D E F G
    U'H', U'I', U'J', U'K', U'L', U'M', U'N', U'O',  // 48: H I J K L M N O
    U'P', U'Q', U'R', U'S', U'T', U'U', U'V', U'W',  // 50: P Q R S T U V W
    U'X', U'Y', U'Z', U'\u00C4', U'\u00D6', U'\u00D1', U'\u00DC', U'\u00A7',  // 58: X Y Z Ä Ö Ñ Ü §
    U'\u00BF', U'a', U'b', U'c', U'd', U'e', U'f', U'g',  // 60: ¿ a b c d e f g
    U'h', U'i', U'j', U'k', U'l', U'm', U'n', U'o',  // 68: h i j k l m n o
    U'p', U'q', U'r', U's', U't', U'u', U'v', U'w',  // 70: p q r s t u v w
    U'x', U'y', U'z', U'\u00E4', U'\u00F6', U'\u00F1', U'\u00FC', U'\u00E0',  // 78: x y z ä ö ñ ü à
};

// The extension table: the septet after an escape and the character it
// stands for. A second escape is reserved for a further table, which a phone
// shows as a space until one is defined.
struct Extension {
    unsigned char septet;
    char32_t character;
};
const Extension kExtensions[] = {
    {0x0A, U'\f'}, {0x14, U'^'}, {0x28, U'{'}, {0x29, U'}'}, {0x2F, U'\\'}, {0x3C, U'['},
    {0x3D, U'~'},  {0x3E, U']'}, {0x40, U'|'}, {0x65, U'\u20AC'}, {kEscape, U' '},
};

bool FindExtension(unsigned char septet, char32_t &character)
{
    for (const Extension &e : kExtensions) {
        if (e.septet == septet) {
            character = e.character;
            return true;
        }
    }
    return false;
}

} // namespace

unsigned char SeptetAt(const unsigned char *octets, std::size_t index)
{
    const std::size_t bit = kBitsPerSeptet * index;
    const std::size_t at = bit / kBitsPerOctet;
    const unsigned shift = static_cast<unsigned>(bit % kBitsPerOctet);
    unsigned value = static_cast<unsigned>(octets[at]) >> shift;
    if (shift + kBitsPerSeptet > kBitsPerOctet)
        value |= static_cast<unsigned>(octets[at + 1]) << (kBitsPerOctet - shift);
    return static_cast<unsigned char>(value & kSeptetMask);
}

std::size_t SeptetsInOctets(std::size_t octets) { return kBitsPerOctet * octets / kBitsPerSeptet; }

std::u32string GsmSeptetsToCodePoints(const unsigned char *octets, std::size_t first, std::size_t count)
{
    std::u32string out;
    out.reserve(count);
    const std::size_t end = first + count;
    for (std::size_t i = first; i < end; i++) {
        const unsigned char septet = SeptetAt(octets, i);
        if (septet != kEscape) {
            out += kDefaultAlphabet[septet];
            continue;
        }
        if (i + 1 == end)
            break;
        const unsigned char next = SeptetAt(octets, ++i);
        char32_t extension = 0;
        out += FindExtension(next, extension) ? extension : kDefaultAlphabet[next];
    }
    return out;
}

std::size_t GsmSeptetsToConsoleText(const unsigned char *octets, std::size_t first, std::size_t count, char *dst,
                                    std::size_t size)
{
    const std::string text = CodePointsToConsoleText(GsmSeptetsToCodePoints(octets, first, count));
    const std::size_t bytes = ConsoleTextPrefixLength(text.data(), text.size(), size - 1);
    std::memcpy(dst, text.data(), bytes);
    dst[bytes] = '\0';
    return bytes;
}

bool IsGsmExtensionCharacter(char32_t c)
{
    for (const Extension &e : kExtensions)
        if (e.character == c && e.septet != kEscape)
            return true;
    return false;
}

} // namespace pdutext
