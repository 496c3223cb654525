// The reply handlers of the Windows build's generic runner (RunComCmd): each
// asks exactly one reply parser of the modem object and answers its verdict
// unchanged. Nothing in the program calls them: they live in the
// application's offered library, which only their tests link.
#ifndef ZARVEX_COM_CMD_HANDLERS_H
#define ZARVEX_COM_CMD_HANDLERS_H

#include <functional>
#include <string>

#include "PhoneCardDefine.h"

class CPhoneCardBase;

// A reply handler: calls one reply parser of `phone` on the whole reply
// gathered since the command was written and answers its verdict.
using ComCmdHandler_t =
    std::function<COM_CMD_OPERATE_RESULT_t(CPhoneCardBase *phone, std::string reply)>;

COM_CMD_OPERATE_RESULT_t OnQuerySMSCHandler(CPhoneCardBase *phone, std::string reply);
COM_CMD_OPERATE_RESULT_t OnSetPduModeHandler(CPhoneCardBase *phone, std::string reply);
COM_CMD_OPERATE_RESULT_t OnSetRecvSmsCompatibleModeHandler(CPhoneCardBase *phone,
                                                           std::string reply);
COM_CMD_OPERATE_RESULT_t OnReadAllSmsToPhoneHandler(CPhoneCardBase *phone, std::string reply);
COM_CMD_OPERATE_RESULT_t OnSendPduContextHandler(CPhoneCardBase *phone, std::string reply);
COM_CMD_OPERATE_RESULT_t OnSendPduLenHandler(CPhoneCardBase *phone, std::string reply);
COM_CMD_OPERATE_RESULT_t OnReadME_SmsHandler(CPhoneCardBase *phone, std::string reply);
COM_CMD_OPERATE_RESULT_t OnReadSM_SmsHandler(CPhoneCardBase *phone, std::string reply);
// The only one that takes a null modem object (as COM_CMD_ERROR).
COM_CMD_OPERATE_RESULT_t OnInitPhoneHandler(CPhoneCardBase *phone, std::string reply);

#endif
