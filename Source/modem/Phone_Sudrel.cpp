#include "Phone_Sudrel.h"

#include <algorithm>
#include <cstdio>
#include <utility>

#include "PhoneAtText.h"
#include "PhoneModels.h"
#include "StringUtil.h"
#include "Ucs2Units.h"

namespace {

constexpr const char *kMessageParamsCmd = "AT^HSMSSS=0,0,6,0\r\n";
constexpr const char *kSmsCenterStandInCmd = "AT\r";
constexpr const char *kListAllCmd = "AT^HCMGL=4\r\n";
constexpr const char *kFetchCmd = "AT^HCMGR=";
constexpr const char *kRssiReportsOffCmd = "AT^RSSIREP=0\r\n";

constexpr const char *kSentTag = "HCMGSS";
constexpr const char *kSendFailedTag = "HCMGSF";
constexpr const char *kListTag = "^HCMGL:";
constexpr const char *kFetchHeaderTag = "^HCMGR:";

// Header fields of a fetched message, from the sender on.
constexpr std::size_t kFieldNumber = 0;
constexpr std::size_t kFieldYear = 1;
constexpr std::size_t kFieldEncoding = 8;
constexpr const char *kEncodingText = "1";
constexpr const char *kEncodingUcs2 = "6";
// A text line without its terminator: the Ctrl-Z and the CR end it.
constexpr std::size_t kTextLineEndLength = 2;

// A part carries at most this many bytes: text, marker and terminator.
constexpr std::size_t kMaxPartBytes = 140;
// Text bytes per part when the marker has five characters: 140 less 12 bytes
// for the marker and the terminator.
constexpr std::size_t kTextBytesPerPart = 128;
constexpr const char *kPartMarkerFormat = "(%d/%d)";
// Each round can only raise the total, and it settles within a few.
constexpr int kMaxTotalRounds = 16;

const std::string kPayloadEnd("\0\x1A", 2);

std::string SendCmd(const std::string &number)
{
    return "AT^HCMGS=\"" + number + "\"\r";
}

std::string Ucs2Bytes(const std::string &text)
{
    std::vector<unsigned char> octets((text.size() + 2) * 2);
    const int count = gsmEncodeUcs2(text.c_str(), octets.data(), static_cast<int>(text.size()));
    return std::string(reinterpret_cast<const char *>(octets.data()), count > 0 ? count : 0);
}

std::string DecodeUcs2(const std::string &bytes)
{
    std::vector<char> text((bytes.size() + 2) * 2);
    const int count = gsmDecodeUcs2(reinterpret_cast<const unsigned char *>(bytes.data()),
                                    text.data(), static_cast<int>(bytes.size()));
    return std::string(text.data(), count > 0 ? count : 0);
}

std::string PartMarker(int part, int total)
{
    char marker[32];
    std::snprintf(marker, sizeof marker, kPartMarkerFormat, part, total);
    return Ucs2Bytes(marker);
}

std::size_t PartRoom(int part, int total)
{
    return kMaxPartBytes - PartMarker(part, total).size() - kPayloadEnd.size();
}

// Where the text of a part that starts at `done` ends. A part that would end
// on the first half of a surrogate pair ends one unit earlier: the phone
// shows each part on its own, and a pair cut in two is two broken characters.
std::size_t PieceEnd(const std::string &ucs2, std::size_t done, int part, int total)
{
    return pdutext::Ucs2PartEnd(reinterpret_cast<const unsigned char *>(ucs2.data()), ucs2.size(), done,
                                PartRoom(part, total));
}

int PartsNeeded(const std::string &ucs2, int total)
{
    int parts = 0;
    for (std::size_t done = 0; done < ucs2.size(); done = PieceEnd(ucs2, done, parts, total))
        ++parts;
    return parts;
}

// The number of parts written into every marker. A pair kept whole can leave
// a part short, and from ten parts on the markers outgrow the room kept for
// them, so the total is raised until it counts the parts as they are cut.
int PartTotal(const std::string &ucs2)
{
    int total = static_cast<int>((ucs2.size() + kTextBytesPerPart - 1) / kTextBytesPerPart);
    for (int round = 0; round < kMaxTotalRounds; ++round) {
        const int needed = PartsNeeded(ucs2, total);
        if (needed <= total)
            break;
        total = needed;
    }
    return total;
}

std::size_t AfterLineEnd(const std::string &reply, std::size_t from)
{
    const std::size_t lf = reply.find(phone_at::kLf, from);
    return lf == std::string::npos ? reply.size() : lf + 1;
}

void TakeHeader(std::string line, SmsRecvStruct_t &sms, std::string &encoding)
{
    line = WithoutTrailingCr(line);
    const std::size_t tag = line.find(kFetchHeaderTag);
    const std::vector<std::string> f =
        SplitStringByChar(line.substr(tag + std::char_traits<char>::length(kFetchHeaderTag)), ',');
    if (f.size() <= kFieldEncoding)
        return;
    const std::size_t y = kFieldYear;
    sms.number = f[kFieldNumber];
    sms.time = f[y] + "-" + f[y + 1] + "-" + f[y + 2] + " " + f[y + 3] + ":" + f[y + 4] + ":" +
               f[y + 5];
    encoding = f[kFieldEncoding];
}

// The text after a header, up to its terminator. Raw UCS2 can hold bytes of
// value 0x0A and 0x0D (as in U+4E0A), and a plain text can span lines, so the
// text is read from the reply itself rather than line by line. False when no
// terminator has been found before the next message's header.
bool TakeBody(const std::string &reply, std::size_t start, const std::string &encoding,
              std::string &content, std::size_t &next)
{
    const std::size_t limit = std::min(reply.find(kFetchHeaderTag, start), reply.size());
    if (encoding == kEncodingUcs2) {
        for (std::size_t i = start; i + 1 < limit; i += 2) {
            if (reply[i] == kPayloadEnd[0] && reply[i + 1] == kPayloadEnd[1]) {
                const std::string text = DecodeUcs2(reply.substr(start, i - start));
                if (!text.empty())
                    content = text;
                next = AfterLineEnd(reply, i + 2);
                return true;
            }
        }
        return false;
    }
    if (encoding == kEncodingText) {
        const std::size_t end = reply.find(phone_at::kCtrlZ, start);
        if (end >= limit)
            return false;
        content = reply.substr(start, end - start);
        next = AfterLineEnd(reply, end + 1);
        return true;
    }
    return false;
}

// A text line whose terminator did not come where it was looked for.
void TakeTextLine(const std::string &line, const std::string &encoding, std::string &content)
{
    if (encoding == kEncodingText) {
        content = line.substr(0, line.size() - kTextLineEndLength);
    } else if (encoding == kEncodingUcs2) {
        const std::string text = DecodeUcs2(line);
        if (text.size() > 1)
            content = text.substr(0, text.size() - 1);
    }
}

}  // namespace

CPhone_Sudrel::CPhone_Sudrel() : CPhoneCardBase(FindPhoneModel(PHONE_TYPE_SUDREL))
{
}

std::string CPhone_Sudrel::SetSmsPDUModeCmd()
{
    return kMessageParamsCmd;
}

COM_CMD_OPERATE_RESULT_t CPhone_Sudrel::OnSendPduSmsContextCmdRsp(std::string reply)
{
    for (const std::string &line : SplitStringToArray(reply)) {
        if (Contains(line, kSentTag))
            return COM_CMD_OK;
        if (Contains(line, phone_at::kError) || Contains(line, kSendFailedTag)) {
            m_strErrorMsg = phone_at::TrimLineEnds(line);
            return COM_CMD_ERROR;
        }
    }
    return COM_CMD_WAIT;
}

COM_CMD_OPERATE_RESULT_t CPhone_Sudrel::OnGetIMSI_CmdRsp(std::string reply)
{
    return JudgeCcidReply(reply, ErrorCounts::OnceItsLineEnded);
}

std::string CPhone_Sudrel::GetQuerySmsCenterCmd()
{
    return kSmsCenterStandInCmd;
}

std::string CPhone_Sudrel::GetReadAllSmsCmd()
{
    return kListAllCmd;
}

COM_CMD_OPERATE_RESULT_t CPhone_Sudrel::OnReadAllSmsCmdRsp(std::string reply)
{
    m_vecRecvSms.clear();
    m_vecUnreadSmsIndex.clear();
    // Listed only once complete: a listing taken from half a reply would lose
    // messages and still report the storage as read.
    const COM_CMD_OPERATE_RESULT_t result = OnOkErrorRsp(reply);
    if (result != COM_CMD_OK)
        return result;
    for (const std::string &line : SplitStringToArray(reply)) {
        const std::size_t tag = line.find(kListTag);
        if (tag == std::string::npos)
            continue;
        const std::size_t indexStart = tag + std::char_traits<char>::length(kListTag);
        const std::size_t comma = line.find(',', indexStart - 1);
        if (comma == std::string::npos)
            continue;
        SmsMode mode;
        mode.index = ReadInt(line.substr(indexStart, comma - indexStart));
        mode.stat = ReadInt(line.substr(comma + 1, 1));
        m_vecSmsMode.push_back(mode);
    }
    return COM_CMD_OK;
}

bool CPhone_Sudrel::NotFinished()
{
    return !m_vecSmsMode.empty();
}

std::string CPhone_Sudrel::GetReadNextSmsCmd()
{
    if (!NotFinished())
        return std::string();
    char index[32] = {};
    std::snprintf(index, sizeof index, "%d\r\n", m_vecSmsMode.front().index);
    m_fetchIndex = m_vecSmsMode.front().index;
    m_vecSmsMode.erase(m_vecSmsMode.begin());
    return std::string(kFetchCmd) + index;
}

int CPhone_Sudrel::OnReadNextSmsCmdRsp(std::string reply)
{
    // The index was listed: a fetch that brings no whole message from it is
    // told, never passed over as if the entry were not there.
    const std::optional<int> fetched = std::exchange(m_fetchIndex, std::nullopt);
    const std::size_t received = m_vecRecvSms.size();
    const int result = TakeFetchedMessages(reply);
    if (fetched && m_vecRecvSms.size() == received)
        m_vecUnreadSmsIndex.push_back(std::to_string(*fetched));
    return result;
}

int CPhone_Sudrel::TakeFetchedMessages(const std::string &reply)
{
    if (!Contains(reply, phone_at::kOk))
        return 0;
    SmsRecvStruct_t sms;
    std::string encoding;
    std::size_t pos = 0;
    std::size_t lf;
    while ((lf = reply.find(phone_at::kLf, pos)) != std::string::npos) {
        const std::string line = reply.substr(pos, lf - pos);
        std::size_t next = lf + 1;
        if (line.empty()) {
            pos = next;
            continue;
        }
        if (Contains(line, kFetchHeaderTag)) {
            TakeHeader(line, sms, encoding);
            TakeBody(reply, next, encoding, sms.content, next);
        } else if (Contains(line, phone_at::kOk)) {
            break;
        } else if (line.size() >= kTextLineEndLength) {
            TakeTextLine(line, encoding, sms.content);
        }
        if (sms.IsOk()) {
            m_vecRecvSms.push_back(sms);
            sms.Reset();
        }
        pos = next;
    }
    return 1;
}

PHONE_TYPE_t CPhone_Sudrel::GetPhoneType()
{
    return PHONE_TYPE_SUDREL;
}

std::vector<std::string> CPhone_Sudrel::GetInitAtCmd()
{
    return InitAtCmdsWith(kRssiReportsOffCmd);
}

std::vector<PDU_LONG_SMS_Base_t> CPhone_Sudrel::GetSendSmsModePDUCmd(std::string number,
                                                                     std::string text)
{
    m_strSendCmd = SendCmd(number);
    m_strSendContent = Ucs2Bytes(text) + kPayloadEnd;
    PDU_LONG_SMS_Base_t step;
    step.cmd = m_strSendCmd;
    step.pdu = m_strSendContent;
    return {step};
}

std::vector<std::string> CPhone_Sudrel::SplitUcs2IntoParts(const std::string &ucs2)
{
    const int total = PartTotal(ucs2);
    std::vector<std::string> payloads;
    std::size_t done = 0;
    for (int part = 1; done < ucs2.size(); ++part) {
        const std::size_t end = PieceEnd(ucs2, done, part, total);
        payloads.push_back(ucs2.substr(done, end - done) + PartMarker(part, total) + kPayloadEnd);
        done = end;
    }
    return payloads;
}

std::vector<PDU_LONG_SMS_Base_t> CPhone_Sudrel::GetSendLongPduSmsCmd(std::string number,
                                                                     std::string text)
{
    const std::string cmd = SendCmd(number);
    std::vector<PDU_LONG_SMS_Base_t> steps;
    for (const std::string &payload : SplitUcs2IntoParts(Ucs2Bytes(text))) {
        PDU_LONG_SMS_Base_t step;
        step.cmd = cmd;
        step.pdu = payload;
        steps.push_back(step);
    }
    return steps;
}
