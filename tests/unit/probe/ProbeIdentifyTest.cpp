// Each module family probed from start to end against the transcript of a
// module of that family: which module it is taken for, the exact commands
// that reach it (the serial-number and SIM card commands differ by family),
// and the values read.
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "ProbeSteps.h"
#include "ScriptedModem.h"

namespace {

struct FamilyCase {
    const char *name;
    std::map<std::string, std::vector<std::string>> replies;
    int modelCode;
    std::string modelName;
    // Every command after the three that open each probe (AT, ATE0, AT+CMEE=1).
    std::vector<std::string> commands;
    std::string serialNumber;
    std::string smsCardNumber;
    std::string signalStrength;
};

void PrintTo(const FamilyCase &c, std::ostream *os) { *os << c.name; }

const std::string kHuaweiAti = Answer(
    "Manufacturer: Huawei Technologies Co., Ltd.\r\nModel: MG301\r\nRevision: 12.210.10.05.00");
const std::string kImei = "866123456789012";
const std::string kIccid = "89860012345678901234";
const std::string kCsq = Answer("+CSQ: 20,99");

class ModuleFamilyTest : public testing::TestWithParam<FamilyCase> {};

TEST_P(ModuleFamilyTest, IdentifiesAndReadsWithTheFamilysCommands)
{
    const FamilyCase &c = GetParam();
    Transcript transcript;
    transcript.replies = c.replies;
    transcript.replies["AT\r"] = {kOk};
    transcript.replies["ATE0\r"] = {kOk};
    transcript.replies["AT+CMEE=1\r"] = {kOk};
    ScriptedLine line(TranscriptResponder(transcript));

    ProbeFindings findings;
    RunPortProbe(line, findings);

    EXPECT_TRUE(findings.isAtOk);
    EXPECT_EQ(findings.baudText, "9600");
    EXPECT_EQ(findings.modelCode, c.modelCode);
    EXPECT_EQ(findings.modelName, c.modelName);
    std::vector<std::string> expected = {"AT\r", "ATE0\r", "AT+CMEE=1\r"};
    expected.insert(expected.end(), c.commands.begin(), c.commands.end());
    EXPECT_EQ(line.Commands(), expected);
    EXPECT_EQ(findings.serialNumber, c.serialNumber);
    EXPECT_EQ(findings.smsCardNumber, c.smsCardNumber);
    EXPECT_EQ(findings.signalStrength, c.signalStrength);
    EXPECT_EQ(findings.atiResponse, c.replies.at("ATI\r").back());
}

INSTANTIATE_TEST_SUITE_P(
    Transcripts, ModuleFamilyTest,
    testing::Values(
        FamilyCase{"HuaweiMG301",
                   {{"ATI\r", {kHuaweiAti}},
                    {"AT+CGMI\r", {Answer("HUAWEI")}},
                    {"AT+CGMM\r", {Answer("MG301")}},
                    {"AT+CGSN\r", {Answer(kImei)}},
                    {"AT^ICCID?\r", {Answer("^ICCID: " + kIccid)}},
                    {"AT+CSQ\r", {kCsq}}},
                   PROBE_MODULE_MG301, "HuaWeiMG301",
                   {"ATI\r", "AT+CGMI\r", "AT+CGMM\r", "AT+CGSN\r", "AT^ICCID?\r", "ATI\r",
                    "AT+CSQ\r"},
                   kImei, " " + kIccid, " 20,99"},
        FamilyCase{"HuaweiMC323",
                   {{"ATI\r", {Answer("Manufacturer: HUAWEI\r\nModel: MC323")}},
                    {"AT+CGMI\r", {Answer("HUAWEI TECHNOLOGIES CO., LTD")}},
                    {"AT+CGMM\r", {Answer("MC323")}},
                    {"AT+CGSN\r", {Answer("0x80D1A8F2")}},
                    {"AT+CCID\r", {Answer("+CCID: " + kIccid)}},
                    {"AT+CSQ\r", {kCsq}}},
                   PROBE_MODULE_MC323, "HuaWeiMC323",
                   {"ATI\r", "AT+CGMI\r", "AT+CGMM\r", "AT+CGSN\r", "AT+CCID\r", "ATI\r",
                    "AT+CSQ\r"},
                   "0x80D1A8F2", " " + kIccid, " 20,99"},
        FamilyCase{"HuaweiME909sMixedCaseMaker",
                   {{"ATI\r", {kHuaweiAti}},
                    {"AT+CGMI\r", {Answer("Huawei Technologies Co., Ltd.")}},
                    {"AT+CGMM\r", {Answer("ME909s-821")}},
                    {"AT+CGSN\r", {Answer(kImei)}},
                    {"AT^ICCID?\r", {Answer("^ICCID: " + kIccid)}},
                    {"AT+CSQ\r", {kCsq}}},
                   PROBE_MODULE_ME909S, "HuaWeiME909s",
                   {"ATI\r", "AT+CGMI\r", "AT+CGMM\r", "AT+CGSN\r", "AT^ICCID?\r", "ATI\r",
                    "AT+CSQ\r"},
                   kImei, " " + kIccid, " 20,99"},
        // An upper-case maker whose model is neither MG301 nor MC323: the
        // model reply decides whether it is asked again.
        FamilyCase{"HuaweiME909sModelReplyNamesHuawei",
                   {{"ATI\r", {kHuaweiAti}},
                    {"AT+CGMI\r", {Answer("HUAWEI")}},
                    {"AT+CGMM\r", {Answer("Huawei ME909s-821")}},
                    {"AT+CGSN\r", {Answer(kImei)}},
                    {"AT^ICCID?\r", {Answer("^ICCID: " + kIccid)}},
                    {"AT+CSQ\r", {kCsq}}},
                   PROBE_MODULE_ME909S, "HuaWeiME909s",
                   {"ATI\r", "AT+CGMI\r", "AT+CGMM\r", "AT+CGMM\r", "AT+CGSN\r", "AT^ICCID?\r",
                    "ATI\r", "AT+CSQ\r"},
                   kImei, " " + kIccid, " 20,99"},
        FamilyCase{"HuaweiUpperCaseMakerUnknownModel",
                   {{"ATI\r", {kHuaweiAti}},
                    {"AT+CGMI\r", {Answer("HUAWEI")}},
                    {"AT+CGMM\r", {Answer("ME909s-821")}},
                    {"AT+CGSN\r", {Answer(kImei)}},
                    {"AT+CCID\r", {Answer("+CCID: " + kIccid)}},
                    {"AT+CSQ\r", {kCsq}}},
                   PROBE_MODULE_NONE, "",
                   {"ATI\r", "AT+CGMI\r", "AT+CGMM\r", "ATI3\r", "ATI\r", "AT+WMSN\r",
                    "AT+CGSN\r", "AT+CCID\r", "ATI\r", "AT+CSQ\r"},
                   kImei, " " + kIccid, " 20,99"},
        FamilyCase{"WavecomWismoq",
                   {{"ATI\r", {Answer("WAVECOM MODEM")}},
                    {"AT+CGMI\r", {Answer("WAVECOM MODEM")}},
                    {"ATI3\r", {Answer("WISMOQ WPA 1.0")}},
                    {"AT+CCID\r", {Answer("+CCID: " + kIccid)}},
                    {"AT+CSQ\r", {kCsq}}},
                   PROBE_MODULE_WISMOQ, "WISMOQ",
                   {"ATI\r", "AT+CGMI\r", "ATI3\r", "AT+CCID\r", "ATI\r", "AT+CSQ\r"},
                   "", " " + kIccid, " 20,99"},
        FamilyCase{"WavecomQ2406B",
                   {{"ATI\r", {Answer("WAVECOM MODEM")}},
                    {"AT+CGMI\r", {Answer("WAVECOM MODEM")}},
                    {"ATI3\r", {Answer("Q2406B 651a09gg.Q2406B")}},
                    {"AT+CGSN\r", {Answer(kImei)}},
                    {"AT+CCID\r", {Answer("+CCID: " + kIccid)}},
                    {"AT+CSQ\r", {kCsq}}},
                   PROBE_MODULE_Q2406B, "Q2406B",
                   {"ATI\r", "AT+CGMI\r", "ATI3\r", "AT+CGSN\r", "AT+CCID\r", "ATI\r",
                    "AT+CSQ\r"},
                   kImei, " " + kIccid, " 20,99"},
        FamilyCase{"OtherWithDottedVersion",
                   {{"ATI\r", {Answer("WAVECOM MODEM")}},
                    {"AT+CGMI\r", {Answer("WAVECOM MODEM")}},
                    {"ATI3\r", {Answer("R7.43.0.201003231211 Q2687")}},
                    {"AT+WMSN\r", {Answer("Serial Number 351234567890123")}},
                    {"AT+CCID\r", {Answer("+CCID: " + kIccid)}},
                    {"AT+CSQ\r", {kCsq}}},
                   PROBE_MODULE_OTHER, "43.0.",
                   {"ATI\r", "AT+CGMI\r", "ATI3\r", "AT+WMSN\r", "AT+CCID\r", "ATI\r",
                    "AT+CSQ\r"},
                   "351234567890123", " " + kIccid, " 20,99"},
        FamilyCase{"Siemens",
                   {{"ATI\r", {Answer("SIEMENS\r\nMC35i\r\nREVISION 02")}},
                    {"AT+CGMI\r", {Answer("SIEMENS")}},
                    {"ATI3\r", {kError}},
                    {"AT+CGSN\r", {Answer("351234567890123")}},
                    {"AT+CXXCID\r", {Answer("+CXXCID: 89490200001234567890")}},
                    {"AT+CSQ\r", {kCsq}}},
                   PROBE_MODULE_SIEMENS, "",
                   {"ATI\r", "AT+CGMI\r", "ATI3\r", "ATI\r", "AT+CGSN\r", "AT+CXXCID\r", "ATI\r",
                    "AT+CSQ\r"},
                   "351234567890123", " 89490200001234567890", " 20,99"},
        // Nothing known, no serial by AT+WMSN, and a SIM card number that
        // cannot be read: the signal is not asked for.
        FamilyCase{"UnknownWithoutSim",
                   {{"ATI\r", {Answer("ACME X1")}},
                    {"AT+CGMI\r", {Answer("ACME")}},
                    {"ATI3\r", {Answer("ACME X1 rev 2")}},
                    {"AT+CGSN\r", {Answer("352000111222333")}},
                    {"AT+CCID\r", {"\r\n+CME ERROR: 10\r\n"}},
                    {"AT+CSQ\r", {kCsq}}},
                   PROBE_MODULE_NONE, "",
                   {"ATI\r", "AT+CGMI\r", "ATI3\r", "ATI\r", "AT+WMSN\r", "AT+CGSN\r",
                    "AT+CCID\r"},
                   "352000111222333", "", ""}),
    [](const testing::TestParamInfo<FamilyCase> &info) { return std::string(info.param.name); });

}  // namespace
