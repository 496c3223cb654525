#include "ProbeReplies.h"

#include <cctype>
#include <cstddef>

#include "ProbeText.h"
#include "QueryForms.h"
#include "ReplyLines.h"
#include "ReplyValues.h"

namespace {

constexpr char kWmsnMarker[] = "Serial Number";
constexpr std::size_t kModelNameLength = 5;
constexpr char kBlank[] = " ";

// The commands only the probe asks. It reads every reply once its exchange
// is over (ReplyRead::OnceOver), which decides what an OK means for these as
// for the shared forms.
constexpr QueryForm kCxxcidForm = {"AT+CXXCID", "+CXXCID:", 0, IsSmsCardNumberText, false,
                                   EarlyOk::IsLate};
// "Serial Number", one separator (a blank or a colon), the number.
constexpr QueryForm kWmsnForm = {"AT+WMSN", kWmsnMarker, 1, IsSerialNumberText, false,
                                 EarlyOk::IsLate};
constexpr char kPhonebookReadTag[] = "^CPBR:";
// The standard form of the same entry, which this probe never writes.
constexpr char kPhonebookStandardReadTag[] = "+CPBR:";
// "not found" as a numeric and as a verbose error report.
const char *const kNotFoundErrors[] = {"+CME ERROR: 22", "+CME ERROR: not found"};
constexpr char kPhonebookName[] = "WMSN";
constexpr char kPhonebookNumberType[] = "129";

bool IsFinalLine(const ReplyLine &line)
{
    const std::string text = TrimWhiteSpace(line.text);
    if (text == "OK" || text == "ERROR")
        return true;
    return line.ended && (StartsWith(text, "+CME ERROR") || StartsWith(text, "+CMS ERROR"));
}

// What a model name may hold: printable ASCII, no blank.
bool IsPrintableName(char c)
{
    return c > ' ' && c < 0x7F;
}

bool AllDigits(const std::string &text)
{
    if (text.empty())
        return false;
    for (unsigned char c : text)
        if (!std::isdigit(c))
            return false;
    return true;
}

// Reads the fields of a "^CPBR: 1,"number",129,"name"..." line one by one;
// any field out of place stops it.
class FieldCursor {
public:
    explicit FieldCursor(const std::string &text) : m_text(text) {}

    void SkipBlanks()
    {
        while (m_pos < m_text.size() && m_text[m_pos] == ' ')
            ++m_pos;
    }
    bool Expect(char c)
    {
        if (m_pos >= m_text.size() || m_text[m_pos] != c)
            return false;
        ++m_pos;
        return true;
    }
    bool Digits(std::string &out)
    {
        const std::size_t start = m_pos;
        while (m_pos < m_text.size() && std::isdigit(static_cast<unsigned char>(m_text[m_pos])))
            ++m_pos;
        out = m_text.substr(start, m_pos - start);
        return !out.empty();
    }
    bool Quoted(std::string &out)
    {
        if (!Expect('"'))
            return false;
        const std::size_t close = m_text.find('"', m_pos);
        if (close == std::string::npos)
            return false;
        out = m_text.substr(m_pos, close - m_pos);
        m_pos = close + 1;
        return true;
    }
    bool AtFieldEnd() const { return m_pos >= m_text.size() || m_text[m_pos] == ','; }

private:
    const std::string &m_text;
    std::size_t m_pos = 0;
};

struct PhonebookEntry {
    std::string index;
    std::string number;
    std::string type;
    std::string name;
};

bool ParsePhonebookFields(const std::string &fields, PhonebookEntry &entry)
{
    FieldCursor cursor(fields);
    cursor.SkipBlanks();
    return cursor.Digits(entry.index) && cursor.Expect(',') && cursor.Quoted(entry.number) &&
           cursor.Expect(',') && cursor.Digits(entry.type) && cursor.Expect(',') &&
           cursor.Quoted(entry.name) && cursor.AtFieldEnd();
}

bool IsNotFoundError(const std::string &text)
{
    for (const char *error : kNotFoundErrors)
        if (text == error)
            return true;
    return false;
}

}  // namespace

bool HasFinalResult(const std::string &reply)
{
    for (const ReplyLine &line : SplitReplyLines(reply))
        if (IsFinalLine(line))
            return true;
    return false;
}

bool ValueAfterTag(const std::string &reply, const QueryForm &form, std::string &value)
{
    const QueryReading reading = ReadQueryReply(reply, form, ReplyRead::OnceOver);
    if (reading.outcome != QueryOutcome::Value)
        return false;
    value = (reading.blankBeforeValue ? kBlank : "") + reading.value;
    return true;
}

const char *CardNumberCommand(CardNumberQuery query)
{
    switch (query) {
    case CardNumberQuery::HuaweiIccid: return "AT^ICCID?\r";
    case CardNumberQuery::SiemensCxxcid: return "AT+CXXCID\r";
    case CardNumberQuery::Ccid: break;
    }
    return "AT+CCID\r";
}

bool SmsCardNumberFromReply(CardNumberQuery query, const std::string &reply, std::string &number)
{
    const QueryForm &form = query == CardNumberQuery::HuaweiIccid     ? kHuaweiIccidForm
                            : query == CardNumberQuery::SiemensCxxcid ? kCxxcidForm
                                                                      : kCcidForm;
    const QueryReading reading = ReadQueryReply(reply, form, ReplyRead::OnceOver);
    if (reading.outcome != QueryOutcome::Value)
        return false;
    // Some Huawei firmware answers with the card's stored order.
    const std::string printed =
        query == CardNumberQuery::HuaweiIccid ? IccidAsPrinted(reading.value) : reading.value;
    number = (reading.blankBeforeValue ? kBlank : "") + printed;
    return true;
}

bool SignalFromReply(const std::string &reply, std::string &signal)
{
    return ValueAfterTag(reply, kSignalForm, signal);
}

std::string SerialFromCgsnReply(const std::string &reply)
{
    std::string serial;
    ValueAfterTag(reply, kSerialNumberForm, serial);
    return serial;
}

bool CgsnReplyHasNoSerial(const std::string &reply)
{
    bool ended = false;
    for (const ReplyLine &line : SplitReplyLines(reply)) {
        const std::string text = TrimWhiteSpace(line.text);
        if (text.empty() || IsUnsolicitedReport(text) || IsEchoOf(text, kSerialNumberForm.echo))
            continue;
        if (ended || !line.ended || !IsFinalResultLine(text))
            return false;
        ended = true;
    }
    return ended;
}

bool WmsnReplyHasSerial(const std::string &reply)
{
    return Contains(reply, kWmsnMarker);
}

std::string SerialFromWmsnReply(const std::string &reply)
{
    const QueryReading reading = ReadQueryReply(reply, kWmsnForm, ReplyRead::OnceOver);
    return reading.outcome == QueryOutcome::Value ? reading.value : std::string();
}

std::string ModelNameAfterDot(const std::string &reply)
{
    for (const ReplyLine &line : SplitReplyLines(reply)) {
        const std::size_t dot = line.text.find('.');
        if (!line.ended || dot == std::string::npos || IsUnsolicitedReport(line.text))
            continue;
        const std::string name = TextSlice(line.text, dot + 1, kModelNameLength);
        std::size_t printable = 0;
        while (printable < name.size() && IsPrintableName(name[printable]))
            ++printable;
        return name.substr(0, printable);
    }
    return std::string();
}

PhonebookSlot JudgePhonebookEntry(const std::string &reply, std::string &number)
{
    bool ended = false;
    bool plainlyEmpty = false;
    for (const ReplyLine &line : SplitReplyLines(reply)) {
        const std::string text = TrimWhiteSpace(line.text);
        if (text.empty())
            continue;
        if (StartsWith(text, kPhonebookReadTag) || StartsWith(text, kPhonebookStandardReadTag)) {
            PhonebookEntry entry;
            if (!line.ended || !StartsWith(text, kPhonebookReadTag)
                || !ParsePhonebookFields(TextFrom(text, sizeof kPhonebookReadTag - 1), entry)
                || entry.index != "1" || entry.name != kPhonebookName || !AllDigits(entry.number))
                return PhonebookSlot::Foreign;
            number = entry.number;
            return PhonebookSlot::Ours;
        }
        if (!line.ended)
            return PhonebookSlot::Unknown;
        // Only the modem's plain word that the location is empty lets it be
        // written: any other error (a SIM still busy, a refused storage)
        // says nothing about what the entry holds.
        if (text == "OK" || IsNotFoundError(text)) {
            ended = true;
            plainlyEmpty = true;
            break;
        }
        if (IsFinalResultLine(text)) {
            ended = true;
            break;
        }
        return PhonebookSlot::Unknown;  // a line of no form this reply has
    }
    if (!ended)
        return PhonebookSlot::Unknown;
    return plainlyEmpty ? PhonebookSlot::Empty : PhonebookSlot::Unknown;
}

std::string PhonebookWriteCommand(const std::string &serial)
{
    return std::string("AT^CPBW=1,\"") + serial + "\"," + kPhonebookNumberType + ",\"" +
           kPhonebookName + "\"\r";
}
