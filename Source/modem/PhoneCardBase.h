// The modem base class: one object stands for one modem on one port. It builds
// the AT command texts and judges the replies that a command runner hands in;
// it never touches a port. A parser is called again and again with the whole
// reply gathered since the write, so it answers COM_CMD_WAIT until the text is
// decisive and gives the same verdict for the same text.
//
// The virtual operations keep a fixed order; model classes override some of
// them and add none. One object is used by one thread at a time.
#ifndef ZARVEX_PHONE_CARD_BASE_H
#define ZARVEX_PHONE_CARD_BASE_H

#include <string>
#include <vector>

#include "PduCodec.h"
#include "PhoneCardDefine.h"
#include "QueryReply.h"

// One header line of a storage listing. -1 stays where the line did not yield
// a value.
struct SmsMode {
    int index = -1;
    int stat = -1;  // 0 received unread, 1 received read, 2 stored unsent, 3 stored sent
};

// One listed message with its decoded PDU; the PDU record starts zero-filled so
// that no member keeps a value of another message.
struct SmsInfo {
    SmsMode mode;
    SM_PARAM param;

    SmsInfo();
};

// The verdict on a destination number.
struct CountryCode_t {
    int code = 6;                 // region code: 6, or 3 for Hong Kong in the Windows build
    bool hasCountryCode = false;  // the number carries its country prefix
};

class CPhoneCardBase {
public:
    // A modem that no model has claimed.
    CPhoneCardBase();

    virtual ~CPhoneCardBase();

    // The slots that nothing in the program calls (the card-number query by
    // ATI, calls, hang-ups, text mode, the receive store, HasME and the
    // identification sample) are defined apart, in PhoneUncalledSlots.cpp.
    virtual std::string GetATCmd();
    virtual COM_CMD_OPERATE_RESULT_t OnGetAtCmdRsp(std::string reply);
    virtual std::string GetAtiCmd();
    // Keeps the reply as the identification text and asks the object's own
    // identification rule.
    virtual COM_CMD_OPERATE_RESULT_t OnGetAtiCmdRsp(std::string reply);
    // A sample of the module's identification reply, from the model's row;
    // empty for the base.
    virtual std::string Get_ATI_Rsp();
    // A model claims a reply that names its module (the model's row); the
    // base takes any reply with an OK.
    virtual bool IsATI_RspMatch(std::string reply);
    virtual std::string GetCCIDCmd();
    virtual bool OnCCIDCmdRsp(std::string reply);
    virtual std::string GetCallCmd(std::string number);
    virtual bool OnCallCmdRsp(std::string reply);
    virtual std::string GetHungUpCmd();
    virtual bool OnHungUpCmdRsp(std::string reply);
    virtual std::string SetSmsModeTextCmd();
    virtual bool OnSetSmsModeTextCmdRsp(std::string reply);
    virtual std::string SetSmsPDUModeCmd();
    virtual COM_CMD_OPERATE_RESULT_t OnSetSmsPduModeCmdRsp(std::string reply);
    // The send steps of one message: one per part, each a command that the
    // modem answers with ">" and the body to write after it. Empty when the
    // text cannot be sent (the reason is kept as the error text).
    virtual std::vector<PDU_LONG_SMS_Base_t> GetSendPduSmsCmdArray(std::string number,
                                                                   std::string text);
    // Judges the reply to a body; sets the retry flag for error numbers 500 to 600.
    virtual COM_CMD_OPERATE_RESULT_t OnSendPduSmsContextCmdRsp(std::string reply);
    // Judges the reply to a length command: ">" means go on.
    virtual COM_CMD_OPERATE_RESULT_t OnSendPduSmsLenCmdRsp(std::string reply);
    virtual std::string GetSendSMS_PhoneCmd(std::string number);
    virtual bool OnSendSMS_PhoneCmd(std::string reply);
    virtual std::string GetSendSMS_ContextCmd(std::string text);
    virtual bool OnSendSMS_ContextCmd(std::string reply);
    virtual std::string GetReceiveSmsCmd();
    virtual bool OnReceiveSmsCmdRsp(std::string reply);
    virtual std::string GetSetReceiveSmsStoreCmd();
    virtual bool OnSetReceiveSmsStoreCmdRsp(std::string reply);
    virtual std::string GetQueryReceiveSmsStoreCmd();
    virtual bool OnQueryReceiveSmsStoreCmdRsp(std::string reply);
    // The value readers below take a value only from a whole line of their
    // command's own form (QueryReply.h) and of the value's own shape
    // (ReplyValues.h). A complete reply whose value has the wrong shape fails
    // and leaves the value empty.
    //
    // The SIM card number (ICCID): the "+CCID:" line, quoted or not, before
    // the final OK. An OK without that line fails and clears the number; an
    // error report fails and keeps it.
    virtual std::string GetIMSI_Cmd();
    virtual COM_CMD_OPERATE_RESULT_t OnGetIMSI_CmdRsp(std::string reply);
    // The device serial number (IMEI, ESN): the one line before the OK that
    // follows it. An OK with no line before it (a late answer to an earlier
    // command) is passed over, so the judge never answers done with nothing
    // read.
    virtual std::string GetIMEI_Cmd();
    virtual COM_CMD_OPERATE_RESULT_t OnGetIMEI_Cmd(std::string reply);
    virtual std::string GetSignalStrengthCmd();
    // The "+CSQ:" line before the OK that follows it, with the blank after
    // the colon. Never fails on an error report: a modem that answers ERROR
    // leaves the runner waiting until it gives up.
    virtual COM_CMD_OPERATE_RESULT_t OnGetSignalStrengthCmdRsp(std::string reply);
    virtual std::string GetQuerySmsCenterCmd();
    virtual COM_CMD_OPERATE_RESULT_t OnGetQuerySmsCenterCmdRsp(std::string reply);
    virtual std::string GetDelAllSmsCmd();
    virtual COM_CMD_OPERATE_RESULT_t OnDelAllSmsCmdRsp(std::string reply);
    virtual std::string GetRecvSmsCompatibleModeCmd();
    virtual COM_CMD_OPERATE_RESULT_t OnGetRecvSmsCompatibleModeCmdRsp(std::string reply);
    // Reading a storage: one listing, then, while NotFinished(), one fetch per
    // GetReadNextSmsCmd(). The base's listing yields every message at once.
    virtual std::string GetReadAllSmsCmd();
    virtual COM_CMD_OPERATE_RESULT_t OnReadAllSmsCmdRsp(std::string reply);
    virtual bool NotFinished();
    virtual std::string GetReadNextSmsCmd();
    virtual int OnReadNextSmsCmdRsp(std::string reply);
    virtual PHONE_TYPE_t GetPhoneType();
    virtual std::string GetSmsCardNumber();
    virtual std::string GetSignalStrength();
    virtual std::string GetSerialNumber();
    // The last error text kept by a parser, trimmed in place. It may be empty
    // or left by an earlier parser.
    virtual std::string GetErrorMessage();
    virtual bool HasME();
    virtual std::string GetReadSmsOnMeCmd();
    virtual COM_CMD_OPERATE_RESULT_t OnGetReadSmsOnMeCmd(std::string reply);
    virtual std::string GetReadSmsOnSmCmd();
    virtual COM_CMD_OPERATE_RESULT_t OnGetReadSmsOnSmCmd(std::string reply);
    virtual std::vector<std::string> GetInitAtCmd();
    // Linux: the shared OK/ERROR judge. Windows: always done, whatever the reply.
    virtual COM_CMD_OPERATE_RESULT_t OnInitAtCmdRsp(std::string reply);
    virtual std::vector<PDU_LONG_SMS_Base_t> GetSendLongPduSmsCmd(std::string number,
                                                                  std::string text);
    virtual std::vector<PDU_LONG_SMS_Base_t> GetSendSmsModePDUCmd(std::string number,
                                                                  std::string text);
    // True for a module whose SMS-centre query never stops a send: when the
    // query goes unanswered or is refused, the message goes out without a
    // centre of its own and the module uses the one it holds.
    virtual bool IsSmsCenterQueryOptional();

    std::string GetAtiRspString();
    bool IsSendPduSmsRetry() const;
    std::vector<SmsRecvStruct_t> GetReadSms();
    // The storage indices, as the modem wrote them, of the entries the last
    // storage pass listed but could not read: a header without its PDU line,
    // a PDU line that is not hexadecimal, a fetch that brought no message.
    // They are not among GetReadSms().
    std::vector<std::string> GetUnreadSmsIndices();
    void ClearUnreadSmsIndices() { m_vecUnreadSmsIndex.clear(); }
    // The shared judge: the first line with "OK" or "ERROR" decides (an ERROR
    // line is kept as the error text); an "OK" not yet followed by its line end
    // counts too.
    COM_CMD_OPERATE_RESULT_t OnOkErrorRsp(std::string reply);

    // Longer than one message in the platform's multibyte encoding.
    bool IsLongSms(std::string text);
    // Each build judges by its own rule (PhoneCountryCode.h).
    static CountryCode_t JudgePhoneCountryCode(const std::string &number);
    // The number as it goes into a PDU: "0086..." loses its "00".
    static std::string ModifyPhoneCode(const std::string &number, bool hasCountryCode);

    // A storage listing ("+CMGL: " header lines, each followed by its PDU line)
    // into decoded records. A header whose PDU line has not arrived yields none;
    // nor does one followed by anything but a PDU line (IsPduLine), which is
    // then examined as a line of its own.
    static std::vector<SmsInfo> SmsRspToSmsInfoVec(const std::string &reply);
    static SmsMode StrToSmsMode(std::string line);
    // Listed records into received messages, the parts of long messages joined.
    static std::vector<SmsRecvStruct_t> SmsInfoVecToSmsRecvStructVec(
        const std::vector<SmsInfo> &list);
    // "YYMMDDhhmmss..." into "YY-MM-DD hh:mm:ss"; "" for fewer than 13 characters.
    static std::string ReceiveTimeToReadStr(const char *digits);

    void PrintRecvSms();

    // Forgets the last error text, so that the next failure's reason is its
    // own and never one left by an earlier command.
    void ClearErrorMessage() { m_strErrorMsg.clear(); }

protected:
    // A model class hands in its row of the model table (PhoneModels.h); null
    // leaves the object a modem that no model has claimed.
    explicit CPhoneCardBase(const PhoneModel *model);

    // The list parse behind SmsRspToSmsInfoVec, for a header tag of choice.
    // The index of every header that has no PDU line after it goes to
    // `unread` when it is given.
    static std::vector<SmsInfo> SmsRspToSmsInfoVecByTag(const std::string &reply, const char *tag,
                                                        std::vector<std::string> *unread = nullptr);
    // Rules shared by the model classes.
    // When an error report ends a SIM card number's reply.
    enum class ErrorCounts { AtOnce, OnceItsLineEnded };
    // The verdict on a SIM card number's reply, and the number it keeps.
    COM_CMD_OPERATE_RESULT_t TakeSmsCardNumber(const QueryReading &reading,
                                               ErrorCounts errorCounts);
    // The same for the reply to "AT+CCID".
    COM_CMD_OPERATE_RESULT_t JudgeCcidReply(const std::string &reply, ErrorCounts errorCounts);
    static bool IsNonEmptyRsp(const std::string &reply);
    // The base's initialisation list with one command of the module's own after it.
    std::vector<std::string> InitAtCmdsWith(const char *moduleCmd);
    // A body that cannot be sent as the user typed it: the reason, and no steps.
    std::vector<PDU_LONG_SMS_Base_t> RefuseText(const char *reason);

    bool m_bSendPduSmsRetry;
    std::string m_strSmsCardNumber;
    std::string m_strSignalStrength;
    std::string m_strSerialNumber;
    std::string m_strSmsCenter;
    std::string m_strSendPduLenCmd;
    std::vector<SmsRecvStruct_t> m_vecRecvSms;
    std::vector<std::string> m_vecUnreadSmsIndex;  // see GetUnreadSmsIndices
    std::string m_strErrorMsg;
    std::string m_strAtiRsp;

private:
    // The name, module and identification sample the object goes by; never
    // null.
    const PhoneModel *m_model;
};

// Offered beside the member of the same name; true only for exactly "\r\nOK\r\n".
bool OnSetSmsModeTextCmdRsp(std::string reply);

bool IsHexChar(char c);
// A listed or fetched message's PDU line: hexadecimal digits and nothing else
// (its line end aside).
bool IsPduLine(const std::string &line);
// Order of a listing: by concatenation reference, then storage index, then part.
bool lessSmsInfo(const SmsInfo &a, const SmsInfo &b);
// Order of the parts of one message.
bool LessLongSms(const SmsInfo &a, const SmsInfo &b);

// Prints a message list: per message a dashed line, its ordinal, sender, time
// and text, then a closing dashed line. Untrusted texts are made printable.
void PrintRecvSmsList(const std::vector<SmsRecvStruct_t> &messages);

#endif
