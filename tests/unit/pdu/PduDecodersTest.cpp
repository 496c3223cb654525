#include "ConsoleEnvironment.h"
#include "PduCodec.h"
#include "PduFixtures.h"
#include "PduOffered.h"
#include "PduTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <clocale>
#include <cstring>
#include <string>
#include <vector>

namespace {

template <typename T> std::string CaseName(const testing::TestParamInfo<T> &info) { return info.param.name; }

// The pieces of the PDUs below: SMS centre 123456, originator 98765, time
// stamp 2019-08-01 12:05:04 in semi-octets.
const std::string SC = "0491214365";
const std::string OA = "05818967F5";
const std::string TS = "91801021504000";
const std::string kTimeStamp = "19080112050400";

// Expected texts are written in UTF-8; each build's decoders write its
// console's encoding (DecodedConsoleText).
const std::string kZhong = "\xE4\xB8\xAD";  // U+4E2D
// U+0500, U+03A7, U+0201: "050003A70201" read as UCS2 text.
const std::string kHeaderAsText = "\xD4\x80\xCE\xA7\xC8\x81";

char g_callerText[] = "caller's text";

// A zero-filled record with the members the decoders must leave alone set,
// so that a stray write shows.
SM_PARAM CallerRecord()
{
    SM_PARAM p;
    std::memset(&p, 0, sizeof(p));
    p.validityMinutes = 77;
    p.longText = g_callerText;
    p.noCountryCode = true;
    p.flash = true;
    std::memset(p.userText, 'x', sizeof(p.userText));  // decoders clear it
    return p;
}

// What holds after any decode, whatever the input.
void ExpectWithinMembers(const SM_PARAM &p)
{
    EXPECT_TRUE(Terminated(p.smsCenter));
    EXPECT_TRUE(Terminated(p.peerNumber));
    EXPECT_TRUE(Terminated(p.timeStamp));
    EXPECT_TRUE(Terminated(p.userText));
    EXPECT_TRUE(Terminated(p.pushUrl));
    EXPECT_TRUE(Terminated(p.partHex));
    EXPECT_GE(p.partHexLength, 0);
    EXPECT_LT(p.partHexLength, SM_PART_HEX_SIZE);
    EXPECT_EQ(p.validityMinutes, 77);
    EXPECT_EQ(p.longText, g_callerText);
    EXPECT_TRUE(p.noCountryCode);
    EXPECT_TRUE(p.flash);
}

struct DeliverCase {
    const char *name;
    std::string pdu;
    int result;
    std::string smsCenter, peerNumber, timeStamp;
    unsigned char dataCoding;
    bool isLongPart;
    std::string userText;
    friend void PrintTo(const DeliverCase &c, std::ostream *os) { *os << c.name; }
};

bool IsUcs2(unsigned char dataCoding)
{
    return dataCoding != GSM_DCS_7BIT && dataCoding != GSM_DCS_8BIT && dataCoding != GSM_DCS_PUSH;
}

// Septets decode to the console text of the characters, as UCS2 does, but
// without the Windows cap on a UCS2 text.
std::string ExpectedText(unsigned char dataCoding, const std::string &utf8Text)
{
    return dataCoding == GSM_DCS_7BIT ? ConsoleText(utf8Text) : DecodedConsoleText(utf8Text);
}

// A UCS2 decode counts the bytes of its text, and how many bytes a character
// takes is the console encoding's affair; rows give the UTF-8 count.
int ExpectedResult(int utf8Result, unsigned char dataCoding, const std::string &utf8Text)
{
    if (utf8Result > 0 && IsUcs2(dataCoding))
        return static_cast<int>(DecodedConsoleText(utf8Text).size());
    return utf8Result;
}

class DecodePduTest : public testing::TestWithParam<DeliverCase> {};

TEST_P(DecodePduTest, DecodesWithinTheText)
{
    const DeliverCase &c = GetParam();
    SM_PARAM p = CallerRecord();
    EXPECT_EQ(gsmDecodePdu(c.pdu.c_str(), &p), ExpectedResult(c.result, c.dataCoding, c.userText));
    EXPECT_EQ(std::string(p.smsCenter), c.smsCenter);
    EXPECT_EQ(std::string(p.peerNumber), ConsoleText(c.peerNumber));
    EXPECT_EQ(std::string(p.timeStamp), c.timeStamp);
    EXPECT_EQ(p.dataCoding, c.dataCoding);
    EXPECT_EQ(p.isLongPart, c.isLongPart);
    EXPECT_EQ(std::string(p.userText), ExpectedText(c.dataCoding, c.userText));
    ExpectWithinMembers(p);
}

INSTANTIATE_TEST_SUITE_P(
    Received, DecodePduTest,
    testing::Values(
        DeliverCase{"LongPartUcs2", SC + "44" + OA + "0008" + TS + "08" + "050003A702010041", 1, "123456", "98765",
                    kTimeStamp, 8, true, "A"},
        DeliverCase{"FirstOctet04IsNoLongPart", SC + "04" + OA + "0008" + TS + "08" + "050003A702010041", 7,
                    "123456", "98765", kTimeStamp, 8, false, kHeaderAsText + "A"},
        DeliverCase{"FirstOctet24IsNoLongPart", SC + "24" + OA + "0008" + TS + "08" + "050003A702010041", 7,
                    "123456", "98765", kTimeStamp, 8, false, kHeaderAsText + "A"},
        DeliverCase{"HeaderWithoutPayloadIsNoLongPart", SC + "44" + OA + "0008" + TS + "06" + "050003A70201", 0,
                    "123456", "98765", kTimeStamp, 8, false, ""},
        // Seven octets hold eight septets, the last of them fill bits: only
        // the UDL's seven are the text.
        DeliverCase{"SeptetsEndAtTheirCount", SC + "04" + OA + "0000" + TS + "07" + "31D98C56B3DD00", 7, "123456",
                    "98765", kTimeStamp, 0, false, "1234567"},
        DeliverCase{"SeptetsFromANetwork",
                    "07911326040000F0040B911346610089F60000208062917314080CC8F71D14969741F977FD07", 12,
                    "31624000000", "31641600986", "02082619374180", 0, false, "How are you?"},
        // Octets of data, shown as hex digits.
        DeliverCase{"EightBit", SC + "04" + OA + "0004" + TS + "02" + "4142", 2, "123456", "98765", kTimeStamp, 4,
                    false, "4142"},
        DeliverCase{"Class0IsUcs2", SC + "04" + OA + "0018" + TS + "04" + "4E2D6587", 6, "123456", "98765",
                    kTimeStamp, 0x18, false, kZhong + "\xE6\x96\x87"},
        // Hostile and broken lines.
        DeliverCase{"Empty", "", 0, "", "", "", 0, false, ""},
        DeliverCase{"OnlySmsCenter", SC, 0, "123456", "", "", 0, false, ""},
        DeliverCase{"SmsCenterCut", "049121", 0, "", "", "", 0, false, ""},
        // 00 announces no centre address (TS 27.005); the TPDU follows at once.
        DeliverCase{"NoSmsCenter", "00" "04" + OA + "0008" + TS + "02" + "0041", 1, "", "98765", kTimeStamp, 8,
                    false, "A"},
        DeliverCase{"SmsCenterTypeOnly", "0191" "04" + OA + "0008" + TS + "02" + "0041", 1, "", "98765",
                    kTimeStamp, 8, false, "A"},
        DeliverCase{"SmsCenterLongerThanMember",
                    "0A91" "214365870921436587" "04" + OA + "0008" + TS + "02" + "0041", 1, "123456789012345",
                    "98765", kTimeStamp, 8, false, "A"},
        DeliverCase{"SmsCenterPastText", "FF91214365", 0, "", "", "", 0, false, ""},
        DeliverCase{"OriginatorLongerThanMember",
                    SC + "04" + "4091" + Repeat("2143658709", 6) + "2143" + "0008" + TS + "02" + "0041", 1,
                    "123456", "1234567890123456789012345678901", kTimeStamp, 8, false, "A"},
        DeliverCase{"OriginatorPastText", SC + "04" + "0B91" + "2143", 0, "123456", "", "", 0, false, ""},
        DeliverCase{"TimeStampCut", SC + "04" + OA + "0008" + "918010", 0, "123456", "98765", "", 8, false, ""},
        DeliverCase{"UdlMissing", SC + "04" + OA + "0008" + TS, 0, "123456", "98765", kTimeStamp, 8, false, ""},
        DeliverCase{"UdlBeyondText", SC + "04" + OA + "0008" + TS + "FF" + "0041", 1, "123456", "98765",
                    kTimeStamp, 8, false, "A"},
        // A header that does not fit the announced user data is no header.
        DeliverCase{"ConcatHeaderWithUdlBelow6", SC + "44" + OA + "0008" + TS + "03" + "050003A7020100410042", 0,
                    "123456", "98765", kTimeStamp, 8, false, ""},
        DeliverCase{"ConcatHeaderWithUdl6", SC + "44" + OA + "0008" + TS + "06" + "050003A70201" + "0041", 0,
                    "123456", "98765", kTimeStamp, 8, true, ""},
        DeliverCase{"OddTrailingCharacter", SC + "44" + OA + "0008" + TS + "08" + "050003A702010041" + "0", 1,
                    "123456", "98765", kTimeStamp, 8, true, "A"},
        DeliverCase{"OddCutInUserData", SC + "44" + OA + "0008" + TS + "08" + "050003A70201004", 0, "123456",
                    "98765", kTimeStamp, 8, true, ""},
        // 'Z' counts 35: "ZZ" is the octet 0x33 by the arithmetic rule.
        DeliverCase{"NonHexUserData", SC + "04" + OA + "0008" + TS + "02" + "00ZZ", 1, "123456", "98765",
                    kTimeStamp, 8, false, "3"},
        DeliverCase{"NonHexSmsCenterLength", "ZZ" + OA, 0, "", "", "", 0, false, ""}),
    CaseName<DeliverCase>);

// With the header indicator (40) in the first octet the user data opens with
// a header: its length octet, then elements. The text starts after it, in
// every coding; only the concatenation elements make a long part.
INSTANTIATE_TEST_SUITE_P(
    Headers, DecodePduTest,
    testing::Values(
        DeliverCase{"SixteenBitReferenceUcs2", SC + "44" + OA + "0008" + TS + "0B" + "060804A7B30201" + "00410042", 2,
                    "123456", "98765", kTimeStamp, 8, true, "AB"},
        DeliverCase{"PortAddressingUcs2", SC + "44" + OA + "0008" + TS + "0B" + "0605040B8423F0" + "00410042", 2,
                    "123456", "98765", kTimeStamp, 8, false, "AB"},
        DeliverCase{"ConcatAfterAnotherElement",
                    SC + "44" + OA + "0008" + TS + "10" + "0B05040B8423F00003A70201" + "00410042", 2, "123456",
                    "98765", kTimeStamp, 8, true, "AB"},
        DeliverCase{"PortAddressingEightBit", SC + "44" + OA + "0004" + TS + "09" + "0605040B8423F0" + "4142", 2,
                    "123456", "98765", kTimeStamp, 4, false, "4142"},
        // Septets: the text starts at the first septet after the header, past
        // its fill bits, and ends with the user data (no '@' from the last
        // octet's spare bits).
        DeliverCase{"EightBitReferenceSeptets", SC + "44" + OA + "0000" + TS + "0C" + "050003A70201" + "906536FB0D",
                    12, "123456", "98765", kTimeStamp, 0, true, "Hello"},
        DeliverCase{"SixteenBitReferenceSeptets",
                    SC + "44" + OA + "0000" + TS + "10" + "060804A7B30201" + "C834888E2ECBCB", 16, "123456",
                    "98765", kTimeStamp, 0, true, "Hi there"},
        DeliverCase{"PortAddressingSeptets", SC + "44" + OA + "0000" + TS + "0F" + "0605040B8423F0" + "31D98C56B3DD00",
                    15, "123456", "98765", kTimeStamp, 0, false, "1234567"},
        // Lengths that do not fit: nothing past the user data or the line is
        // read, and no header octet becomes text.
        DeliverCase{"HeaderLongerThanUserData", SC + "44" + OA + "0008" + TS + "04" + "FF0041004200430044", 0,
                    "123456", "98765", kTimeStamp, 8, false, ""},
        DeliverCase{"HeaderLongerThanLine", SC + "44" + OA + "0008" + TS + "40" + "3F0003A70201", 0, "123456",
                    "98765", kTimeStamp, 8, false, ""},
        DeliverCase{"ElementLongerThanHeader", SC + "44" + OA + "0008" + TS + "09" + "040005A702" + "00410042", 2,
                    "123456", "98765", kTimeStamp, 8, false, "AB"},
        DeliverCase{"SixteenBitElementOfWrongLength", SC + "44" + OA + "0008" + TS + "0A" + "050803A70201" + "00410042",
                    2, "123456", "98765", kTimeStamp, 8, false, "AB"},
        DeliverCase{"IndicatorWithoutUserData", SC + "44" + OA + "0008" + TS + "00", 0, "123456", "98765", kTimeStamp,
                    8, false, ""},
        DeliverCase{"HeaderLengthOctetOnly", SC + "44" + OA + "0008" + TS + "01" + "00", 0, "123456", "98765",
                    kTimeStamp, 8, false, ""}),
    CaseName<DeliverCase>);

// A sender whose type of number is alphanumeric (type of address D0) is a
// name in the GSM alphabet; its length counts the semi-octets that the
// septets fill.
const std::string kUcs2A = "0008" + TS + "02" + "0041";

INSTANTIATE_TEST_SUITE_P(
    Senders, DecodePduTest,
    testing::Values(
        // The name that TS 23.040 shows: 11 characters in 20 semi-octets.
        DeliverCase{"ElevenCharacterName", SC + "04" + "14D0C4F23C7D760390EF7619" + kUcs2A, 1, "123456",
                    "Design@Home", kTimeStamp, 8, false, "A"},
        DeliverCase{"NameOfOddLength", SC + "04" + "07D0C2B07B0D" + kUcs2A, 1, "123456", "Bank", kTimeStamp, 8,
                    false, "A"},
        // A length that also counts the spare semi-octet holds no more septets.
        DeliverCase{"NameWithSpareSemiOctet", SC + "04" + "08D0C2B07B0D" + kUcs2A, 1, "123456", "Bank", kTimeStamp,
                    8, false, "A"},
        DeliverCase{"DigitsAsName", SC + "04" + "09D031180C6703" + kUcs2A, 1, "123456", "10086", kTimeStamp, 8, false,
                    "A"},
        DeliverCase{"NameBeyondAscii", SC + "04" + "0DD0D3F7385DA01700" + kUcs2A, 1, "123456",
                    "Soci\xC3\xA9t\xC3\xA9", kTimeStamp, 8, false, "A"},
        DeliverCase{"EmptyName", SC + "04" + "00D0" + kUcs2A, 1, "123456", "", kTimeStamp, 8, false, "A"},
        // 90 semi-octets hold 51 two-byte characters: the member keeps the
        // 15 that fit whole, and the fields after the name are read in place.
        DeliverCase{"NameLongerThanMember",
                    SC + "04" + "5AD0" + Repeat("8542A15028140A", 6) + "854201" + kUcs2A, 1, "123456",
                    Repeat("\xC3\xA9", 15), kTimeStamp, 8, false, "A"},
        DeliverCase{"NamePastText", SC + "04" + "14D0C4F23C7D", 0, "123456", "", "", 0, false, ""}),
    CaseName<DeliverCase>);

// Seven-bit texts in the GSM default alphabet and its extension table.
INSTANTIATE_TEST_SUITE_P(
    Alphabet, DecodePduTest,
    testing::Values(
        DeliverCase{"DollarUnderscoreEuro", SC + "04" + OA + "0000" + TS + "09" + "821A081FC9833665", 9, "123456",
                    "98765", kTimeStamp, 0, false, "$5 x_y \xE2\x82\xAC"},
        DeliverCase{"EveryExtensionCharacter", SC + "04" + OA + "0000" + TS + "14" + "1BC586B2416D529BD786B7E96D7C1BE0A60C",
                    20, "123456", "98765", kTimeStamp, 0, false, "\f^{}\\[~]|\xE2\x82\xAC"},
        DeliverCase{"DefaultAlphabetBeyondAscii",
                    SC + "04" + OA + "0000" + TS + "28" +
                        "8101A1603820120B86E301914C2815CB0593D1703A9E0F09B8E576BD5FF09EDFF7FF43",
                    40, "123456", "98765", kTimeStamp, 0, false,
                    "\xC2\xA3\xC2\xA5\xC3\xA8\xC3\xA9\xC3\xB9\xC3\xAC\xC3\xB2\xC3\x87\xC3\x98\xC3\xB8"
                    "\xC3\x85\xC3\xA5\xCE\x94\xCE\xA6\xCE\x93\xCE\x9B\xCE\xA9\xCE\xA0\xCE\xA8\xCE\xA3"
                    "\xCE\x98\xCE\x9E\xC3\x86\xC3\xA6\xC3\x9F\xC3\x89\xC2\xA4\xC2\xA1\xC3\x84\xC3\x96"
                    "\xC3\x91\xC3\x9C\xC2\xA7\xC2\xBF\xC3\xA4\xC3\xB6\xC3\xB1\xC3\xBC\xC3\xA0!"},
        DeliverCase{"PartBeyondAscii", SC + "44" + OA + "0000" + TS + "0F" + "050003A702018E72BFA70CDA9401", 15,
                    "123456", "98765", kTimeStamp, 0, true, "Gr\xC3\xBC\xC3\x9F" "e \xE2\x82\xAC"},
        // The user data ends with an escape: nothing stands for it.
        DeliverCase{"PartEndsWithEscape", SC + "44" + OA + "0000" + TS + "0F" + "050003A70201A0F2727A0EAA6D00", 15,
                    "123456", "98765", kTimeStamp, 0, true, "Preis 5"}),
    CaseName<DeliverCase>);

// Received and stored messages in every coding group, made by another
// encoder (coding-groups.txt says which): each reads as that encoder reads
// it back, without its message class in the text. Before the coding groups
// were told apart, a flash or class-1 7-bit text read as CJK garbage and
// 8-bit data as an empty or raw text.
struct CodingGroupCase {
    std::string kind, name, pdu, text;
    friend void PrintTo(const CodingGroupCase &c, std::ostream *os) { *os << c.name; }
};

std::vector<CodingGroupCase> CodingGroupCases()
{
    std::vector<CodingGroupCase> cases;
    for (const std::string &line : FixtureLines("coding-groups.txt")) {
        std::vector<std::string> fields;
        for (size_t at = 0, tab = 0; tab != std::string::npos; at = tab + 1) {
            tab = line.find('\t', at);
            fields.push_back(line.substr(at, tab == std::string::npos ? std::string::npos : tab - at));
        }
        fields.resize(4);
        std::replace(fields[1].begin(), fields[1].end(), '-', '_');  // test names take no '-'
        cases.push_back(CodingGroupCase{fields[0], fields[1], fields[2], fields[3]});
    }
    return cases;
}

class CodingGroupTest : public testing::TestWithParam<CodingGroupCase> {};

TEST_P(CodingGroupTest, ReadsTheAlphabetOfItsGroup)
{
    const CodingGroupCase &c = GetParam();
    SM_PARAM p = CallerRecord();
    if (c.kind == "deliver")
        gsmDecodePdu(c.pdu.c_str(), &p);
    else
        gsmDecodeSendPdu(c.pdu.c_str(), &p);
    EXPECT_EQ(std::string(p.userText), ConsoleText(c.text));
    EXPECT_STREQ(p.smsCenter, "123456");
    EXPECT_STREQ(p.peerNumber, "98765");
    EXPECT_FALSE(p.isLongPart);
    ExpectWithinMembers(p);
}

TEST(CodingGroupFixture, IsRead)
{
    // A fixture that failed to load would leave the table above silently empty.
    EXPECT_FALSE(CodingGroupCases().empty());
}

INSTANTIATE_TEST_SUITE_P(Encoded, CodingGroupTest, testing::ValuesIn(CodingGroupCases()),
                         CaseName<CodingGroupCase>);

// No encoder at hand writes compressed texts, and nothing here expands one:
// in every group that can announce compression the text is one plain line
// saying so, never its octets read as some alphabet.
TEST(DecodePdu, CompressedTextIsShownAsSuch)
{
    // Literals are stored in each build's console encoding.
    const std::string note = "[压缩短信，无法解码]";
    const struct {
        const char *name;
        std::string pdu;
        bool isLongPart;
    } cases[] = {
        {"Compressed7Bit", SC + "04" + OA + "0020" + TS + "05" + "0102030405", false},
        {"CompressedUcs2Class0", SC + "04" + OA + "0038" + TS + "04" + "4E2D6587", false},
        {"AutoDeletionCompressed8Bit", SC + "04" + OA + "0064" + TS + "02" + "0041", false},
        {"CompressedPart", SC + "44" + OA + "0020" + TS + "08" + "050003A7020101020304", true},
    };
    for (const auto &c : cases) {
        SM_PARAM p = CallerRecord();
        gsmDecodePdu(c.pdu.c_str(), &p);
        EXPECT_EQ(std::string(p.userText), note) << c.name;
        EXPECT_EQ(p.isLongPart, c.isLongPart) << c.name;
        ExpectWithinMembers(p);
    }
    SM_PARAM stored = CallerRecord();
    gsmDecodeSendPdu((SC + "1100" + OA + "0030AA" "03" "010203").c_str(), &stored);
    EXPECT_EQ(std::string(stored.userText), note);
}

TEST(DecodePdu, LongestSeptetTextFitsTheText)
{
    // UDL FF: 255 septets of the widest character (0x7F, a-grave) in 224
    // octets, whose last seven bits are fill.
    SM_PARAM p = CallerRecord();
    EXPECT_EQ(gsmDecodePdu((SC + "04" + OA + "0000" + TS + "FF" + Repeat("FF", 224)).c_str(), &p), 255);
    EXPECT_EQ(std::string(p.userText), ConsoleText(Repeat("\xC3\xA0", 255)));
    ExpectWithinMembers(p);
}

TEST(DecodePdu, SeptetPartsJoinWithoutSplittingACharacter)
{
    // The first part ends with a euro sign (escape and 0x65), the second
    // starts with e-acute: each part's text holds its characters whole.
    const char *parts[] = {"050003A70201A86F7A98AD03D53665", "050003A702020A2078385F00"};
    const char *udl[] = {"11", "0D"};
    std::string joined;
    for (int i = 0; i < 2; i++) {
        SM_PARAM p = CallerRecord();
        gsmDecodePdu((SC + "44" + OA + "0000" + TS + udl[i] + parts[i]).c_str(), &p);
        EXPECT_TRUE(p.isLongPart);
        EXPECT_EQ(p.partNumber, i + 1);
        joined += p.userText;
    }
    EXPECT_EQ(joined, ConsoleText("Total: 5\xE2\x82\xAC" "\xC3\xA9 pay\xC3\xA9"));
}

TEST(DecodePdu, SixteenBitReferenceFillsTheLongPartMembers)
{
    SM_PARAM p = CallerRecord();
    gsmDecodePdu((SC + "44" + OA + "0008" + TS + "0B" + "060804A7B30302" + "00410042").c_str(), &p);
    EXPECT_TRUE(p.isLongPart);
    EXPECT_EQ(p.groupRef, 0xA7B3);
    EXPECT_EQ(p.groupTotal, 3);
    EXPECT_EQ(p.partNumber, 2);
    EXPECT_EQ(p.partTotal, 3);
    EXPECT_STREQ(p.partHex, "00410042");
    EXPECT_EQ(p.partHexLength, 8);
    ExpectWithinMembers(p);
}

TEST(DecodePdu, ConcatenationAmongOtherElementsKeepsOnlyThePartData)
{
    SM_PARAM p = CallerRecord();
    gsmDecodePdu((SC + "44" + OA + "0008" + TS + "10" + "0B05040B8423F00003A70201" + "00410042").c_str(), &p);
    EXPECT_TRUE(p.isLongPart);
    EXPECT_EQ(p.groupRef, 0xA7);
    EXPECT_EQ(p.groupTotal, 2);
    EXPECT_EQ(p.partNumber, 1);
    EXPECT_STREQ(p.partHex, "00410042");
}

TEST(DecodePdu, LongPartKeepsItsHeaderAndRawData)
{
    SM_PARAM p = CallerRecord();
    gsmDecodePdu((SC + "44" + OA + "0008" + TS + "08" + "050003A702010041").c_str(), &p);
    EXPECT_EQ(p.groupRef, 167);
    EXPECT_EQ(p.groupTotal, 2);
    EXPECT_EQ(p.partNumber, 1);
    EXPECT_EQ(p.concatRef, 167);
    EXPECT_EQ(p.partTotal, 2);
    EXPECT_STREQ(p.partHex, "0041");
    EXPECT_EQ(p.partHexLength, 4);
}

TEST(DecodePdu, NoLongPartLeavesThePartMembers)
{
    SM_PARAM p = CallerRecord();
    std::strcpy(p.partHex, "caller");
    p.partHexLength = 6;
    gsmDecodePdu((SC + "04" + OA + "0008" + TS + "08" + "050003A702010041").c_str(), &p);
    EXPECT_STREQ(p.partHex, "caller");
    EXPECT_EQ(p.partHexLength, 6);
    EXPECT_EQ(p.groupRef, 0);
    EXPECT_EQ(p.concatRef, 0);
}

TEST(DecodePdu, PartDataCutByTheTextIsCountedAsCopied)
{
    SM_PARAM p = CallerRecord();
    gsmDecodePdu((SC + "44" + OA + "0008" + TS + "08" + "050003A70201004").c_str(), &p);
    EXPECT_STREQ(p.partHex, "004");
    EXPECT_EQ(p.partHexLength, 3);
}

TEST(DecodePdu, SeptetLongPartSetsOnlyTheLongPartMembers)
{
    SM_PARAM p = CallerRecord();
    gsmDecodePdu((SC + "44" + OA + "0000" + TS + "0A" + "050003A7020131D98C").c_str(), &p);
    EXPECT_TRUE(p.isLongPart);
    EXPECT_EQ(p.groupRef, 167);
    EXPECT_EQ(p.partNumber, 1);
    EXPECT_STREQ(p.partHex, "31D98C");
    // The UCS2 branch alone reads these.
    EXPECT_EQ(p.concatRef, 0);
    EXPECT_EQ(p.partTotal, 0);
}

TEST(DecodePdu, LargestLongPartFitsItsMembers)
{
    // UDL FF: a header and 249 octets, 124 characters and a lone octet.
    SM_PARAM p = CallerRecord();
    const int n = gsmDecodePdu(
        (SC + "44" + OA + "0008" + TS + "FF" + "050003A70201" + Repeat("4E2D", 124) + "4E").c_str(), &p);
    EXPECT_EQ(p.partHexLength, 498);
    EXPECT_EQ(std::string(p.partHex), Repeat("4E2D", 124) + "4E");
    EXPECT_EQ(n, static_cast<int>(DecodedConsoleText(Repeat(kZhong, 124)).size()));
    EXPECT_EQ(std::string(p.userText), DecodedConsoleText(Repeat(kZhong, 124)));
    ExpectWithinMembers(p);
}

TEST(DecodePdu, SeventyChineseCharactersDecodeWhole)
{
    const std::vector<std::string> lines = FixtureLines("deliver-ucs2-70-chinese.txt");
    ASSERT_EQ(lines.size(), 2u);
    SM_PARAM p = CallerRecord();
    EXPECT_EQ(gsmDecodePdu(lines[0].c_str(), &p), static_cast<int>(DecodedConsoleText(lines[1]).size()));
    EXPECT_EQ(std::string(p.userText), DecodedConsoleText(lines[1]));
    EXPECT_STREQ(p.smsCenter, "8613800100500");
    EXPECT_STREQ(p.peerNumber, "8613912345678");
    EXPECT_STREQ(p.timeStamp, "25101921435432");
    ExpectWithinMembers(p);
}

TEST(DecodePdu, LongestUserDataFitsTheText)
{
    const std::vector<std::string> lines = FixtureLines("deliver-ucs2-udl255.txt");
    ASSERT_EQ(lines.size(), 1u);
    SM_PARAM p = CallerRecord();
    EXPECT_EQ(gsmDecodePdu(lines[0].c_str(), &p), static_cast<int>(DecodedConsoleText(Repeat(kZhong, 127)).size()));
    EXPECT_EQ(std::string(p.userText), DecodedConsoleText(Repeat(kZhong, 127)));
    ExpectWithinMembers(p);
}

TEST(DecodePdu, ConcatenatedPartsCarryTheWholeMessage)
{
    const std::vector<std::string> lines = FixtureLines("deliver-concat-10086.txt");
    ASSERT_EQ(lines.size(), 3u);
    std::string hex;
    for (int part = 1; part <= 2; part++) {
        SM_PARAM p = CallerRecord();
        gsmDecodePdu(lines[static_cast<size_t>(part - 1)].c_str(), &p);
        EXPECT_STREQ(p.peerNumber, "10086");
        EXPECT_TRUE(p.isLongPart);
        EXPECT_EQ(p.groupRef, 0xA7);
        EXPECT_EQ(p.groupTotal, 2);
        EXPECT_EQ(p.partNumber, part);
        EXPECT_EQ(p.partHexLength, static_cast<int>(std::strlen(p.partHex)));
        hex += std::string(p.partHex, static_cast<size_t>(p.partHexLength));
        ExpectWithinMembers(p);
    }
    const std::vector<unsigned char> octets = Octets(hex);
    EXPECT_EQ(gsmDecodeNew2(octets.data(), static_cast<int>(octets.size())), ConsoleText(lines[2]));
}

TEST(DecodePdu, NullArgumentsDecodeNothing)
{
    SM_PARAM p = CallerRecord();
    EXPECT_EQ(gsmDecodePdu(nullptr, &p), 0);
    EXPECT_STREQ(p.userText, "");
    EXPECT_EQ(gsmDecodePdu("00", nullptr), 0);
    EXPECT_EQ(gsmDecodeSendPdu(nullptr, &p), 0);
    EXPECT_EQ(gsmDecodeSendPdu("00", nullptr), 0);
}

// A WAP push: the push header before the URL, laid out as the decoder walks
// it (34 characters, then the indicator octet).
const std::string kPushHead = "0605040B8423F0" "DC0601AE02056A0045C6";
const std::string kUrlHex = "7761702E6578616D706C652E636E2F61";  // wap.example.cn/a

std::string PushPdu(const std::string &userData)
{
    const size_t octets = userData.size() / 2;
    return SC + "40" + OA + "00" "F5" + TS + Hex2Octet(octets > 255 ? 255 : octets) + userData;
}

struct PushCase {
    const char *name;
    std::string userData;
    int result;  // without a push text in the record
    std::string url;
    // The UTF-8 text after the URL on the path that hands it to the text
    // conversion; null on the paths that do not.
    const char *text = nullptr;
    friend void PrintTo(const PushCase &c, std::ostream *os) { *os << c.name; }
};

class DecodePushTest : public testing::TestWithParam<PushCase> {};

TEST_P(DecodePushTest, CollectsTheUrlWithinItsMember)
{
    const PushCase &c = GetParam();
    SM_PARAM p = CallerRecord();
    // The conversion counts its terminator.
    const bool textInRecord = kPushTextReachesRecord && c.text != nullptr;
    const std::string text = textInRecord ? ConsoleText(c.text) : "";
    EXPECT_EQ(gsmDecodePdu(PushPdu(c.userData).c_str(), &p),
              textInRecord ? static_cast<int>(text.size()) + 1 : c.result);
    EXPECT_EQ(p.dataCoding, GSM_DCS_PUSH);
    EXPECT_EQ(std::string(p.pushUrl), c.url);
    EXPECT_EQ(std::string(p.userText), text);
    ExpectWithinMembers(p);
}

INSTANTIATE_TEST_SUITE_P(
    Pushes, DecodePushTest,
    testing::Values(
        // Without the indicator 05 the URL stands 56 characters further on;
        // the result counts 2 for each octet moved over while collecting it.
        PushCase{"PlainUrl", kPushHead + "0C03" + Repeat("00", 26) + kUrlHex + "00" + "0103", 34, "wap.example.cn/a"},
        PushCase{"UrlRunsToTheEnd", kPushHead + "0C03" + Repeat("00", 26) + "6161", 2, "aa"},
        PushCase{"UrlLongerThanMember", kPushHead + "0C03" + Repeat("00", 26) + Repeat("61", 200) + "00" + "0000",
                 402, std::string(128, 'a')},
        PushCase{"IndicatorPath", Repeat("00", 17) + "05" + "0000" + Repeat("00", 5) + kUrlHex + "00" + "01" +
                                      "00" + "AABB",
                 0, "wap.example.cn/a", "\xAA\xBB"},
        PushCase{"IndicatorPathLongForm", Repeat("00", 17) + "05" + "0000" + Repeat("00", 5) + kUrlHex + "00" +
                                              "02" + "00" + "07" + Repeat("00", 30),
                 0, "wap.example.cn/a", ""},
        // The text after the URL, Chinese in UTF-8.
        PushCase{"IndicatorPathWithText", Repeat("00", 17) + "05" + "0000" + Repeat("00", 5) + kUrlHex + "00" + "01" +
                                              "00" + "E4B8ADE69687" + "00",
                 0, "wap.example.cn/a", "\xE4\xB8\xAD\xE6\x96\x87"},
        PushCase{"HeadOnly", kPushHead, 0, ""},
        PushCase{"NoUserData", "", 0, ""}),
    CaseName<PushCase>);

struct StoredCase {
    const char *name;
    std::string pdu;
    int result;
    std::string smsCenter, peerNumber;
    unsigned char dataCoding;
    std::string userText;
    friend void PrintTo(const StoredCase &c, std::ostream *os) { *os << c.name; }
};

class DecodeSendPduTest : public testing::TestWithParam<StoredCase> {};

TEST_P(DecodeSendPduTest, DecodesWithinTheText)
{
    const StoredCase &c = GetParam();
    SM_PARAM p = CallerRecord();
    EXPECT_EQ(gsmDecodeSendPdu(c.pdu.c_str(), &p), ExpectedResult(c.result, c.dataCoding, c.userText));
    EXPECT_EQ(std::string(p.smsCenter), c.smsCenter);
    EXPECT_EQ(std::string(p.peerNumber), c.peerNumber);
    EXPECT_EQ(p.dataCoding, c.dataCoding);
    EXPECT_EQ(std::string(p.userText), ExpectedText(c.dataCoding, c.userText));
    EXPECT_STREQ(p.timeStamp, "");
    EXPECT_FALSE(p.isLongPart);
    ExpectWithinMembers(p);
}

INSTANTIATE_TEST_SUITE_P(
    Stored, DecodeSendPduTest,
    testing::Values(
        // A submit as a modem stores it with the default centre (length 00).
        StoredCase{"SeptetsWithDefaultCentre", "0011000B916407281553F80000AA0AE8329BFD4697D9EC37", 10, "",
                   "46708251358", 0, "hellohello"},
        StoredCase{"Ucs2", SC + "1100" "0D91683119325476F8" "0008AA" "04" "4F60597D", 6, "123456", "8613912345678",
                   8, "\xE4\xBD\xA0\xE5\xA5\xBD"},
        StoredCase{"EightBit", SC + "1100" + OA + "0004AA" "02" "4142", 2, "123456", "98765", 4, "4142"},
        // No validity period announced: the octet after the data coding is
        // still passed over, and the next one read as UDL.
        StoredCase{"NoValidityPeriodStillSkipsOne", SC + "0100" + OA + "0008" "04" "00410042", 0, "123456", "98765",
                   8, ""},
        StoredCase{"Empty", "", 0, "", "", 0, ""},
        StoredCase{"CutAfterDestination", SC + "1100" + OA, 0, "123456", "98765", 0, ""},
        StoredCase{"CutAfterDataCoding", SC + "1100" + OA + "0008", 0, "123456", "98765", 8, ""},
        StoredCase{"DestinationPastText", SC + "1100" "1F91" "2143", 0, "123456", "", 0, ""},
        StoredCase{"UdlBeyondText", SC + "1100" + OA + "0008AA" "FF" "0041", 1, "123456", "98765", 8, "A"},
        // A stored part of a long message: its header is no text.
        StoredCase{"HeaderSkipped", SC + "5100" + OA + "0008AA" "0A" "050003A70201" "00410042", 2, "123456",
                   "98765", 8, "AB"},
        StoredCase{"HeaderSkippedSeptets", SC + "5100" + OA + "0000AA" "0C" "050003A70201" "906536FB0D", 12,
                   "123456", "98765", 0, "Hello"},
        StoredCase{"SeptetsBeyondAscii", SC + "1100" + OA + "0000AA" "05" "47B9DF5306", 5, "123456", "98765", 0,
                   "Gr\xC3\xBC\xC3\x9F" "e"},
        StoredCase{"UdlBeyondTextSeptets", SC + "1100" + OA + "0000AA" "FF" "C8F71D14969741F977FD07", 255, "123456",
                   "98765", 0, "How are you?"}),
    CaseName<StoredCase>);

TEST(DecodeStatusReportPdu, WritesNothing)
{
    SM_PARAM p = CallerRecord();
    EXPECT_EQ(gsmDecodeStatusReportPdu((SC + "06").c_str(), &p), 0);
    EXPECT_EQ(p.userText[0], 'x');
}

} // namespace
