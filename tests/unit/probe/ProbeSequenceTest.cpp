// The probe of one port as a whole: which speeds it tries, what a silent,
// babbling or vanishing port costs, and replies that come in pieces or with
// unsolicited reports never credited to the wrong command.
#include <gtest/gtest.h>

#include "ProbeSteps.h"
#include "ScriptedModem.h"

namespace {

TEST(ProbeSequenceTest, AModemAnsweringAt9600IsNeverSetTo115200)
{
    ScriptedLine line(TranscriptResponder(BasicModem(9600)));
    ProbeFindings findings;
    RunPortProbe(line, findings);

    EXPECT_EQ(line.Speeds(), std::vector<int>({9600}));
    EXPECT_TRUE(findings.isAtOk);
    EXPECT_EQ(findings.baudText, "9600");
}

TEST(ProbeSequenceTest, AModemAnsweringOnlyAt115200IsProbedThere)
{
    ScriptedLine line(TranscriptResponder(BasicModem(115200)));
    ProbeFindings findings;
    RunPortProbe(line, findings);

    EXPECT_EQ(line.Speeds(), std::vector<int>({9600, 115200}));
    EXPECT_TRUE(findings.isAtOk);
    EXPECT_EQ(findings.baudText, "115200");
    EXPECT_EQ(findings.serialNumber, "352000111222333");
    EXPECT_EQ(findings.signalStrength, " 17,99");
}

TEST(ProbeSequenceTest, ASilentPortIsDoneAfterTwoAtTriesWithinAboutOneAndAHalfSeconds)
{
    ScriptedLine line([](const std::string &, int) { return std::vector<ReplyPiece>(); });
    ProbeFindings findings;
    RunPortProbe(line, findings);

    EXPECT_EQ(line.Commands(), std::vector<std::string>({"AT\r", "AT\r"}));
    EXPECT_FALSE(findings.isAtOk);
    EXPECT_EQ(findings.baudText, "115200");
    EXPECT_EQ(line.Now(), 2 * (kProbeCancelSettleMs + kProbeExchangeTimeMs));
    EXPECT_TRUE(findings.atiResponse.empty());
    EXPECT_EQ(findings.modelCode, PROBE_MODULE_NONE);
}

TEST(ProbeSequenceTest, ALineRefusingItsSettingsIsStillAskedWithBoundedWaits)
{
    ScriptedLine line(TranscriptResponder(BasicModem(0)));
    line.RefuseSpeeds();
    ProbeFindings findings;
    RunPortProbe(line, findings);

    EXPECT_TRUE(findings.isAtOk);
    EXPECT_EQ(findings.smsCardNumber, " 89860012345678901234");

    ScriptedLine silent([](const std::string &, int) { return std::vector<ReplyPiece>(); });
    silent.RefuseSpeeds();
    ProbeFindings none;
    RunPortProbe(silent, none);
    EXPECT_EQ(silent.Now(), 2 * (kProbeCancelSettleMs + kProbeExchangeTimeMs));
}

TEST(ProbeSequenceTest, APortThatNeverGoesQuietEndsWithinItsBounds)
{
    ScriptedLine line([](const std::string &, int) { return std::vector<ReplyPiece>(); });
    line.Babble();
    ProbeFindings findings;
    RunPortProbe(line, findings);

    EXPECT_EQ(line.Commands(), std::vector<std::string>({"AT\r", "AT\r"}));
    EXPECT_FALSE(findings.isAtOk);
    EXPECT_LT(line.Reads(), 20);
}

TEST(ProbeSequenceTest, AModemThatVanishesEndsTheProbeWithoutWaiting)
{
    ScriptedLine line(TranscriptResponder(BasicModem(9600)));
    line.DropAfterCommands(4);  // gone while identifying
    ProbeFindings findings;
    RunPortProbe(line, findings);

    EXPECT_EQ(line.Commands().size(), 4u);
    EXPECT_TRUE(findings.isAtOk);
    EXPECT_TRUE(findings.smsCardNumber.empty());
    EXPECT_TRUE(findings.signalStrength.empty());
    EXPECT_LT(line.Now(), 4 * kProbeExchangeTimeMs);
}

TEST(ProbeSequenceTest, AModemGoneBeforeAnyAnswerIsNotTriedAtTheSecondSpeed)
{
    ScriptedLine line(TranscriptResponder(BasicModem(9600)));
    line.DropAfterCommands(1);
    ProbeFindings findings;
    RunPortProbe(line, findings);

    EXPECT_EQ(line.Speeds(), std::vector<int>({9600}));
    EXPECT_FALSE(findings.isAtOk);
}

// The SIM card number's reply comes in pieces 300 ms apart, with a signal
// report in it: every value still lands where it belongs.
TEST(ProbeSequenceTest, ASlowReplyIsNotCreditedToTheNextCommand)
{
    Transcript t = BasicModem(0);
    Responder base = TranscriptResponder(t);
    ScriptedLine line([base](const std::string &command, int baud) {
        if (command == "AT+CCID\r")
            return std::vector<ReplyPiece>{{10, "\r\n^RSSI: 12\r\n"},
                                           {320, "\r\n+CCID: 8986001234"},
                                           {640, "5678901234\r\n\r\nOK\r\n"}};
        return base(command, baud);
    });
    ProbeFindings findings;
    RunPortProbe(line, findings);

    EXPECT_EQ(findings.smsCardNumber, " 89860012345678901234");
    EXPECT_EQ(findings.signalStrength, " 17,99");
}

// An identification reply longer than an exchange takes is no answer of the
// modem's: the first one stays. Its rest, with a signal report and an OK in
// it, is still waiting when the signal is asked for, and must not become
// that question's answer.
TEST(ProbeSequenceTest, TheRestOfAnOverlongReplyIsDroppedBeforeTheNextCommand)
{
    Transcript t = BasicModem(0);
    const std::string overlong =
        Answer(std::string(kProbeReplyByteLimit + 100, 'x') + "\r\n+CSQ: 5,5");
    t.replies["ATI\r"] = {Answer("ACME X1"), Answer("ACME X1"), overlong};
    ScriptedLine line(TranscriptResponder(t));
    ProbeFindings findings;
    RunPortProbe(line, findings);

    EXPECT_EQ(findings.atiResponse, Answer("ACME X1"));
    EXPECT_EQ(findings.signalStrength, " 17,99");
}

TEST(ProbeSequenceTest, AnErrorReportToTheSignalQuestionGivesNoSignal)
{
    Transcript t = BasicModem(0);
    t.replies["AT+CSQ\r"] = {"\r\n+CME ERROR: 30\r\n"};
    ScriptedLine line(TranscriptResponder(t));
    ProbeFindings findings;
    RunPortProbe(line, findings);

    EXPECT_EQ(findings.smsCardNumber, " 89860012345678901234");
    EXPECT_TRUE(findings.signalStrength.empty());
}

// The identification reply asked again before the signal replaces the
// first only when it came whole.
TEST(ProbeSequenceTest, AnIdentificationReplyAskedAgainReplacesTheFirstOnlyWhenWhole)
{
    const struct {
        const char *name;
        std::string second;
        std::string kept;
    } cases[] = {
        {"Whole", Answer("ACME X2"), Answer("ACME X2")},
        {"Empty", "", Answer("ACME X1")},
        {"CutShort", "\r\nManufacturer: ACME\r\nModel: X", Answer("ACME X1")},
        {"WithoutItsOk", Answer("ACME X2").substr(0, 13), Answer("ACME X1")},
    };
    for (const auto &c : cases) {
        Transcript t = BasicModem(0);
        t.replies["ATI\r"] = {Answer("ACME X1"), Answer("ACME X1"), c.second};
        ScriptedLine line(TranscriptResponder(t));
        ProbeFindings findings;
        RunPortProbe(line, findings);

        EXPECT_EQ(findings.atiResponse, c.kept) << c.name;
    }
}

}  // namespace
