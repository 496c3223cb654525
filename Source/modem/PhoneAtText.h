// Small rules for reading modem replies, shared by the base class and the
// model classes so that no model carries its own copy of them. All of them are
// pure functions of the text they are given.
#ifndef ZARVEX_PHONE_AT_TEXT_H
#define ZARVEX_PHONE_AT_TEXT_H

#include <string>

#include "PhoneCardDefine.h"

namespace phone_at {

// Line ends, and the Ctrl-Z that closes a message body.
constexpr char kCr = '\r';
constexpr char kLf = '\n';
constexpr char kCtrlZ = 0x1A;

// Final result texts of an AT command.
constexpr const char *kOk = "OK";
constexpr const char *kError = "ERROR";

// Hang-up command of the modules that reject a plain "ATH".
constexpr const char *kHangUpChupCmd = "at+chup;\r\n";

// The usual clean-up of an error line: its CR and LF at both ends.
std::string TrimLineEnds(const std::string &line);

// The reply's verdict by its final result: the first line holding "OK" (tested
// first) or "ERROR" decides; failing that, an "OK" anywhere, even before its
// line end has arrived. When an ERROR line decides, `errorLine` receives it
// without its line ends.
COM_CMD_OPERATE_RESULT_t JudgeOkError(const std::string &reply, std::string *errorLine);

}  // namespace phone_at

#endif
