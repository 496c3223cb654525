// The reading of one query's reply, by rules that the model readers of both
// builds share: where the reply begins, which lines may hold the value, what
// an OK before the value means, and what is reported with the value.
#include "QueryReply.h"

#include <ostream>
#include <string>

#include <gtest/gtest.h>

namespace {

using namespace std::string_literals;

bool AnyWord(const std::string &text)
{
    return !text.empty() && text.find(' ') == std::string::npos;
}

constexpr QueryForm kTagged = {"AT+TEST", "+TEST:", 0, AnyWord, true, EarlyOk::IsLate};
constexpr QueryForm kTaggedNoOk = {"AT+TEST", "+TEST:", 0, AnyWord, false, EarlyOk::EndsTheReply};
constexpr QueryForm kTaggedEarlyOkEnds = {"AT+TEST", "+TEST:", 0, AnyWord, true,
                                          EarlyOk::EndsTheReply};
constexpr QueryForm kSeparated = {"AT+TEST", "Value", 1, AnyWord, true, EarlyOk::IsLate};
constexpr QueryForm kBare = {"AT+TEST", nullptr, 0, AnyWord, true, EarlyOk::IsLate};

struct ReadCase {
    const char *name;
    const QueryForm *form;
    std::string reply;
    QueryOutcome outcome;
    std::string value;
    bool blank;  // blankBeforeValue, or errorLineEnded for a refusal
};

void PrintTo(const ReadCase &c, std::ostream *os) { *os << c.name; }

class QueryReplyTest : public testing::TestWithParam<ReadCase> {};

TEST_P(QueryReplyTest, ReadsTheValueLineOfTheCommandsOwnReply)
{
    const ReadCase &c = GetParam();
    const QueryReading reading = ReadQueryReply(c.reply, *c.form);
    EXPECT_EQ(static_cast<int>(reading.outcome), static_cast<int>(c.outcome));
    if (c.outcome == QueryOutcome::Value) {
        EXPECT_EQ(reading.value, c.value);
        EXPECT_EQ(reading.blankBeforeValue, c.blank);
    }
    if (c.outcome == QueryOutcome::Refused) {
        EXPECT_EQ(reading.errorLineEnded, c.blank);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Rules, QueryReplyTest,
    testing::Values(
        ReadCase{"Tagged", &kTagged, "\r\n+TEST: v1\r\n\r\nOK\r\n", QueryOutcome::Value, "v1", true},
        ReadCase{"TaggedNoBlank", &kTagged, "\r\n+TEST:v1\r\nOK\r\n", QueryOutcome::Value, "v1",
                 false},
        ReadCase{"TaggedQuoted", &kTagged, "\r\n+TEST: \"v1\"\r\n\r\nOK", QueryOutcome::Value, "v1",
                 true},
        ReadCase{"OneQuoteIsPartOfTheValue", &kTagged, "\r\n+TEST: \"v1\r\n\r\nOK\r\n",
                 QueryOutcome::Value, "\"v1", true},
        ReadCase{"TaggedWaitsForOk", &kTagged, "\r\n+TEST: v1\r\n", QueryOutcome::Pending, "",
                 false},
        ReadCase{"TaggedWithoutOkDecidesAtTheLineEnd", &kTaggedNoOk, "\r\n+TEST: v1\r\n",
                 QueryOutcome::Value, "v1", true},
        ReadCase{"LineNotEndedIsNoValue", &kTaggedNoOk, "\r\n+TEST: v1", QueryOutcome::Pending, "",
                 false},
        ReadCase{"WrongShapeAtTheLineEnd", &kTaggedNoOk, "\r\n+TEST: v 1\r\n",
                 QueryOutcome::NoValue, "", false},
        ReadCase{"WrongShapeAtTheOk", &kTagged, "\r\n+TEST: v 1\r\n\r\nOK\r\n",
                 QueryOutcome::NoValue, "", false},
        ReadCase{"FirstTagLineCounts", &kTagged, "\r\n+TEST: v1\r\n+TEST: v2\r\n\r\nOK\r\n",
                 QueryOutcome::Value, "v1", true},
        ReadCase{"OtherLinesBesideATagLine", &kTagged, "\r\nnoise\r\n+TEST: v1\r\nmore\r\nOK\r\n",
                 QueryOutcome::Value, "v1", true},
        ReadCase{"SeparatorAfterTag", &kSeparated, "\r\nValue:v1\r\n\r\nOK\r\n",
                 QueryOutcome::Value, "v1", false},
        // What an OK before the value line means.
        ReadCase{"LateOkIsPassedOver", &kTagged, "\r\nOK\r\n\r\n+TEST: v1\r\n\r\nOK\r\n",
                 QueryOutcome::Value, "v1", true},
        ReadCase{"EarlyOkEndsTheReply", &kTaggedEarlyOkEnds, "\r\nOK\r\n\r\n+TEST: v1\r\n\r\nOK\r\n",
                 QueryOutcome::NoValue, "", false},
        ReadCase{"LateOkThenNothing", &kTagged, "\r\nOK\r\n", QueryOutcome::Pending, "", false},
        // Where the reply begins.
        ReadCase{"LinesBeforeTheEchoAreLate", &kTaggedEarlyOkEnds,
                 "\r\nOK\r\nat+test\r\r\n+TEST: v1\r\n\r\nOK\r\n", QueryOutcome::Value, "v1", true},
        // The command loop leaves out the echo line with its line ends.
        ReadCase{"ValueFirst", &kBare, "v1\r\n\r\nOK\r\n", QueryOutcome::Value, "v1", false},
        ReadCase{"TagLineFirst", &kTagged, "+TEST: v1\r\n\r\nOK\r\n", QueryOutcome::Value,
                 "v1", true},
        ReadCase{"EchoThenValue", &kBare, "AT+TEST\r\r\nv1\r\n\r\nOK\r\n", QueryOutcome::Value,
                 "v1", false},
        // Bare values: the one line before the OK.
        ReadCase{"Bare", &kBare, "\r\nv1\r\n\r\nOK\r\n", QueryOutcome::Value, "v1", false},
        ReadCase{"BareWithReportsAround", &kBare, "\r\nRING\r\n\r\nv1\r\n\r\n^RSSI: 3\r\n\r\nOK\r\n",
                 QueryOutcome::Value, "v1", false},
        ReadCase{"BareTwoLines", &kBare, "\r\nv1\r\nv2\r\n\r\nOK\r\n", QueryOutcome::NoValue, "",
                 false},
        ReadCase{"BareWrongShape", &kBare, "\r\nv 1\r\n\r\nOK\r\n", QueryOutcome::NoValue, "",
                 false},
        ReadCase{"BareWaitsForOk", &kBare, "\r\nv1\r\n", QueryOutcome::Pending, "", false},
        // A NUL byte between the lines is no line of its own, and one at the
        // edge of the value line is not part of the value.
        ReadCase{"BareWithNulBeforeOk", &kBare, "\r\nv1\r\n\0\r\nOK\r\n"s, QueryOutcome::Value, "v1",
                 false},
        ReadCase{"BareAfterNul", &kBare, "\0\r\nv1\r\n\r\nOK\r\n"s, QueryOutcome::Value, "v1", false},
        ReadCase{"TaggedWithNulAfterValue", &kTagged, "\r\n+TEST: v1\0\r\n\r\nOK\r\n"s,
                 QueryOutcome::Value, "v1", true},
        // Error reports, with or without their line end yet.
        ReadCase{"Error", &kTagged, "\r\nERROR\r\n", QueryOutcome::Refused, "", true},
        ReadCase{"ErrorStillArriving", &kTagged, "\r\n+CME ERROR: 1", QueryOutcome::Refused, "",
                 false},
        ReadCase{"ErrorAfterTheValue", &kTagged, "\r\n+TEST: v1\r\n\r\n+CMS ERROR: 500\r\n",
                 QueryOutcome::Refused, "", true},
        ReadCase{"Empty", &kTagged, "", QueryOutcome::Pending, "", false}),
    [](const testing::TestParamInfo<ReadCase> &info) { return std::string(info.param.name); });

}  // namespace
