// Arbitrary reply text for every reply parser of every model, for the storage
// listing and the joining of long messages, as SMS centre and message text
// for the send steps, and as UCS2 text for the CDMA module's part split. A
// parser must answer, whatever the modem sends; the sanitizers catch any read
// or write out of bounds, and a value that a parser keeps must have its own
// form, or there is none.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "PhoneCardBase.h"
#include "PhoneFactory.h"
#include "Phone_Sudrel.h"
#include "ReplyValues.h"

namespace {

// Keeps one run short; longer texts only repeat the same work.
constexpr std::size_t kMaxSendText = 600;
// A read flow fetches at most this many messages per storage.
constexpr int kMaxFetches = 100;
// The CDMA module takes at most this many bytes of text, marker and
// terminator in one part.
constexpr std::size_t kMaxTextModePartBytes = 140;

// A fresh plain base object, then one of every model.
DetectionModels MakeAll()
{
    DetectionModels modems = CreateDetectionModels();
    modems.insert(modems.begin(), std::make_unique<CPhoneCardBase>());
    return modems;
}

void JudgeEverything(CPhoneCardBase &modem, const std::string &reply)
{
    modem.OnGetAtCmdRsp(reply);
    modem.OnGetAtiCmdRsp(reply);
    modem.IsATI_RspMatch(reply);
    modem.OnCCIDCmdRsp(reply);
    modem.OnCallCmdRsp(reply);
    modem.OnHungUpCmdRsp(reply);
    modem.OnSetSmsModeTextCmdRsp(reply);
    modem.OnSetSmsPduModeCmdRsp(reply);
    modem.OnSendPduSmsContextCmdRsp(reply);
    modem.OnSendPduSmsLenCmdRsp(reply);
    modem.OnSendSMS_PhoneCmd(reply);
    modem.OnSendSMS_ContextCmd(reply);
    modem.OnReceiveSmsCmdRsp(reply);
    modem.OnSetReceiveSmsStoreCmdRsp(reply);
    modem.OnQueryReceiveSmsStoreCmdRsp(reply);
    modem.OnGetIMSI_CmdRsp(reply);
    modem.OnGetIMEI_Cmd(reply);
    modem.OnGetSignalStrengthCmdRsp(reply);
    modem.OnDelAllSmsCmdRsp(reply);
    modem.OnGetRecvSmsCompatibleModeCmdRsp(reply);
    modem.OnGetReadSmsOnMeCmd(reply);
    modem.OnGetReadSmsOnSmCmd(reply);
    modem.OnInitAtCmdRsp(reply);
    modem.OnOkErrorRsp(reply);
    modem.GetErrorMessage();
    modem.GetSmsCardNumber();
    modem.GetSerialNumber();
    modem.GetSignalStrength();
}

// The device table shows these values: none may be of another form.
void CheckValueForms(CPhoneCardBase &modem)
{
    const std::string card = modem.GetSmsCardNumber();
    const std::string serial = modem.GetSerialNumber();
    std::string signal = modem.GetSignalStrength();
    // The blank after the colon is kept with the signal.
    if (!signal.empty() && signal[0] == ' ')
        signal.erase(0, 1);
    if ((!card.empty() && !IsSmsCardNumberText(card)) ||
        (!serial.empty() && !IsSerialNumberText(serial)) ||
        (!signal.empty() && !IsSignalText(signal)))
        std::abort();
}

// A storage pass as the read flow runs it, every fetch answered with the same text.
void ReadStorage(CPhoneCardBase &modem, const std::string &reply)
{
    modem.OnReadAllSmsCmdRsp(reply);
    for (int i = 0; i < kMaxFetches && modem.NotFinished(); ++i) {
        modem.GetReadNextSmsCmd();
        modem.OnReadNextSmsCmdRsp(reply);
    }
    modem.GetReadSms();
}

// The CDMA module's text-mode parts of any UCS2 text: each at most 140 bytes,
// its marker counting the parts as cut, no surrogate pair cut between two
// parts, and the pieces together the whole text.
void CheckTextModeParts(const std::string &reply)
{
    const std::string ucs2 = reply.substr(0, 2 * (std::min(reply.size(), 2 * kMaxSendText) / 2));
    const std::vector<std::string> payloads = CPhone_Sudrel::SplitUcs2IntoParts(ucs2);
    const std::string end("\0\x1A", 2);
    std::string joined;
    bool endedOnHighHalf = false;
    for (std::size_t i = 0; i < payloads.size(); ++i) {
        std::string tail;
        for (char c : "(" + std::to_string(i + 1) + "/" + std::to_string(payloads.size()) + ")")
            tail += std::string(1, '\0') + c;
        tail += end;
        const std::string &payload = payloads[i];
        if (payload.size() > kMaxTextModePartBytes || payload.size() < tail.size() ||
            payload.compare(payload.size() - tail.size(), tail.size(), tail) != 0)
            std::abort();
        const std::string piece = payload.substr(0, payload.size() - tail.size());
        if (piece.size() % 2 != 0 || piece.empty())
            std::abort();
        const unsigned first = static_cast<unsigned char>(piece[0]);
        if (endedOnHighHalf && first >= 0xDC && first <= 0xDF)
            std::abort();
        const unsigned last = static_cast<unsigned char>(piece[piece.size() - 2]);
        endedOnHighHalf = last >= 0xD8 && last <= 0xDB;
        joined += piece;
    }
    if (joined != ucs2)
        std::abort();
}

void BuildSendSteps(CPhoneCardBase &modem, const std::string &reply)
{
    // Whatever centre number the modem reported goes into the PDUs.
    modem.OnGetQuerySmsCenterCmdRsp(reply);
    const std::string text = reply.substr(0, kMaxSendText);
    modem.GetSendPduSmsCmdArray("13912345678", text);
    modem.GetSendPduSmsCmdArray("+8613912345678", text);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    setenv("LC_ALL", "en_US.UTF-8", 1);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const std::string reply(reinterpret_cast<const char *>(data), size);
    CPhoneCardBase::SmsInfoVecToSmsRecvStructVec(CPhoneCardBase::SmsRspToSmsInfoVec(reply));
    CPhoneCardBase::StrToSmsMode(reply);
    CPhoneCardBase::ReceiveTimeToReadStr(reply.c_str());
    for (const auto &modem : MakeAll()) {
        JudgeEverything(*modem, reply);
        CheckValueForms(*modem);
    }
    for (const auto &modem : MakeAll()) {
        ReadStorage(*modem, reply);
        BuildSendSteps(*modem, reply);
    }
    CheckTextModeParts(reply);
    return 0;
}
