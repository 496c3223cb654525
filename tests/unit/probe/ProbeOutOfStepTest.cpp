// Modems that answer late, in pieces or with unsolicited reports between
// replies: every value the probe reports is the modem's own answer to its
// own question, or none at all, never another command's.
#include <gtest/gtest.h>

#include "ProbeSteps.h"
#include "ScriptedModem.h"

namespace {

// A Huawei MG301 with a SIM card, answering every command after `delay`.
Transcript Mg301()
{
    Transcript t;
    t.replies = {{"AT\r", {kOk}},
                 {"ATE0\r", {kOk}},
                 {"AT+CMEE=1\r", {kOk}},
                 {"ATI\r", {Answer("Manufacturer: Huawei Technologies Co., Ltd.\r\nModel: MG301")}},
                 {"AT+CGMI\r", {Answer("HUAWEI")}},
                 {"AT+CGMM\r", {Answer("MG301")}},
                 {"AT+CGSN\r", {Answer("866123456789012")}},
                 {"AT^ICCID?\r", {Answer("^ICCID: 89860012345678901234")}},
                 {"AT+CSQ\r", {Answer("+CSQ: 20,99")}}};
    return t;
}

const char kSerial[] = "866123456789012";
const char kCard[] = " 89860012345678901234";
const char kSignal[] = " 20,99";

// One command answered late, in pieces, or with a report around it; the rest
// as the transcript says.
struct Misbehaviour {
    const char *name;
    const char *command;       // the command that misbehaves, "" for every one
    long long delayMs;         // its reply comes this long after it
    std::size_t pieceBytes;    // > 0: in pieces this long, 150 ms apart
    const char *reportBefore;  // an unsolicited line just ahead of the reply
    int baud;                  // 0: the modem answers at every speed
};

void PrintTo(const Misbehaviour &m, std::ostream *os)
{
    *os << m.name;
}

Responder Misbehaving(const Misbehaviour &m)
{
    Transcript t = Mg301();
    t.baud = m.baud;
    Responder base = TranscriptResponder(t);
    return [m, base](const std::string &command, int baud) {
        std::vector<ReplyPiece> pieces = base(command, baud);
        if (*m.command && command != m.command)
            return pieces;
        std::vector<ReplyPiece> shaped;
        for (const ReplyPiece &p : pieces) {
            long long at = p.afterMs + m.delayMs;
            if (*m.reportBefore)
                shaped.push_back({at, std::string("\r\n") + m.reportBefore + "\r\n"});
            if (m.pieceBytes == 0) {
                shaped.push_back({at, p.bytes});
                continue;
            }
            for (std::size_t i = 0; i < p.bytes.size(); i += m.pieceBytes, at += 150)
                shaped.push_back({at, p.bytes.substr(i, m.pieceBytes)});
        }
        return shaped;
    };
}

const Misbehaviour kMisbehaviours[] = {
    {"EveryReplyLate", "", 300, 0, "", 0},
    {"SerialNumberLate", "AT+CGSN\r", 800, 0, "", 0},
    {"ManufacturerLate", "AT+CGMI\r", 900, 0, "", 0},
    {"CardNumberLate", "AT^ICCID?\r", 900, 0, "", 0},
    {"CardNumberVeryLate", "AT^ICCID?\r", 1500, 0, "", 0},
    {"EveryReplyInEightBytePieces", "", 0, 8, "", 0},
    {"RingBeforeTheSerialNumber", "AT+CGSN\r", 0, 0, "RING", 0},
    {"NewMessageBeforeTheSerialNumber", "AT+CGSN\r", 0, 0, "+CMTI: \"SM\",3", 0},
    {"RegistrationBeforeTheCardNumber", "AT^ICCID?\r", 0, 0, "+CREG: 1", 0},
    {"SignalReportBeforeEveryReply", "", 0, 0, "^RSSI: 12", 0},
};

class OutOfStepTest : public testing::TestWithParam<Misbehaviour> {};

TEST_P(OutOfStepTest, EveryValueIsTheModemsOwnOrNone)
{
    ScriptedLine line(Misbehaving(GetParam()));
    ProbeFindings findings;
    RunPortProbe(line, findings);

    EXPECT_TRUE(findings.serialNumber.empty() || findings.serialNumber == kSerial)
        << findings.serialNumber;
    EXPECT_TRUE(findings.smsCardNumber.empty() || findings.smsCardNumber == kCard)
        << findings.smsCardNumber;
    EXPECT_TRUE(findings.signalStrength.empty() || findings.signalStrength == kSignal)
        << findings.signalStrength;
    EXPECT_TRUE(findings.modelCode == PROBE_MODULE_MG301 || findings.modelCode == PROBE_MODULE_NONE
                || findings.modelCode == PROBE_MODULE_OTHER)
        << findings.modelCode;
}

INSTANTIATE_TEST_SUITE_P(Modems, OutOfStepTest, testing::ValuesIn(kMisbehaviours),
                         [](const testing::TestParamInfo<Misbehaviour> &info) {
                             return std::string(info.param.name);
                         });

// Within its budgets a late modem shows every value: each exchange waits out
// what the line still owes before its own reply counts.
TEST(OutOfStepTest, AModemThatAnswersWithinItsBudgetsShowsItsValues)
{
    for (const Misbehaviour &m : {kMisbehaviours[0], kMisbehaviours[6], kMisbehaviours[7],
                                  kMisbehaviours[8], kMisbehaviours[9]}) {
        SCOPED_TRACE(m.name);
        ScriptedLine line(Misbehaving(m));
        ProbeFindings findings;
        RunPortProbe(line, findings);
        EXPECT_EQ(findings.modelCode, PROBE_MODULE_MG301);
        EXPECT_EQ(findings.serialNumber, kSerial);
        EXPECT_EQ(findings.smsCardNumber, kCard);
        EXPECT_EQ(findings.signalStrength, kSignal);
    }
}

// A modem that answers only at 9600, later than the exchange waits: its OK
// arrives once the line is at 115200 and must not make that speed the
// modem's.
TEST(OutOfStepTest, ALateAnswerAtTheFirstSpeedIsNotTheSecondSpeedsAnswer)
{
    const Misbehaviour late9600 = {"Late9600", "AT\r", 900, 0, "", 9600};
    ScriptedLine line(Misbehaving(late9600));
    ProbeFindings findings;
    RunPortProbe(line, findings);
    EXPECT_EQ(findings.baudText, "115200");
    EXPECT_FALSE(findings.isAtOk);
    EXPECT_TRUE(findings.serialNumber.empty());
}

// The card number comes in time but its OK late: that OK is not the second
// identification reply, from which the flows choose the model.
TEST(OutOfStepTest, ALateCardNumberAnswerIsNotTheIdentification)
{
    Responder base = TranscriptResponder(Mg301());
    ScriptedLine line([base](const std::string &command, int baud) {
        if (command == "AT^ICCID?\r")
            return std::vector<ReplyPiece> {{20, "\r\n^ICCID: 89860012345678901234\r\n"},
                                            {900, "\r\nOK\r\n"}};
        return base(command, baud);
    });
    ProbeFindings findings;
    RunPortProbe(line, findings);
    EXPECT_EQ(findings.smsCardNumber, kCard);
    EXPECT_NE(findings.atiResponse.find("MG301"), std::string::npos) << findings.atiResponse;
}

}  // namespace
