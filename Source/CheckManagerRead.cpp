// Read flow: every stored message of the chosen ports, from the device's own
// storage and from the SIM card, shown with long messages joined.
#include <ctime>
#include <iostream>
#include <memory>

#include "CheckManager.h"
#include "CheckManagerFlow.h"
#include "CheckManagerPortLine.h"
#include "ColorCout.h"
#include "CommandBudgets.h"
#include "ComPortBase.h"
#include "PhoneFactory.h"
#include "PrintableText.h"
#include "StringUtil.h"

namespace {

// Messages fetched one by one from a storage, at most.
constexpr int MAX_FETCHES_PER_STORAGE = 100;

constexpr std::size_t MESSAGE_SEPARATOR_WIDTH = 50;

const char kPortLabel[] = "端口 ";
const char kReadSucceeded[] = " 接收短信成功 共 ";
const char kMessagesUnit[] = " 条短信";
const char kSimCountLabel[] = "SIM卡中的短信共 ";
const char kDeviceCountLabel[] = "设备中的短信共 ";
const char kCountUnit[] = " 条";
const char kReadFailed[] = " 接收短信失败";
// A storage the fetch bound cut short, told on the port's success line.
const char kCutShortLabel[] = " 未读完: ";
const char kCutShortHolds[] = "中的短信超过 ";
// A storage not read while the other one was.
const char kStorageReadFailedBefore[] = " 读取";
const char kStorageReadFailedAfter[] = "中的短信失败";
const char kSimStorageName[] = "SIM卡";
const char kDeviceStorageName[] = "设备";
const char kReasonLabel[] = "\t 失败原因: ";
// Both storages failed, each for its own reason.
const char kStorageReasonLabel[] = ": ";
const char kStorageReasonSeparator[] = "; ";
// Entries that a storage listed but that held no message: its name and the
// index of each, after the port's result.
const char kUnreadLabel[] = " 无法读取的短信: ";
const char kUnreadIndexLabel[] = "中索引 ";
const char kUnreadSeparator[] = ", ";

const char kOrdinalLabel[] = " 第 ";
const char kOrdinalUnit[] = " 条短信";
const char kSenderLabel[] = "发送号码: ";
const char kTimeLabel[] = "发送时间: ";
const char kContentLabel[] = "短信内容: ";
const char kDurationLabel[] = "读取短信耗时: ";
const char kSecondsUnit[] = " 秒";

using StorageSelector = bool (CCheckManager::*)(CPhoneCardBase *, CComPortBase *);

struct StorageRead {
    bool ok = false;
    // Read, but the fetch bound stopped it with messages still listed.
    bool cutShort = false;
    // Why it was not read: the system's words when the line went away, the
    // modem's own, or that it did not answer.
    std::string failure;
    std::vector<SmsRecvStruct_t> messages;
    // Indices of entries listed but not read (see GetUnreadSmsIndices).
    std::vector<std::string> unread;
};

std::string CountText(std::size_t count)
{
    return std::to_string(count) + kCountUnit;
}

void PrintSeparator()
{
    std::cout << std::string(MESSAGE_SEPARATOR_WIDTH, '-') << std::endl;
}

}  // namespace

void CCheckManager::OnReadAllSms()
{
    std::vector<ComPortBaseInfo_t> ports;
    if (!InputReadAllSmsComPort(ports))
        return;
    const std::time_t start = std::time(nullptr);
    HandleReadAllSms(ports);
    const std::time_t end = std::time(nullptr);
    std::cout << kDurationLabel << static_cast<long long>(end - start + 1) << kSecondsUnit
              << std::endl;
}

namespace {

StorageRead ReadStorage(CCheckManager &manager, StorageSelector select, CPhoneCardBase *phone,
                        CComPortBase &port)
{
    StorageRead read;
    if (phone == nullptr)
        return read;
    // The reason of this storage's failure, never one of an earlier command;
    // its unread entries, never the other storage's.
    phone->ClearErrorMessage();
    phone->ClearUnreadSmsIndices();
    // A device that sends without end answers this storage no better than
    // the one before: it is not asked again.
    if (IsLineUsable(port) && (manager.*select)(phone, &port)
        && manager.ReadAllSmsByPhoneSM(phone, &port)) {
        read.ok = true;
        read.cutShort = phone->NotFinished();
        read.messages = phone->GetReadSms();
        read.unread = phone->GetUnreadSmsIndices();
    } else {
        read.failure = StepFailureReason(*phone, port, kNoAnswerReason);
    }
    return read;
}

// A failure reason on one line with another: a system message's own line
// end, which ends the line when the reason is alone, would break it.
std::string ShownWithinLine(const std::string &reason)
{
    return WithoutTrailingLineEnds(ShownFailureReason(reason));
}

// A storage's reason as the port's failure line tells it.
std::string StorageFailureReason(const StorageRead &read)
{
    if (ReportsNoSimCard(read.failure))
        return GetSmsCodeChineseStr(SMS_CODE_NO_SIM_CARD);
    return read.failure;
}

// The reason of a port whose storages both failed, as shown. An empty SIM
// card number only says that the scan did not read one, so "no SIM card" is
// told only when the modem itself said so, and a port that no scan found is
// named as such; both storages' reasons are told when they differ.
std::string ReadFailureReason(const ComPortBaseInfo_t &target, CPhoneCardBase *phone,
                              const StorageRead &sim, const StorageRead &device)
{
    if (!target.isPortExist)
        return GetSmsCodeChineseStr(SMS_CODE_NO_SUCH_PORT);
    if (phone == nullptr)
        return GetSmsCodeChineseStr(SMS_CODE_DEVICE_NOT_AT);
    const std::string simReason = StorageFailureReason(sim);
    const std::string deviceReason = StorageFailureReason(device);
    if (simReason == deviceReason)
        return ShownFailureReason(simReason);
    return kSimStorageName + std::string(kStorageReasonLabel) + ShownWithinLine(simReason)
           + kStorageReasonSeparator + kDeviceStorageName + kStorageReasonLabel
           + ShownWithinLine(deviceReason);
}

void PrintCutShort(const StorageRead &read, const char *storageName)
{
    if (read.cutShort)
        CColorCout::CoutRedMessage(kCutShortLabel + std::string(storageName) + kCutShortHolds
                                   + CountText(MAX_FETCHES_PER_STORAGE));
}

// One storage was enough to count the port as read, but the one that was not
// must not pass for an empty one.
void PrintStorageFailure(const std::string &portName, const StorageRead &read,
                         const char *storageName)
{
    if (read.ok)
        return;
    CColorCout::CoutRedMessage(kPortLabel + portName + kStorageReadFailedBefore + storageName
                               + kStorageReadFailedAfter + kReasonLabel
                               + ShownFailureReason(read.failure));
    std::cout << std::endl;
}

// The reason as ShownFailureReason shows it: it may be what the modem sent,
// its line ends included.
void PrintReadFailure(const std::string &portName, const std::string &shownReason)
{
    CColorCout::CoutRedMessage(kPortLabel + portName + kReadFailed);
    CColorCout::CoutRedMessage(kReasonLabel);
    CColorCout::CoutRedMessage(shownReason);
    std::cout << std::endl;
}

void AppendUnread(const StorageRead &read, const char *storageName, std::string &entries)
{
    if (!read.ok)
        return;
    for (const std::string &index : read.unread) {
        if (!entries.empty())
            entries += kUnreadSeparator;
        // The index is the modem's text.
        entries += storageName + std::string(kUnreadIndexLabel)
                   + MakePrintableText(index, PrintableLayout::SingleLine);
    }
}

// Entries that a read storage listed but could not read are no messages and
// are not counted, yet the user must learn that they are there.
void PrintUnread(const std::string &portName, const StorageRead &sim, const StorageRead &device)
{
    std::string entries;
    AppendUnread(sim, kSimStorageName, entries);
    AppendUnread(device, kDeviceStorageName, entries);
    if (entries.empty())
        return;
    CColorCout::CoutRedMessage(kPortLabel + portName + kUnreadLabel + entries);
    std::cout << std::endl;
}

}  // namespace

void CCheckManager::HandleReadAllSms(std::vector<ComPortBaseInfo_t> ports)
{
    for (const ComPortBaseInfo_t &target : ports) {
        const std::string portName = PortDisplayName(target.comPath);
        // A port that no scan found is never opened (see ComPortBaseInfo_t).
        if (!target.isPortExist) {
            PrintReadFailure(portName,
                             ReadFailureReason(target, nullptr, StorageRead(), StorageRead()));
            continue;
        }
        CComPortBase port(target.comPath, target.baudRate);
        std::unique_ptr<CPhoneCardBase> phone(GetPhoneByType(target.phoneType));
        port.Open();
        RunComCmdInitPhone(phone.get(), &port);

        const StorageRead device =
            ReadStorage(*this, &CCheckManager::RunComCmdReadME_Sms, phone.get(), port);
        const StorageRead sim =
            ReadStorage(*this, &CCheckManager::RunComCmdReadSM_Sms, phone.get(), port);

        if (device.ok || sim.ok) {
            const std::size_t total = sim.messages.size() + device.messages.size();
            CColorCout::CoutGreenMessage(kPortLabel + portName + kReadSucceeded
                                         + std::to_string(total) + kMessagesUnit);
            PrintCutShort(sim, kSimStorageName);
            PrintCutShort(device, kDeviceStorageName);
            std::cout << std::endl;
            if (sim.ok) {
                CColorCout::CoutGreenMessage(kSimCountLabel + CountText(sim.messages.size()));
                std::cout << std::endl;
                PrintRecvSms(sim.messages);
            }
            if (device.ok) {
                CColorCout::CoutGreenMessage(kDeviceCountLabel + CountText(device.messages.size()));
                std::cout << std::endl;
                PrintRecvSms(device.messages);
            }
            PrintStorageFailure(portName, sim, kSimStorageName);
            PrintStorageFailure(portName, device, kDeviceStorageName);
            PrintUnread(portName, sim, device);
        } else {
            PrintReadFailure(portName, ReadFailureReason(target, phone.get(), sim, device));
        }
    }
}

bool CCheckManager::ReadAllSmsByPhoneSM(CPhoneCardBase *phone, CComPortBase *port)
{
    if (phone == nullptr || port == nullptr || !port->Open())
        return false;
    if (!RunComCmdSetPduMode(phone, port) || !RunComCmdSetRecvSmsCompatibleMode(phone, port)
        || !RunComCmdReadAllSmsToPhone(phone, port))
        return false;
    // Models that list only indices fetch each message on its own; the
    // parser's verdict on one message never ends the loop.
    CommandForm fetch;
    fetch.lines = ReplyLines::AsSent;
    for (int fetched = 0; fetched < MAX_FETCHES_PER_STORAGE && phone->NotFinished(); ++fetched) {
        // A storage whose fetches the device left unfinished is not read.
        if (!IsLineUsable(*port))
            return false;
        std::string reply;
        const CommandEnd end =
            RunPortCommandToEnd(*port, phone->GetReadNextSmsCmd(),
                                RunnerBudget(FETCH_REPLY_READS, SHORT_REPLY_BOUND), fetch, &reply);
        phone->OnReadNextSmsCmdRsp(reply);
        if (end == CommandEnd::LineGone || end == CommandEnd::BoundReached)
            return false;
    }
    return true;
}

void CCheckManager::PrintRecvSms(std::vector<SmsRecvStruct_t> messages)
{
    // Sender, time and text come from strangers and modems: shown, never
    // obeyed by the terminal. Only the text may have lines of its own.
    for (std::size_t i = 0; i < messages.size(); ++i) {
        PrintSeparator();
        std::cout << kOrdinalLabel << i + 1 << kOrdinalUnit << std::endl;
        std::cout << kSenderLabel
                  << MakePrintableText(messages[i].number, PrintableLayout::SingleLine) << std::endl;
        std::cout << kTimeLabel << MakePrintableText(messages[i].time, PrintableLayout::SingleLine)
                  << std::endl;
        std::cout << kContentLabel
                  << MakePrintableText(messages[i].content, PrintableLayout::MultiLine) << std::endl;
    }
    PrintSeparator();
}

// Key "d": the port dialogue, and then nothing. Deleting every stored
// message without a confirmation would destroy what may still be needed.
void CCheckManager::OnDelAllSms()
{
    std::vector<ComPortBaseInfo_t> ports;
    InputReadAllSmsComPort(ports);
}
