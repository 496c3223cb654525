// The reply handlers of the Windows build's generic runner (RunComCmd). Plain
// C++, so they build in both builds.
#include "ComCmdHandlers.h"

#include <utility>

#include "PhoneCardBase.h"

// Nothing in the program calls it.
COM_CMD_OPERATE_RESULT_t OnQuerySMSCHandler(CPhoneCardBase *phone, std::string reply)
{
    return phone->OnGetQuerySmsCenterCmdRsp(std::move(reply));
}

// Nothing in the program calls it.
COM_CMD_OPERATE_RESULT_t OnSetPduModeHandler(CPhoneCardBase *phone, std::string reply)
{
    return phone->OnSetSmsPduModeCmdRsp(std::move(reply));
}

// Nothing in the program calls it.
COM_CMD_OPERATE_RESULT_t OnSetRecvSmsCompatibleModeHandler(CPhoneCardBase *phone,
                                                           std::string reply)
{
    return phone->OnGetRecvSmsCompatibleModeCmdRsp(std::move(reply));
}

// Nothing in the program calls it.
COM_CMD_OPERATE_RESULT_t OnReadAllSmsToPhoneHandler(CPhoneCardBase *phone, std::string reply)
{
    return phone->OnReadAllSmsCmdRsp(std::move(reply));
}

// Nothing in the program calls it.
COM_CMD_OPERATE_RESULT_t OnSendPduContextHandler(CPhoneCardBase *phone, std::string reply)
{
    return phone->OnSendPduSmsContextCmdRsp(std::move(reply));
}

// Nothing in the program calls it.
COM_CMD_OPERATE_RESULT_t OnSendPduLenHandler(CPhoneCardBase *phone, std::string reply)
{
    return phone->OnSendPduSmsLenCmdRsp(std::move(reply));
}

// Nothing in the program calls it.
COM_CMD_OPERATE_RESULT_t OnReadME_SmsHandler(CPhoneCardBase *phone, std::string reply)
{
    return phone->OnGetReadSmsOnMeCmd(std::move(reply));
}

// Nothing in the program calls it.
COM_CMD_OPERATE_RESULT_t OnReadSM_SmsHandler(CPhoneCardBase *phone, std::string reply)
{
    return phone->OnGetReadSmsOnSmCmd(std::move(reply));
}

// Nothing in the program calls it.
COM_CMD_OPERATE_RESULT_t OnInitPhoneHandler(CPhoneCardBase *phone, std::string reply)
{
    if (phone == nullptr)
        return COM_CMD_ERROR;
    return phone->OnInitAtCmdRsp(std::move(reply));
}
