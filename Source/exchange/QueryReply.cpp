#include "QueryReply.h"

#include <vector>

#include "ReplyLines.h"
#include "StringUtil.h"

namespace {

constexpr char kLineFeed = '\n';
constexpr char kQuote = '"';
constexpr char kBlank = ' ';
constexpr char kOk[] = "OK";

struct Line {
    std::string text;  // without the blanks, CR and LF around it
    bool ended;        // its own line end has come
};

// Modems end a line with CR LF; the LF ends it.
std::vector<Line> SplitAtLineFeeds(const std::string &reply)
{
    std::vector<Line> lines;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = reply.find(kLineFeed, start);
        const bool ended = end != std::string::npos;
        lines.push_back(
            {TrimLineBlanks(reply.substr(start, ended ? end - start : std::string::npos)), ended});
        if (!ended)
            return lines;
        start = end + 1;
    }
}

// Where the command's own reply begins: after its echo, when there is one.
std::size_t FirstLineOfReply(const std::vector<Line> &lines, const char *echo)
{
    for (std::size_t i = 0; i < lines.size(); ++i)
        if (lines[i].ended && IsEchoOf(lines[i].text, echo))
            return i + 1;
    return 0;
}

// The value of a tagged line, and whether a blank stood before it.
std::string TaggedValue(const std::string &line, const QueryForm &form, bool &blankBefore)
{
    const std::size_t tagLength = std::char_traits<char>::length(form.tag);
    const std::size_t start = tagLength + form.separatorAfterTag;
    const std::string rest = start < line.size() ? line.substr(start) : std::string();
    blankBefore = !rest.empty() && rest[0] == kBlank;
    std::string value = TrimBlanksAndTabs(rest);
    if (value.size() >= 2 && value.front() == kQuote && value.back() == kQuote)
        value = value.substr(1, value.size() - 2);
    return value;
}

QueryReading Decided(QueryOutcome outcome)
{
    QueryReading reading;
    reading.outcome = outcome;
    return reading;
}

// The line that may hold the value, once one has come.
struct ValueLine {
    int count = 0;  // bare value: the lines that could be it
    bool wellFormed = false;
    QueryReading reading = Decided(QueryOutcome::Value);
};

void TakeBareLine(const std::string &text, const QueryForm &form, ValueLine &found)
{
    if (++found.count > 1)
        return;
    found.wellFormed = form.isValue(text);
    found.reading.value = text;
}

void TakeTaggedLine(const std::string &text, const QueryForm &form, ValueLine &found)
{
    found.count = 1;
    found.reading.value = TaggedValue(text, form, found.reading.blankBeforeValue);
    found.wellFormed = form.isValue(found.reading.value);
}

QueryReading Verdict(const ValueLine &found)
{
    if (found.count == 1 && found.wellFormed)
        return found.reading;
    return Decided(QueryOutcome::NoValue);
}

QueryForm AsRead(QueryForm form, ReplyRead read)
{
    if (read == ReplyRead::OnceOver) {
        form.valueNeedsOk = false;
        form.earlyOk = EarlyOk::IsLate;
    }
    return form;
}

}  // namespace

QueryReading ReadQueryReply(const std::string &reply, const QueryForm &given, ReplyRead read)
{
    const QueryForm form = AsRead(given, read);
    const std::vector<Line> lines = SplitAtLineFeeds(reply);
    ValueLine found;
    for (std::size_t i = FirstLineOfReply(lines, form.echo); i < lines.size(); ++i) {
        const Line &line = lines[i];
        if (line.text.empty())
            continue;
        if (IsFinalResultLine(line.text)) {
            if (line.text != kOk) {
                QueryReading refused = Decided(QueryOutcome::Refused);
                refused.errorLineEnded = line.ended;
                return refused;
            }
            if (found.count == 0 && form.earlyOk == EarlyOk::IsLate)
                continue;
            return Verdict(found);
        }
        if (!line.ended || IsUnsolicitedReport(line.text) || IsEchoOf(line.text, form.echo))
            continue;
        if (form.tag == nullptr) {
            TakeBareLine(line.text, form, found);
        } else if (found.count == 0 && StartsWith(line.text, form.tag)) {
            TakeTaggedLine(line.text, form, found);
            if (!form.valueNeedsOk)
                return Verdict(found);
        }
    }
    return Decided(QueryOutcome::Pending);
}
