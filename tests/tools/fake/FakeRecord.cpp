#include "FakeRecord.h"

#include <json/json.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <sstream>

#include "FakeSmsPdu.h"
#include "PduCodec.h"

namespace {
constexpr int kMtiMask = 0x03;
constexpr int kMtiSubmit = 0x01;
constexpr int kUdhiBit = 0x40;
constexpr int kIeiConcat8 = 0x00;
constexpr int kIeiConcat16 = 0x08;
constexpr int kDcsGsm7 = 0x00;
constexpr int kDcsData = 0x04;
constexpr int kDcsUcs2 = 0x08;

// A bounded cursor over the octets of a TPDU: every read checks what is left.
class OctetCursor {
public:
    explicit OctetCursor(const std::string &bytes) : m_bytes(bytes) {}
    bool Read(int *value)
    {
        if (m_pos >= m_bytes.size())
            return false;
        *value = static_cast<unsigned char>(m_bytes[m_pos++]);
        return true;
    }
    bool Skip(std::size_t n)
    {
        if (m_bytes.size() - m_pos < n)
            return false;
        m_pos += n;
        return true;
    }
    std::string Rest() const { return m_bytes.substr(m_pos); }

private:
    const std::string &m_bytes;
    std::size_t m_pos = 0;
};

int ValidityOctets(int firstOctet)
{
    switch ((firstOctet >> 3) & 0x03) {
    case 0: return 0;   // not present
    case 2: return 1;   // relative
    default: return 7;  // enhanced or absolute
    }
}

// Reads the concatenation element of a user-data header; returns the octets
// of header (length octet included), or -1 when the header overruns the data.
int ReadConcatHeader(const std::string &ud, DecodedSubmission *d)
{
    if (ud.empty())
        return -1;
    const int udhl = static_cast<unsigned char>(ud[0]);
    if (static_cast<std::size_t>(udhl) + 1 > ud.size())
        return -1;
    int pos = 1;
    while (pos + 2 <= udhl + 1) {
        const int iei = static_cast<unsigned char>(ud[static_cast<std::size_t>(pos)]);
        const int len = static_cast<unsigned char>(ud[static_cast<std::size_t>(pos) + 1]);
        const int data = pos + 2;
        if (data + len > udhl + 1)
            return -1;
        auto at = [&](int k) { return static_cast<unsigned char>(ud[static_cast<std::size_t>(data + k)]); };
        if (iei == kIeiConcat8 && len == 3) {
            d->concatRef = at(0);
            d->concatTotal = at(1);
            d->concatSeq = at(2);
        } else if (iei == kIeiConcat16 && len == 4) {
            d->concatRef = at(0) << 8 | at(1);
            d->concatTotal = at(2);
            d->concatSeq = at(3);
        }
        pos = data + len;
    }
    return udhl + 1;
}

std::string DecodeText(int coding, const std::string &octets)
{
    const auto *p = reinterpret_cast<const unsigned char *>(octets.data());
    const int n = static_cast<int>(octets.size());
    if (coding == kDcsData)
        return octets;
    if (coding == kDcsGsm7) {
        std::string out(static_cast<std::size_t>(GSM_7BIT_TEXT_BYTES_PER_SEPTET * (n + n / 7) + 1), '\0');
        const int written = gsmDecode7bit(p, &out[0], n);
        out.resize(static_cast<std::size_t>(written > 0 ? written : 0));
        return out;
    }
    return gsmDecodeNew2(p, n);
}

void DecodePduSubmission(const FakeSubmission &s, DecodedSubmission *d)
{
    const std::size_t eq = s.command.find('=');
    if (eq != std::string::npos)
        d->declaredLength = std::atoi(s.command.c_str() + eq + 1);
    d->tpduLength = TpduOctets(s.body);
    std::string bytes;
    if (!HexDecode(s.body, &bytes) || d->tpduLength < 0) {
        d->error = "body is not a PDU in hex";
        return;
    }
    OctetCursor c(bytes);
    int smscOctets = 0, first = 0, daDigits = 0, ignored = 0, udl = 0;
    if (!c.Read(&smscOctets) || !c.Skip(static_cast<std::size_t>(smscOctets)) || !c.Read(&first) ||
        !c.Read(&ignored) || !c.Read(&daDigits) ||
        !c.Skip(1 + static_cast<std::size_t>(daDigits + 1) / 2) || !c.Read(&ignored) ||
        !c.Read(&d->coding) || !c.Skip(static_cast<std::size_t>(ValidityOctets(first))) ||
        !c.Read(&udl)) {
        d->error = "PDU ends inside its header";
        return;
    }
    if ((first & kMtiMask) != kMtiSubmit) {
        d->error = "not an SMS-SUBMIT";
        return;
    }

    SM_PARAM param;
    std::memset(&param, 0, sizeof param);
    gsmDecodeSendPdu(s.body.c_str(), &param);
    d->smsc = param.smsCenter;
    d->destination = param.peerNumber;

    std::string ud = c.Rest();
    int headerOctets = 0;
    if (first & kUdhiBit) {
        headerOctets = ReadConcatHeader(ud, d);
        if (headerOctets < 0) {
            d->error = "user-data header overruns the PDU";
            return;
        }
    }
    if (headerOctets == 0 && d->coding == param.dataCoding) {
        d->text = param.userText;
    } else if (d->coding == kDcsGsm7) {
        // The header occupies whole septets, fill bits included.
        const std::string all = DecodeText(kDcsGsm7, ud);
        const std::size_t headerSeptets = static_cast<std::size_t>((headerOctets * 8 + 6) / 7);
        d->text = all.size() > headerSeptets ? all.substr(headerSeptets) : std::string();
        const std::size_t septets = static_cast<std::size_t>(udl) > headerSeptets ? udl - headerSeptets : 0;
        if (d->text.size() > septets)
            d->text.resize(septets);
    } else {
        d->text = DecodeText(d->coding, ud.substr(static_cast<std::size_t>(headerOctets)));
    }
    d->ok = true;
}

void DecodeCdmaSubmission(const FakeSubmission &s, DecodedSubmission *d)
{
    const std::size_t open = s.command.find('"');
    const std::size_t close = open == std::string::npos ? open : s.command.find('"', open + 1);
    if (close != std::string::npos)
        d->destination = s.command.substr(open + 1, close - open - 1);
    std::string bytes;
    if (!HexDecode(s.body, &bytes)) {
        d->error = "body is not hex";
        return;
    }
    d->coding = kDcsUcs2;
    if (bytes.size() >= 2 && bytes[bytes.size() - 2] == '\0' && bytes[bytes.size() - 1] == '\x1A')
        bytes.resize(bytes.size() - 2);
    d->tpduLength = static_cast<int>(bytes.size());
    d->text = gsmDecodeNew2(reinterpret_cast<const unsigned char *>(bytes.data()),
                            static_cast<int>(bytes.size()));
    // A long text goes out in parts that end in "(k/n)".
    const std::size_t markOpen = d->text.rfind('(');
    int seq = 0, total = 0;
    char tail = 0;
    if (markOpen != std::string::npos &&
        std::sscanf(d->text.c_str() + markOpen, "(%d/%d%c", &seq, &total, &tail) == 3 && tail == ')' &&
        d->text.size() == d->text.find(')', markOpen) + 1) {
        d->concatSeq = seq;
        d->concatTotal = total;
    }
    d->ok = true;
}

std::string ToLine(const Json::Value &v)
{
    Json::StreamWriterBuilder b;
    b["indentation"] = "";
    b["emitUTF8"] = true;
    return Json::writeString(b, v) + "\n";
}
}  // namespace

std::vector<std::string> FakeRecord::CommandTexts() const
{
    std::vector<std::string> out;
    for (const FakeCommandEvent &e : commands)
        out.push_back(e.text);
    return out;
}

std::vector<std::string> FakeRecord::CommandsStartingWith(const std::string &prefix) const
{
    std::vector<std::string> out;
    for (const FakeCommandEvent &e : commands)
        if (e.text.compare(0, prefix.size(), prefix) == 0)
            out.push_back(e.text);
    return out;
}

DecodedSubmission DecodeSubmission(const FakeSubmission &submission)
{
    DecodedSubmission d;
    if (submission.cdma)
        DecodeCdmaSubmission(submission, &d);
    else
        DecodePduSubmission(submission, &d);
    return d;
}

JoinedParts JoinCdmaParts(const std::vector<DecodedSubmission> &parts)
{
    JoinedParts joined;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        const std::string &text = parts[i].text;
        const std::string marker = "(" + std::to_string(i + 1) + "/" + std::to_string(parts.size()) + ")";
        if (text.size() < marker.size() || text.compare(text.size() - marker.size(), marker.size(), marker) != 0) {
            joined.error = "part " + std::to_string(i + 1) + " does not end in " + marker + ": " + text;
            return joined;
        }
        joined.text += text.substr(0, text.size() - marker.size());
    }
    joined.ok = true;
    return joined;
}

std::string CommandEventToJsonLine(const FakeCommandEvent &e)
{
    Json::Value v;
    v["command"] = e.text;
    v["baud"] = e.baud;
    v["answered"] = e.answered;
    return ToLine(v);
}

std::string SubmissionToJsonLine(const FakeSubmission &s)
{
    Json::Value v;
    v["submission"] = s.command;
    v["cdma"] = s.cdma;
    v["body"] = s.body;
    v["baud"] = s.baud;
    v["accepted"] = s.accepted;
    v["refusal"] = s.refusal;
    return ToLine(v);
}

FakeRecord ParseRecordLines(const std::string &text)
{
    FakeRecord record;
    std::istringstream in(text);
    std::string line;
    Json::CharReaderBuilder b;
    std::unique_ptr<Json::CharReader> reader(b.newCharReader());
    while (std::getline(in, line)) {
        Json::Value v;
        std::string errors;
        if (line.empty() || !reader->parse(line.data(), line.data() + line.size(), &v, &errors) ||
            !v.isObject())
            continue;
        if (v.isMember("command")) {
            FakeCommandEvent e;
            e.text = v["command"].asString();
            e.baud = v["baud"].asInt();
            e.answered = v["answered"].asBool();
            record.commands.push_back(e);
        } else if (v.isMember("submission")) {
            FakeSubmission s;
            s.command = v["submission"].asString();
            s.cdma = v["cdma"].asBool();
            s.body = v["body"].asString();
            s.baud = v["baud"].asInt();
            s.accepted = v["accepted"].asBool();
            s.refusal = v["refusal"].asString();
            record.submissions.push_back(s);
        }
    }
    return record;
}
