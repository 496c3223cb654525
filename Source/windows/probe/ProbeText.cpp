#include "ProbeText.h"

namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

}  // namespace

bool Contains(const std::string &text, const std::string &part)
{
    return text.find(part) != std::string::npos;
}

std::string TextFrom(const std::string &text, std::size_t from)
{
    return from < text.size() ? text.substr(from) : std::string();
}

std::string TextSlice(const std::string &text, std::size_t from, std::size_t count)
{
    return from < text.size() ? text.substr(from, count) : std::string();
}

std::string TrimBlank(const std::string &text)
{
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && IsBlank(text[begin]))
        ++begin;
    while (end > begin && IsBlank(text[end - 1]))
        --end;
    return text.substr(begin, end - begin);
}

std::vector<ReplyLine> SplitReplyLines(const std::string &reply)
{
    std::vector<ReplyLine> lines;
    std::string current;
    for (char c : reply) {
        if (c == '\r' || c == '\n') {
            if (!current.empty())
                lines.push_back({current, true});
            current.clear();
        } else {
            current += c;
        }
    }
    if (!current.empty())
        lines.push_back({current, false});
    return lines;
}
