// Small text functions for taking modem replies apart, beside the shared ones
// (searching, trimming) that come with them. Every position they are given
// may lie anywhere, past the end included: they never read outside the text,
// and a position past the end simply gives an empty piece.
#ifndef ZARVEX_PROBE_TEXT_H
#define ZARVEX_PROBE_TEXT_H

#include <cstddef>
#include <string>
#include <vector>

#include "StringUtil.h"

// The text from `from` on; "" when `from` is at or past the end.
std::string TextFrom(const std::string &text, std::size_t from);

// At most `count` characters from `from` on.
std::string TextSlice(const std::string &text, std::size_t from, std::size_t count);

// One line of a reply, and whether a line end followed it (a line still
// arriving has none yet).
struct ReplyLine {
    std::string text;
    bool ended = false;
};

// The lines of a reply, split at every CR and LF; empty lines are left out.
std::vector<ReplyLine> SplitReplyLines(const std::string &reply);

#endif
