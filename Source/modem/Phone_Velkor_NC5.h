// Yuga CLM920_NC5 modules. They read stored messages one by one: the listing
// command asks which storage indices are in use, and every index is fetched on
// its own; the messages fetched so far, long ones joined, are the pass's
// list after every fetch, also when the pass ends before its last index; a
// fetch that brings no message names its index as unread. The
// module also answers the PDU-mode switch with a "+CMGW: " line, needs its own
// compatible receive mode, and may report no SMS centre without that stopping
// a send.
#ifndef ZARVEX_PHONE_VELKOR_NC5_H
#define ZARVEX_PHONE_VELKOR_NC5_H

#include <optional>

#include "PhoneCardBase.h"

class CPhone_Velkor_NC5 : public CPhoneCardBase {
public:
    CPhone_Velkor_NC5();

    // Needs the final OK as well as the module's name.
    bool IsATI_RspMatch(std::string reply) override;
    // Nothing in the program calls these three (PhoneUncalledSlots.cpp).
    bool OnCallCmdRsp(std::string reply) override;
    std::string GetHungUpCmd() override;
    bool OnHungUpCmdRsp(std::string reply) override;
    COM_CMD_OPERATE_RESULT_t OnSetSmsPduModeCmdRsp(std::string reply) override;
    // Keeps the centre or the error line like the base, but once the reply is
    // there it never stops a send.
    COM_CMD_OPERATE_RESULT_t OnGetQuerySmsCenterCmdRsp(std::string reply) override;
    std::string GetRecvSmsCompatibleModeCmd() override;
    // The index list: the first parenthesised group of the "+CMGD: " reply.
    std::string GetReadAllSmsCmd() override;
    COM_CMD_OPERATE_RESULT_t OnReadAllSmsCmdRsp(std::string reply) override;
    bool NotFinished() override;
    // The fetch of the next pending index; "" when none is left.
    std::string GetReadNextSmsCmd() override;
    int OnReadNextSmsCmdRsp(std::string reply) override;
    PHONE_TYPE_t GetPhoneType() override;
    // Some of these modules never answer the centre query: silence counts as
    // an answer too.
    bool IsSmsCenterQueryOptional() override;

    // The base's list parse for "+CMGR: " header lines.
    std::vector<SmsInfo> SmsRspToSmsInfoVecNew(const std::string &reply);

private:
    // One fetched reply into the collected list; OnReadNextSmsCmdRsp's result.
    int TakeFetchedMessage(const std::string &reply);

    std::vector<std::string> m_vecSmsIndex;  // storage indices still to fetch, as listed
    std::vector<SmsInfo> m_vecSmsInfo;       // messages fetched in this pass
    std::optional<std::string> m_fetchIndex; // the index of the fetch under way
};

#endif
