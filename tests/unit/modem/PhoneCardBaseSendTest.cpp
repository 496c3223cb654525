// The PDU-mode send steps and the judges of the modem's answers to them. The
// steps are checked by taking their PDUs apart field by field, the way a modem
// reads them, rather than against texts built the same way as the code does.
#include <ostream>

#include "ModemTestSupport.h"

using modem_test::MemberAccess;

namespace {

// One SMS-SUBMIT as hexadecimal text, read field by field.
struct SubmitPdu {
    std::string smsCenterField;  // length octet, type and digits as written
    int firstOctet = -1;
    std::string destinationType;
    std::string destinationDigits;  // semi-octets swapped back, fill dropped
    int userDataLength = -1;
    std::string userData;  // hex, header included
    int tpduOctets = 0;    // what "AT+CMGS=" must announce
    bool wellFormed = false;
};

int Octet(const std::string &hex, std::size_t at)
{
    return std::stoi(hex.substr(at, 2), nullptr, 16);
}

std::string Unswap(const std::string &semiOctets)
{
    std::string digits;
    for (std::size_t i = 0; i + 1 < semiOctets.size(); i += 2) {
        digits += semiOctets[i + 1];
        digits += semiOctets[i];
    }
    if (!digits.empty() && digits.back() == 'F')
        digits.pop_back();
    return digits;
}

SubmitPdu ReadSubmit(std::string hex)
{
    SubmitPdu pdu;
    if (hex.empty() || hex.back() != '\x1A')
        return pdu;
    hex.pop_back();
    std::size_t at = 0;
    const int centerOctets = Octet(hex, at);
    pdu.smsCenterField = hex.substr(0, 2 + 2 * centerOctets);
    at += pdu.smsCenterField.size();
    const std::size_t tpduStart = at;
    pdu.firstOctet = Octet(hex, at);
    at += 4;  // first octet, message reference
    const int digits = Octet(hex, at);
    pdu.destinationType = hex.substr(at + 2, 2);
    const std::size_t digitChars = static_cast<std::size_t>(digits + digits % 2);
    pdu.destinationDigits = Unswap(hex.substr(at + 4, digitChars));
    at += 4 + digitChars;
    at += 6;  // protocol identifier, data coding, validity period
    pdu.userDataLength = Octet(hex, at);
    at += 2;
    pdu.userData = hex.substr(at);
    pdu.tpduOctets = static_cast<int>((hex.size() - tpduStart) / 2);
    pdu.wellFormed = pdu.userData.size() == static_cast<std::size_t>(2 * pdu.userDataLength);
    return pdu;
}

std::string LengthCmd(int octets)
{
    return "AT+CMGS=" + std::to_string(octets) + "\r";
}

std::string Repeat(const std::string &piece, int times)
{
    std::string text;
    for (int i = 0; i < times; ++i)
        text += piece;
    return text;
}

const std::string kChinese = "中";  // three bytes in UTF-8, two in code page 936

// Console text of the given number of bytes: Chinese characters, topped up
// with letters taken from "ab". The most characters that fit is what the
// console encoding allows.
std::string ChineseTextOfBytes(std::size_t bytes, std::size_t *characters)
{
    const std::size_t chinese = bytes / kConsoleBytesPerChinese;
    const std::size_t letters = bytes - chinese * kConsoleBytesPerChinese;
    *characters = chinese + letters;
    return Repeat(kChinese, chinese) + std::string("ab").substr(0, letters);
}

class SendSteps : public ::testing::Test {
protected:
    void SetUp() override
    {
        modem_test::UseUtf8Environment();
        ASSERT_EQ(modem.OnGetQuerySmsCenterCmdRsp("\r\n+CSCA: \"+8613800100500\",145\r\n\r\nOK\r\n"),
                  COM_CMD_OK);
    }
    CPhoneCardBase modem;
};

TEST_F(SendSteps, TextOf140BytesGoesAsOneMessage)
{
    // UTF-8: 46 Chinese characters and "ab"; code page 936: 70 Chinese.
    std::size_t characters = 0;
    const std::string text = ChineseTextOfBytes(140, &characters);
    ASSERT_EQ(text.size(), 140u);
    const auto steps = modem.GetSendPduSmsCmdArray("13912345678", text);
    ASSERT_EQ(steps.size(), 1u);
    const SubmitPdu pdu = ReadSubmit(steps[0].pdu);
    ASSERT_TRUE(pdu.wellFormed) << steps[0].pdu;
    EXPECT_EQ(pdu.smsCenterField, "0891683108100005F0");
    EXPECT_EQ(pdu.firstOctet, 0x11);  // no user-data header
    EXPECT_EQ(pdu.userDataLength, static_cast<int>(2 * characters));
    EXPECT_EQ(pdu.userData.substr(0, 4), "4E2D");
    EXPECT_EQ(steps[0].cmd, LengthCmd(pdu.tpduOctets));
    // The length command stays in the object as well.
    EXPECT_EQ(MemberAccess::SendPduLenCmd(modem), steps[0].cmd);
}

TEST_F(SendSteps, TextOf141BytesGoesConcatenated)
{
    // UTF-8: 47 Chinese characters, 94 UCS2 octets, which fit one part: one
    // step with a header of one part. Code page 936: 70 Chinese and a letter,
    // 142 octets, two parts.
    std::size_t characters = 0;
    const std::string text = ChineseTextOfBytes(141, &characters);
    ASSERT_EQ(text.size(), 141u);
    const std::size_t octets = 2 * characters;
    const std::size_t parts = (octets + 133) / 134;
    const auto steps = modem.GetSendPduSmsCmdArray("13912345678", text);
    ASSERT_EQ(steps.size(), parts);
    const SubmitPdu pdu = ReadSubmit(steps[0].pdu);
    ASSERT_TRUE(pdu.wellFormed) << steps[0].pdu;
    EXPECT_EQ(pdu.firstOctet, 0x51);
    EXPECT_EQ(pdu.userDataLength, static_cast<int>((octets < 134 ? octets : 134) + 6));
    EXPECT_EQ(pdu.userData.substr(0, 6), "050003");
    EXPECT_EQ(pdu.userData.substr(8, 4), "0" + std::to_string(parts) + "01");
    EXPECT_EQ(steps[0].cmd, LengthCmd(pdu.tpduOctets));
}

TEST_F(SendSteps, EveryPartAnnouncesItsOwnTpduOctets)
{
    // 150 characters: 300 UCS2 octets, parts of 134, 134 and 32 octets.
    const std::string text = Repeat("长短信", 50);
    const auto steps = modem.GetSendPduSmsCmdArray("8613912345678", text);
    ASSERT_EQ(steps.size(), 3u);
    const int expectedData[] = {134, 134, 32};
    std::string reference;
    for (std::size_t i = 0; i < steps.size(); ++i) {
        const SubmitPdu pdu = ReadSubmit(steps[i].pdu);
        ASSERT_TRUE(pdu.wellFormed) << i << ": " << steps[i].pdu;
        EXPECT_EQ(steps[i].cmd, LengthCmd(pdu.tpduOctets)) << i;
        EXPECT_EQ(pdu.userDataLength, expectedData[i] + 6) << i;
        // Same reference in every part, three parts, sequence numbers 1 to 3.
        if (i == 0)
            reference = pdu.userData.substr(6, 2);
        EXPECT_EQ(pdu.userData.substr(6, 2), reference) << i;
        EXPECT_EQ(pdu.userData.substr(8, 4), "030" + std::to_string(i + 1)) << i;
        EXPECT_EQ(pdu.smsCenterField, "0891683108100005F0") << i;
    }
}

TEST_F(SendSteps, PlainTextOfMoreThan70CharactersIsConcatenated)
{
    // 100 bytes, but 200 UCS2 octets: too many for one message.
    const auto steps = modem.GetSendPduSmsCmdArray("13912345678", std::string(100, 'x'));
    ASSERT_EQ(steps.size(), 2u);
    for (const auto &step : steps) {
        const SubmitPdu pdu = ReadSubmit(step.pdu);
        ASSERT_TRUE(pdu.wellFormed) << step.pdu;
        EXPECT_LE(pdu.userDataLength, 140);
        EXPECT_EQ(step.cmd, LengthCmd(pdu.tpduOctets));
    }
    // 70 characters still fit one message.
    EXPECT_EQ(ReadSubmit(modem.GetSendPduSmsCmdArray("13912345678", std::string(70, 'x'))[0].pdu)
                  .firstOctet,
              0x11);
}

TEST_F(SendSteps, TextBeyondTheLastReferenceablePartIsRefused)
{
    // 256 parts of 67 characters: more than a concatenation header can count.
    const auto steps = modem.GetSendPduSmsCmdArray("13912345678", std::string(256 * 67, 'x'));
    EXPECT_TRUE(steps.empty());
    EXPECT_FALSE(modem.GetErrorMessage().empty());
}

struct DestinationCase {
    const char *name;
    std::string number;
    std::string text;  // short or long, to take either builder
    std::string type;
    std::string digits;
};

void PrintTo(const DestinationCase &c, std::ostream *os)
{
    *os << c.name;
}

class Destination : public SendSteps, public ::testing::WithParamInterface<DestinationCase> {};

TEST_P(Destination, EncodedWithItsTypeOfAddress)
{
    const DestinationCase &c = GetParam();
    const auto steps = modem.GetSendPduSmsCmdArray(c.number, c.text);
    ASSERT_FALSE(steps.empty());
    for (const auto &step : steps) {
        const SubmitPdu pdu = ReadSubmit(step.pdu);
        EXPECT_EQ(pdu.destinationType, c.type);
        EXPECT_EQ(pdu.destinationDigits, c.digits);
    }
}

const std::string kLong = std::string(200, 'y');

INSTANTIATE_TEST_SUITE_P(
    Numbers, Destination,
    ::testing::Values(
        DestinationCase{"NationalSingle", "13912345678", "hi", "81", "13912345678"},
        DestinationCase{"NationalLong", "13912345678", kLong, "A1", "13912345678"},
        DestinationCase{"With86Single", "8613912345678", "hi", "91", "8613912345678"},
        DestinationCase{"With0086Single", "008613912345678", "hi", "91", "8613912345678"},
        DestinationCase{"With0086Long", "008613912345678", kLong, "91", "8613912345678"},
        DestinationCase{"ServiceNumber", "10086", "hi", "81", "10086"},
        // A number written with "+" is international, and the "+" is not a digit.
        DestinationCase{"PlusSingle", "+8613912345678", "hi", "91", "8613912345678"},
        DestinationCase{"PlusLong", "+8613912345678", kLong, "91", "8613912345678"}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(SendStepsCenter, PlusSignOrNotTheSameDigits)
{
    modem_test::UseUtf8Environment();
    for (const char *center : {"+1234567", "1234567"}) {
        CPhoneCardBase modem;
        modem.OnGetQuerySmsCenterCmdRsp(std::string("\r\n+CSCA: \"") + center + "\",145\r\n");
        for (const std::string &text : {std::string("hi"), kLong}) {
            const auto steps = modem.GetSendPduSmsCmdArray("13912345678", text);
            ASSERT_FALSE(steps.empty());
            EXPECT_EQ(ReadSubmit(steps[0].pdu).smsCenterField, "0591214365F7") << center;
        }
    }
}

TEST(SendStepsCenter, CentreTooLongForThePduIsLeftToTheModem)
{
    modem_test::UseUtf8Environment();
    CPhoneCardBase modem;
    // A modem in UCS2 character set reports its centre as hexadecimal text.
    modem.OnGetQuerySmsCenterCmdRsp(
        "\r\n+CSCA: \"002B0038003600310033003800300030003100300030003500300030\",145\r\n");
    for (const std::string &text : {std::string("hi"), kLong}) {
        const auto steps = modem.GetSendPduSmsCmdArray("13912345678", text);
        ASSERT_FALSE(steps.empty());
        const SubmitPdu pdu = ReadSubmit(steps[0].pdu);
        EXPECT_TRUE(pdu.wellFormed);
        EXPECT_LE(pdu.smsCenterField.size(), 4u) << pdu.smsCenterField;
        EXPECT_EQ(steps[0].cmd, LengthCmd(pdu.tpduOctets));
    }
}

TEST(CountryCode, JudgedByPrefixAndLength)
{
    const struct {
        const char *number;
        bool hasCountryCode;
        const char *encoded;
    } cases[] = {
        {"008613912345678", true, "8613912345678"},
        {"8613912345678", true, "8613912345678"},
        {"00861391234567", false, "00861391234567"},
        {"13912345678", false, "13912345678"},
        {"10086", false, "10086"},
        {"+8613912345678", false, "+8613912345678"},
        {"+008613912345678", false, "+008613912345678"},
        {"", false, ""},
    };
    for (const auto &c : cases) {
        const CountryCode_t verdict = CPhoneCardBase::JudgePhoneCountryCode(c.number);
        EXPECT_EQ(verdict.code, 6) << c.number;
        EXPECT_EQ(verdict.hasCountryCode, c.hasCountryCode) << c.number;
        EXPECT_EQ(CPhoneCardBase::ModifyPhoneCode(c.number, verdict.hasCountryCode), c.encoded)
            << c.number;
    }
    // Only a number judged to carry the prefix loses its "00".
    EXPECT_EQ(CPhoneCardBase::ModifyPhoneCode("008613912345678", false), "008613912345678");
    EXPECT_EQ(CPhoneCardBase::ModifyPhoneCode("00", true), "00");
}

TEST(LongSms, MeasuredInBytes)
{
    CPhoneCardBase modem;
    EXPECT_FALSE(modem.IsLongSms(std::string(140, 'a')));
    EXPECT_TRUE(modem.IsLongSms(std::string(141, 'a')));
    const std::size_t fit = 140 / kConsoleBytesPerChinese;  // 46 in UTF-8, 70 in code page 936
    EXPECT_FALSE(modem.IsLongSms(Repeat(kChinese, fit)));
    EXPECT_TRUE(modem.IsLongSms(Repeat(kChinese, fit + 1)));
}

TEST(SendJudges, LengthCommandWaitsForThePrompt)
{
    const struct {
        const char *reply;
        COM_CMD_OPERATE_RESULT_t verdict;
        const char *error;
    } cases[] = {
        {"\r\n> ", COM_CMD_OK, ""},
        {">", COM_CMD_OK, ""},
        {"", COM_CMD_WAIT, ""},
        {"\r\n", COM_CMD_WAIT, ""},
        {"\r\n+CMS ERROR: 304\r\n", COM_CMD_ERROR, "+CMS ERROR: 304"},
        {"\r\nERROR", COM_CMD_ERROR, "ERROR"},
    };
    for (const auto &c : cases) {
        CPhoneCardBase modem;
        EXPECT_EQ(modem.OnSendPduSmsLenCmdRsp(c.reply), c.verdict) << c.reply;
        EXPECT_EQ(modem.GetErrorMessage(), c.error) << c.reply;
    }
}

TEST(SendJudges, BodyReplyAndRetryFlag)
{
    const struct {
        const char *reply;
        COM_CMD_OPERATE_RESULT_t verdict;
        bool retry;
        const char *error;
    } cases[] = {
        {"\r\n+CMGS: 12\r\n\r\nOK\r\n", COM_CMD_OK, false, ""},
        // Without its line end the OK is not seen yet.
        {"\r\n+CMGS: 12\r\n\r\nOK", COM_CMD_WAIT, false, ""},
        {"\r\n+CMS ERROR: 500\r\n", COM_CMD_ERROR, true, "+CMS ERROR: 500"},
        {"\r\n+CMS ERROR: 600\r\n", COM_CMD_ERROR, true, "+CMS ERROR: 600"},
        {"\r\n+CMS ERROR: 512\r\n", COM_CMD_ERROR, true, "+CMS ERROR: 512"},
        {"\r\n+CMS ERROR: 499\r\n", COM_CMD_ERROR, false, "+CMS ERROR: 499"},
        {"\r\n+CMS ERROR: 601\r\n", COM_CMD_ERROR, false, "+CMS ERROR: 601"},
        {"\r\n+CMS ERROR: 304\r\n", COM_CMD_ERROR, false, "+CMS ERROR: 304"},
        // The number must stand apart to be read.
        {"\r\n+CMS ERROR:500\r\n", COM_CMD_ERROR, false, "+CMS ERROR:500"},
        {"\r\n+CMS ERROR: 99999999999999999999\r\n", COM_CMD_ERROR, false,
         "+CMS ERROR: 99999999999999999999"},
        {"\r\n+CMS ERROR: 500", COM_CMD_WAIT, false, ""},
    };
    for (const auto &c : cases) {
        CPhoneCardBase modem;
        EXPECT_EQ(modem.OnSendPduSmsContextCmdRsp(c.reply), c.verdict) << c.reply;
        EXPECT_EQ(modem.IsSendPduSmsRetry(), c.retry) << c.reply;
        EXPECT_EQ(modem.GetErrorMessage(), c.error) << c.reply;
    }
}

TEST(SendJudges, RetryFlagIsTheVerdictOnTheLastReply)
{
    CPhoneCardBase modem;
    modem.OnSendPduSmsContextCmdRsp("\r\n+CMS ERROR: 500\r\n");
    ASSERT_TRUE(modem.IsSendPduSmsRetry());
    EXPECT_EQ(modem.OnSendPduSmsContextCmdRsp(""), COM_CMD_WAIT);
    EXPECT_FALSE(modem.IsSendPduSmsRetry());
}

}  // namespace
