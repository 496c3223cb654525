#include "FakeSession.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>

#include "FakeSmsPdu.h"

namespace {
constexpr char kCtrlZ = 0x1A;
constexpr char kEscape = 0x1B;
// Longest command line and message body a module buffers; the rest of an
// over-long line is dropped, an over-long body is refused.
constexpr std::size_t kMaxLine = 1024;
constexpr std::size_t kMaxBody = 4096;
constexpr int kMaxListStat = 4;  // "all" in PDU mode and for ^HCMGL

// +CMS ERROR numbers (3GPP TS 27.005 3.2.5) and +CME ERROR numbers (27.007).
constexpr int kCmsOperationNotAllowed = 302;
constexpr int kCmsInvalidPduParameter = 304;
constexpr int kCmsInvalidMemoryIndex = 321;
constexpr int kCmeMemoryFull = 20;
constexpr int kCmeInvalidIndex = 21;
constexpr int kCmeTextTooLong = 24;
constexpr int kCmeDialStringTooLong = 26;
constexpr int kCmeInvalidDialCharacters = 27;
constexpr int kCmeIncorrectParameters = 50;

// The fields of ^CPBW: index, number, type, text, coding.
constexpr std::size_t kPhonebookWriteFields = 5;
constexpr int kTypeInternational = 145;
constexpr int kTypeUnknown = 129;
const char kDialCharacters[] = "0123456789+*#";

// The ASCII format and the Unicode format of the CDMA module's ^HCMGR.
constexpr int kCdmaFormatAscii = 1;
constexpr int kCdmaFormatUnicode = 6;

const char kPrompt[] = "\r\n> ";
const char kOk[] = "\r\nOK\r\n";

bool StartsWith(const std::string &s, const char *prefix)
{
    return s.compare(0, std::strlen(prefix), prefix) == 0;
}

// A whole non-negative decimal number, nothing else.
bool ParseNumber(const std::string &text, int *value)
{
    if (text.empty() || text.size() > 6)
        return false;
    for (char c : text)
        if (!std::isdigit(static_cast<unsigned char>(c)))
            return false;
    *value = std::atoi(text.c_str());
    return true;
}

std::string Args(const std::string &command, const char *name)
{
    return command.substr(std::strlen(name));
}

std::string Format(const char *fmt, int a, int b = 0, int c = 0, int d = 0, int e = 0, int f = 0)
{
    char buf[128];
    std::snprintf(buf, sizeof buf, fmt, a, b, c, d, e, f);
    return buf;
}

std::string Replace(std::string text, const char *key, const std::string &value)
{
    const std::size_t n = std::strlen(key);
    for (std::size_t p = text.find(key); p != std::string::npos; p = text.find(key, p + value.size()))
        text.replace(p, n, value);
    return text;
}

std::string Value(const std::string &configured, const char *fallback)
{
    return configured.empty() ? fallback : configured;
}

// A parameter list as V.250 writes it: fields apart by commas, a string
// field in double quotes. False when a quote is left open or a string is
// followed by anything but a comma.
struct Field {
    std::string text;
    bool quoted = false;
};

bool SplitFields(const std::string &args, std::vector<Field> *fields)
{
    fields->clear();
    std::size_t p = 0;
    for (;;) {
        Field f;
        if (p < args.size() && args[p] == '"') {
            const std::size_t close = args.find('"', p + 1);
            if (close == std::string::npos)
                return false;
            f.text = args.substr(p + 1, close - p - 1);
            f.quoted = true;
            p = close + 1;
            if (p < args.size() && args[p] != ',')
                return false;
        } else {
            const std::size_t comma = std::min(args.find(',', p), args.size());
            f.text = args.substr(p, comma - p);
            p = comma;
        }
        fields->push_back(f);
        if (p >= args.size())
            return true;
        ++p;  // the comma
    }
}

// Information lines of a listing: CR LF before the first, CR LF between
// them, CR LF after the last, then the final OK.
std::string Listing(const std::vector<std::string> &lines)
{
    if (lines.empty())
        return kOk;
    std::string out = "\r\n";
    for (std::size_t i = 0; i < lines.size(); ++i)
        out += (i ? "\r\n" : "") + lines[i];
    return out + "\r\n" + kOk;
}
}  // namespace

std::string NormaliseCommand(const std::string &line)
{
    std::string out;
    bool quoted = false;
    for (char c : line) {
        const unsigned char u = static_cast<unsigned char>(c);
        if (c == '"')
            quoted = !quoted;
        if (!quoted && (c == ' ' || u < 0x20 || u == 0x7F))
            continue;
        out.push_back(quoted ? c : static_cast<char>(std::toupper(u)));
    }
    return out;
}

FakeSession::FakeSession(const FakeConfig &config)
    : m_config(config),
      m_profile(GetFakeProfile(config.model)),
      m_echo(config.echo),
      m_flooding(!config.faults.floodText.empty() && config.faults.floodAfterCommands <= 0),
      m_replyFaultUses(config.faults.replyFaults.size(), 0),
      m_phonebook(config.phonebook)
{
    if (config.faults.leftAtPrompt)
        m_mode = Mode::PduBody;
    const std::string smsc = Value(m_config.smsc, m_profile.smsc);
    for (const StoredMessage &m : m_config.messages) {
        Stored s{m, m.pdu};
        if (s.pdu.empty() && m_profile.gsmSms)
            s.pdu = BuildStoredPdu(m, smsc);
        m_messages.push_back(s);
    }
}

bool FakeSession::Answers(int baud) const
{
    if (!m_profile.answers)
        return false;
    switch (m_config.baud) {
    case FakeBaud::Only9600: return baud == 9600;
    case FakeBaud::Only115200: return baud == 115200;
    default: return true;
    }
}

FakeOutput FakeSession::Receive(const std::string &bytes, int baud)
{
    FakeOutput out;
    std::string echo;
    auto flushEcho = [&] {
        if (!echo.empty())
            out.pieces.push_back({0, echo});
        echo.clear();
    };
    for (char c : bytes) {
        if (m_dropped)
            break;
        if (m_mode == Mode::PduBody && c == kCtrlZ && Answers(baud)
            && m_bodiesLeftOpen < m_config.faults.bodiesLeftOpen) {
            ++m_bodiesLeftOpen;  // lost on the line: the modem never hears it
            continue;
        }
        // At no prompt the ESC that gives up a message body gives up nothing;
        // like any byte before a command's "AT" it is no part of a command.
        if (m_mode == Mode::Command && c == kEscape)
            continue;
        const bool answering = Answers(baud) && !Hung();
        // The LF after a command's CR is not part of any command line.
        if (answering && m_echo && (m_mode != Mode::Command || c != '\n'))
            echo.push_back(c);
        if (m_mode == Mode::PduBody) {
            // At a speed other than its own the modem hears only garbled
            // bytes: no ESC or Ctrl-Z among them.
            if (!Answers(baud))
                continue;
            if (c == kCtrlZ || c == kEscape) {
                flushEcho();
                if (c == kCtrlZ) {
                    FinishPduBody(baud, out);
                } else {
                    m_mode = Mode::Command;
                    Reply(kOk, out);
                }
            } else if (m_body.size() < kMaxBody) {
                m_body.push_back(c);
            }
            continue;
        }
        if (m_mode == Mode::CdmaBody) {
            m_body.push_back(c);
            const std::size_t n = m_body.size();
            if ((n % 2 == 0 && m_body[n - 2] == '\0' && m_body[n - 1] == kCtrlZ) || n >= kMaxBody) {
                flushEcho();
                FinishCdmaBody(baud, out);
            }
            continue;
        }
        if (c == '\r') {
            flushEcho();
            HandleLine(m_line, baud, out);
            m_line.clear();
        } else if (c != '\n' && m_line.size() < kMaxLine) {
            m_line.push_back(c);
        }
    }
    flushEcho();
    return out;
}

bool FakeSession::Hung() const
{
    const int after = m_config.faults.silentAfterCommands;
    return after > 0 && m_commandsHandled >= after;
}

void FakeSession::CountCommand(FakeOutput &out)
{
    ++m_commandsHandled;
    if (!m_config.faults.floodText.empty() && m_commandsHandled >= m_config.faults.floodAfterCommands)
        m_flooding = true;
    if (m_config.faults.dropAfterCommands > 0 && m_commandsHandled >= m_config.faults.dropAfterCommands) {
        m_dropped = true;
        out.dropLine = true;
    }
}

void FakeSession::HandleLine(const std::string &line, int baud, FakeOutput &out)
{
    const std::string command = NormaliseCommand(line);
    if (command.empty())
        return;
    FakeCommandEvent event{line, baud, false};
    const bool answering = Answers(baud);
    if (answering && StartsWith(command, "AT")) {
        bool silent = Hung();
        for (const std::string &s : m_config.faults.silentCommands)
            silent = silent || StartsWith(command, NormaliseCommand(s).c_str());
        const FakeCommandError *error = nullptr;
        for (const FakeCommandError &e : m_config.faults.errorCommands)
            if (!error && StartsWith(command, NormaliseCommand(e.command).c_str()))
                error = &e;
        if (!silent) {
            event.answered = true;
            std::string reply = "\r\nERROR\r\n";
            if (error)
                reply = "\r\n" + error->reply + "\r\n";
            else if (const FakeCommand *row = FindFakeCommand(m_profile, command.c_str()))
                reply = Dispatch(*row, command, out);
            Reply(reply, out, TakeReplyFault(command));
        }
    }
    out.commands.push_back(event);
    CountCommand(out);
}

const FakeReplyFault *FakeSession::TakeReplyFault(const std::string &command)
{
    const std::vector<FakeReplyFault> &faults = m_config.faults.replyFaults;
    for (std::size_t i = 0; i < faults.size(); ++i) {
        const FakeReplyFault &f = faults[i];
        if (!StartsWith(command, NormaliseCommand(f.command).c_str()))
            continue;
        if (f.times > 0 && m_replyFaultUses[i] >= f.times)
            continue;
        ++m_replyFaultUses[i];
        return &f;
    }
    return nullptr;
}

std::string FakeSession::Dispatch(const FakeCommand &row, const std::string &command, FakeOutput &out)
{
    const std::string args = Args(command, row.command);
    int n = 0;
    switch (row.action) {
    case FakeAction::Reply:
        return Fill(row.reply);
    case FakeAction::Identify:
        return Fill(m_profile.identification);
    case FakeAction::EchoOff:
        m_echo = m_echo && m_config.faults.ignoresEchoOff;
        return kOk;
    case FakeAction::EchoOn:
        m_echo = true;
        return kOk;
    case FakeAction::ErrorReports:
        if (!ParseNumber(args, &n) || n > 2)
            return GeneralError(kCmeIncorrectParameters);
        m_errorReports = n;
        return kOk;
    case FakeAction::SelectStore:
        return SelectStore(args);
    case FakeAction::MessageMode:
        if (!ParseNumber(args, &n) || n > 1)
            return GeneralError(kCmeIncorrectParameters);
        m_pduMode = n == 0;
        return kOk;
    case FakeAction::Submit:
        if (!m_pduMode)
            return SmsError(kCmsOperationNotAllowed);
        if (!ParseNumber(args, &n) || n < 1 || n > 255)
            return SmsError(kCmsInvalidPduParameter);
        m_mode = Mode::PduBody;
        m_body.clear();
        m_bodyCommand = command;
        return kPrompt;
    case FakeAction::ListPdu:
        return ListPdu(args);
    case FakeAction::ListIndices:
        return ListIndices();
    case FakeAction::ReadPdu:
        return ReadPdu(args);
    case FakeAction::Delete:
        return Delete(args);
    case FakeAction::CdmaSubmit:
        if (args.size() < 3 || args.front() != '"' || args.back() != '"')
            return GeneralError(kCmeIncorrectParameters);
        m_mode = Mode::CdmaBody;
        m_body.clear();
        m_bodyCommand = command;
        return kPrompt;
    case FakeAction::CdmaList:
        return CdmaList(args);
    case FakeAction::CdmaRead:
        return CdmaRead(args);
    case FakeAction::SelectPhonebook:
        return SelectPhonebook(args);
    case FakeAction::PhonebookStore:
        return PhonebookStore();
    case FakeAction::ReadPhonebook:
        return ReadPhonebook(args);
    case FakeAction::WritePhonebook:
        return WritePhonebook(args, out);
    }
    return "\r\nERROR\r\n";
}

void FakeSession::FinishPduBody(int baud, FakeOutput &out)
{
    m_mode = Mode::Command;
    FakeSubmission s;
    s.command = m_bodyCommand;
    s.body = m_body;
    s.baud = baud;
    // A modem found at its prompt was told the length before this session:
    // whatever it holds then is no message of the program's.
    const char *lengthCommand = "AT+CMGS=";
    const bool lengthKnown = StartsWith(m_bodyCommand, lengthCommand);
    const int declared = lengthKnown ? std::atoi(m_bodyCommand.c_str() + std::strlen(lengthCommand)) : 0;
    std::string reply;
    if (!lengthKnown || TpduOctets(m_body) != declared) {
        reply = SmsError(kCmsInvalidPduParameter);
    } else if (m_submissionsSeen++ < m_config.faults.failSubmissions) {
        reply = SmsError(m_config.faults.failCode);
    } else {
        s.accepted = true;
        reply = Format("\r\n+CMGS: %d\r\n\r\nOK\r\n", m_messageReference);
        m_messageReference = (m_messageReference + 1) % 256;
    }
    if (!s.accepted)
        s.refusal = reply.substr(2, reply.size() - 4);
    out.submissions.push_back(s);
    Reply(reply, out);
}

void FakeSession::FinishCdmaBody(int baud, FakeOutput &out)
{
    m_mode = Mode::Command;
    FakeSubmission s;
    s.cdma = true;
    s.command = m_bodyCommand;
    s.body = HexEncode(m_body);
    s.baud = baud;
    const std::size_t n = m_body.size();
    const bool terminated = n >= 2 && n % 2 == 0 && m_body[n - 2] == '\0' && m_body[n - 1] == kCtrlZ;
    std::string report;
    if (!terminated) {
        s.refusal = "ERROR";
        out.submissions.push_back(s);
        Reply("\r\nERROR\r\n", out);
        return;
    }
    if (m_submissionsSeen++ < m_config.faults.failSubmissions) {
        report = Format("\r\n^HCMGSF: %d\r\n", m_config.faults.failCode);
        s.refusal = report.substr(2, report.size() - 4);
    } else {
        s.accepted = true;
        report = Format("\r\n^HCMGSS: %d\r\n", m_messageReference);
        m_messageReference = (m_messageReference + 1) % 256;
    }
    out.submissions.push_back(s);
    if (!m_config.faults.cdmaReportWithoutOk)
        Reply(kOk, out);
    FakePiece late{kFakeCdmaSendReportMs, report};
    out.pieces.push_back(late);
}

void FakeSession::Reply(const std::string &text, FakeOutput &out, const FakeReplyFault *fault) const
{
    const FakeFaults &f = m_config.faults;
    std::vector<FakePiece> parts = {{f.replyDelayMs, text}};
    if (fault) {
        const std::string reply = fault->reply.empty() ? text : fault->reply;
        if (fault->splitAt < 0 && fault->splitBefore.empty()) {
            parts = {{f.replyDelayMs, fault->insert + reply}};
        } else {
            const std::size_t at = fault->splitBefore.empty()
                                       ? std::min(static_cast<std::size_t>(fault->splitAt), reply.size())
                                       : std::min(reply.find(fault->splitBefore), reply.size());
            parts = {{f.replyDelayMs, reply.substr(0, at)}, {fault->pauseMs, fault->insert + reply.substr(at)}};
        }
    }
    int carried = 0;  // the pause of a part with nothing in it
    for (const FakePiece &part : parts) {
        if (part.bytes.empty()) {
            carried += part.delayMs;
            continue;
        }
        const std::size_t step = f.chunkBytes > 0 ? static_cast<std::size_t>(f.chunkBytes) : part.bytes.size();
        for (std::size_t p = 0; p < part.bytes.size(); p += step)
            out.pieces.push_back({p == 0 ? carried + part.delayMs : f.chunkGapMs, part.bytes.substr(p, step)});
        carried = 0;
    }
}

std::string FakeSession::Fill(const char *text) const
{
    std::string s = text ? text : "";
    s = Replace(s, "{IMEI}", Value(m_config.imei, m_profile.imei));
    s = Replace(s, "{ICCID}", Value(m_config.iccid, m_profile.iccid));
    s = Replace(s, "{CSQ}", Value(m_config.csq, m_profile.csq));
    s = Replace(s, "{CGMI}", m_profile.manufacturer);
    s = Replace(s, "{CGMM}", m_profile.modelId);
    s = Replace(s, "{WMSN}", Value(m_config.productSerial, m_profile.productSerial));
    return Replace(s, "{SMSC}", Value(m_config.smsc, m_profile.smsc));
}

std::string FakeSession::GeneralError(int code) const
{
    if (m_errorReports == 0)
        return "\r\nERROR\r\n";
    if (m_errorReports == 2)
        return "\r\n+CME ERROR: incorrect parameters\r\n";
    return Format("\r\n+CME ERROR: %d\r\n", code);
}

std::string FakeSession::SmsError(int code)
{
    return Format("\r\n+CMS ERROR: %d\r\n", code);
}

std::vector<FakeSession::Stored *> FakeSession::InStore(const std::string &store)
{
    std::vector<Stored *> out;
    for (Stored &s : m_messages)
        if (s.message.store == store)
            out.push_back(&s);
    std::sort(out.begin(), out.end(),
              [](const Stored *a, const Stored *b) { return a->message.index < b->message.index; });
    return out;
}

FakeSession::Stored *FakeSession::Find(const std::string &store, const std::string &indexText)
{
    int index = 0;
    if (!ParseNumber(indexText, &index))
        return nullptr;
    for (Stored *s : InStore(store))
        if (s->message.index == index)
            return s;
    return nullptr;
}

int FakeSession::CountIn(const std::string &store) const
{
    return static_cast<int>(std::count_if(m_messages.begin(), m_messages.end(),
                                          [&](const Stored &s) { return s.message.store == store; }));
}

std::string FakeSession::SelectStore(const std::string &args)
{
    const std::size_t close = args.size() > 1 && args[0] == '"' ? args.find('"', 1) : std::string::npos;
    const std::string store = close == std::string::npos ? "" : args.substr(1, close - 1);
    if (store != "SM" && store != "ME")
        return SmsError(kCmsOperationNotAllowed);
    m_store = store;
    const int used = CountIn(store);
    const int total = store == "SM" ? kFakeSimCapacity : kFakeDeviceCapacity;
    return Format("\r\n+CPMS: %d,%d,%d,%d,%d,%d\r\n\r\nOK\r\n", used, total, used, total, used, total);
}

std::string FakeSession::ListPdu(const std::string &args)
{
    int stat = 0;
    if (!m_pduMode || !ParseNumber(args, &stat) || stat > kMaxListStat)
        return SmsError(kCmsOperationNotAllowed);
    std::vector<std::string> lines;
    for (Stored *s : InStore(m_store)) {
        if (stat != kMaxListStat && s->message.stat != stat)
            continue;
        lines.push_back(Format("+CMGL: %d,%d,,%d", s->message.index, s->message.stat, TpduOctets(s->pdu)));
        if (!s->message.pduLineLost)
            lines.push_back(s->pdu);
        if (s->message.stat == 0)
            s->message.stat = 1;  // listing reads an unread message
    }
    return Listing(lines);
}

std::string FakeSession::ListIndices() const
{
    std::vector<int> indices;
    for (const Stored &s : m_messages)
        if (s.message.store == m_store)
            indices.push_back(s.message.index);
    std::sort(indices.begin(), indices.end());
    std::string list;
    for (std::size_t i = 0; i < indices.size(); ++i)
        list += (i ? "," : "") + std::to_string(indices[i]);
    return "\r\n+CMGD: (" + list + "),(0-4)\r\n" + kOk;
}

std::string FakeSession::ReadPdu(const std::string &args)
{
    if (!m_pduMode)
        return SmsError(kCmsOperationNotAllowed);
    Stored *s = Find(m_store, args);
    if (!s)
        return SmsError(kCmsInvalidMemoryIndex);
    const std::string header = Format("\r\n+CMGR: %d,,%d\r\n", s->message.stat, TpduOctets(s->pdu));
    if (s->message.stat == 0)
        s->message.stat = 1;
    if (s->message.pduLineLost)
        return header + kOk;
    return header + s->pdu + "\r\n" + kOk;
}

std::string FakeSession::Delete(const std::string &args)
{
    const std::size_t comma = args.find(',');
    int flag = 0;
    if (comma != std::string::npos && (!ParseNumber(args.substr(comma + 1), &flag) || flag > 4))
        return SmsError(kCmsOperationNotAllowed);
    const std::string indexText = args.substr(0, comma);
    if (flag == 0) {
        Stored *s = Find(m_store, indexText);
        if (!s)
            return SmsError(kCmsInvalidMemoryIndex);
        const int index = s->message.index;
        m_messages.erase(std::remove_if(m_messages.begin(), m_messages.end(),
                                        [&](const Stored &m) {
                                            return m.message.store == m_store && m.message.index == index;
                                        }),
                         m_messages.end());
        return kOk;
    }
    // Flags 1 to 4 widen the set: read; and sent; and unsent; everything.
    auto goes = [&](const Stored &m) {
        if (m.message.store != m_store)
            return false;
        const int st = m.message.stat;
        return flag == 4 || st == 1 || (flag >= 2 && st == 3) || (flag >= 3 && st == 2);
    };
    m_messages.erase(std::remove_if(m_messages.begin(), m_messages.end(), goes), m_messages.end());
    return kOk;
}

std::string FakeSession::CdmaList(const std::string &args)
{
    int stat = 0;
    if (!ParseNumber(args, &stat) || stat > kMaxListStat)
        return GeneralError(kCmeIncorrectParameters);
    std::vector<std::string> lines;
    for (Stored *s : InStore(m_store))
        if (stat == kMaxListStat || s->message.stat == stat)
            lines.push_back(Format("^HCMGL: %d,%d", s->message.index, s->message.stat));
    return Listing(lines);
}

std::string FakeSession::CdmaRead(const std::string &args)
{
    Stored *s = Find(m_store, args);
    if (!s)
        return SmsError(kCmsInvalidMemoryIndex);
    StoredMessage &m = s->message;
    const bool ascii = m.coding == "7bit";
    const std::string body = ascii ? m.text : Utf8ToUcs2(m.text);
    std::string t = m.time.substr(0, 12);
    t.resize(12, '0');
    auto field = [&](int i) { return std::atoi(t.substr(static_cast<std::size_t>(i) * 2, 2).c_str()); };
    std::string header = "\r\n^HCMGR:" + m.sender +
                         Format(",%04d,%02d,%02d,%02d,%02d,%02d", 2000 + field(0), field(1), field(2),
                                field(3), field(4), field(5)) +
                         Format(",0,%d,%d,0,0,0,%d\r\n", ascii ? kCdmaFormatAscii : kCdmaFormatUnicode,
                                static_cast<int>(body.size()), m.stat);
    const std::string terminator = ascii ? std::string(1, kCtrlZ) : std::string("\0\x1A", 2);
    if (m.stat == 0)
        m.stat = 1;
    return header + body + terminator + "\r\n" + kOk;
}

std::string FakeSession::SelectPhonebook(const std::string &args)
{
    std::vector<Field> fields;
    if (!SplitFields(args, &fields) || fields.empty() || !fields[0].quoted ||
        (fields[0].text != "SM" && fields[0].text != "ME"))
        return GeneralError(kCmeIncorrectParameters);
    m_phonebookStore = fields[0].text;
    return kOk;
}

std::string FakeSession::PhonebookStore() const
{
    auto inStore = [&](const PhonebookEntry &e) { return e.store == m_phonebookStore; };
    const int used = static_cast<int>(std::count_if(m_phonebook.begin(), m_phonebook.end(), inStore));
    return "\r\n+CPBS: \"" + m_phonebookStore + "\"" + Format(",%d,%d\r\n", used, kFakePhonebookCapacity) + kOk;
}

std::string FakeSession::ReadPhonebook(const std::string &args) const
{
    std::vector<Field> fields;
    int first = 0, last = 0;
    if (!SplitFields(args, &fields) || fields.size() > 2 || !ParseNumber(fields[0].text, &first))
        return GeneralError(kCmeIncorrectParameters);
    last = first;
    if (fields.size() == 2 && !ParseNumber(fields[1].text, &last))
        return GeneralError(kCmeIncorrectParameters);
    if (first < 1 || last > kFakePhonebookCapacity || last < first)
        return GeneralError(kCmeInvalidIndex);
    std::vector<const PhonebookEntry *> found;
    for (const PhonebookEntry &e : m_phonebook)
        if (e.store == m_phonebookStore && e.index >= first && e.index <= last)
            found.push_back(&e);
    std::sort(found.begin(), found.end(),
              [](const PhonebookEntry *a, const PhonebookEntry *b) { return a->index < b->index; });
    std::vector<std::string> lines;
    for (const PhonebookEntry *e : found)
        lines.push_back(Format("^CPBR: %d,\"", e->index) + e->number + Format("\",%d,\"", e->type) + e->text +
                        Format("\",%d", e->coding));
    return Listing(lines);
}

std::string FakeSession::WritePhonebook(const std::string &args, FakeOutput &out)
{
    std::vector<Field> fields;
    if (!SplitFields(args, &fields) || fields.size() > kPhonebookWriteFields)
        return GeneralError(kCmeIncorrectParameters);
    auto inStore = [&](int index) {
        return std::find_if(m_phonebook.begin(), m_phonebook.end(), [&](const PhonebookEntry &e) {
            return e.store == m_phonebookStore && e.index == index;
        });
    };
    PhonebookEntry entry;
    entry.store = m_phonebookStore;
    if (fields[0].text.empty()) {
        // No index: the first free location.
        entry.index = 0;
        for (int i = 1; i <= kFakePhonebookCapacity && entry.index == 0; ++i)
            if (inStore(i) == m_phonebook.end())
                entry.index = i;
        if (entry.index == 0)
            return GeneralError(kCmeMemoryFull);
    } else if (!ParseNumber(fields[0].text, &entry.index)) {
        return GeneralError(kCmeIncorrectParameters);
    }
    if (entry.index < 1 || entry.index > kFakePhonebookCapacity)
        return GeneralError(kCmeInvalidIndex);
    const auto existing = inStore(entry.index);
    if (fields.size() == 1) {
        // The index alone empties the location.
        if (existing != m_phonebook.end()) {
            m_phonebook.erase(existing);
            out.phonebookChanged = true;
        }
        return kOk;
    }
    const Field &number = fields[1];
    if (!number.quoted)
        return GeneralError(kCmeIncorrectParameters);
    if (number.text.size() > kFakePhonebookNumberMax)
        return GeneralError(kCmeDialStringTooLong);
    if (number.text.find_first_not_of(kDialCharacters) != std::string::npos)
        return GeneralError(kCmeInvalidDialCharacters);
    entry.number = number.text;
    entry.type = !entry.number.empty() && entry.number[0] == '+' ? kTypeInternational : kTypeUnknown;
    if (fields.size() > 2 && !fields[2].text.empty() &&
        (fields[2].quoted || !ParseNumber(fields[2].text, &entry.type) || entry.type > 255))
        return GeneralError(kCmeIncorrectParameters);
    if (fields.size() > 3) {
        if (!fields[3].quoted && !fields[3].text.empty())
            return GeneralError(kCmeIncorrectParameters);
        if (fields[3].text.size() > kFakePhonebookTextMax)
            return GeneralError(kCmeTextTooLong);
        entry.text = fields[3].text;
    }
    if (fields.size() > 4 && (!ParseNumber(fields[4].text, &entry.coding) || entry.coding > 1))
        return GeneralError(kCmeIncorrectParameters);
    if (existing != m_phonebook.end())
        *existing = entry;
    else
        m_phonebook.push_back(entry);
    out.phonebookChanged = true;
    return kOk;
}
