// The forms of the replies to the queries that both builds ask, as the
// command runners read them while a reply still grows. The Windows probe
// reads the same forms once its exchange is over (ReplyRead::OnceOver), and
// writes some of the commands in other letters than the runners do: an echo
// is told in either case.
#ifndef ZARVEX_QUERY_FORMS_H
#define ZARVEX_QUERY_FORMS_H

#include "QueryReply.h"
#include "ReplyValues.h"

// The SIM card number, taken once the OK after it has come; an OK before it
// ends the reply without one.
inline constexpr QueryForm kCcidForm = {"AT+CCID", "+CCID:", 0, IsSmsCardNumberText, true,
                                        EarlyOk::EndsTheReply};
// The same from a Huawei module. The tag line alone decides: the module
// sends it whole, OK or not.
inline constexpr QueryForm kHuaweiIccidForm = {"AT^ICCID?", "^ICCID:", 0, IsSmsCardNumberText,
                                               false, EarlyOk::EndsTheReply};
// The signal, taken once the OK after it has come; an OK before it is an
// earlier command's late one.
inline constexpr QueryForm kSignalForm = {"AT+CSQ", "+CSQ:", 0, IsSignalText, true,
                                          EarlyOk::IsLate};
// The serial number stands alone on its line, so only the OK after it tells
// it from another reply's line; an OK with nothing before it is a late one.
inline constexpr QueryForm kSerialNumberForm = {"AT+CGSN", nullptr, 0, IsSerialNumberText, true,
                                                EarlyOk::IsLate};

#endif
