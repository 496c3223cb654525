// The probe's reply readers, each fed the replies real modules give and the
// awkward forms: echo on, quoted or not, unsolicited reports before, inside
// and after, values cut short, the rest of a line an earlier read cut, a zero
// byte inside, values too long or of another shape, another command's reply,
// error reports in place of a value.
#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "ProbeReplies.h"

namespace {

struct FinalCase {
    const char *name;
    std::string reply;
    bool final;
};

void PrintTo(const FinalCase &c, std::ostream *os) { *os << c.name; }

class FinalResultTest : public testing::TestWithParam<FinalCase> {};

TEST_P(FinalResultTest, EndsExchangeOnlyOnAWholeResultLine)
{
    EXPECT_EQ(HasFinalResult(GetParam().reply), GetParam().final);
}

INSTANTIATE_TEST_SUITE_P(
    Replies, FinalResultTest,
    testing::Values(
        FinalCase{"Ok", "\r\nOK\r\n", true},
        FinalCase{"OkLineEndStillComing", "\r\n+CSQ: 20,99\r\n\r\nOK", true},
        FinalCase{"ValueBeforeOk", "\r\n+CSQ: 20,99\r\n", false},
        FinalCase{"EchoOnly", "AT+CSQ\r", false},
        FinalCase{"Error", "\r\nERROR\r\n", true},
        FinalCase{"CmeErrorWhole", "\r\n+CME ERROR: 10\r\n", true},
        FinalCase{"CmeErrorNumberStillComing", "\r\n+CME ERROR: 1", false},
        FinalCase{"CmsError", "\r\n+CMS ERROR: 500\r\n", true},
        FinalCase{"OkInsideAWord", "\r\nBOOK\r\n", false},
        FinalCase{"OkInsideAValue", "\r\n^CPBR: 1,\"1\",129,\"OK\"\r\n", false},
        FinalCase{"UnsolicitedThenOk", "\r\n^RSSI: 12\r\n\r\nOK\r\n", true},
        FinalCase{"Empty", "", false}),
    [](const testing::TestParamInfo<FinalCase> &info) { return std::string(info.param.name); });

// ---------------------------------------------------------------------------

const std::string kIccid = "89860012345678901234";
const std::string kImei = "866123456789012";

std::string WithNul(const char *before, const char *after)
{
    return std::string(before) + '\0' + after;
}

struct CardCase {
    const char *name;
    CardNumberQuery query;
    std::string reply;
    bool found;
    std::string number;
};

void PrintTo(const CardCase &c, std::ostream *os) { *os << c.name; }

class SmsCardNumberTest : public testing::TestWithParam<CardCase> {};

TEST_P(SmsCardNumberTest, ReadsTheValueOfTheCommandsOwnLine)
{
    std::string number = "untouched";
    EXPECT_EQ(SmsCardNumberFromReply(GetParam().query, GetParam().reply, number),
              GetParam().found);
    EXPECT_EQ(number, GetParam().found ? GetParam().number : "untouched");
}

INSTANTIATE_TEST_SUITE_P(
    Replies, SmsCardNumberTest,
    testing::Values(
        CardCase{"PlusCcid", CardNumberQuery::Ccid, "\r\n+CCID: " + kIccid + "\r\n\r\nOK\r\n",
                 true, " " + kIccid},
        CardCase{"Quoted", CardNumberQuery::Ccid, "\r\n+CCID: \"" + kIccid + "\"\r\n\r\nOK\r\n",
                 true, " " + kIccid},
        CardCase{"NoBlankAfterColon", CardNumberQuery::Ccid, "\r\n+CCID:" + kIccid + "\r\n\r\nOK\r\n",
                 true, kIccid},
        CardCase{"EchoOn", CardNumberQuery::Ccid,
                 "AT+CCID\r\r\n+CCID: " + kIccid + "\r\n\r\nOK\r\n", true, " " + kIccid},
        CardCase{"NineteenDigitsPaddedWithF", CardNumberQuery::Ccid,
                 "\r\n+CCID: 8986031824500011220F\r\n\r\nOK\r\n", true, " 8986031824500011220F"},
        CardCase{"HuaweiIccidInStoredOrder", CardNumberQuery::HuaweiIccid,
                 "\r\n^ICCID: 98681012345678901234\r\n\r\nOK\r\n", true, " 89860121436587092143"},
        CardCase{"HuaweiIccidStoredWithPad", CardNumberQuery::HuaweiIccid,
                 "\r\n^ICCID: 986810325476981032F4\r\n\r\nOK\r\n", true, " 8986012345678901234F"},
        CardCase{"HuaweiIccidAsPrinted", CardNumberQuery::HuaweiIccid,
                 "\r\n^ICCID: " + kIccid + "\r\n\r\nOK\r\n", true, " " + kIccid},
        CardCase{"CcidInStoredOrderAsItCame", CardNumberQuery::Ccid,
                 "\r\n+CCID: 98681012345678901234\r\n\r\nOK\r\n", true, " 98681012345678901234"},
        CardCase{"SiemensCxxcid", CardNumberQuery::SiemensCxxcid,
                 "\r\n+CXXCID: 89490200001234567890\r\n\r\nOK\r\n", true, " 89490200001234567890"},
        CardCase{"SignalReportFirst", CardNumberQuery::Ccid,
                 "\r\n^RSSI: 17\r\n\r\n+CCID: " + kIccid + "\r\n\r\nOK\r\n", true, " " + kIccid},
        CardCase{"NewMessageReportBeforeOk", CardNumberQuery::HuaweiIccid,
                 "\r\n^ICCID: " + kIccid + "\r\n\r\n+CMTI: \"SM\",3\r\n\r\nOK\r\n", true,
                 " " + kIccid},
        CardCase{"LateOkOfAnEarlierCommandFirst", CardNumberQuery::Ccid,
                 "\r\nOK\r\n\r\n+CCID: " + kIccid + "\r\n\r\nOK\r\n", true, " " + kIccid},
        // A line cut by the exchange's bound.
        CardCase{"CutMidLine", CardNumberQuery::Ccid, "\r\n+CCID: 8986", false, ""},
        CardCase{"ValueLineWhoseOkCameTooLate", CardNumberQuery::Ccid,
                 "\r\n+CCID: " + kIccid + "\r\n", true, " " + kIccid},
        CardCase{"NulInsideTheValue", CardNumberQuery::Ccid,
                 WithNul("\r\n+CCID: 89860012", "345678901234\r\n\r\nOK\r\n"), false, ""},
        CardCase{"TooLong", CardNumberQuery::Ccid, "\r\n+CCID: " + kIccid + "99\r\n\r\nOK\r\n",
                 false, ""},
        CardCase{"TooShort", CardNumberQuery::Ccid, "\r\n+CCID: 8986001234\r\n\r\nOK\r\n", false,
                 ""},
        CardCase{"AnotherCommandsTag", CardNumberQuery::Ccid,
                 "\r\n^ICCID: " + kIccid + "\r\n\r\nOK\r\n", false, ""},
        CardCase{"TagInsideAnotherLine", CardNumberQuery::Ccid,
                 "\r\nAT+CCID+CCID: " + kIccid + "\r\n\r\nOK\r\n", false, ""},
        CardCase{"NothingAfterColon", CardNumberQuery::Ccid, "\r\n+CCID:\r\n\r\nOK\r\n", false, ""},
        CardCase{"ColonIsLastCharacter", CardNumberQuery::Ccid, "\r\n+CCID:", false, ""},
        CardCase{"OnlyBlanksAfterColon", CardNumberQuery::Ccid, "\r\n+CCID:   \r\n\r\nOK\r\n",
                 false, ""},
        CardCase{"NoColon", CardNumberQuery::Ccid, "\r\n+CCID " + kIccid + "\r\n\r\nOK\r\n", false,
                 ""},
        CardCase{"SimMissing", CardNumberQuery::HuaweiIccid, "\r\n+CME ERROR: 10\r\n", false, ""},
        CardCase{"PlainError", CardNumberQuery::Ccid, "\r\nERROR\r\n", false, ""},
        CardCase{"AnotherCommandsAnswer", CardNumberQuery::Ccid, "\r\n+CSQ: 20,99\r\n\r\nOK\r\n",
                 false, ""},
        CardCase{"Silence", CardNumberQuery::Ccid, "", false, ""}),
    [](const testing::TestParamInfo<CardCase> &info) { return std::string(info.param.name); });

TEST(SmsCardNumberTest, EachQueryHasItsCommand)
{
    EXPECT_STREQ(CardNumberCommand(CardNumberQuery::Ccid), "AT+CCID\r");
    EXPECT_STREQ(CardNumberCommand(CardNumberQuery::HuaweiIccid), "AT^ICCID?\r");
    EXPECT_STREQ(CardNumberCommand(CardNumberQuery::SiemensCxxcid), "AT+CXXCID\r");
}

struct ValueCase {
    const char *name;
    std::string reply;
    bool found;
    std::string value;
};

void PrintTo(const ValueCase &c, std::ostream *os) { *os << c.name; }

class SignalTest : public testing::TestWithParam<ValueCase> {};

TEST_P(SignalTest, ReadsTheRawSignalText)
{
    std::string signal = "untouched";
    EXPECT_EQ(SignalFromReply(GetParam().reply, signal), GetParam().found);
    EXPECT_EQ(signal, GetParam().found ? GetParam().value : "untouched");
}

INSTANTIATE_TEST_SUITE_P(
    Replies, SignalTest,
    testing::Values(
        ValueCase{"Csq", "\r\n+CSQ: 20,99\r\n\r\nOK\r\n", true, " 20,99"},
        ValueCase{"NoSignalKnown", "\r\n+CSQ: 99,99\r\n\r\nOK\r\n", true, " 99,99"},
        ValueCase{"EchoOn", "AT+CSQ\r\r\n+CSQ: 5,0\r\n\r\nOK\r\n", true, " 5,0"},
        ValueCase{"UnsolicitedReportFirst", "\r\n^RSSI: 17\r\n\r\n+CSQ: 17,99\r\n\r\nOK\r\n",
                  true, " 17,99"},
        ValueCase{"RingBeforeOk", "\r\n+CSQ: 20,99\r\n\r\nRING\r\n\r\nOK\r\n", true, " 20,99"},
        ValueCase{"ExtendedErrorReport", "\r\n+CME ERROR: 30\r\n", false, ""},
        ValueCase{"CmsErrorReport", "\r\n+CMS ERROR: 500\r\n", false, ""},
        ValueCase{"SimNumberIsNoSignal", "\r\n+CCID: " + kIccid + "\r\n\r\nOK\r\n", false, ""},
        ValueCase{"EmptyValue", "\r\n+CSQ:\r\n\r\nOK\r\n", false, ""},
        ValueCase{"ColonIsLastCharacter", "\r\n+CSQ:", false, ""},
        ValueCase{"CutMidLine", "\r\n+CSQ: 20,9", false, ""},
        ValueCase{"ValueLineWhoseOkCameTooLate", "\r\n+CSQ: 20,99\r\n", true, " 20,99"},
        ValueCase{"WithoutErrorRate", "\r\n+CSQ: 20\r\n\r\nOK\r\n", false, ""},
        ValueCase{"NulInside", WithNul("\r\n+CSQ: 20", ",99\r\n\r\nOK\r\n"), false, ""},
        ValueCase{"TooLong", "\r\n+CSQ: 2000,99\r\n\r\nOK\r\n", false, ""}),
    [](const testing::TestParamInfo<ValueCase> &info) { return std::string(info.param.name); });

// ---------------------------------------------------------------------------

struct SerialCase {
    const char *name;
    std::string reply;
    std::string serial;
};

void PrintTo(const SerialCase &c, std::ostream *os) { *os << c.name; }

class CgsnSerialTest : public testing::TestWithParam<SerialCase> {};

TEST_P(CgsnSerialTest, TakesTheValueLineOfAnAnswerThatEndedWithOk)
{
    EXPECT_EQ(SerialFromCgsnReply(GetParam().reply), GetParam().serial);
}

INSTANTIATE_TEST_SUITE_P(
    Replies, CgsnSerialTest,
    testing::Values(
        SerialCase{"Imei", "\r\n" + kImei + "\r\n\r\nOK\r\n", kImei},
        SerialCase{"EchoOn", "AT+CGSN\r\r\n" + kImei + "\r\n\r\nOK\r\n", kImei},
        SerialCase{"CdmaEsn", "\r\n0x80D1A8F2\r\n\r\nOK\r\n", "0x80D1A8F2"},
        SerialCase{"CdmaEsnWithout0x", "\r\n80A1B2C6\r\n\r\nOK\r\n", "80A1B2C6"},
        SerialCase{"UnsolicitedReportFirst", "\r\n^RSSI: 12\r\n" + kImei + "\r\n\r\nOK\r\n", kImei},
        SerialCase{"RingFirst", "\r\nRING\r\n\r\n" + kImei + "\r\n\r\nOK\r\n", kImei},
        SerialCase{"NewMessageReportFirst", "\r\n+CMTI: \"SM\",3\r\n\r\n" + kImei + "\r\n\r\nOK\r\n",
                   kImei},
        SerialCase{"RegistrationReportBeforeOk", "\r\n" + kImei + "\r\n\r\n+CREG: 1\r\n\r\nOK\r\n",
                   kImei},
        SerialCase{"BlanksAroundValue", "\r\n  " + kImei + " \t\r\n\r\nOK\r\n", kImei},
        SerialCase{"LateOksFirst", "\r\nOK\r\n\r\nOK\r\n\r\n" + kImei + "\r\n\r\nOK\r\n", kImei},
        // As the command loop hands it, the echo line left out.
        SerialCase{"NoLeadingLineEnd", kImei + "\r\n\r\nOK\r\n", kImei},
        // Other replies' text, whole lines and the rest of cut ones.
        SerialCase{"TailOfAnOk", "K\r\n\r\nOK\r\n", ""},
        SerialCase{"TailOfAManufacturerLine", "Technologies Co., Ltd.\r\n\r\nOK\r\n", ""},
        SerialCase{"TailOfARevisionLine", "M800L24\r\n\r\nOK\r\n", ""},
        SerialCase{"RevisionLine", "\r\nRevision: CLM920_NC5-V1.0.3\r\n\r\nOK\r\n", ""},
        SerialCase{"IdentificationLines",
                   "\r\nModel: ME909s-821\r\nRevision: 11.617.05.00.00\r\n\r\nOK\r\n", ""},
        SerialCase{"WmsnAnswer", "\r\nSerial Number 366912345678901\r\n\r\nOK\r\n", ""},
        SerialCase{"TwoValueLines", "\r\n" + kImei + "\r\n866123456789013\r\n\r\nOK\r\n", ""},
        SerialCase{"NulInside", WithNul("\r\n866123", "456789012\r\n\r\nOK\r\n"), ""},
        SerialCase{"TooLong", "\r\n" + std::string(40, '8') + "\r\n\r\nOK\r\n", ""},
        SerialCase{"TooShort", "\r\nK\r\n\r\nOK\r\n", ""},
        SerialCase{"OkWithoutValue", "\r\nOK\r\n", ""},
        SerialCase{"Error", "\r\nERROR\r\n", ""},
        SerialCase{"CmeError", "\r\n+CME ERROR: 4\r\n", ""},
        SerialCase{"ValueButNoOk", "\r\n" + kImei + "\r\n", ""},
        SerialCase{"ValueThenError", "\r\n" + kImei + "\r\n\r\nERROR\r\n", ""},
        SerialCase{"EchoIsAllThereIs", "AT+CGSN", ""},
        SerialCase{"Silence", "", ""}),
    [](const testing::TestParamInfo<SerialCase> &info) { return std::string(info.param.name); });

class WmsnSerialTest : public testing::TestWithParam<SerialCase> {};

TEST_P(WmsnSerialTest, TakesTheRestOfTheMarkersLine)
{
    EXPECT_EQ(SerialFromWmsnReply(GetParam().reply), GetParam().serial);
}

INSTANTIATE_TEST_SUITE_P(
    Replies, WmsnSerialTest,
    testing::Values(
        SerialCase{"Wavecom", "\r\nSerial Number 351234567890123\r\n\r\nOK\r\n",
                   "351234567890123"},
        SerialCase{"ColonSeparator", "\r\nSerial Number:351234567890123\r\n\r\nOK\r\n",
                   "351234567890123"},
        SerialCase{"EchoOn", "AT+WMSN\r\r\nSerial Number 351234567890123\r\n\r\nOK\r\n",
                   "351234567890123"},
        SerialCase{"SignalReportFirst",
                   "\r\n+WIND: 4\r\n\r\nSerial Number 351234567890123\r\n\r\nOK\r\n",
                   "351234567890123"},
        SerialCase{"MarkerAtTheVeryEnd", "\r\nSerial Number", ""},
        SerialCase{"MarkerAndSeparatorAtTheEnd", "\r\nSerial Number ", ""},
        SerialCase{"NoLineEndAfterValue", "\r\nSerial Number 351234567890123", ""},
        SerialCase{"ValueLineWhoseOkCameTooLate", "\r\nSerial Number 351234567890123\r\n",
                   "351234567890123"},
        SerialCase{"EmptyValue", "\r\nSerial Number \r\n\r\nOK\r\n", ""},
        SerialCase{"MarkerInsideAnotherLine", "\r\nNo Serial Number 351234567890123\r\n\r\nOK\r\n",
                   ""},
        SerialCase{"NulInside", WithNul("\r\nSerial Number 3512", "34567890123\r\n\r\nOK\r\n"), ""},
        SerialCase{"TwoWords", "\r\nSerial Number 3512 34567890123\r\n\r\nOK\r\n", ""},
        SerialCase{"NoMarker", "\r\nERROR\r\n", ""}),
    [](const testing::TestParamInfo<SerialCase> &info) { return std::string(info.param.name); });

TEST(WmsnSerialTest, MarkerAnywhereMeansTheModuleAnswered)
{
    EXPECT_TRUE(WmsnReplyHasSerial("\r\nSerial Number"));
    EXPECT_FALSE(WmsnReplyHasSerial("\r\n+CME ERROR: 4\r\n"));
    EXPECT_FALSE(WmsnReplyHasSerial("\r\nserial number 1\r\n"));
}

struct ModelNameCase {
    const char *name;
    std::string reply;
    std::string modelName;
};

void PrintTo(const ModelNameCase &c, std::ostream *os) { *os << c.name; }

class ModelNameAfterDotTest : public testing::TestWithParam<ModelNameCase> {};

TEST_P(ModelNameAfterDotTest, AtMostFiveCharactersOfTheDottedLine)
{
    EXPECT_EQ(ModelNameAfterDot(GetParam().reply), GetParam().modelName);
}

INSTANTIATE_TEST_SUITE_P(
    Replies, ModelNameAfterDotTest,
    testing::Values(
        ModelNameCase{"WavecomRevision", "\r\nR7.43.0.201003231211\r\n\r\nOK\r\n", "43.0."},
        ModelNameCase{"FewerAfterTheDot", "\r\nRevision 1.2\r\n\r\nOK\r\n", "2"},
        ModelNameCase{"EchoOn", "ATI3\r\r\nR7.43.0.201003231211\r\n\r\nOK\r\n", "43.0."},
        ModelNameCase{"SecondLine", "\r\nWAVECOM\r\nR7.43\r\n\r\nOK\r\n", "43"},
        ModelNameCase{"NulAfterTheDot", WithNul("\r\nR7.4", "3.0\r\n\r\nOK\r\n"), "4"},
        ModelNameCase{"BlankAfterTheDot", "\r\nVersion 1. beta\r\n\r\nOK\r\n", ""},
        ModelNameCase{"DotIsLast", "\r\nv1.\r\n\r\nOK\r\n", ""},
        ModelNameCase{"LineCutShort", "\r\nR7.43", ""},
        ModelNameCase{"NoLeadingLineEnd", "v1.ab\r\n\r\nOK\r\n", "ab"},
        ModelNameCase{"NoDotHere", "\r\nno dot here\r\n\r\nOK\r\n", ""}),
    [](const testing::TestParamInfo<ModelNameCase> &info) {
        return std::string(info.param.name);
    });

// ---------------------------------------------------------------------------

struct PhonebookCase {
    const char *name;
    std::string reply;
    PhonebookSlot slot;
    std::string number;
};

void PrintTo(const PhonebookCase &c, std::ostream *os) { *os << c.name; }

class PhonebookEntryTest : public testing::TestWithParam<PhonebookCase> {};

TEST_P(PhonebookEntryTest, TellsOurEntryFromAUsersAndFromNone)
{
    std::string number;
    EXPECT_EQ(JudgePhonebookEntry(GetParam().reply, number), GetParam().slot);
    EXPECT_EQ(number, GetParam().number);
}

INSTANTIATE_TEST_SUITE_P(
    Replies, PhonebookEntryTest,
    testing::Values(
        PhonebookCase{"Ours", "\r\n^CPBR: 1,\"482913570264815\",129,\"WMSN\"\r\n\r\nOK\r\n",
                      PhonebookSlot::Ours, "482913570264815"},
        PhonebookCase{"OursWithCodingField",
                      "\r\n^CPBR: 1,\"482913570264815\",129,\"WMSN\",0\r\n\r\nOK\r\n",
                      PhonebookSlot::Ours, "482913570264815"},
        PhonebookCase{"EmptyEntryOk", "\r\nOK\r\n", PhonebookSlot::Empty, ""},
        PhonebookCase{"EmptyEntryNotFound", "\r\n+CME ERROR: 22\r\n", PhonebookSlot::Empty, ""},
        PhonebookCase{"EmptyEntryNotFoundInWords", "\r\n+CME ERROR: not found\r\n",
                      PhonebookSlot::Empty, ""},
        // Any other refusal says nothing about what the entry holds: a user's
        // contact may be behind a SIM that is busy or a storage refused.
        PhonebookCase{"PlainError", "\r\nERROR\r\n", PhonebookSlot::Unknown, ""},
        PhonebookCase{"SimBusy", "\r\n+CME ERROR: 14\r\n", PhonebookSlot::Unknown, ""},
        PhonebookCase{"MessageServiceError", "\r\n+CMS ERROR: 500\r\n", PhonebookSlot::Unknown, ""},
        PhonebookCase{"StandardFormEntry", "\r\n+CPBR: 1,\"13800138000\",129,\"Mum\"\r\n\r\nOK\r\n",
                      PhonebookSlot::Foreign, ""},
        PhonebookCase{"AnotherCommandsValueBeforeOk", "\r\n+CPMS: 0,50,0,50,0,50\r\n\r\nOK\r\n",
                      PhonebookSlot::Unknown, ""},
        PhonebookCase{"UsersEntry", "\r\n^CPBR: 1,\"13800138000\",129,\"Mum\"\r\n\r\nOK\r\n",
                      PhonebookSlot::Foreign, ""},
        PhonebookCase{"UsersEntryInternational",
                      "\r\n^CPBR: 1,\"+8613800138000\",145,\"WMSN\"\r\n\r\nOK\r\n",
                      PhonebookSlot::Foreign, ""},
        PhonebookCase{"UsersNameInUcs2",
                      "\r\n^CPBR: 1,\"13800138000\",129,\"0057004D0053004E\",1\r\n\r\nOK\r\n",
                      PhonebookSlot::Foreign, ""},
        PhonebookCase{"AnotherIndex", "\r\n^CPBR: 2,\"482913570264815\",129,\"WMSN\"\r\n\r\nOK\r\n",
                      PhonebookSlot::Foreign, ""},
        PhonebookCase{"IndexOnly", "\r\n^CPBR: 1\r\n\r\nOK\r\n", PhonebookSlot::Foreign, ""},
        PhonebookCase{"CommaLast", "\r\n^CPBR: 1,\r\n\r\nOK\r\n", PhonebookSlot::Foreign, ""},
        PhonebookCase{"UnclosedQuote", "\r\n^CPBR: 1,\"4829135\r\n\r\nOK\r\n",
                      PhonebookSlot::Foreign, ""},
        PhonebookCase{"NoQuotes", "\r\n^CPBR: 1,482913570264815,129,WMSN\r\n\r\nOK\r\n",
                      PhonebookSlot::Foreign, ""},
        PhonebookCase{"EmptyNumber", "\r\n^CPBR: 1,\"\",129,\"WMSN\"\r\n\r\nOK\r\n",
                      PhonebookSlot::Foreign, ""},
        PhonebookCase{"LineCutShort", "\r\n^CPBR: 1,\"482913570264815\",129,\"WMSN\"",
                      PhonebookSlot::Foreign, ""},
        PhonebookCase{"NoFinalResult", "\r\n", PhonebookSlot::Unknown, ""},
        PhonebookCase{"Silence", "", PhonebookSlot::Unknown, ""}),
    [](const testing::TestParamInfo<PhonebookCase> &info) { return std::string(info.param.name); });

TEST(PhonebookWriteCommandTest, StoresTheNumberAsEntryOneUnderOurName)
{
    EXPECT_EQ(PhonebookWriteCommand("482913570264815"),
              "AT^CPBW=1,\"482913570264815\",129,\"WMSN\"\r");
}

}  // namespace
