// Submitted bodies decoded with the program's codec, and the record's lines.
#include <gtest/gtest.h>

#include "FakeRecord.h"

namespace {
FakeSubmission Pdu(const char *command, const char *body)
{
    FakeSubmission s;
    s.command = command;
    s.body = body;
    return s;
}

FakeSubmission Cdma(const char *command, const char *bodyHex)
{
    FakeSubmission s = Pdu(command, bodyHex);
    s.cdma = true;
    return s;
}

struct DecodeCase {
    const char *name;
    FakeSubmission submission;
    bool ok;
    const char *destination;
    int coding;
    const char *text;
    int ref, total, seq;
    int declared, tpdu;
};
void PrintTo(const DecodeCase &c, std::ostream *os) { *os << c.name; }

const DecodeCase kDecodeCases[] = {
    // Centre +123456, destination 98765 (type 81), "A" in UCS2.
    {"SinglePart", Pdu("AT+CMGS=13", "0491214365110005818967F50008AA020041"), true, "98765", 8, "A", -1, 0, 0,
     13, 13},
    // The second of three parts, reference 0xA7, "中文" after the header; centre 8613800100500.
    {"ConcatenatedPart",
     Pdu("AT+CMGS=25", "0891683108100005F0" "51" "00" "0D91683108108300F0" "00" "08" "A7" "0A" "050003A70302"
                       "4E2D6587"),
     true, "8613800138000", 8, "中文", 0xA7, 3, 2, 25, 25},
    {"SixteenBitReference",
     Pdu("AT+CMGS=22", "00" "51" "00" "05810180F6" "00" "08" "A7" "0B" "0608041234020100410042"), true, "10086",
     8, "AB", 0x1234, 2, 1, 22, 22},
    {"LengthDisagrees", Pdu("AT+CMGS=14", "0491214365110005818967F50008AA020041"), true, "98765", 8, "A", -1, 0,
     0, 14, 13},
    {"NotHex", Pdu("AT+CMGS=2", "00GG"), false, "", -1, "", -1, 0, 0, 2, -1},
    {"CutInsideTheHeader", Pdu("AT+CMGS=3", "00110005"), false, "", -1, "", -1, 0, 0, 3, 3},
    {"HeaderOverrunsTheData", Pdu("AT+CMGS=12", "00" "51" "00" "05810180F6" "00" "08" "A7" "03" "0500"), false,
     "10086", 8, "", -1, 0, 0, 12, 13},
    {"NotASubmit", Pdu("AT+CMGS=10", "00" "04" "05810180F6" "00" "08" "0100"), false, "", 8, "", -1, 0, 0, 10, 10},
    {"CdmaSingle", Cdma("AT^HCMGS=\"13800138000\"", "4F60597D001A"), true, "13800138000", 8, "你好", -1, 0, 0, -1,
     4},
    {"CdmaMarkedPart", Cdma("AT^HCMGS=\"10086\"", "004100280032002F00330029001A"), true, "10086", 8, "A(2/3)",
     -1, 3, 2, -1, 12},
};

class DecodeSubmissionTest : public testing::TestWithParam<DecodeCase> {};

TEST_P(DecodeSubmissionTest, ReadsWhatTheProgramSent)
{
    const DecodeCase &c = GetParam();
    const DecodedSubmission d = DecodeSubmission(c.submission);
    EXPECT_EQ(d.ok, c.ok) << d.error;
    EXPECT_EQ(d.declaredLength, c.declared);
    EXPECT_EQ(d.tpduLength, c.tpdu);
    if (c.ok) {
        EXPECT_EQ(d.destination, c.destination);
        EXPECT_EQ(d.coding, c.coding);
        EXPECT_EQ(d.text, c.text);
        EXPECT_EQ(d.concatRef, c.ref);
        EXPECT_EQ(d.concatTotal, c.total);
        EXPECT_EQ(d.concatSeq, c.seq);
    } else {
        EXPECT_FALSE(d.error.empty());
    }
}

INSTANTIATE_TEST_SUITE_P(Bodies, DecodeSubmissionTest, testing::ValuesIn(kDecodeCases),
                         [](const testing::TestParamInfo<DecodeCase> &i) { return i.param.name; });

TEST(FakeRecordTest, LinesReadBackIntoTheRecord)
{
    FakeCommandEvent e{"AT+CMGS=13", 115200, true};
    FakeSubmission s = Pdu("AT+CMGS=13", "0491214365110005818967F50008AA020041");
    s.baud = 115200;
    s.refusal = "+CMS ERROR: 500";
    const std::string text = CommandEventToJsonLine({"ATE0", 9600, false}) + CommandEventToJsonLine(e) +
                             SubmissionToJsonLine(s) + "{\"command\": \"torn";
    const FakeRecord r = ParseRecordLines(text);
    ASSERT_EQ(r.commands.size(), 2u);
    EXPECT_EQ(r.commands[0].text, "ATE0");
    EXPECT_EQ(r.commands[0].baud, 9600);
    EXPECT_FALSE(r.commands[0].answered);
    EXPECT_TRUE(r.commands[1].answered);
    ASSERT_EQ(r.submissions.size(), 1u);
    EXPECT_EQ(r.submissions[0].command, s.command);
    EXPECT_EQ(r.submissions[0].body, s.body);
    EXPECT_EQ(r.submissions[0].baud, 115200);
    EXPECT_FALSE(r.submissions[0].accepted);
    EXPECT_EQ(r.submissions[0].refusal, "+CMS ERROR: 500");
}
}  // namespace
