#include "ProbeReplies.h"

#include <cctype>
#include <cstddef>

#include "ProbeText.h"
#include "ReplyLines.h"

namespace {

constexpr char kCgsnEcho[] = "AT+CGSN";
constexpr char kWmsnMarker[] = "Serial Number";
// The marker and the one separator character after it.
constexpr std::size_t kWmsnValueOffset = sizeof kWmsnMarker - 1 + 1;
constexpr std::size_t kModelNameLength = 5;
constexpr char kPhonebookReadTag[] = "^CPBR:";
// The standard form of the same entry, which this probe never writes.
constexpr char kPhonebookStandardReadTag[] = "+CPBR:";
// "not found" as a numeric and as a verbose error report.
const char *const kNotFoundErrors[] = {"+CME ERROR: 22", "+CME ERROR: not found"};
constexpr char kPhonebookName[] = "WMSN";
constexpr char kPhonebookNumberType[] = "129";

bool IsFinalLine(const ReplyLine &line)
{
    const std::string text = TrimBlank(line.text);
    if (text == "OK" || text == "ERROR")
        return true;
    return line.ended && (text.rfind("+CME ERROR", 0) == 0 || text.rfind("+CMS ERROR", 0) == 0);
}

bool IsOkLine(const ReplyLine &line)
{
    return TrimBlank(line.text) == "OK";
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

bool ValueAfterTag(const std::string &reply, const std::vector<std::string> &tags,
                   std::string &value)
{
    for (const ReplyLine &line : SplitReplyLines(reply)) {
        for (const std::string &tag : tags) {
            const std::size_t at = line.text.find(tag);
            if (at == std::string::npos)
                continue;
            const std::size_t colon = line.text.find(':', at + tag.size());
            if (colon == std::string::npos)
                continue;
            const std::string candidate = TextFrom(line.text, colon + 1);
            if (TrimBlank(candidate).empty())
                return false;
            value = candidate;
            return true;
        }
    }
    return false;
}

bool SmsCardNumberFromReply(const std::string &reply, std::string &number)
{
    if (Contains(reply, "ERROR"))
        return false;
    return ValueAfterTag(reply, {"CCID", "CXXCID"}, number);
}

bool SignalFromReply(const std::string &reply, std::string &signal)
{
    return ValueAfterTag(reply, {"+CSQ"}, signal);
}

std::string SerialFromCgsnReply(const std::string &reply)
{
    const std::vector<ReplyLine> lines = SplitReplyLines(reply);
    std::string serial;
    for (const ReplyLine &line : lines) {
        if (IsOkLine(line))
            return serial;
        const std::string text = TrimBlank(line.text);
        if (!serial.empty() || text.empty() || text.rfind(kCgsnEcho, 0) == 0 || text[0] == '^')
            continue;
        if (IsFinalLine(line))
            return std::string();
        serial = text;
    }
    return std::string();  // no OK: the modem did not vouch for a value
}

bool WmsnReplyHasSerial(const std::string &reply)
{
    return Contains(reply, kWmsnMarker);
}

std::string SerialFromWmsnReply(const std::string &reply)
{
    const std::size_t marker = reply.find(kWmsnMarker);
    if (marker == std::string::npos)
        return std::string();
    const std::string rest = TextFrom(reply, marker + kWmsnValueOffset);
    const std::size_t lineEnd = rest.find('\r');
    if (lineEnd == std::string::npos)
        return std::string();
    return TrimBlank(rest.substr(0, lineEnd));
}

std::string ModelNameAfterDot(const std::string &reply)
{
    const std::size_t dot = reply.find('.');
    if (dot == std::string::npos)
        return std::string();
    const std::string name = TextSlice(reply, dot + 1, kModelNameLength);
    return name.substr(0, name.find_first_of("\r\n"));
}

PhonebookSlot JudgePhonebookEntry(const std::string &reply, std::string &number)
{
    bool ended = false;
    bool plainlyEmpty = false;
    for (const ReplyLine &line : SplitReplyLines(reply)) {
        const std::string text = TrimBlank(line.text);
        if (text.empty())
            continue;
        if (text.rfind(kPhonebookReadTag, 0) == 0 || text.rfind(kPhonebookStandardReadTag, 0) == 0) {
            PhonebookEntry entry;
            if (!line.ended || text.rfind(kPhonebookReadTag, 0) != 0
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
