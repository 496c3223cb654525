#include "ReplyLines.h"

#include "StringUtil.h"

namespace {

const char *const kFinalResults[] = {"OK", "ERROR"};
const char *const kFinalErrorTags[] = {"+CME ERROR:", "+CMS ERROR:"};
// Huawei CDMA modules: the message was sent, or sending it failed.
const char *const kSendReportTags[] = {"^HCMGSS:", "^HCMGSF:"};
constexpr char kPrompt = '>';

// Reports that are a whole line. Quectel modules announce their start-up
// with the last four; "+PACSP" carries a digit.
const char *const kUnsolicitedLines[] = {
    "RING", "NO CARRIER", "RDY", "Call Ready", "SMS Ready", "+PACSP0", "+PACSP1",
};

// Reports known by the tag they begin with: 3GPP TS 27.005 and 27.007
// (messages, calls, registration), then the Huawei, Wavecom and Quectel
// ones. The CDMA modules report their signal as ^RSSILVL or ^HRSSILVL.
const char *const kUnsolicitedTags[] = {
    "+CMTI:", "+CDSI:", "+CMT:", "+CDS:", "+CBM:",
    "+CREG:", "+CGREG:", "+CEREG:",
    "+CLIP:", "+CRING:", "+CUSD:", "+CIEV:",
    "^RSSI:", "^RSSILVL:", "^HRSSILVL:",
    "^BOOT:", "^MODE:", "^SRVST:", "^SIMST:", "^HCMT:",
    "^CEND:", "^ORIG:", "^CONF:", "^CONN:",
    "^DSFLOWRPT:", "^STIN:", "^SMMEMFULL:", "^NDISSTAT:",
    "+WIND:", "+QIND:",
};

}  // namespace

bool IsFinalResultLine(const std::string &line)
{
    const std::string text = TrimLineBlanks(line);
    for (const char *result : kFinalResults)
        if (text == result)
            return true;
    for (const char *tag : kFinalErrorTags)
        if (StartsWith(text, tag))
            return true;
    return false;
}

bool IsSendReportLine(const std::string &line)
{
    const std::string text = TrimLineBlanks(line);
    for (const char *tag : kSendReportTags)
        if (StartsWith(text, tag))
            return true;
    return false;
}

bool EndsCommandReply(const std::string &line)
{
    return IsFinalResultLine(line) || IsSendReportLine(line);
}

bool IsUnsolicitedReport(const std::string &line)
{
    const std::string text = TrimLineBlanks(line);
    for (const char *report : kUnsolicitedLines)
        if (text == report)
            return true;
    for (const char *tag : kUnsolicitedTags)
        if (StartsWith(text, tag))
            return true;
    return false;
}

bool IsPromptLine(const std::string &line)
{
    const std::string text = TrimLineBlanks(line);
    return !text.empty() && text[0] == kPrompt;
}

bool IsEchoOf(const std::string &line, const std::string &command)
{
    const std::string echo = TrimCommandEnds(command);
    return !echo.empty() && SameButForCase(TrimCommandEnds(TrimLineBlanks(line)), echo);
}
