// The probe's reply readers, each fed the replies real modules give and the
// awkward forms: echo on, unsolicited reports, values cut short, a colon or
// marker at the very end, error reports in place of a value.
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

struct ValueCase {
    const char *name;
    std::string reply;
    bool found;
    std::string value;
};

void PrintTo(const ValueCase &c, std::ostream *os) { *os << c.name; }

class SmsCardNumberTest : public testing::TestWithParam<ValueCase> {};

TEST_P(SmsCardNumberTest, ReadsTheValueOfTheTaggedLine)
{
    std::string number = "untouched";
    EXPECT_EQ(SmsCardNumberFromReply(GetParam().reply, number), GetParam().found);
    EXPECT_EQ(number, GetParam().found ? GetParam().value : "untouched");
}

INSTANTIATE_TEST_SUITE_P(
    Replies, SmsCardNumberTest,
    testing::Values(
        ValueCase{"PlusCcid", "\r\n+CCID: 89860012345678901234\r\n\r\nOK\r\n", true,
                  " 89860012345678901234"},
        ValueCase{"HuaweiIccid", "\r\n^ICCID: 98681012345678901234\r\n\r\nOK\r\n", true,
                  " 98681012345678901234"},
        ValueCase{"SiemensCxxcid", "\r\n+CXXCID: 89490200001234567890\r\n\r\nOK\r\n", true,
                  " 89490200001234567890"},
        ValueCase{"NoBlankAfterColon", "\r\n+CCID:8986001234\r\n\r\nOK\r\n", true, "8986001234"},
        ValueCase{"EchoOn", "AT+CCID\r\r\n+CCID: 8986001234\r\n\r\nOK\r\n", true,
                  " 8986001234"},
        ValueCase{"UnsolicitedReportFirst",
                  "\r\n^RSSI: 17\r\n\r\n+CCID: 8986001234\r\n\r\nOK\r\n", true, " 8986001234"},
        ValueCase{"ValueWithoutLineEnd", "\r\n+CCID: 8986001234", true, " 8986001234"},
        ValueCase{"NothingAfterColon", "\r\n+CCID:\r\n\r\nOK\r\n", false, ""},
        ValueCase{"ColonIsLastCharacter", "\r\n+CCID:", false, ""},
        ValueCase{"OnlyBlanksAfterColon", "\r\n+CCID:   \r\n\r\nOK\r\n", false, ""},
        ValueCase{"NoColon", "\r\n+CCID 8986001234\r\n\r\nOK\r\n", false, ""},
        ValueCase{"SimMissing", "\r\n+CME ERROR: 10\r\n", false, ""},
        ValueCase{"PlainError", "\r\nERROR\r\n", false, ""},
        ValueCase{"AnotherCommandsAnswer", "\r\n+CSQ: 20,99\r\n\r\nOK\r\n", false, ""},
        ValueCase{"Silence", "", false, ""}),
    [](const testing::TestParamInfo<ValueCase> &info) { return std::string(info.param.name); });

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
        ValueCase{"UnsolicitedReportFirst", "\r\n^RSSI: 17\r\n\r\n+CSQ: 17,99\r\n\r\nOK\r\n",
                  true, " 17,99"},
        ValueCase{"ExtendedErrorReport", "\r\n+CME ERROR: 30\r\n", false, ""},
        ValueCase{"CmsErrorReport", "\r\n+CMS ERROR: 500\r\n", false, ""},
        ValueCase{"SimNumberIsNoSignal", "\r\n+CCID: 8986001234\r\n\r\nOK\r\n", false, ""},
        ValueCase{"EmptyValue", "\r\n+CSQ:\r\n\r\nOK\r\n", false, ""},
        ValueCase{"ColonIsLastCharacter", "\r\n+CSQ:", false, ""}),
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
        SerialCase{"Imei", "\r\n866123456789012\r\n\r\nOK\r\n", "866123456789012"},
        SerialCase{"EchoOn", "AT+CGSN\r\r\n866123456789012\r\n\r\nOK\r\n", "866123456789012"},
        SerialCase{"CdmaEsn", "\r\n0x80D1A8F2\r\n\r\nOK\r\n", "0x80D1A8F2"},
        SerialCase{"NoLeadingLineEnd", "866123456789012\r\n\r\nOK\r\n", "866123456789012"},
        SerialCase{"UnsolicitedReportFirst", "\r\n^RSSI: 12\r\n866123456789012\r\n\r\nOK\r\n",
                   "866123456789012"},
        SerialCase{"BlanksAroundValue", "\r\n  866123456789012 \t\r\n\r\nOK\r\n",
                   "866123456789012"},
        SerialCase{"OkWithoutValue", "\r\nOK\r\n", ""},
        SerialCase{"Error", "\r\nERROR\r\n", ""},
        SerialCase{"CmeError", "\r\n+CME ERROR: 4\r\n", ""},
        SerialCase{"ValueButNoOk", "\r\n866123456789012\r\n", ""},
        SerialCase{"ValueThenError", "\r\n866123456789012\r\n\r\nERROR\r\n", ""},
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
        SerialCase{"MarkerAtTheVeryEnd", "\r\nSerial Number", ""},
        SerialCase{"MarkerAndSeparatorAtTheEnd", "\r\nSerial Number ", ""},
        SerialCase{"NoLineEndAfterValue", "\r\nSerial Number 351234567890123", ""},
        SerialCase{"EmptyValue", "\r\nSerial Number \r\n\r\nOK\r\n", ""},
        SerialCase{"NoMarker", "\r\nERROR\r\n", ""}),
    [](const testing::TestParamInfo<SerialCase> &info) { return std::string(info.param.name); });

TEST(WmsnSerialTest, MarkerAnywhereMeansTheModuleAnswered)
{
    EXPECT_TRUE(WmsnReplyHasSerial("\r\nSerial Number"));
    EXPECT_FALSE(WmsnReplyHasSerial("\r\n+CME ERROR: 4\r\n"));
    EXPECT_FALSE(WmsnReplyHasSerial("\r\nserial number 1\r\n"));
}

TEST(ModelNameAfterDotTest, AtMostFiveCharactersOfTheDottedLine)
{
    EXPECT_EQ(ModelNameAfterDot("\r\nR7.43.0.201003231211\r\n\r\nOK\r\n"), "43.0.");
    EXPECT_EQ(ModelNameAfterDot("\r\nRevision 1.2\r\n\r\nOK\r\n"), "2");
    EXPECT_EQ(ModelNameAfterDot("v1.ab"), "ab");
    EXPECT_EQ(ModelNameAfterDot("v1."), "");
    EXPECT_EQ(ModelNameAfterDot("no dot here"), "");
}

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
