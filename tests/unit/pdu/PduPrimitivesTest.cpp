#include "ConsoleEnvironment.h"
#include "PduCodec.h"
#include "PduOffered.h"
#include "PduTestSupport.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

template <typename T> std::string CaseName(const testing::TestParamInfo<T> &info) { return info.param.name; }

struct HexCase {
    const char *name;
    std::string text;
    int count;
    std::vector<unsigned char> octets;  // what is written
    int result;
    friend void PrintTo(const HexCase &c, std::ostream *os) { *os << c.name; }
};

class String2BytesTest : public testing::TestWithParam<HexCase> {};

TEST_P(String2BytesTest, ConvertsPairs)
{
    const HexCase &c = GetParam();
    unsigned char out[16];
    std::memset(out, 0xEE, sizeof(out));
    EXPECT_EQ(gsmString2Bytes(c.text.c_str(), out, c.count), c.result);
    EXPECT_EQ(std::vector<unsigned char>(out, out + c.octets.size()), c.octets);
    EXPECT_EQ(out[c.octets.size()], 0xEE) << "wrote past the octets it owns";
}

INSTANTIATE_TEST_SUITE_P(
    Texts, String2BytesTest,
    testing::Values(HexCase{"SmsCenterLength", "0891", 4, {0x08, 0x91}, 2},
                    // An odd count converts one more pair than it reports.
                    HexCase{"OddCountWritesOneMore", "0891", 3, {0x08, 0x91}, 1},
                    // The terminator is converted like any other character: 0 - 55.
                    HexCase{"OddCountAtTerminator", "089", 3, {0x08, 0xD9}, 1},
                    HexCase{"UpperCaseLetters", "ABCDEF", 6, {0xAB, 0xCD, 0xEF}, 3},
                    HexCase{"LowerCaseFirstDigit", "a0", 2, {0xA0}, 1},
                    HexCase{"LowerCaseSecondDigitSetsBit5", "0a", 2, {0x2A}, 1},
                    // 'G' is 16: the high nibble overflows and is cut to 8 bits.
                    HexCase{"NonHexIsArithmetic", "G1", 2, {0x01}, 1},
                    HexCase{"ZeroCount", "0891", 0, {}, 0},
                    HexCase{"NegativeCount", "0891", -4, {}, 0}),
    CaseName<HexCase>);

TEST(String2Bytes, HostileBytesStayDefined)
{
    // Bytes above 127 and control characters run through the arithmetic rule
    // without undefined shifts (UBSan checks this).
    const char text[] = "\xFF\x80\x01!~\x7F";
    unsigned char out[3];
    EXPECT_EQ(gsmString2Bytes(text, out, 6), 3);
}

TEST(Bytes2String, WritesUpperCaseAndTerminator)
{
    const unsigned char octets[] = {0x00, 0xAB, 0x1F};
    char text[8];
    std::memset(text, 'x', sizeof(text));
    EXPECT_EQ(gsmBytes2String(octets, text, 3), 6);
    EXPECT_STREQ(text, "00AB1F");
    EXPECT_EQ(text[7], 'x');

    EXPECT_EQ(gsmBytes2String(octets, text, 0), 0);
    EXPECT_STREQ(text, "");
}

struct SemiOctetCase {
    const char *name;
    std::string digits;
    std::string swapped;
    friend void PrintTo(const SemiOctetCase &c, std::ostream *os) { *os << c.name; }
};

class SemiOctetTest : public testing::TestWithParam<SemiOctetCase> {};

TEST_P(SemiOctetTest, InvertsAndSerializes)
{
    const SemiOctetCase &c = GetParam();
    char out[64];
    std::memset(out, 'x', sizeof(out));
    EXPECT_EQ(gsmInvertNumbers(c.digits.c_str(), out, static_cast<int>(c.digits.size())),
              static_cast<int>(c.swapped.size()));
    EXPECT_EQ(std::string(out), c.swapped);

    std::memset(out, 'x', sizeof(out));
    EXPECT_EQ(gsmSerializeNumbers(c.swapped.c_str(), out, static_cast<int>(c.swapped.size())),
              static_cast<int>(c.digits.size()));
    EXPECT_EQ(std::string(out), c.digits);
}

INSTANTIATE_TEST_SUITE_P(Numbers, SemiOctetTest,
                         testing::Values(SemiOctetCase{"OddGetsFillF", "1234567", "214365F7"},
                                         SemiOctetCase{"Even", "1234", "2143"},
                                         SemiOctetCase{"SingleDigit", "5", "F5"},
                                         SemiOctetCase{"ChinaMobileService", "10086", "0180F6"},
                                         SemiOctetCase{"Empty", "", ""}),
                         CaseName<SemiOctetCase>);

TEST(InvertNumbers, OddCountReadsNothingPastTheDigits)
{
    // The buffer ends with the last digit: no terminator follows it.
    const char digits[3] = {'1', '2', '3'};
    char out[8];
    EXPECT_EQ(gsmInvertNumbers(digits, out, 3), 4);
    EXPECT_STREQ(out, "21F3");
}

TEST(SerializeNumbers, OddCountKeepsItsLastCharacterAlone)
{
    const char swapped[3] = {'2', '1', '3'};
    char out[8];
    EXPECT_EQ(gsmSerializeNumbers(swapped, out, 3), 3);
    EXPECT_STREQ(out, "123");
}

struct SeptetCase {
    const char *name;
    std::string text;
    std::string packed;   // hex of gsmEncode7bit's octets
    std::string decoded;  // gsmDecode7bit of those octets
    friend void PrintTo(const SeptetCase &c, std::ostream *os) { *os << c.name; }
};

class SeptetTest : public testing::TestWithParam<SeptetCase> {};

TEST_P(SeptetTest, PacksAndUnpacks)
{
    const SeptetCase &c = GetParam();
    unsigned char packed[64];
    const int octets = gsmEncode7bit(c.text.c_str(), packed, static_cast<int>(c.text.size()));
    EXPECT_EQ(Hex(packed, static_cast<size_t>(octets)), c.packed);
    EXPECT_EQ(octets, (7 * static_cast<int>(c.text.size()) + 7) / 8);

    char text[128];
    EXPECT_EQ(gsmDecode7bit(packed, text, octets), static_cast<int>(c.decoded.size()));
    EXPECT_EQ(std::string(text), c.decoded);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, SeptetTest,
    testing::Values(SeptetCase{"HelloHello", "hellohello", "E8329BFD4697D9EC37", "hellohello"},
                    SeptetCase{"SingleLetter", "A", "41", "A"},
                    // Seven octets hold eight septets: the fill bits come back as '@'.
                    SeptetCase{"SevenDigitsGainAt", "1234567", "31D98C56B3DD00", "1234567@"},
                    SeptetCase{"EightCharactersFillSevenOctets", "12345678", "31D98C56B3DD70", "12345678"},
                    SeptetCase{"HowAreYou", "How are you?", "C8F71D14969741F977FD07", "How are you?"},
                    // Bytes above 127 would spill into the next septet.
                    SeptetCase{"HighByteSentAsQuestionMark", "a\xE4z", "E19F1E", "a?z"},
                    SeptetCase{"Empty", "", "", ""}),
    CaseName<SeptetCase>);

struct UnpackCase {
    const char *name;
    std::vector<unsigned char> septets;  // packed by the test
    std::string decoded;                 // UTF-8; the build's console text is expected
    friend void PrintTo(const UnpackCase &c, std::ostream *os) { *os << c.name; }
};

class SeptetMappingTest : public testing::TestWithParam<UnpackCase> {};

// Packs septet values directly, so that escapes and 0 reach the decoder.
std::vector<unsigned char> PackSeptets(const std::vector<unsigned char> &septets)
{
    std::vector<unsigned char> out((septets.size() * 7 + 7) / 8, 0);
    for (size_t i = 0; i < septets.size(); i++) {
        const size_t bit = 7 * i;
        out[bit / 8] |= static_cast<unsigned char>(septets[i] << (bit % 8));
        if (bit % 8 > 1 && bit / 8 + 1 < out.size())
            out[bit / 8 + 1] |= static_cast<unsigned char>(septets[i] >> (8 - bit % 8));
    }
    return out;
}

TEST_P(SeptetMappingTest, ShowsTheCharactersTheSenderWrote)
{
    const UnpackCase &c = GetParam();
    const std::vector<unsigned char> packed = PackSeptets(c.septets);
    // Seven septets short of a whole group leave seven fill bits in the last
    // octet, which come back as '@'.
    const std::string expected = ConsoleText(c.decoded) + (c.septets.size() % 8 == 7 ? "@" : "");
    std::vector<char> text(GSM_7BIT_TEXT_BYTES_PER_SEPTET * (c.septets.size() + 1) + 1, 'x');
    const int n = gsmDecode7bit(packed.data(), text.data(), static_cast<int>(packed.size()));
    EXPECT_EQ(n, static_cast<int>(expected.size()));
    EXPECT_EQ(std::string(text.data()), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Septets, SeptetMappingTest,
    testing::Values(
        // "$5 x_y €": dollar, underscore and euro are no septets of their
        // ASCII codes.
        UnpackCase{"SenderText", {0x02, '5', ' ', 'x', 0x11, 'y', ' ', 27, 0x65}, "$5 x_y \xE2\x82\xAC"},
        UnpackCase{"EscapeBracket", {27, 60}, "["},
        UnpackCase{"EveryExtension", {27, 10, 27, 20, 27, 40, 27, 41, 27, 47, 27, 60, 27, 61, 27, 62, 27, 64, 27, 101},
                   "\f^{}\\[~]|\xE2\x82\xAC"},
        // A phone shows the default character of a value the extension table
        // lacks, a space for the escape to a further table, and nothing for an
        // escape with nothing after it.
        UnpackCase{"EscapeBeforeUnknownShowsTheSecond", {27, 'a', 27, 0x05}, "a\xC3\xA9"},
        UnpackCase{"EscapeEscapeIsASpace", {27, 27, 60}, " <"},
        UnpackCase{"EscapeLastShowsNothing", {'a', 27}, "a"},
        UnpackCase{"LoneZeroIsAt", {0}, "@"},
        // Every character of the default alphabet that ASCII does not hold at
        // the same code.
        UnpackCase{"DefaultAlphabetBeyondAscii",
                   {0x01, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0x09, 0x0B, 0x0C, 0x0E, 0x0F, 0x10, 0x12, 0x13,
                    0x14, 0x15, 0x16, 0x17, 0x18, 0x19, 0x1A, 0x1C, 0x1D, 0x1E, 0x1F, 0x24, 0x40, 0x5B, 0x5C,
                    0x5D, 0x5E, 0x5F, 0x60, 0x7B, 0x7C, 0x7D, 0x7E, 0x7F},
                   "\xC2\xA3\xC2\xA5\xC3\xA8\xC3\xA9\xC3\xB9\xC3\xAC\xC3\xB2\xC3\x87\xC3\x98\xC3\xB8"
                   "\xC3\x85\xC3\xA5\xCE\x94\xCE\xA6\xCE\x93\xCE\x9B\xCE\xA9\xCE\xA0\xCE\xA8\xCE\xA3"
                   "\xCE\x98\xCE\x9E\xC3\x86\xC3\xA6\xC3\x9F\xC3\x89\xC2\xA4\xC2\xA1\xC3\x84\xC3\x96"
                   "\xC3\x91\xC3\x9C\xC2\xA7\xC2\xBF\xC3\xA4\xC3\xB6\xC3\xB1\xC3\xBC\xC3\xA0"},
        UnpackCase{"AsciiAtTheSameCodes", {'A', 'z', '0', '9', ' ', '!', '#', '%', '?', '\n', '\r'}, "Az09 !#%?\n\r"}),
    CaseName<UnpackCase>);

TEST(Decode7bit, ReadsAtMostTheWorkAreaOfOctets)
{
    // 600 octets announced: only GSM_7BIT_MAX_OCTETS are unpacked, into 512
    // septets of the widest character there is (0x7F, a-grave) and a
    // terminator.
    std::vector<unsigned char> octets(600, 0xFF);
    const size_t room = GSM_7BIT_TEXT_BYTES_PER_SEPTET * GSM_7BIT_MAX_SEPTETS + 1;
    std::vector<char> text(room + 1, 'x');
    const int n = gsmDecode7bit(octets.data(), text.data(), static_cast<int>(octets.size()));
    EXPECT_EQ(std::string(text.data()), Repeat(ConsoleText("\xC3\xA0"), GSM_7BIT_MAX_SEPTETS));
    EXPECT_EQ(n, static_cast<int>(room) - 1);
    EXPECT_EQ(text[room], 'x');
    EXPECT_EQ(gsmDecode7bit(octets.data(), text.data(), -5), 0);
    EXPECT_EQ(text[0], '\0');
}

TEST(Encode7bitLength, CountsExtensionCharactersTwice)
{
    EXPECT_EQ(gsmEncode7bitLength("a{b}", 4), 6);
    EXPECT_EQ(gsmEncode7bitLength("\f^{}\\[~]|", 9), 18);
    EXPECT_EQ(gsmEncode7bitLength("plain", 5), 5);
    EXPECT_EQ(gsmEncode7bitLength("", 0), 0);
}

TEST(EightBit, CopiesAndTerminates)
{
    const unsigned char octets[] = {0x41, 0x42};
    char text[4] = {'x', 'x', 'x', 'x'};
    EXPECT_EQ(gsmDecode8bit(octets, text, 2), 2);
    EXPECT_STREQ(text, "AB");
    EXPECT_EQ(text[3], 'x');

    unsigned char copy[3] = {0, 0, 0xEE};
    EXPECT_EQ(gsmEncode8bit("AB", copy, 2), 2);
    EXPECT_EQ(copy[0], 0x41);
    EXPECT_EQ(copy[1], 0x42);
    EXPECT_EQ(copy[2], 0xEE);
}

} // namespace
