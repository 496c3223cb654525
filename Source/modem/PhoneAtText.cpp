#include "PhoneAtText.h"

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

}  // namespace phone_at
