#include "PhoneAtText.h"

#include <cctype>
#include <climits>

#include "StringUtil.h"

namespace phone_at {

std::string TrimLineEnds(const std::string &line)
{
    return TrimEach(line, {kCr, kLf, kCr, kLf});
}

COM_CMD_OPERATE_RESULT_t JudgeOkError(const std::string &reply, std::string *errorLine)
{
    for (const std::string &line : SplitStringToArray(reply)) {
        if (Contains(line, kOk))
            return COM_CMD_OK;
        if (Contains(line, kError)) {
            if (errorLine)
                *errorLine = line;
            return COM_CMD_ERROR;
        }
    }
    return Contains(reply, kOk) ? COM_CMD_OK : COM_CMD_WAIT;
}

int ReadInt(const std::string &text)
{
    std::size_t i = 0;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i])))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    long long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > static_cast<long long>(INT_MAX) + 1)
            value = static_cast<long long>(INT_MAX) + 1;
    }
    if (negative)
        value = -value;
    if (value > INT_MAX)
        return INT_MAX;
    if (value < INT_MIN)
        return INT_MIN;
    return static_cast<int>(value);
}

}  // namespace phone_at
