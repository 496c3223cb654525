// The probe of a modem that a run ended at its ">" prompt: until an ESC at
// its own speed gives the message up, every command is message text to it,
// answered with nothing. Whatever it answers the ESC is nobody's reply.
#include <memory>

#include <gtest/gtest.h>

#include "ProbeSteps.h"
#include "PromptCancel.h"
#include "ScriptedModem.h"

namespace {

struct PromptCase {
    const char *name;
    int baud;                  // the speed it was left at; 0: it hears every speed
    const char *cancelAnswer;  // what it answers the ESC with
    long long answerAfterMs;
    std::vector<int> cancels;  // the speeds an ESC was written at
    const char *baudText;
};

void PrintTo(const PromptCase &c, std::ostream *os)
{
    *os << c.name;
}

const PromptCase kPromptCases[] = {
    {"SilentToTheCancel", 0, "", 0, {9600}, "9600"},
    {"CancelAnsweredAtOnce", 0, kOk, 1, {9600}, "9600"},
    {"CancelAnsweredAsLateAsItMay", 9600, kOk, kProbeCancelSettleMs, {9600}, "9600"},
    {"CancelRefused", 0, kError, 5, {9600}, "9600"},
    // At 9600 the modem hears nothing it understands, the ESC included.
    {"LeftAt115200", 115200, kOk, 5, {9600, 115200}, "115200"},
};

// The transcript's modem, but at its prompt until an ESC at its speed.
Responder LeftAtPrompt(const PromptCase &c)
{
    const Responder modem = TranscriptResponder(BasicModem(c.baud));
    auto atPrompt = std::make_shared<bool>(true);
    return [c, modem, atPrompt](const std::string &bytes, int baud) -> std::vector<ReplyPiece> {
        if (!*atPrompt)
            return modem(bytes, baud);
        if (bytes != kCancelMessageBody || (c.baud != 0 && baud != c.baud))
            return {};  // message text
        *atPrompt = false;
        if (*c.cancelAnswer == '\0')
            return {};
        return {{c.answerAfterMs, c.cancelAnswer}};
    };
}

class ProbePromptTest : public ::testing::TestWithParam<PromptCase> {};

TEST_P(ProbePromptTest, GivenUpThenReadWithItsOwnReplies)
{
    const PromptCase &c = GetParam();
    ScriptedLine line(LeftAtPrompt(c));
    ProbeFindings findings;
    RunPortProbe(line, findings);

    EXPECT_EQ(line.Cancels(), c.cancels);
    EXPECT_TRUE(findings.isAtOk);
    EXPECT_EQ(findings.baudText, c.baudText);
    EXPECT_EQ(findings.atiResponse, Answer("ACME X1"));
    EXPECT_EQ(findings.serialNumber, "352000111222333");
    EXPECT_EQ(findings.smsCardNumber, " 89860012345678901234");
    EXPECT_EQ(findings.signalStrength, " 17,99");
}

INSTANTIATE_TEST_SUITE_P(Probe, ProbePromptTest, ::testing::ValuesIn(kPromptCases),
                         [](const ::testing::TestParamInfo<PromptCase> &info) {
                             return std::string(info.param.name);
                         });

}  // namespace
