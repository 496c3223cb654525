// Reading a storage in PDU mode: the listing into decoded records, and the
// records into received messages with the parts of long messages joined.
#include <algorithm>
#include <cstring>
#include <iostream>

#include "PhoneAtText.h"
#include "PhoneCardBase.h"
#include "PrintableText.h"
#include "StringUtil.h"

namespace {

constexpr const char *kListAllCmd = "AT+CMGL=4\r\n";
constexpr const char *kReadNextCmd = "AT\r\n";
constexpr const char *kListTag = "+CMGL: ";
// Some modules close a listing with these instead of OK.
constexpr const char *kSmsDone = "SMS DONE";
constexpr const char *kSmsFull = "SMS FULL";

constexpr int kStatReceivedUnread = 0;
constexpr int kStatReceivedRead = 1;
constexpr int kStatStoredUnsent = 2;
constexpr int kStatStoredSent = 3;

// YYMMDDhhmmss and at least one character of the time zone.
constexpr std::size_t kMinTimeStampLength = 13;
constexpr int kDividerWidth = 50;

template <std::size_t N>
std::string FieldText(const char (&field)[N])
{
    return std::string(field, strnlen(field, N));
}

void DecodeByStatus(const std::string &pduLine, SmsInfo &info)
{
    const std::string pdu = WithoutTrailingCr(pduLine);
    switch (info.mode.stat) {
    case kStatReceivedUnread:
    case kStatReceivedRead:
        gsmDecodePdu(pdu.c_str(), &info.param);
        break;
    case kStatStoredUnsent:
    case kStatStoredSent:
        gsmDecodeSendPdu(pdu.c_str(), &info.param);
        break;
    default:
        break;  // an unknown status keeps the zero record
    }
}

SmsMode ModeFromLine(const std::string &line, const char *tag)
{
    SmsMode mode;
    const std::size_t tagPos = line.find(tag);
    if (tagPos == std::string::npos)
        return mode;
    // The index is read from the blank after the colon on; atoi skips it.
    const std::size_t indexStart = tagPos + std::char_traits<char>::length(tag) - 1;
    const std::size_t firstComma = line.find(',', indexStart);
    if (firstComma == std::string::npos)
        return mode;
    mode.index = ReadInt(line.substr(indexStart, firstComma - indexStart));
    if (mode.index < 0)
        return mode;
    const std::size_t secondComma = line.find(',', firstComma + 1);
    const std::size_t statLength =
        secondComma == std::string::npos ? std::string::npos : secondComma - firstComma - 1;
    mode.stat = ReadInt(line.substr(firstComma + 1, statLength));
    return mode;
}

SmsRecvStruct_t Received(const SmsInfo &info, const std::string &content)
{
    SmsRecvStruct_t sms;
    sms.number = FieldText(info.param.peerNumber);
    sms.time = CPhoneCardBase::ReceiveTimeToReadStr(info.param.timeStamp);
    sms.content = content;
    return sms;
}

// Parts of one message share the sender, the reference and the part count.
bool SameLongMessage(const SmsInfo &a, const SmsInfo &b)
{
    return a.param.groupRef == b.param.groupRef && a.param.groupTotal == b.param.groupTotal &&
           FieldText(a.param.peerNumber) == FieldText(b.param.peerNumber);
}

// A part belongs to a message of its sender, reference and part count that
// still lacks its number.
bool TakesPart(const std::vector<const SmsInfo *> &message, const SmsInfo &part)
{
    if (!SameLongMessage(*message.front(), part))
        return false;
    return std::none_of(message.begin(), message.end(), [&](const SmsInfo *taken) {
        return taken->param.partNumber == part.param.partNumber;
    });
}

// Seconds since 2000-01-01 00:00 of a centre time stamp's YYMMDDhhmmss, or
// false when those are not twelve digits of a date and time. The zone is left
// out: the parts of one message are stamped by one centre, in one zone.
bool StampSeconds(const char (&stamp)[SM_TIME_STAMP_SIZE], long long &seconds)
{
    constexpr std::size_t kFields = 6;
    int field[kFields] = {};
    for (std::size_t i = 0; i < 2 * kFields; ++i) {
        if (stamp[i] < '0' || stamp[i] > '9')
            return false;
        field[i / 2] = field[i / 2] * 10 + (stamp[i] - '0');
    }
    const int year = 2000 + field[0];
    const int month = field[1];
    const int day = field[2];
    if (month < 1 || month > 12 || day < 1 || day > 31 || field[3] > 23 || field[4] > 59 ||
        field[5] > 59)
        return false;
    // Days counted from 0000-03-01 in 400-year eras of years that begin in
    // March, so that the leap day ends a year.
    constexpr long long kDaysPerEra = 146097;
    constexpr long long kDaysTo2000 = 730425;  // 0000-03-01 to 2000-01-01
    const int y = month <= 2 ? year - 1 : year;
    const int era = y / 400;
    const int yearOfEra = y - era * 400;
    const int dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const long long days = era * kDaysPerEra + yearOfEra * 365LL + yearOfEra / 4 -
                           yearOfEra / 100 + dayOfYear - kDaysTo2000;
    seconds = ((days * 24 + field[3]) * 60 + field[4]) * 60 + field[5];
    return true;
}

// The middle of the time span over which a message's parts were stamped.
bool CentreSeconds(const std::vector<const SmsInfo *> &message, long long &centre)
{
    bool any = false;
    long long earliest = 0;
    long long latest = 0;
    for (const SmsInfo *part : message) {
        long long at = 0;
        if (!StampSeconds(part->param.timeStamp, at))
            continue;
        earliest = any ? std::min(earliest, at) : at;
        latest = any ? std::max(latest, at) : at;
        any = true;
    }
    centre = earliest + (latest - earliest) / 2;
    return any;
}

using LongMessages = std::vector<std::vector<const SmsInfo *>>;

// A sender's reference counter comes round again after 255 messages, so one
// storage can hold two messages under one reference, and a part may fit
// more than one of them. The parts of one message arrive within minutes:
// the part joins the message sent closest to it in time. Where the times
// cannot tell (equally close, or a time unreadable), the first of them takes
// it, in the order the messages were begun.
LongMessages::iterator MessageTaking(LongMessages &messages, const SmsInfo &part)
{
    std::vector<LongMessages::iterator> takers;
    for (auto it = messages.begin(); it != messages.end(); ++it)
        if (TakesPart(*it, part))
            takers.push_back(it);
    if (takers.empty())
        return messages.end();
    long long at = 0;
    if (takers.size() == 1 || !StampSeconds(part.param.timeStamp, at))
        return takers.front();
    auto closest = takers.front();
    long long closestDistance = 0;
    for (std::size_t i = 0; i < takers.size(); ++i) {
        long long centre = 0;
        if (!CentreSeconds(*takers[i], centre))
            return takers.front();
        const long long distance = centre > at ? centre - at : at - centre;
        if (i == 0 || distance < closestDistance) {
            closest = takers[i];
            closestDistance = distance;
        }
    }
    return closest;
}

// A part's user data as it stood in the PDU, up to its recorded length or its
// first character that is no hexadecimal digit, in whole octets.
void AppendPartHex(const SM_PARAM &part, std::string &hex)
{
    const int recorded = part.partHexLength;
    const std::size_t limit =
        std::min(recorded > 0 ? static_cast<std::size_t>(recorded) : 0, sizeof part.partHex);
    std::size_t count = 0;
    while (count < limit && IsHexChar(part.partHex[count]))
        ++count;
    hex.append(part.partHex, count - count % 2);
}

// Joined user data of UCS2 parts.
std::string DecodeJoinedHex(const std::string &hex)
{
    std::vector<unsigned char> octets(hex.size() / 2 + 1);
    const int count = gsmString2Bytes(hex.c_str(), octets.data(), static_cast<int>(hex.size()));
    return gsmDecodeNew2(octets.data(), count);
}

// UCS2 parts are joined by their user data before it is decoded, so that a
// character whose octets the sender split between two parts comes out whole.
// Septets, octets and compressed data would turn into nonsense that way,
// whatever class or group their coding names; the decoder has already read
// them after the part's header, so their parts join by that text.
bool JoinsByUserData(const SM_PARAM &part)
{
    return gsmDataCodingAlphabet(part.dataCoding) == SmsAlphabet::Ucs2;
}

// Joins the parts of one message, ordered by part number; the message takes
// the number and time of its last part. Parts that disagree on the coding
// each keep their own: neighbouring UCS2 parts are joined by their user data,
// any other part adds its own text between them.
SmsRecvStruct_t JoinParts(std::vector<const SmsInfo *> parts)
{
    std::stable_sort(parts.begin(), parts.end(),
                     [](const SmsInfo *a, const SmsInfo *b) { return LessLongSms(*a, *b); });
    std::string content;
    std::string hex;
    for (const SmsInfo *part : parts) {
        if (JoinsByUserData(part->param)) {
            AppendPartHex(part->param, hex);
            continue;
        }
        content += DecodeJoinedHex(hex);
        hex.clear();
        content += FieldText(part->param.userText);
    }
    content += DecodeJoinedHex(hex);
    return Received(*parts.back(), content);
}

}  // namespace

std::string CPhoneCardBase::GetReadAllSmsCmd()
{
    return kListAllCmd;
}

COM_CMD_OPERATE_RESULT_t CPhoneCardBase::OnReadAllSmsCmdRsp(std::string reply)
{
    if (Contains(reply, phone_at::kError)) {
        m_strErrorMsg = phone_at::TrimLineEnds(reply);
        return COM_CMD_ERROR;
    }
    // Rebuilt from every longer partial reply; the last call's list stands.
    m_vecUnreadSmsIndex.clear();
    m_vecRecvSms =
        SmsInfoVecToSmsRecvStructVec(SmsRspToSmsInfoVecByTag(reply, kListTag, &m_vecUnreadSmsIndex));
    if (Contains(reply, phone_at::kOk) || Contains(reply, kSmsDone)) {
        m_strErrorMsg = phone_at::TrimLineEnds(reply);
        return COM_CMD_OK;
    }
    if (Contains(reply, kSmsFull)) {
        m_strErrorMsg = phone_at::TrimLineEnds(m_strErrorMsg);
        return COM_CMD_OK;
    }
    return COM_CMD_WAIT;
}

bool CPhoneCardBase::NotFinished()
{
    return false;
}

std::string CPhoneCardBase::GetReadNextSmsCmd()
{
    return kReadNextCmd;
}

int CPhoneCardBase::OnReadNextSmsCmdRsp(std::string reply)
{
    return reply.empty() ? 0 : 1;
}

std::vector<SmsInfo> CPhoneCardBase::SmsRspToSmsInfoVec(const std::string &reply)
{
    return SmsRspToSmsInfoVecByTag(reply, kListTag);
}

std::vector<SmsInfo> CPhoneCardBase::SmsRspToSmsInfoVecByTag(const std::string &reply,
                                                             const char *tag,
                                                             std::vector<std::string> *unread)
{
    const std::vector<std::string> lines = SplitStringToArray(reply);
    std::vector<SmsInfo> records;
    std::size_t i = 0;
    while (i < lines.size()) {
        if (!Contains(lines[i], tag)) {
            ++i;
            continue;
        }
        SmsInfo info;
        info.mode = ModeFromLine(lines[i], tag);
        ++i;
        // Without its PDU line the header is looked at again on the next poll;
        // a bad header leaves the next line to be examined as a header.
        if (info.mode.index < 0 || i >= lines.size())
            continue;
        // Noise or a cut line can cost a header its PDU line. What stands in
        // its place (the next header, the final result, a stray line) is no
        // message: taken for one, it would show an empty message and swallow
        // the real one after it. It is examined as a line of its own.
        if (!IsPduLine(lines[i])) {
            if (unread != nullptr)
                unread->push_back(std::to_string(info.mode.index));
            continue;
        }
        DecodeByStatus(lines[i], info);
        records.push_back(info);
        ++i;
    }
    return records;
}

SmsMode CPhoneCardBase::StrToSmsMode(std::string line)
{
    return ModeFromLine(line, kListTag);
}

std::vector<std::string> CPhoneCardBase::GetUnreadSmsIndices()
{
    return m_vecUnreadSmsIndex;
}

std::vector<SmsRecvStruct_t> CPhoneCardBase::SmsInfoVecToSmsRecvStructVec(
    const std::vector<SmsInfo> &list)
{
    std::vector<SmsInfo> sorted(list);
    std::stable_sort(sorted.begin(), sorted.end(), lessSmsInfo);

    // Short messages go out in storage order, the long ones after them, each
    // gathered from its own parts only: parts of two messages are never joined,
    // whatever their part numbers.
    std::vector<SmsRecvStruct_t> out;
    LongMessages messages;
    for (const SmsInfo &info : sorted) {
        if (!info.param.isLongPart) {
            out.push_back(Received(info, FieldText(info.param.userText)));
            continue;
        }
        const auto taker = MessageTaking(messages, info);
        if (taker == messages.end())
            messages.push_back({&info});
        else
            taker->push_back(&info);
    }
    for (const auto &parts : messages)
        out.push_back(JoinParts(parts));
    return out;
}

std::string CPhoneCardBase::ReceiveTimeToReadStr(const char *digits)
{
    if (!digits || strnlen(digits, kMinTimeStampLength) < kMinTimeStampLength)
        return std::string();
    const std::string d(digits, kMinTimeStampLength - 1);
    return d.substr(0, 2) + "-" + d.substr(2, 2) + "-" + d.substr(4, 2) + " " + d.substr(6, 2) +
           ":" + d.substr(8, 2) + ":" + d.substr(10, 2);
}

void PrintRecvSmsList(const std::vector<SmsRecvStruct_t> &messages)
{
    const std::string divider(kDividerWidth, '-');
    std::size_t ordinal = 0;
    // Sender, time and text are whatever a stranger's SMS carried: never let
    // them reach the terminal as control sequences. Only the text may have
    // lines of its own.
    for (const SmsRecvStruct_t &sms : messages) {
        std::cout << divider << "\n"
                  << " 第 " << ++ordinal << " 条短信\n"
                  << "发送号码: " << MakePrintableText(sms.number, PrintableLayout::SingleLine) << "\n"
                  << "发送时间: " << MakePrintableText(sms.time, PrintableLayout::SingleLine) << "\n"
                  << "短信内容: " << MakePrintableText(sms.content, PrintableLayout::MultiLine)
                  << "\n";
    }
    std::cout << divider << std::endl;
}

void CPhoneCardBase::PrintRecvSms()
{
    PrintRecvSmsList(m_vecRecvSms);
}

bool IsHexChar(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

bool IsPduLine(const std::string &line)
{
    const std::string pdu = WithoutTrailingCr(line);
    return !pdu.empty() && std::all_of(pdu.begin(), pdu.end(), IsHexChar);
}

bool lessSmsInfo(const SmsInfo &a, const SmsInfo &b)
{
    if (a.param.groupRef != b.param.groupRef)
        return a.param.groupRef < b.param.groupRef;
    if (a.mode.index != b.mode.index)
        return a.mode.index < b.mode.index;
    return a.param.partNumber < b.param.partNumber;
}

bool LessLongSms(const SmsInfo &a, const SmsInfo &b)
{
    return a.param.partNumber < b.param.partNumber;
}
