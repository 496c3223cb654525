#include "ProbeText.h"

std::string TextFrom(const std::string &text, std::size_t from)
{
    return from < text.size() ? text.substr(from) : std::string();
}

std::string TextSlice(const std::string &text, std::size_t from, std::size_t count)
{
    return from < text.size() ? text.substr(from, count) : std::string();
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
