#include "CheckManagerFlow.h"

#include "CheckManagerPortLine.h"
#include "CheckManagerPortNaming.h"
#include "ComPortBase.h"
#include "PhoneCardBase.h"
#include "PlatformConstants.h"
#include "PrintableText.h"
#include "ReplyLines.h"
#include "StringUtil.h"

const char kNoAnswerReason[] = "no answer";

namespace {

struct NoSimCardReport {
    const char *tag;
    const char *number;
};

const NoSimCardReport kNoSimCardReports[] = {{"+CME ERROR:", "10"}, {"+CMS ERROR:", "310"}};
// The words of both reports, with verbose error reports on (AT+CMEE=2).
const char kNoSimCardWords[] = "sim not inserted";

bool IsNoSimCardLine(const std::string &line)
{
    const std::string text = TrimLineBlanks(line);
    for (const NoSimCardReport &report : kNoSimCardReports) {
        if (!StartsWith(text, report.tag))
            continue;
        const std::string detail = TrimLineBlanks(text.substr(std::string(report.tag).size()));
        if (detail == report.number || SameButForCase(detail, kNoSimCardWords))
            return true;
    }
    return false;
}

}  // namespace

std::string PortDisplayName(const std::string &comPath)
{
    return ShownPortName(kPortNaming, comPath);
}

bool IsLineGone(const CComPortBase &port)
{
    return port.GetFailureKind() == PortFailureKind::LineGone;
}

bool IsLineFlooding(const CComPortBase &port)
{
    return port.Account().overflowing;
}

bool IsLineUsable(const CComPortBase &port)
{
    return !IsLineGone(port) && !IsLineFlooding(port);
}

std::string StepFailureReason(CPhoneCardBase &phone, CComPortBase &port, const std::string &otherwise)
{
    if (IsLineGone(port))
        return port.GetErrorMsg();
    const std::string modemText = phone.GetErrorMessage();
    if (!modemText.empty())
        return modemText;
    if (LastCommandUnanswered(port))
        return kNoAnswerReason;
    if (port.IsComError())
        return port.GetErrorMsg();
    return otherwise;
}

bool ReportsNoSimCard(const std::string &modemText)
{
    for (const std::string &line : SplitStringByChar(modemText, '\n'))
        if (IsNoSimCardLine(line))
            return true;
    return false;
}

bool MaySendWithoutSmsCenter(CPhoneCardBase *phone, CComPortBase *port)
{
    return phone != nullptr && port != nullptr && port->IsOpened() && IsLineUsable(*port)
           && phone->IsSmsCenterQueryOptional();
}

std::string ShownFailureReason(const std::string &reason)
{
    static const std::string kSystemLineEnd = "\r\n";
    const std::size_t size = reason.size();
    if (size >= kSystemLineEnd.size()
        && reason.compare(size - kSystemLineEnd.size(), kSystemLineEnd.size(), kSystemLineEnd) == 0)
        return MakePrintableText(reason.substr(0, size - kSystemLineEnd.size()),
                                 PrintableLayout::SingleLine)
               + kSystemLineEnd;
    return MakePrintableText(reason, PrintableLayout::SingleLine);
}
