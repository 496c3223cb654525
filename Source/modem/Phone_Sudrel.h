// Huawei MC323 CDMA modules. They take no GSM PDUs: messages go out and come in
// in the module's text mode with its vendor commands, the text carried as raw
// big-endian UCS2 bytes. A long text goes out as parts of at most 140 bytes,
// each ending in a "(n/m)" marker; the module answers every part with an
// "HCMGSS" (sent) or "HCMGSF" (failed) line, and a send is never retried.
#ifndef ZARVEX_PHONE_SUDREL_H
#define ZARVEX_PHONE_SUDREL_H

#include <optional>

#include "PhoneCardBase.h"

class CPhone_Sudrel : public CPhoneCardBase {
public:
    CPhone_Sudrel();

    // Nothing in the program calls these four (PhoneUncalledSlots.cpp).
    std::string GetCallCmd(std::string number) override;
    bool OnCallCmdRsp(std::string reply) override;
    std::string GetHungUpCmd() override;
    bool OnHungUpCmdRsp(std::string reply) override;
    // Sets the module's message parameters where a GSM modem switches to PDU mode.
    std::string SetSmsPDUModeCmd() override;
    COM_CMD_OPERATE_RESULT_t OnSendPduSmsContextCmdRsp(std::string reply) override;
    // Nothing in the program calls these four either.
    std::string GetSendSMS_PhoneCmd(std::string number) override;
    bool OnSendSMS_PhoneCmd(std::string reply) override;
    std::string GetReceiveSmsCmd() override;
    bool OnReceiveSmsCmdRsp(std::string reply) override;
    // As the base, but an ERROR counts only once its line has ended.
    COM_CMD_OPERATE_RESULT_t OnGetIMSI_CmdRsp(std::string reply) override;
    // The module has no SMS centre to report: a plain AT stands in.
    std::string GetQuerySmsCenterCmd() override;
    // The "^HCMGL:" listing: index and status of every stored message.
    std::string GetReadAllSmsCmd() override;
    COM_CMD_OPERATE_RESULT_t OnReadAllSmsCmdRsp(std::string reply) override;
    bool NotFinished() override;
    std::string GetReadNextSmsCmd() override;
    // One fetched message: the "^HCMGR:" header (sender, time, text encoding)
    // and the text after it.
    int OnReadNextSmsCmdRsp(std::string reply) override;
    PHONE_TYPE_t GetPhoneType() override;
    std::vector<std::string> GetInitAtCmd() override;
    std::vector<PDU_LONG_SMS_Base_t> GetSendLongPduSmsCmd(std::string number,
                                                          std::string text) override;
    std::vector<PDU_LONG_SMS_Base_t> GetSendSmsModePDUCmd(std::string number,
                                                          std::string text) override;
    // The payloads of a long text's parts, from its UCS2 bytes: pieces of at
    // most 140 bytes with the marker and the terminator, each ending on a
    // whole character (a surrogate pair is never cut in two), then its
    // "(n/m)" marker in UCS2 and 0x00 0x1A.
    static std::vector<std::string> SplitUcs2IntoParts(const std::string &ucs2);

private:
    // One fetched reply's messages into the received list; OnReadNextSmsCmdRsp's result.
    int TakeFetchedMessages(const std::string &reply);

    std::string m_strSendCmd;          // command of the last single-part send
    std::string m_strSendContent;      // its payload: UCS2 bytes, 0x00, 0x1A
    std::vector<SmsMode> m_vecSmsMode;  // listed messages still to fetch
    std::optional<int> m_fetchIndex;    // the index of the fetch under way
};

#endif
