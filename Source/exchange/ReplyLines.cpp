#include "ReplyLines.h"

namespace {

const char *const kFinalResults[] = {"OK", "ERROR"};
const char *const kFinalErrorTags[] = {"+CME ERROR:", "+CMS ERROR:"};

std::string WithoutBlanks(const std::string &line)
{
    const std::size_t first = line.find_first_not_of(" \t\r\n");
    if (first == std::string::npos)
        return std::string();
    const std::size_t last = line.find_last_not_of(" \t\r\n");
    return line.substr(first, last - first + 1);
}

}  // namespace

bool IsFinalResultLine(const std::string &line)
{
    const std::string text = WithoutBlanks(line);
    for (const char *result : kFinalResults)
        if (text == result)
            return true;
    for (const char *tag : kFinalErrorTags)
        if (text.rfind(tag, 0) == 0)
            return true;
    return false;
}
