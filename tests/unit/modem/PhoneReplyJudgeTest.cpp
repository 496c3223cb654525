// The reply judges of identification, SIM card number, serial number, signal,
// SMS centre and the plain OK/ERROR commands, for every model that has its own.
// A runner hands a parser the reply gathered so far, again and again; each case
// feeds the reply as it grows, one character at a time, and checks that the
// parser waits until the text is decisive and then keeps its verdict.
#include <functional>
#include <ostream>

#include "ModemTestSupport.h"

using modem_test::MemberAccess;

namespace {

enum class Judge { At, Ati, Iccid, Imei, Signal, SmsCenter, CompatibleMode, PduMode };

struct JudgeCase {
    const char *name;
    PHONE_TYPE_t type;
    Judge judge;
    std::string reply;
    // The reply is decided once this text has arrived; null: never.
    const char *decidedAfter;
    COM_CMD_OPERATE_RESULT_t verdict;
    // What the parser keeps: the value it reads, or the error text.
    std::string kept;
};

void PrintTo(const JudgeCase &c, std::ostream *os)
{
    *os << c.name;
}

COM_CMD_OPERATE_RESULT_t RunJudge(CPhoneCardBase &modem, Judge judge, const std::string &reply)
{
    switch (judge) {
    case Judge::At: return modem.OnGetAtCmdRsp(reply);
    case Judge::Ati: return modem.OnGetAtiCmdRsp(reply);
    case Judge::Iccid: return modem.OnGetIMSI_CmdRsp(reply);
    case Judge::Imei: return modem.OnGetIMEI_Cmd(reply);
    case Judge::Signal: return modem.OnGetSignalStrengthCmdRsp(reply);
    case Judge::SmsCenter: return modem.OnGetQuerySmsCenterCmdRsp(reply);
    case Judge::CompatibleMode: return modem.OnGetRecvSmsCompatibleModeCmdRsp(reply);
    case Judge::PduMode: return modem.OnSetSmsPduModeCmdRsp(reply);
    }
    return COM_CMD_WAIT;
}

std::string Kept(CPhoneCardBase &modem, Judge judge)
{
    switch (judge) {
    case Judge::Ati: return modem.GetAtiRspString();
    case Judge::Iccid: return modem.GetSmsCardNumber();
    case Judge::Imei: return modem.GetSerialNumber();
    case Judge::Signal: return modem.GetSignalStrength();
    case Judge::SmsCenter: return MemberAccess::SmsCenter(modem);
    default: return MemberAccess::ErrorText(modem);
    }
}

const std::string kIccid = "89860012345678901234";
const std::string kImei = "867223021234567";

// A reply with a zero byte between two pieces of text.
std::string WithNul(const char *before, const char *after)
{
    return std::string(before) + '\0' + after;
}

const JudgeCase kCases[] = {
    // The shared OK/ERROR judge.
    {"OkLine", PHONE_TYPE_BASE, Judge::At, "\r\nOK\r\n", "OK", COM_CMD_OK, ""},
    {"OkWithoutLineEnd", PHONE_TYPE_BASE, Judge::At, "OK", "OK", COM_CMD_OK, ""},
    {"OkAfterEcho", PHONE_TYPE_BASE, Judge::At, "AT\r\r\nOK\r\n", "OK", COM_CMD_OK, ""},
    {"OkAfterUnsolicitedLine", PHONE_TYPE_BASE, Judge::At, "\r\n^RSSI: 12\r\n\r\nOK\r\n", "OK",
     COM_CMD_OK, ""},
    {"ErrorLine", PHONE_TYPE_BASE, Judge::At, "\r\nERROR\r\n", "ERROR\r\n", COM_CMD_ERROR, "ERROR"},
    {"CmeErrorKeepsItsNumber", PHONE_TYPE_BASE, Judge::At, "\r\n+CME ERROR: 10\r\n", "10\r\n",
     COM_CMD_ERROR, "+CME ERROR: 10"},
    {"CmsErrorIsAnErrorLine", PHONE_TYPE_BASE, Judge::At, "\r\n+CMS ERROR: 500\r\n", "500\r\n",
     COM_CMD_ERROR, "+CMS ERROR: 500"},
    {"LineWithBothCountsAsOk", PHONE_TYPE_BASE, Judge::At, "\r\nERROR OK\r\n", "OK", COM_CMD_OK,
     ""},
    {"LineEndsAloneWait", PHONE_TYPE_BASE, Judge::At, "\r\n\r\n", nullptr, COM_CMD_WAIT, ""},
    {"PduModeOk", PHONE_TYPE_TARNEL, Judge::PduMode, "\r\nOK\r\n", "OK", COM_CMD_OK, ""},
    {"PduModeError", PHONE_TYPE_PIMSOR, Judge::PduMode, "\r\n+CMS ERROR: 302\r\n", "302\r\n",
     COM_CMD_ERROR, "+CMS ERROR: 302"},

    // Identification: the reply is kept whole; each model claims its own.
    {"AtiBaseOk", PHONE_TYPE_BASE, Judge::Ati, "\r\nSomeModem 1.0\r\n\r\nOK\r\n", "OK", COM_CMD_OK,
     "\r\nSomeModem 1.0\r\n\r\nOK\r\n"},
    {"AtiBaseError", PHONE_TYPE_BASE, Judge::Ati, "\r\nERROR\r\n", "ERROR\r\n", COM_CMD_ERROR,
     "\r\nERROR\r\n"},
    {"AtiTarnelAtItsName", PHONE_TYPE_TARNEL, Judge::Ati,
     "\r\nQuectel_Ltd\r\nQuectel_M35\r\nRevision: M35FBR02A03\r\n\r\nOK\r\n", "Quectel_M35",
     COM_CMD_OK, "\r\nQuectel_Ltd\r\nQuectel_M35\r\nRevision: M35FBR02A03\r\n\r\nOK\r\n"},
    {"AtiOtherModuleFailsOnceComplete", PHONE_TYPE_TARNEL, Judge::Ati,
     "\r\nManufacturer: Yuga Co.,Ltd.\r\nModel: CLM920_NC5\r\n\r\nOK\r\n", "OK", COM_CMD_ERROR,
     "\r\nManufacturer: Yuga Co.,Ltd.\r\nModel: CLM920_NC5\r\n\r\nOK\r\n"},
    {"AtiNc5NeedsTheOk", PHONE_TYPE_VELKOR_NC5, Judge::Ati,
     "\r\nManufacturer: Yuga Co.,Ltd.\r\nModel: CLM920_NC5\r\n\r\nOK\r\n", "OK", COM_CMD_OK,
     "\r\nManufacturer: Yuga Co.,Ltd.\r\nModel: CLM920_NC5\r\n\r\nOK\r\n"},

    // SIM card number, base rule: the "+CCID:" line before the final OK.
    {"IccidBare", PHONE_TYPE_BASE, Judge::Iccid, "\r\n+CCID: " + kIccid + "\r\n\r\nOK\r\n", "OK",
     COM_CMD_OK, kIccid},
    {"IccidQuoted", PHONE_TYPE_TARNEL, Judge::Iccid,
     "\r\n+CCID: \"" + kIccid + "\"\r\n\r\nOK\r\n", "OK", COM_CMD_OK, kIccid},
    {"IccidNoBlankAfterColon", PHONE_TYPE_PIMSOR, Judge::Iccid,
     "\r\n+CCID:" + kIccid + "\r\n\r\nOK\r\n", "OK", COM_CMD_OK, kIccid},
    {"IccidAfterEcho", PHONE_TYPE_ORVAST, Judge::Iccid,
     "AT+CCID\r\r\n+CCID: " + kIccid + "\r\n\r\nOK\r\n", "OK", COM_CMD_OK, kIccid},
    {"IccidOfNineteenDigits", PHONE_TYPE_TARNEL, Judge::Iccid,
     "\r\n+CCID: 8986031824500011220\r\n\r\nOK\r\n", "OK", COM_CMD_OK, "8986031824500011220"},
    // A number of 19 digits padded with F, as the card keeps it; only the
    // Huawei "^ICCID" answer is turned into the printed order.
    {"IccidPaddedWithF", PHONE_TYPE_BASE, Judge::Iccid,
     "\r\n+CCID: 8986031824500011220F\r\n\r\nOK\r\n", "OK", COM_CMD_OK, "8986031824500011220F"},
    {"IccidInStoredOrderShownAsItCame", PHONE_TYPE_PIMSOR, Judge::Iccid,
     "\r\n+CCID: 98680021436587092103\r\n\r\nOK\r\n", "OK", COM_CMD_OK, "98680021436587092103"},
    {"IccidAfterNewMessageReport", PHONE_TYPE_TARNEL, Judge::Iccid,
     "\r\n+CMTI: \"SM\",3\r\n\r\n+CCID: " + kIccid + "\r\n\r\nOK\r\n", "OK", COM_CMD_OK, kIccid},
    {"IccidWithNewMessageReportBeforeOk", PHONE_TYPE_BASE, Judge::Iccid,
     "\r\n+CCID: " + kIccid + "\r\n\r\n+CMTI: \"SM\",3\r\n\r\nOK\r\n", "OK", COM_CMD_OK, kIccid},
    {"IccidWithRingAfterOk", PHONE_TYPE_ORVAST, Judge::Iccid,
     "\r\n+CCID: " + kIccid + "\r\n\r\nOK\r\n\r\nRING\r\n", "OK", COM_CMD_OK, kIccid},
    {"IccidWithoutTagFails", PHONE_TYPE_BASE, Judge::Iccid, "\r\nOK\r\n", "OK", COM_CMD_ERROR, ""},
    {"IccidCmeErrorFailsAtOnce", PHONE_TYPE_BASE, Judge::Iccid, "\r\n+CME ERROR: 13\r\n",
     "ERROR:", COM_CMD_ERROR, ""},
    {"IccidTagLineWithoutOkWaits", PHONE_TYPE_BASE, Judge::Iccid,
     "\r\n+CCID: " + kIccid + "\r\n", nullptr, COM_CMD_WAIT, ""},
    {"IccidCutMidLineWaits", PHONE_TYPE_BASE, Judge::Iccid, "\r\n+CCID: 8986", nullptr,
     COM_CMD_WAIT, ""},
    // Values of any other form are no card number.
    {"IccidWithNulInsideFails", PHONE_TYPE_TARNEL, Judge::Iccid,
     WithNul("\r\n+CCID: 89860012", "345678901234\r\n\r\nOK\r\n"), "OK", COM_CMD_ERROR, ""},
    {"IccidTooLongFails", PHONE_TYPE_BASE, Judge::Iccid,
     "\r\n+CCID: " + kIccid + "5\r\n\r\nOK\r\n", "OK", COM_CMD_ERROR, ""},
    {"IccidTooShortFails", PHONE_TYPE_BASE, Judge::Iccid, "\r\n+CCID: 898600\r\n\r\nOK\r\n", "OK",
     COM_CMD_ERROR, ""},
    {"IccidOfWordsFails", PHONE_TYPE_PIMSOR, Judge::Iccid,
     "\r\n+CCID: SIM not inserted\r\n\r\nOK\r\n", "OK", COM_CMD_ERROR, ""},
    {"IccidTagInsideAnotherLineFails", PHONE_TYPE_BASE, Judge::Iccid,
     "\r\nxx+CCID: " + kIccid + "\r\n\r\nOK\r\n", "OK", COM_CMD_ERROR, ""},
    // Sudrel: an ERROR counts once its line has ended.
    {"IccidSudrelQuoted", PHONE_TYPE_SUDREL, Judge::Iccid,
     "\r\n+CCID: \"" + kIccid + "\"\r\n\r\nOK\r\n", "OK", COM_CMD_OK, kIccid},
    {"IccidSudrelErrorAtItsLineEnd", PHONE_TYPE_SUDREL, Judge::Iccid, "\r\nERROR\r\n",
     "ERROR\r\n", COM_CMD_ERROR, ""},
    {"IccidSudrelWithSignalReportBeforeOk", PHONE_TYPE_SUDREL, Judge::Iccid,
     "\r\n+CCID: \"" + kIccid + "\"\r\n\r\n^RSSILVL: 60\r\n\r\nOK\r\n", "OK", COM_CMD_OK, kIccid},
    // Velkor_ME: the "^ICCID:" line, no OK needed, shown as printed on the card.
    {"IccidMeStoredOrder", PHONE_TYPE_VELKOR_ME, Judge::Iccid,
     "\r\n^ICCID: 98680036904030062596\r\n\r\nOK\r\n", "062596\r\n", COM_CMD_OK,
     "89860063090403605269"},
    {"IccidMeStoredOrderWithPad", PHONE_TYPE_VELKOR_ME, Judge::Iccid,
     "\r\n^ICCID: 986810325476981032F4\r\n\r\nOK\r\n", "F4\r\n", COM_CMD_OK,
     "8986012345678901234F"},
    {"IccidMePrintedOrder", PHONE_TYPE_VELKOR_ME, Judge::Iccid,
     "\r\n^ICCID: " + kIccid + "\r\n\r\nOK\r\n", "1234\r\n", COM_CMD_OK, kIccid},
    {"IccidMeQuotedAfterEchoAndReport", PHONE_TYPE_VELKOR_ME, Judge::Iccid,
     "AT^ICCID?\r\r\n^RSSI: 12\r\n\r\n^ICCID: \"98680036904030062596\"\r\n\r\nOK\r\n",
     "596\"\r\n", COM_CMD_OK, "89860063090403605269"},
    {"IccidMeNineteenDigitsAsTheyCame", PHONE_TYPE_VELKOR_ME, Judge::Iccid,
     "\r\n^ICCID: 9868003690403006259\r\n\r\nOK\r\n", "259\r\n", COM_CMD_OK,
     "9868003690403006259"},
    {"IccidMeTagNotAtLineStartFails", PHONE_TYPE_VELKOR_ME, Judge::Iccid,
     "\r\nxx^ICCID: 98680036904030062596\r\n\r\nOK\r\n", "OK", COM_CMD_ERROR, ""},
    {"IccidMeCutMidLineWaits", PHONE_TYPE_VELKOR_ME, Judge::Iccid, "\r\n^ICCID: 9868003690",
     nullptr, COM_CMD_WAIT, ""},
    {"IccidMeEmptyValueFails", PHONE_TYPE_VELKOR_ME, Judge::Iccid, "\r\n^ICCID: \r\n\r\nOK\r\n",
     "^ICCID: \r\n", COM_CMD_ERROR, ""},
    {"IccidMeOkWithoutTagFails", PHONE_TYPE_VELKOR_ME, Judge::Iccid, "\r\nOK\r\n", "OK",
     COM_CMD_ERROR, ""},
    {"IccidMeErrorFails", PHONE_TYPE_VELKOR_ME, Judge::Iccid, "\r\n+CME ERROR: 13\r\n", "13\r\n",
     COM_CMD_ERROR, ""},

    // Serial number: the one line before OK, after the echo if there is one.
    {"ImeiWithEmptyLineBeforeOk", PHONE_TYPE_BASE, Judge::Imei, "\r\n" + kImei + "\r\n\r\nOK\r\n",
     "OK", COM_CMD_OK, kImei},
    {"ImeiAfterEcho", PHONE_TYPE_SUDREL, Judge::Imei, "AT+CGSN\r\r\n" + kImei + "\r\n\r\nOK\r\n",
     "OK", COM_CMD_OK, kImei},
    {"ImeiDirectlyBeforeOk", PHONE_TYPE_VELKOR_ME, Judge::Imei, "\r\n" + kImei + "\r\nOK\r\n", "OK",
     COM_CMD_OK, kImei},
    {"EsnOfTheCdmaModule", PHONE_TYPE_SUDREL, Judge::Imei, "\r\n80A1B2C6\r\n\r\nOK\r\n", "OK",
     COM_CMD_OK, "80A1B2C6"},
    {"ImeiErrorFails", PHONE_TYPE_BASE, Judge::Imei, "\r\n+CME ERROR: 10\r\n", "ERROR:",
     COM_CMD_ERROR, ""},
    // The final OK of an earlier command can arrive ahead of the reply; only
    // an OK after a value ends it.
    {"ImeiAfterLateOkAndEcho", PHONE_TYPE_BASE, Judge::Imei,
     "OK\r\nAT+CGSN\r\n" + kImei + "\r\n\r\nOK\r\n", "\r\n\r\nOK", COM_CMD_OK, kImei},
    {"ImeiAfterLateOkWithoutEcho", PHONE_TYPE_TARNEL, Judge::Imei,
     "\r\nOK\r\n\r\n" + kImei + "\r\n\r\nOK\r\n", "7\r\n\r\nOK", COM_CMD_OK, kImei},
    {"ImeiOkWithoutValueWaits", PHONE_TYPE_BASE, Judge::Imei, "AT+CGSN\r\r\n\r\nOK\r\n", nullptr,
     COM_CMD_WAIT, ""},
    // As the command loop hands it, the echo line left out.
    {"ImeiWithoutTheEchoLine", PHONE_TYPE_PIMSOR, Judge::Imei, kImei + "\r\n\r\nOK\r\n", "OK",
     COM_CMD_OK, kImei},
    // Reports before and inside the reply are no part of the value.
    {"ImeiAfterRing", PHONE_TYPE_TARNEL, Judge::Imei,
     "\r\nRING\r\n\r\n" + kImei + "\r\n\r\nOK\r\n", "7\r\n\r\nOK", COM_CMD_OK, kImei},
    {"ImeiAfterNewMessageReport", PHONE_TYPE_BASE, Judge::Imei,
     "\r\n+CMTI: \"SM\",3\r\n\r\n" + kImei + "\r\n\r\nOK\r\n", "7\r\n\r\nOK", COM_CMD_OK, kImei},
    {"ImeiWithRegistrationReportBeforeOk", PHONE_TYPE_PIMSOR, Judge::Imei,
     "\r\n" + kImei + "\r\n\r\n+CREG: 1\r\n\r\nOK\r\n", "1\r\n\r\nOK", COM_CMD_OK, kImei},
    {"ImeiCutMidLineWaits", PHONE_TYPE_BASE, Judge::Imei, "\r\n8672230", nullptr, COM_CMD_WAIT,
     ""},
    // Values of any other form are no serial number.
    {"ImeiWithNulInsideFails", PHONE_TYPE_BASE, Judge::Imei,
     WithNul("\r\n867223", "021234567\r\n\r\nOK\r\n"), "OK", COM_CMD_ERROR, ""},
    {"ImeiTooLongFails", PHONE_TYPE_ORVAST, Judge::Imei,
     "\r\n" + std::string(40, '3') + "\r\n\r\nOK\r\n", "OK", COM_CMD_ERROR, ""},
    {"ImeiOfSeveralWordsFails", PHONE_TYPE_VELKOR_ME, Judge::Imei,
     "\r\nManufacturer: Huawei Technologies Co., Ltd.\r\n\r\nOK\r\n", "OK", COM_CMD_ERROR, ""},
    {"ImeiOfTwoLinesFails", PHONE_TYPE_BASE, Judge::Imei,
     "\r\n" + kImei + "\r\n866123031234561\r\n\r\nOK\r\n", "OK", COM_CMD_ERROR, ""},

    // Signal: the text after "+CSQ:" with its blank; never fails on an error.
    {"SignalValue", PHONE_TYPE_BASE, Judge::Signal, "\r\n+CSQ: 20,99\r\n\r\nOK\r\n", "OK",
     COM_CMD_OK, " 20,99"},
    {"SignalAfterEcho", PHONE_TYPE_PIMSOR, Judge::Signal, "at+csq\r\r\n+CSQ: 31,0\r\n\r\nOK\r\n",
     "OK", COM_CMD_OK, " 31,0"},
    {"SignalWithoutBlank", PHONE_TYPE_TARNEL, Judge::Signal, "\r\n+CSQ:5,3\r\n\r\nOK\r\n", "OK",
     COM_CMD_OK, "5,3"},
    {"SignalAfterLateOkOfAnotherCommand", PHONE_TYPE_BASE, Judge::Signal,
     "\r\nOK\r\n\r\n+CSQ: 18,99\r\n\r\nOK\r\n", "99\r\n\r\nOK", COM_CMD_OK, " 18,99"},
    {"SignalAfterSignalReport", PHONE_TYPE_VELKOR_ME, Judge::Signal,
     "\r\n^RSSI: 12\r\n\r\n+CSQ: 20,99\r\n\r\nOK\r\n", "99\r\n\r\nOK", COM_CMD_OK, " 20,99"},
    {"SignalWithRingBeforeOk", PHONE_TYPE_BASE, Judge::Signal,
     "\r\n+CSQ: 20,99\r\n\r\nRING\r\n\r\nOK\r\n", "G\r\n\r\nOK", COM_CMD_OK, " 20,99"},
    {"SignalCutMidLineWaits", PHONE_TYPE_BASE, Judge::Signal, "\r\n+CSQ: 2", nullptr,
     COM_CMD_WAIT, ""},
    {"SignalErrorWaits", PHONE_TYPE_BASE, Judge::Signal, "\r\nERROR\r\n", nullptr, COM_CMD_WAIT,
     ""},
    {"SignalCmeErrorWaits", PHONE_TYPE_ORVAST, Judge::Signal, "\r\n+CME ERROR: 30\r\n", nullptr,
     COM_CMD_WAIT, ""},
    // Values of any other form are no signal.
    {"SignalWithoutErrorRateFails", PHONE_TYPE_BASE, Judge::Signal, "\r\n+CSQ: 20\r\n\r\nOK\r\n",
     "OK", COM_CMD_ERROR, ""},
    {"SignalWithNulInsideFails", PHONE_TYPE_TARNEL, Judge::Signal,
     WithNul("\r\n+CSQ: 20", ",99\r\n\r\nOK\r\n"), "OK", COM_CMD_ERROR, ""},
    {"SignalTooLongFails", PHONE_TYPE_BASE, Judge::Signal,
     "\r\n+CSQ: " + std::string(80, '9') + ",99\r\n\r\nOK\r\n", "OK", COM_CMD_ERROR, ""},

    // SMS centre: the number between the double quotes.
    {"SmsCenterValue", PHONE_TYPE_BASE, Judge::SmsCenter,
     "\r\n+CSCA: \"+8613800100500\",145\r\n\r\nOK\r\n", "\",", COM_CMD_OK, "+8613800100500"},
    {"SmsCenterLineWithoutComma", PHONE_TYPE_BASE, Judge::SmsCenter,
     "\r\n+CSCA: \"+8613800100500\"\r\n\r\nOK\r\n", "\"\r\n", COM_CMD_ERROR, ""},
    {"SmsCenterEmptyNumber", PHONE_TYPE_BASE, Judge::SmsCenter, "\r\n+CSCA: \"\",129\r\n\r\nOK\r\n",
     "\",", COM_CMD_OK, ""},
    {"SmsCenterNoTagOk", PHONE_TYPE_BASE, Judge::SmsCenter, "\r\nOK\r\n", "OK\r\n", COM_CMD_OK, ""},
    {"SmsCenterError", PHONE_TYPE_BASE, Judge::SmsCenter, "\r\nERROR\r\n", "ERROR\r\n",
     COM_CMD_ERROR, ""},
    // Sudrel asks with a plain AT; the OK alone decides.
    {"SmsCenterSudrelPlainOk", PHONE_TYPE_SUDREL, Judge::SmsCenter, "\r\nOK\r\n", "OK\r\n",
     COM_CMD_OK, ""},
    // Velkor_NC5: once the reply is there, it never stops a send.
    {"SmsCenterNc5Value", PHONE_TYPE_VELKOR_NC5, Judge::SmsCenter,
     "\r\n+CSCA: \"+8613800100500\",145\r\n\r\nOK\r\n", "\",", COM_CMD_OK, "+8613800100500"},
    {"SmsCenterNc5ErrorStillOk", PHONE_TYPE_VELKOR_NC5, Judge::SmsCenter, "\r\nERROR\r\n",
     "ERROR\r\n", COM_CMD_OK, ""},

    // Compatible receive mode: "OK" or "ERROR" anywhere; the error text is the
    // whole reply.
    {"CompatibleModeOk", PHONE_TYPE_BASE, Judge::CompatibleMode, "\r\nOK\r\n", "OK", COM_CMD_OK,
     ""},
    {"CompatibleModeError", PHONE_TYPE_VELKOR_NC5, Judge::CompatibleMode, "\r\nERROR\r\n", "ERROR",
     COM_CMD_ERROR, "\r\nERROR\r\n"},

    // Velkor_NC5 accepts a storage index as the answer to the PDU-mode switch.
    {"PduModeNc5StoredIndex", PHONE_TYPE_VELKOR_NC5, Judge::PduMode, "\r\n+CMGW: 3\r\n", "3\r",
     COM_CMD_OK, ""},
    {"PduModeNc5StoredIndexBeforeError", PHONE_TYPE_VELKOR_NC5, Judge::PduMode,
     "\r\n+CMGW: 3\r\n\r\nERROR\r\n", "3\r", COM_CMD_OK, ""},
    {"PduModeNc5PlainOk", PHONE_TYPE_VELKOR_NC5, Judge::PduMode, "\r\nOK\r\n", "OK", COM_CMD_OK, ""},
    {"PduModeNc5Error", PHONE_TYPE_VELKOR_NC5, Judge::PduMode, "\r\nERROR\r\n", "ERROR\r\n",
     COM_CMD_ERROR, "ERROR"},
};

class ReplyJudge : public ::testing::TestWithParam<JudgeCase> {};

TEST_P(ReplyJudge, WaitsUntilDecisiveThenKeepsItsVerdict)
{
    const JudgeCase &c = GetParam();
    const std::size_t decided =
        c.decidedAfter ? c.reply.find(c.decidedAfter) + std::string(c.decidedAfter).size()
                       : std::string::npos;
    ASSERT_TRUE(!c.decidedAfter || c.reply.find(c.decidedAfter) != std::string::npos);

    auto modem = modem_test::MakeModem(c.type);
    for (std::size_t length = 0; length <= c.reply.size(); ++length) {
        const COM_CMD_OPERATE_RESULT_t expected = length < decided ? COM_CMD_WAIT : c.verdict;
        EXPECT_EQ(modem_test::ResultName(RunJudge(*modem, c.judge, c.reply.substr(0, length))),
                  modem_test::ResultName(expected))
            << "after " << length << " characters";
    }
    EXPECT_EQ(Kept(*modem, c.judge), c.kept);

    // The same text again gives the same verdict and keeps the same value.
    EXPECT_EQ(RunJudge(*modem, c.judge, c.reply), c.verdict);
    EXPECT_EQ(Kept(*modem, c.judge), c.kept);
}

INSTANTIATE_TEST_SUITE_P(Replies, ReplyJudge, ::testing::ValuesIn(kCases),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(ReplyJudge, ErrorTextIsTheLastOneKept)
{
    CPhoneCardBase modem;
    EXPECT_EQ(modem.GetErrorMessage(), "");
    modem.OnGetAtCmdRsp("\r\n+CME ERROR: 10\r\n");
    // Parsers that keep no error text leave the earlier one standing.
    modem.OnGetIMSI_CmdRsp("\r\n+CME ERROR: 13\r\n");
    modem.OnGetIMEI_Cmd("\r\nERROR\r\n");
    EXPECT_EQ(modem.GetErrorMessage(), "+CME ERROR: 10");
    EXPECT_EQ(modem.GetErrorMessage(), "+CME ERROR: 10");

    // The compatible-mode judge keeps the reply untrimmed; reading it trims it
    // in place.
    modem.OnGetRecvSmsCompatibleModeCmdRsp("\r\nERROR\r\n");
    EXPECT_EQ(MemberAccess::ErrorText(modem), "\r\nERROR\r\n");
    EXPECT_EQ(modem.GetErrorMessage(), "ERROR");
    EXPECT_EQ(MemberAccess::ErrorText(modem), "ERROR");
}

TEST(ReplyJudge, SimCardNumberKeptWhenReplyFails)
{
    CPhoneCardBase modem;
    modem.OnGetIMSI_CmdRsp("\r\n+CCID: " + kIccid + "\r\n\r\nOK\r\n");
    EXPECT_EQ(modem.OnGetIMSI_CmdRsp("\r\n+CME ERROR: 13\r\n"), COM_CMD_ERROR);
    EXPECT_EQ(modem.GetSmsCardNumber(), kIccid);
    // A complete reply without the tag clears it.
    EXPECT_EQ(modem.OnGetIMSI_CmdRsp("\r\nOK\r\n"), COM_CMD_ERROR);
    EXPECT_EQ(modem.GetSmsCardNumber(), "");
}

// A value read once and then answered in the wrong form is not kept: the
// row would show the old value of a modem that no longer gives one.
TEST(ReplyJudge, ValueOfTheWrongFormClearsTheOneReadBefore)
{
    const struct {
        PHONE_TYPE_t type;
        Judge judge;
        std::string good;
        std::string bad;
    } cases[] = {
        {PHONE_TYPE_BASE, Judge::Iccid, "\r\n+CCID: " + kIccid + "\r\n\r\nOK\r\n",
         "\r\n+CCID: 8986\r\n\r\nOK\r\n"},
        {PHONE_TYPE_SUDREL, Judge::Iccid, "\r\n+CCID: " + kIccid + "\r\n\r\nOK\r\n",
         "\r\n+CCID: \"\"\r\n\r\nOK\r\n"},
        {PHONE_TYPE_VELKOR_ME, Judge::Iccid, "\r\n^ICCID: " + kIccid + "\r\n",
         "\r\n^ICCID: 8986-0012\r\n"},
        {PHONE_TYPE_BASE, Judge::Imei, "\r\n" + kImei + "\r\n\r\nOK\r\n",
         "\r\nIMEI: " + kImei + "\r\n\r\nOK\r\n"},
        {PHONE_TYPE_BASE, Judge::Signal, "\r\n+CSQ: 20,99\r\n\r\nOK\r\n",
         "\r\n+CSQ: 20;99\r\n\r\nOK\r\n"},
    };
    for (const auto &c : cases) {
        auto modem = modem_test::MakeModem(c.type);
        EXPECT_EQ(RunJudge(*modem, c.judge, c.good), COM_CMD_OK) << c.good;
        EXPECT_NE(Kept(*modem, c.judge), "") << c.good;
        EXPECT_EQ(RunJudge(*modem, c.judge, c.bad), COM_CMD_ERROR) << c.bad;
        EXPECT_EQ(Kept(*modem, c.judge), "") << c.bad;
    }
}

TEST(ReplyJudge, BoolJudgesFollowTheSharedRule)
{
    using BoolJudge = std::function<bool(CPhoneCardBase &, const std::string &)>;
    const struct {
        const char *name;
        BoolJudge judge;
    } judges[] = {
        {"CCID", [](CPhoneCardBase &m, const std::string &r) { return m.OnCCIDCmdRsp(r); }},
        {"Call", [](CPhoneCardBase &m, const std::string &r) { return m.OnCallCmdRsp(r); }},
        {"HangUp", [](CPhoneCardBase &m, const std::string &r) { return m.OnHungUpCmdRsp(r); }},
        {"TextMode",
         [](CPhoneCardBase &m, const std::string &r) { return m.OnSetSmsModeTextCmdRsp(r); }},
        {"TextSendNumber",
         [](CPhoneCardBase &m, const std::string &r) { return m.OnSendSMS_PhoneCmd(r); }},
        {"TextSendBody",
         [](CPhoneCardBase &m, const std::string &r) { return m.OnSendSMS_ContextCmd(r); }},
        {"Receive", [](CPhoneCardBase &m, const std::string &r) { return m.OnReceiveSmsCmdRsp(r); }},
        {"SetStore",
         [](CPhoneCardBase &m, const std::string &r) { return m.OnSetReceiveSmsStoreCmdRsp(r); }},
        {"QueryStore",
         [](CPhoneCardBase &m, const std::string &r) { return m.OnQueryReceiveSmsStoreCmdRsp(r); }},
    };
    for (const auto &j : judges) {
        CPhoneCardBase modem;
        EXPECT_TRUE(j.judge(modem, "\r\nOK\r\n")) << j.name;
        EXPECT_FALSE(j.judge(modem, "\r\n")) << j.name;
        EXPECT_FALSE(j.judge(modem, "\r\n+CME ERROR: 3\r\n")) << j.name;
        EXPECT_EQ(modem.GetErrorMessage(), "+CME ERROR: 3") << j.name;
    }
}

TEST(ReplyJudge, ModelsTakeAnyAnswerWhereTheirModuleSendsNoFinalResult)
{
    using BoolJudge = bool (CPhoneCardBase::*)(std::string);
    const struct {
        PHONE_TYPE_t type;
        const char *name;
        BoolJudge judge;
    } cases[] = {
        {PHONE_TYPE_VELKOR_NC5, "Call", &CPhoneCardBase::OnCallCmdRsp},
        {PHONE_TYPE_VELKOR_NC5, "HangUp", &CPhoneCardBase::OnHungUpCmdRsp},
        {PHONE_TYPE_VELKOR_ME, "Call", &CPhoneCardBase::OnCallCmdRsp},
        {PHONE_TYPE_VELKOR_ME, "HangUp", &CPhoneCardBase::OnHungUpCmdRsp},
        {PHONE_TYPE_SUDREL, "Call", &CPhoneCardBase::OnCallCmdRsp},
        {PHONE_TYPE_SUDREL, "HangUp", &CPhoneCardBase::OnHungUpCmdRsp},
        {PHONE_TYPE_SUDREL, "TextSendNumber", &CPhoneCardBase::OnSendSMS_PhoneCmd},
        {PHONE_TYPE_SUDREL, "Receive", &CPhoneCardBase::OnReceiveSmsCmdRsp},
    };
    for (const auto &c : cases) {
        auto modem = modem_test::MakeModem(c.type);
        EXPECT_TRUE(((*modem).*c.judge)("\r\nERROR\r\n")) << c.type << " " << c.name;
        EXPECT_TRUE(((*modem).*c.judge)(">")) << c.type << " " << c.name;
        EXPECT_FALSE(((*modem).*c.judge)("")) << c.type << " " << c.name;
    }
}

TEST(ReplyJudge, TextModeOkReplyMustBeExact)
{
    EXPECT_TRUE(OnSetSmsModeTextCmdRsp("\r\nOK\r\n"));
    EXPECT_FALSE(OnSetSmsModeTextCmdRsp("OK\r\n"));
    EXPECT_FALSE(OnSetSmsModeTextCmdRsp("\r\nOK\r\n\r\n"));
}

}  // namespace
