#include "FakeSamples.h"

namespace {
StoredMessage Message(const char *store, int index, int stat, const char *sender, const char *time,
                      const char *text, const char *coding = "ucs2")
{
    StoredMessage m;
    m.store = store;
    m.index = index;
    m.stat = stat;
    m.sender = sender;
    m.time = time;
    m.text = text;
    m.coding = coding;
    return m;
}

StoredMessage Part(StoredMessage m, int ref, int total, int seq)
{
    m.concatRef = ref;
    m.concatTotal = total;
    m.concatSeq = seq;
    return m;
}

FakeConfig Fake(FakeModel model)
{
    FakeConfig c;
    c.model = model;
    return c;
}
}  // namespace

std::vector<StoredMessage> SampleStoredMessages()
{
    const char *bank = "+8613800138000";
    return {
        Message("SM", 1, 1, bank, "190801120504", "你好，这是一条测试短信。"),
        Message("SM", 2, 0, "10086", "190802083015", "Hello from the fake modem", "7bit"),
        // Two parts, the second stored first.
        Part(Message("SM", 3, 1, bank, "190803101500", "后半部分到此结束。"), 21, 2, 2),
        Part(Message("SM", 5, 1, bank, "190803101458", "这是一条长短信的前半部分，"), 21, 2, 1),
        // Three parts, stored 3, 1, 2.
        Part(Message("ME", 0, 1, "+8613912345678", "190804180002", "part three of three."), 42, 3, 3),
        Part(Message("ME", 1, 1, "+8613912345678", "190804180000", "Part one of three, "), 42, 3, 1),
        Part(Message("ME", 2, 0, "+8613912345678", "190804180001", "part two of three, "), 42, 3, 2),
        Message("ME", 3, 3, "10086", "", "查询余额"),
        Message("ME", 4, 1, "+8615800000001", "190805090909", "设备存储中的短信"),
    };
}

std::vector<StoredMessage> SampleStoredMessagesWithLostPduLines()
{
    std::vector<StoredMessage> messages = SampleStoredMessages();
    for (StoredMessage &m : messages)
        m.pduLineLost = (m.store == "SM" && m.index == 2) || (m.store == "ME" && m.index == 4);
    return messages;
}

std::string ManyStoredText(int n)
{
    // Characters, not bytes: the message is UCS2, one unit each.
    const char *const filler[] = {"验", "证", "码", "已", "发", "送", "请", "查", "收"};
    std::string text = "第" + std::to_string(n) + "条:";
    int length = 1 + static_cast<int>(std::to_string(n).size()) + 2;
    for (int i = 0; length < kManyStoredTextLength; ++i, ++length)
        text += filler[i % (sizeof filler / sizeof filler[0])];
    return text;
}

PhonebookEntry UserContactInEntryOne()
{
    PhonebookEntry e;
    e.store = "ME";
    e.index = 1;
    e.number = "13912345678";
    e.text = "Li Lei";
    return e;
}

std::string LongChineseText(int characters)
{
    const std::string phrase = "北京欢迎您短信";
    const std::size_t bytes = static_cast<std::size_t>(characters) * 3;
    std::string text;
    while (text.size() < bytes)
        text += phrase;
    return text.substr(0, bytes);
}

std::vector<StoredMessage> ManyStoredMessages(int count)
{
    std::vector<StoredMessage> messages;
    for (int n = 1; n <= count; ++n)
        messages.push_back(Message("SM", n, 1, "+8613800138000", "190801120504", ManyStoredText(n).c_str()));
    return messages;
}

FakeConfig BridgedFullSim(int count)
{
    FakeConfig c = Fake(FakeModel::Tarnel);
    c.baud = FakeBaud::Only115200;
    c.uartBridge = true;
    c.messages = ManyStoredMessages(count);
    return c;
}

std::vector<StoredMessage> SampleCdmaMessages()
{
    return {
        Message("SM", 0, 1, "13800138000", "190605102232", "Hello", "7bit"),
        Message("SM", 1, 0, "10086", "190606110000", "你好，CDMA"),
        Message("ME", 0, 1, "13912345678", "190607120000", "设备中的短信"),
    };
}

std::vector<FakeConfig> SampleFakes()
{
    FakeConfig tarnel = Fake(FakeModel::Tarnel);
    tarnel.messages = SampleStoredMessages();
    FakeConfig nc5 = Fake(FakeModel::VelkorNc5);
    nc5.messages = SampleStoredMessages();
    FakeConfig me = Fake(FakeModel::VelkorMe);
    me.baud = FakeBaud::Only115200;
    FakeConfig sudrel = Fake(FakeModel::Sudrel);
    sudrel.messages = SampleCdmaMessages();
    return {tarnel, nc5, me, sudrel, Fake(FakeModel::Pimsor), Fake(FakeModel::Orvast),
            Fake(FakeModel::UnknownAti), Fake(FakeModel::Silent)};
}
