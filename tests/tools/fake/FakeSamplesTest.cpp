// The sample stores as the program's own decoder reads them: the fakes'
// PDU builder and the codec check each other.
#include <algorithm>
#include <cstring>

#include <gtest/gtest.h>

#include "FakeSamples.h"
#include "FakeSmsPdu.h"
#include "PduCodec.h"

namespace {
std::string Digits(const std::string &number)
{
    return !number.empty() && number[0] == '+' ? number.substr(1) : number;
}

TEST(FakeSamplesTest, TheCodecReadsEverySampleAsStored)
{
    for (const StoredMessage &m : SampleStoredMessages()) {
        const std::string pdu = BuildStoredPdu(m, "+8613800100500");
        SM_PARAM p;
        std::memset(&p, 0, sizeof p);
        if (m.stat == 0 || m.stat == 1)
            gsmDecodePdu(pdu.c_str(), &p);
        else
            gsmDecodeSendPdu(pdu.c_str(), &p);
        SCOPED_TRACE(m.store + std::to_string(m.index) + " " + pdu);
        EXPECT_STREQ(p.smsCenter, "8613800100500");
        EXPECT_EQ(p.peerNumber, Digits(m.sender));
        EXPECT_EQ(p.dataCoding, m.coding == "7bit" ? 0 : 8);
        EXPECT_EQ(p.userText, m.text);
        if (m.stat == 0 || m.stat == 1) {
            EXPECT_EQ(p.timeStamp, m.time + "32");  // +8 h: 32 quarter hours
        }
        if (m.concatRef >= 0) {
            EXPECT_TRUE(p.isLongPart);
            EXPECT_EQ(p.groupRef, m.concatRef);
            EXPECT_EQ(p.groupTotal, m.concatTotal);
            EXPECT_EQ(p.partNumber, m.concatSeq);
            EXPECT_EQ(p.partHex, HexEncode(Utf8ToUcs2(m.text)));
        } else if (m.stat == 0 || m.stat == 1) {
            EXPECT_FALSE(p.isLongPart);
        }
    }
}

TEST(FakeSamplesTest, SamplesCoverWhatTheReadFlowMeets)
{
    const std::vector<StoredMessage> s = SampleStoredMessages();
    auto count = [&](auto pred) { return std::count_if(s.begin(), s.end(), pred); };
    EXPECT_GT(count([](const StoredMessage &m) { return m.store == "SM"; }), 0);
    EXPECT_GT(count([](const StoredMessage &m) { return m.store == "ME"; }), 0);
    EXPECT_GT(count([](const StoredMessage &m) { return m.coding == "7bit"; }), 0);
    EXPECT_EQ(count([](const StoredMessage &m) { return m.concatRef == 21; }), 2);
    EXPECT_EQ(count([](const StoredMessage &m) { return m.concatRef == 42; }), 3);
    // Out of order: the part stored at the lowest index is not the first.
    for (int ref : {21, 42}) {
        const StoredMessage *first = nullptr;
        for (const StoredMessage &m : s)
            if (m.concatRef == ref && (!first || m.index < first->index))
                first = &m;
        ASSERT_NE(first, nullptr);
        EXPECT_NE(first->concatSeq, 1) << ref;
    }
}
}  // namespace
