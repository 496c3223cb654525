// Vocabulary shared by the modem command set, the PDU codec and the check
// manager: model types and what a model is known by, result codes with their
// texts, the verdict of a reply parser, and the two records that travel
// between them.
#ifndef ZARVEX_PHONE_CARD_DEFINE_H
#define ZARVEX_PHONE_CARD_DEFINE_H

#include <string>

enum PHONE_TYPE_t {
    PHONE_TYPE_UN_KNOWN = 0,
    PHONE_TYPE_BASE = 1,  // a modem that matched no model; the default type
    PHONE_TYPE_VELKOR_NC5 = 2,
    PHONE_TYPE_TARNEL = 3,
    PHONE_TYPE_VELKOR_ME = 4,
    PHONE_TYPE_PIMSOR = 5,
    PHONE_TYPE_ORVAST = 6,
    PHONE_TYPE_SUDREL = 7,
};

enum SMS_CODE_ENUM {
    SMS_CODE_SUCCEED = 0,
    SMS_CODE_FAILED_UNKNOWN_REASON = 1,
    SMS_CODE_DEVICE_NOT_AT = 2,
    SMS_CODE_NOT_KORVANE_DEVICE = 3,
    SMS_CODE_NO_SIM_CARD = 4,
    SMS_CODE_NO_SIGNAL = 5,
    SMS_CODE_NO_SUCH_PORT = 6,
    SMS_CODE_NOT_KORVANE_SMS_DEVICE = 7,
};

// Verdict of a reply parser on the reply gathered so far. Runners treat any
// value other than OK and ERROR as WAIT.
enum COM_CMD_OPERATE_RESULT_t {
    COM_CMD_OK = 0,
    COM_CMD_ERROR = 1,
    COM_CMD_WAIT = 2,
};

// What a model is known by: one row of the model table (PhoneModels.h). A
// modem object keeps the row of its class.
struct PhoneModel {
    PHONE_TYPE_t type;
    const char *typeName;    // the text of PhoneTypeToString
    const char *moduleName;  // claims an identification reply that contains it
    const char *atiSample;   // an identification reply as the module sends it
};

// The text of a type that has no name of its own: the base type 1 and any
// value outside the enumeration.
constexpr const char *kUnnamedTypeText = "TYPE_UNKNOWN";

// The name of a model type as the model table gives it (PhoneModels.h); null
// for a type without a row.
const char *PhoneModelName(PHONE_TYPE_t type);

// The texts are defined here with internal linkage: every source that includes
// this header carries its own identical copy.
static inline std::string PhoneTypeToString(PHONE_TYPE_t type)
{
    if (type == PHONE_TYPE_UN_KNOWN)
        return "PHONE_TYPE_UN_KNOWN";
    const char *name = PhoneModelName(type);
    return name ? name : kUnnamedTypeText;
}

static inline std::string GetSmsCodeEnglishStr(SMS_CODE_ENUM code)
{
    switch (code) {
    case SMS_CODE_SUCCEED: return "Succeed";
    case SMS_CODE_FAILED_UNKNOWN_REASON: return "Failed Unknown Reason";
    case SMS_CODE_DEVICE_NOT_AT: return "Device Not AT";
    case SMS_CODE_NOT_KORVANE_DEVICE: return "Not Korvane Device";
    case SMS_CODE_NO_SIM_CARD: return "No SIM CARD In Device";
    case SMS_CODE_NO_SIGNAL: return "No Signal";
    case SMS_CODE_NO_SUCH_PORT: return "No Such Port";
    case SMS_CODE_NOT_KORVANE_SMS_DEVICE: return "Not Korvane Sms Device";
    default: return "Unknown reason";
    }
}

static inline std::string GetSmsCodeChineseStr(SMS_CODE_ENUM code)
{
    switch (code) {
    case SMS_CODE_SUCCEED: return "成功";
    case SMS_CODE_FAILED_UNKNOWN_REASON: return "发送失败,原因未知";
    case SMS_CODE_DEVICE_NOT_AT: return "设备不AT";
    case SMS_CODE_NOT_KORVANE_DEVICE: return "不是Korvane短信设备";
    case SMS_CODE_NO_SIM_CARD: return "设备未插卡";
    case SMS_CODE_NO_SIGNAL: return "设备无信号";
    case SMS_CODE_NO_SUCH_PORT: return "没有此端口";
    case SMS_CODE_NOT_KORVANE_SMS_DEVICE: return "不是Korvane短信设备";
    default: return "设备不AT";
    }
}

// One received message as the application shows it.
struct SmsRecvStruct_t {
    std::string number;   // the sender
    std::string time;     // time stamp text, formatted by the producer
    std::string content;  // text in the platform's multibyte encoding

    SmsRecvStruct_t() = default;
    bool IsOk() const { return !number.empty() && !time.empty() && !content.empty(); }
    void Reset()
    {
        number.clear();
        time.clear();
        content.clear();
    }
};

// One step of sending a message: the command the modem answers with its ">"
// prompt, then the body ending in Ctrl-Z.
struct PDU_LONG_SMS_Base_t {
    std::string cmd;
    std::string pdu;

    PDU_LONG_SMS_Base_t() = default;
};

#endif
