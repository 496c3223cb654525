#include "ReplyLines.h"

namespace {

const char *const kFinalResults[] = {"OK", "ERROR"};
const char *const kFinalErrorTags[] = {"+CME ERROR:", "+CMS ERROR:"};
const char *const kUnsolicitedWords[] = {"RING", "NO CARRIER"};
const char *const kUnsolicitedTags[] = {"+CMTI:", "+CREG:", "^RSSI:", "+CDSI:", "^BOOT:", "^MODE:"};
constexpr char kPrompt = '>';
const char kLineBlanks[] = " \t\r\n";

bool StartsWith(const std::string &text, const char *prefix)
{
    return text.rfind(prefix, 0) == 0;
}

}  // namespace

std::string TrimLineBlanks(const std::string &line)
{
    const std::size_t first = line.find_first_not_of(kLineBlanks);
    if (first == std::string::npos)
        return std::string();
    const std::size_t last = line.find_last_not_of(kLineBlanks);
    return line.substr(first, last - first + 1);
}

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

bool IsUnsolicitedReport(const std::string &line)
{
    const std::string text = TrimLineBlanks(line);
    for (const char *word : kUnsolicitedWords)
        if (text == word)
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
