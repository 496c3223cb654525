// Send process and results: one message text to every number through every
// chosen port, each number with its own tries and its own result.
#include <ctime>
#include <iostream>
#include <memory>

#include "CheckManager.h"
#include "CheckManagerFlow.h"
#include "CheckManagerPortLine.h"
#include "ColorCout.h"
#include "ComPortBase.h"
#include "PhoneFactory.h"
#include "PlatformConstants.h"
#include "StringUtil.h"

namespace {

// A message is tried at most this often in all; another try follows only
// when the modem refused it with an error number it may get over (500 to 600).
constexpr int MAX_SEND_TRIES = 3;

// Service numbers have exactly this many characters; a time stamp appended
// to a text sent to them would only confuse the service.
constexpr std::string::size_type SERVICE_NUMBER_LENGTH = 5;
const char *const kServiceNumbers[] = {"10086", "10010"};

const char kSucceedMessage[] = "succeed";
const char kTimeStampSeparator[] = " ";

const char kResultPortLabel[] = "端口 ";
const char kResultNumberLabel[] = " 发送到 ";
const char kResultSucceeded[] = " 的短信发送成功";
const char kResultFailed[] = " 的短信发送失败,失败原因: ";
const char kDurationLabel[] = "发送短信耗时: ";
const char kSecondsUnit[] = " 秒";

// One number through a port with a model object: the modem is prepared,
// then the message is tried until it is sent, or refused for good.
void SendWithTries(CCheckManager &manager, CPhoneCardBase &phone, CComPortBase &port,
                   const std::string &text, SendSmsResult_t &result)
{
    CCheckManager::RunComCmdInitPhone(&phone, &port);
    bool sent = false;
    for (int tries = 0; !sent && tries < MAX_SEND_TRIES; ++tries) {
        if (tries > 0 && (!phone.IsSendPduSmsRetry() || !IsLineUsable(port)))
            break;
        // Each try's reason is its own, never one of an earlier number.
        phone.ClearErrorMessage();
        sent = manager.SendPduSmsByPhone(&phone, &port, result.phoneNumber, text);
    }
    if (sent) {
        result.resultCode = SMS_CODE_SUCCEED;
        result.resultMessage = kSucceedMessage;
    } else {
        result.resultCode = SMS_CODE_FAILED_UNKNOWN_REASON;
        result.resultMessage = StepFailureReason(phone, port, GetSmsCodeChineseStr(SMS_CODE_DEVICE_NOT_AT));
    }
}

}  // namespace

void PrintSendResultLine(const SendSmsResult_t &result, const std::string &portName,
                         const char *failedLabel)
{
    if (result.resultCode == SMS_CODE_SUCCEED) {
        CColorCout::CoutGreenMessage(kResultPortLabel);
        CColorCout::CoutGreenMessage(portName);
        CColorCout::CoutGreenMessage(kResultNumberLabel);
        CColorCout::CoutGreenMessage(result.phoneNumber);
        CColorCout::CoutGreenMessage(kResultSucceeded);
    } else {
        CColorCout::CoutRedMessage(kResultPortLabel);
        CColorCout::CoutRedMessage(portName);
        CColorCout::CoutRedMessage(kResultNumberLabel);
        CColorCout::CoutRedMessage(result.phoneNumber);
        CColorCout::CoutRedMessage(failedLabel);
        // The reason may be what the modem sent: it must not reach the
        // terminal as control sequences, nor break this line.
        CColorCout::CoutRedMessage(ShownFailureReason(result.resultMessage));
    }
    std::cout << std::endl;
}

void CCheckManager::OnSendPDUSms()
{
    std::vector<std::string> numbers;
    std::vector<ComPortBaseInfo_t> ports;
    std::string text;
    if (!InputCheckSendPduSmsPhoneNumbers(numbers) || !InputCheckSendPduSmsComPorts(ports)
        || !InputCheckSendPduSmsContext(text))
        return;
    const std::time_t start = std::time(nullptr);
    HandleSendPduSmsProcess(ports, numbers, text);
    const std::time_t end = std::time(nullptr);
    if (kSendShowsDuration)
        std::cout << kDurationLabel << static_cast<long long>(end - start + 1) << kSecondsUnit
                  << std::endl;
}

std::string CCheckManager::AddTimeStampToSmsContextByPhoneNum(std::string text, std::string number,
                                                              std::string time)
{
    for (const char *service : kServiceNumbers)
        if (number == service)
            return text;
    if (number.size() == SERVICE_NUMBER_LENGTH)
        return text;
    return text + kTimeStampSeparator + time;
}

void CCheckManager::HandleSendPduSmsProcess(const std::vector<ComPortBaseInfo_t> &ports,
                                            const std::vector<std::string> &numbers,
                                            const std::string &text)
{
    m_sendResultVec.clear();
    for (const ComPortBaseInfo_t &target : ports) {
        // A port that no scan found is never opened (see ComPortBaseInfo_t).
        std::unique_ptr<CComPortBase> port;
        if (target.isPortExist)
            port.reset(new CComPortBase(target.comPath, target.baudRate));
        std::unique_ptr<CPhoneCardBase> phone(GetPhoneByType(target.phoneType));
        for (const std::string &number : numbers) {
            SendSmsResult_t result;
            result.comPath = target.comPath;
            result.phoneNumber = number;
            result.sendTime = GetCurTimeStr();
            if (!port || target.smsCardNumber.empty()) {
                result.resultCode = SMS_CODE_NO_SIM_CARD;
            } else if (phone && IsLineGone(*port)) {
                // The device went away with an earlier number: nothing more
                // is written to it, and every later number says why.
                result.resultCode = SMS_CODE_FAILED_UNKNOWN_REASON;
                result.resultMessage = port->GetErrorMsg();
            } else if (phone && IsLineFlooding(*port)) {
                // The device sends without end: no command of a later number
                // would be answered either.
                result.resultCode = SMS_CODE_FAILED_UNKNOWN_REASON;
                result.resultMessage = kNoAnswerReason;
            } else if (phone) {
                SendWithTries(*this, *phone, *port,
                              AddTimeStampToSmsContextByPhoneNum(text, number, result.sendTime),
                              result);
            } else {
                // Without a model object nothing was sent: a port whose
                // values all look complete is still no success.
                const SMS_CODE_ENUM code = GetSmsErrorCode(target);
                result.resultCode = code == SMS_CODE_SUCCEED ? SMS_CODE_DEVICE_NOT_AT : code;
                result.resultMessage = GetSmsCodeChineseStr(SMS_CODE_DEVICE_NOT_AT);
            }
            HandleSendSmsResultByMode(result);
        }
        phone.reset();
        port.reset();
    }
}

bool CCheckManager::SendPduSmsByPhone(CPhoneCardBase *phone, CComPortBase *port, std::string number,
                                      std::string text)
{
    if (phone == nullptr || port == nullptr || !port->Open())
        return false;
    // A line that went away, or sends without end, ends the message at once:
    // each further command would wait out its runner's whole budget, or its
    // reply's bound, for a reply that cannot come.
    const auto lineUp = [port] { return IsLineUsable(*port); };
    if (!lineUp() || !RunComCmdQuerySMSC(phone, port) || !lineUp()
        || !RunComCmdSetPduMode(phone, port))
        return false;
    const std::vector<PDU_LONG_SMS_Base_t> steps = phone->GetSendPduSmsCmdArray(number, text);
    if (steps.empty())
        return false;
    // The parts already sent stay sent; the first refused one ends the message.
    for (const PDU_LONG_SMS_Base_t &step : steps) {
        if (!lineUp() || !RunComCmdSendPduLen(phone, port, step.cmd) || !lineUp())
            return false;
        if (!RunComCmdSendPduContext(phone, port, step.pdu)) {
            // A body the modem never answered may still hold it at its ">"
            // prompt, where the next number's commands, or the next run's,
            // would only lengthen a message nobody sends: it is given up.
            if (LastCommandUnanswered(*port) && lineUp())
                CancelMessageBody(*port);
            return false;
        }
    }
    return true;
}

SMS_CODE_ENUM CCheckManager::GetSmsErrorCode(ComPortBaseInfo_t port)
{
    if (!port.isPortExist)
        return SMS_CODE_NO_SUCH_PORT;
    if (!port.isAtOk)
        return SMS_CODE_DEVICE_NOT_AT;
    if (port.serialNumber.empty())
        return SMS_CODE_NOT_KORVANE_SMS_DEVICE;
    if (port.smsCardNumber.empty())
        return SMS_CODE_NO_SIM_CARD;
    if (port.signalStrength.empty())
        return SMS_CODE_NO_SIGNAL;
    return SMS_CODE_SUCCEED;
}

void CCheckManager::HandleSendSmsResultByMode(SendSmsResult_t result)
{
    if (!m_bInteractive) {
        m_sendResultVec.push_back(result);
        return;
    }
    if (result.resultMessage.empty())
        result.resultMessage = GetSmsCodeChineseStr(static_cast<SMS_CODE_ENUM>(result.resultCode));
    PrintOneSendSmsResultPlainText(result);
}

void CCheckManager::PrintOneSendSmsResultPlainText(const SendSmsResult_t &result)
{
    PrintSendResultLine(result, PortDisplayName(result.comPath), kResultFailed);
}
