#include "Phone_Velkor_NC5.h"

#include <utility>

#include "PhoneAtText.h"
#include "PhoneModels.h"
#include "StringUtil.h"

namespace {
constexpr const char *kStoredIndexTag = "+CMGW: ";
constexpr const char *kCompatibleModeCmd = "AT+ATVER=1\r";
constexpr const char *kIndexListCmd = "AT+CMGD=?\r\n";
constexpr const char *kFetchCmd = "AT+CMGR=";
constexpr const char *kFetchLineEnd = "\r\n";
// Matches the "+CMGR: " header of a fetched message.
constexpr const char *kFetchHeaderTag = "CMGR";
constexpr const char *kFetchListTag = "+CMGR: ";
// A fetched message is decoded as a received one, whatever it is.
constexpr int kFetchedIndex = 1;
constexpr int kFetchedStat = 1;
}  // namespace

CPhone_Velkor_NC5::CPhone_Velkor_NC5() : CPhoneCardBase(FindPhoneModel(PHONE_TYPE_VELKOR_NC5))
{
}

bool CPhone_Velkor_NC5::IsATI_RspMatch(std::string reply)
{
    return CPhoneCardBase::IsATI_RspMatch(reply) && Contains(reply, phone_at::kOk);
}

COM_CMD_OPERATE_RESULT_t CPhone_Velkor_NC5::OnSetSmsPduModeCmdRsp(std::string reply)
{
    // The module reports a storage index instead of a plain OK.
    const std::size_t tag = reply.find(kStoredIndexTag);
    if (tag != std::string::npos && reply.find(phone_at::kCr, tag) != std::string::npos)
        return COM_CMD_OK;
    return CPhoneCardBase::OnSetSmsPduModeCmdRsp(reply);
}

COM_CMD_OPERATE_RESULT_t CPhone_Velkor_NC5::OnGetQuerySmsCenterCmdRsp(std::string reply)
{
    if (CPhoneCardBase::OnGetQuerySmsCenterCmdRsp(reply) == COM_CMD_WAIT)
        return COM_CMD_WAIT;
    return COM_CMD_OK;
}

std::string CPhone_Velkor_NC5::GetRecvSmsCompatibleModeCmd()
{
    return kCompatibleModeCmd;
}

std::string CPhone_Velkor_NC5::GetReadAllSmsCmd()
{
    return kIndexListCmd;
}

COM_CMD_OPERATE_RESULT_t CPhone_Velkor_NC5::OnReadAllSmsCmdRsp(std::string reply)
{
    if (!Contains(reply, phone_at::kOk))
        return OnOkErrorRsp(reply);
    // A pass reports only what it fetches itself.
    m_vecSmsInfo.clear();
    m_vecRecvSms.clear();
    m_vecUnreadSmsIndex.clear();
    const std::size_t open = reply.find('(');
    const std::size_t close = reply.find(')');
    if (open == std::string::npos || close == std::string::npos)
        return COM_CMD_OK;
    const std::size_t length = close > open ? close - open - 1 : std::string::npos;
    // Pieces are sent back as the module wrote them: ranges and blanks too.
    m_vecSmsIndex = SplitStringByChar(reply.substr(open + 1, length), ',');
    return COM_CMD_OK;
}

bool CPhone_Velkor_NC5::NotFinished()
{
    return !m_vecSmsIndex.empty();
}

std::string CPhone_Velkor_NC5::GetReadNextSmsCmd()
{
    if (!NotFinished())
        return std::string();
    m_fetchIndex = m_vecSmsIndex.front();
    const std::string cmd = kFetchCmd + *m_fetchIndex + kFetchLineEnd;
    m_vecSmsIndex.erase(m_vecSmsIndex.begin());
    return cmd;
}

int CPhone_Velkor_NC5::OnReadNextSmsCmdRsp(std::string reply)
{
    // The index was listed as in use: a fetch that brings no message from it
    // is told, never passed over as if the entry were not there.
    const std::optional<std::string> fetched = std::exchange(m_fetchIndex, std::nullopt);
    const std::size_t collected = m_vecSmsInfo.size();
    const int result = TakeFetchedMessage(reply);
    if (fetched && m_vecSmsInfo.size() == collected)
        m_vecUnreadSmsIndex.push_back(*fetched);
    return result;
}

int CPhone_Velkor_NC5::TakeFetchedMessage(const std::string &reply)
{
    if (!Contains(reply, phone_at::kOk))
        return 0;
    const std::vector<std::string> lines = SplitStringToArray(reply);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (!Contains(lines[i], kFetchHeaderTag))
            continue;
        // Only a PDU line is a message: a lost one leaves the final result,
        // or a stray line, after the header.
        if (i + 1 < lines.size() && IsPduLine(lines[i + 1])) {
            SmsInfo info;
            info.mode.index = kFetchedIndex;
            info.mode.stat = kFetchedStat;
            gsmDecodePdu(WithoutTrailingCr(lines[i + 1]).c_str(), &info.param);
            m_vecSmsInfo.push_back(info);
            // The pass may end before its last index: the read flow bounds
            // its fetches, and the module may refuse an index. The list is
            // built anew from all that was fetched, so each fetch leaves it
            // whole, long messages joined and nothing counted twice.
            m_vecRecvSms = SmsInfoVecToSmsRecvStructVec(m_vecSmsInfo);
        }
        break;
    }
    return 1;
}

PHONE_TYPE_t CPhone_Velkor_NC5::GetPhoneType()
{
    return PHONE_TYPE_VELKOR_NC5;
}

bool CPhone_Velkor_NC5::IsSmsCenterQueryOptional()
{
    return true;
}

std::vector<SmsInfo> CPhone_Velkor_NC5::SmsRspToSmsInfoVecNew(const std::string &reply)
{
    return SmsRspToSmsInfoVecByTag(reply, kFetchListTag);
}
