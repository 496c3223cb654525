// Modems as real pools have them: answering late, in pieces, with
// unsolicited reports between their replies, with noise on the line, or
// sending without end. One table of such behaviours for the end-to-end tests
// of both builds, and what a device table must show for a modem that
// behaves so: every cell the modem's own value, except the cells whose value
// the behaviour takes away in that build, which may show the not-read
// marker instead; never the text of another reply.
#ifndef ZARVEX_HOSTILE_BEHAVIOURS_H
#define ZARVEX_HOSTILE_BEHAVIOURS_H

#include <algorithm>
#include <cstddef>
#include <functional>
#include <map>
#include <ostream>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "FakeConfig.h"
#include "FakeProfile.h"
#include "FakeRecord.h"
#include "FakeSession.h"

namespace hostile {

// Whose scan sends the command a behaviour shapes.
enum Builds : unsigned { kLinux = 1u, kWindows = 2u, kBoth = kLinux | kWindows };

// The cells of a device-table row whose value a behaviour may take away.
enum Cell : unsigned {
    kIdentity = 1u,  // the AT column and the speed: the modem found at the
                     // other speed, or not at all (and then none of its values)
    kCard = 2u,
    kSignal = 4u,
    kSerial = 8u,
};
// Both scans ask for the signal only once they have read a card number.
constexpr unsigned kCardAndSignal = kCard | kSignal;
constexpr unsigned kEveryValue = kCard | kSignal | kSerial;

// The cells a behaviour leaves without the modem's own value in one build's
// scan, and why. Everything else must be read.
struct Loss {
    unsigned cells = 0;
    std::string why;
    // Non-empty: only the modems of these families lose them.
    std::vector<FakeModel> only;
};

struct Behaviour {
    std::string name;  // a test name's part: letters and digits
    unsigned builds;
    Loss linuxLoss;
    Loss windowsLoss;
    // The commands whose replies it shapes (none: it shapes the whole line),
    // and a text of those replies that no device table may show.
    std::vector<std::string> commands;
    std::string neverShown;
    std::function<void(FakeConfig &)> shape;
};

// The cells that `loss` takes from a modem of `model`.
inline unsigned LostCells(const Loss &loss, FakeModel model)
{
    const bool applies = loss.only.empty() || std::find(loss.only.begin(), loss.only.end(), model) != loss.only.end();
    return applies ? loss.cells : 0u;
}

// The groups of the table: each is one scan with many fakes, and so one test.
enum class Group { Late, Later, Latest, PiecesAndReports, NoiseAndStreams };
const Group kGroups[] = {Group::Late, Group::Later, Group::Latest, Group::PiecesAndReports, Group::NoiseAndStreams};

inline std::string GroupName(Group group)
{
    switch (group) {
    case Group::Late: return "Late";
    case Group::Later: return "Later";
    case Group::Latest: return "Latest";
    case Group::PiecesAndReports: return "PiecesAndReports";
    case Group::NoiseAndStreams: return "NoiseAndStreams";
    }
    return "?";
}

// How long each scan waits for a reply whose value it shows: the Windows
// probe 755 ms for every reply; the Linux scan at least a second (its 20
// polls) for the serial number, the card number and the signal. A reply
// that is late for a command whose value nobody shows (the Linux scan's
// preparing commands, the Windows probe's error reports) costs nothing when
// it comes within 2 s: the next command waits for it before its own reply
// counts.
constexpr int kWindowsReplyWaitMs = 755;
constexpr int kLinuxValueWaitMs = 1000;
// Every reply this late still comes within every command's time in both
// builds.
constexpr int kEveryReplyLateMs = 300;
// One command answered this late: within both scans' waits; past the
// Windows probe's, within the Linux scan's; past both, yet soon enough to
// be settled before the next command's reply is taken.
constexpr int kOneCommandLateMs[] = {600, 900, 1500};
// Pieces this long, this far apart: the longest reply a scan asks for (an
// identification of 170 bytes) is whole within 1.5 s, as late as any reply
// is still read, and the reads between its pieces find the line quiet.
constexpr int kPieceBytes = 16;
constexpr int kPieceGapMs = 150;
constexpr std::size_t kNoiseBytes = 10 * 1024;
// A device that starts sending without end after this many commands: in
// either build's scan, once the modem has been asked to identify itself.
constexpr int kStreamAfterCommands = 5;
constexpr int kStreamGapMs = 20;
constexpr int kFloodGapMs = 10;
constexpr int kReportPauseMs = 50;

// The commands that tell a modem's SIM card number, one of them per model.
const char *const kSimNumberCommands[] = {"AT+CCID", "AT^ICCID?", "AT+CXXCID"};

// What a GNSS port of a module sends once it starts reporting positions.
const char kStreamText[] = "$GPRMC,083559.00,A,4717.11437,N,00833.91522,E,0.004,77.52,091202,,,A*57\r\n";
const char kFloodText[] = "\r\nOK\r\n";

// The flows against hostile modems, in both builds. One number through a
// Tarnel takes six commands: three to prepare the modem, the centre query,
// PDU mode, the length of the part.
constexpr int kCommandsPerNumber = 6;
// The storage selection is waited for 2 s.
constexpr int kStorageSelectionLateMs = 600;
constexpr int kStorageSelectionAtItsLimitMs = 2000;
// A port whose device streams without end is given up within this long for
// each of its numbers; every command of the send is bounded in time.
constexpr long long kStreamingNumberBoundS = 8;
// What a read must never call a modem that answers.
const char kNoCardReason[] = "设备未插卡";
const char kNotAtReason[] = "设备不AT";

inline FakeReplyFault LateReply(const std::string &command, int lateMs)
{
    FakeReplyFault f;
    f.command = command;
    f.splitAt = 0;
    f.pauseMs = lateMs;
    return f;
}

inline FakeReplyFault ReportAhead(const std::string &command, const std::string &report)
{
    FakeReplyFault f;
    f.command = command;
    f.insert = report;
    return f;
}

// The report between the reply's information line and its final OK, a
// moment after the line.
inline FakeReplyFault ReportBeforeOk(const std::string &command, const std::string &report)
{
    FakeReplyFault f;
    f.command = command;
    f.splitBefore = "\r\nOK";
    f.pauseMs = kReportPauseMs;
    f.insert = report;
    return f;
}

// The report a moment after the whole reply, while the next command is
// being asked.
inline FakeReplyFault ReportAfter(const std::string &command, const std::string &report)
{
    constexpr int kPastAnyReply = 1 << 20;
    FakeReplyFault f;
    f.command = command;
    f.splitAt = kPastAnyReply;
    f.pauseMs = kReportPauseMs;
    f.insert = report;
    return f;
}

// The same bytes every time: a line at the wrong speed, or a device that
// powers up babbling. Every byte value occurs, line ends included.
inline std::string LineNoise(std::size_t bytes)
{
    std::string noise;
    unsigned state = 2463534242u;
    while (noise.size() < bytes) {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        noise.push_back(static_cast<char>(state & 0xFFu));
    }
    return noise;
}

inline std::string Nul()
{
    return std::string(1, '\0');
}

// The SIM card number with a NUL byte after its first eight digits.
inline std::string WithNul(const std::string &value)
{
    return value.substr(0, 8) + Nul() + value.substr(8);
}

// A command a single late reply is tried on.
struct OneCommand {
    const char *name;
    std::vector<std::string> commands;
    unsigned builds;
    // How long each build waits for the reply before its value is lost;
    // 0: the build shows no value of it.
    int linuxWaitMs;
    int windowsWaitMs;
    // The cells that its value decides, and why.
    unsigned cells;
    const char *why;
    std::string neverShown;
    // Non-empty: only these families' values depend on the reply.
    std::vector<FakeModel> only;
};

// Only the Linux scan selects a storage; only the Windows probe asks for the
// manufacturer.
inline const std::vector<OneCommand> &LateCommands()
{
    static const std::vector<OneCommand> commands = {
        {"StorageSelection", {"AT+CPMS"}, kLinux, 0, 0, 0u, "", "+CPMS", {}},
        {"ErrorReports", {"AT+CMEE=1"}, kBoth, 0, 0, 0u, "", "", {}},
        {"SerialNumber", {"AT+CGSN"}, kBoth, kLinuxValueWaitMs, kWindowsReplyWaitMs, kSerial,
         "the serial number comes after the scan stopped waiting for it", "", {}},
        {"SimNumber",
         {kSimNumberCommands[0], kSimNumberCommands[1], kSimNumberCommands[2]},
         kBoth,
         kLinuxValueWaitMs,
         kWindowsReplyWaitMs,
         kCardAndSignal,
         "the card number comes after the scan stopped waiting for it, and without one the signal is not asked",
         "CCID:",
         {}},
        {"Signal", {"AT+CSQ"}, kBoth, kLinuxValueWaitMs, kWindowsReplyWaitMs, kSignal,
         "the signal comes after the scan stopped waiting for it", "+CSQ:", {}},
        // A module that names its maker in mixed case is told apart by that
        // reply alone; taken for no known module, it is asked for its card
        // number with the command it refuses.
        {"Manufacturer", {"AT+CGMI"}, kWindows, 0, kWindowsReplyWaitMs, kCardAndSignal,
         "the manufacturer comes after the probe stopped waiting for it: the module is not told apart", "",
         {FakeModel::VelkorMe}},
    };
    return commands;
}

// The loss one reply `lateMs` late causes in a build that waits `waitMs`.
inline Loss LateLoss(const OneCommand &c, int waitMs, int lateMs)
{
    if (waitMs == 0 || lateMs <= waitMs)
        return Loss();
    return {c.cells, c.why, c.only};
}

// A report a modem sends of its own accord, as it stands on the line.
struct Report {
    const char *name;
    const char *text;
};
const Report kRing = {"Ring", "\r\nRING\r\n"};
const Report kNewMessage = {"NewMessage", "\r\n+CMTI: \"SM\",3\r\n"};
const Report kRegistration = {"Registration", "\r\n+CREG: 1\r\n"};

// The behaviours of one group.
inline std::vector<Behaviour> Behaviours(Group group)
{
    std::vector<Behaviour> table;
    const auto lateRows = [&table](int lateMs) {
        for (const OneCommand &c : LateCommands()) {
            const std::vector<std::string> commands = c.commands;
            table.push_back({std::string(c.name) + std::to_string(lateMs) + "MsLate", c.builds,
                             LateLoss(c, c.linuxWaitMs, lateMs), LateLoss(c, c.windowsWaitMs, lateMs), commands,
                             c.neverShown, [commands, lateMs](FakeConfig &f) {
                                 for (const std::string &command : commands)
                                     f.faults.replyFaults.push_back(LateReply(command, lateMs));
                             }});
        }
    };
    // One report placed around one command's reply.
    const auto reportRow = [&table](const std::string &name, const std::vector<std::string> &commands,
                                    const Report &report,
                                    FakeReplyFault (*place)(const std::string &, const std::string &)) {
        const std::string text = report.text;
        table.push_back({name, kBoth, Loss(), Loss(), commands, text.substr(2, text.size() - 4),
                         [commands, text, place](FakeConfig &f) {
                             for (const std::string &command : commands)
                                 f.faults.replyFaults.push_back(place(command, text));
                         }});
    };
    const std::vector<std::string> simNumber(std::begin(kSimNumberCommands), std::end(kSimNumberCommands));
    switch (group) {
    case Group::Late:
        table.push_back({"EveryReply300MsLate", kBoth, Loss(), Loss(), {}, "",
                         [](FakeConfig &f) { f.faults.replyDelayMs = kEveryReplyLateMs; }});
        lateRows(kOneCommandLateMs[0]);
        break;
    case Group::Later: {
        lateRows(kOneCommandLateMs[1]);
        // Silent at the first speed for want of patience, it must not be
        // taken for one that answers at the second.
        const Loss atTooLate = {kIdentity, "AT is answered after both scans stopped waiting for it", {}};
        table.push_back({"Only9600EveryReply900MsLate", kBoth, atTooLate, atTooLate, {}, "", [](FakeConfig &f) {
                             f.baud = FakeBaud::Only9600;
                             f.faults.replyDelayMs = kOneCommandLateMs[1];
                         }});
        break;
    }
    case Group::Latest:
        lateRows(kOneCommandLateMs[2]);
        break;
    case Group::PiecesAndReports:
        table.push_back({"RepliesInPieces", kBoth, Loss(), Loss(), {}, "", [](FakeConfig &f) {
                             f.faults.chunkBytes = kPieceBytes;
                             f.faults.chunkGapMs = kPieceGapMs;
                         }});
        for (const Report &report : {kRing, kNewMessage, kRegistration})
            reportRow(std::string(report.name) + "AheadOfSerial", {"AT+CGSN"}, report, ReportAhead);
        reportRow("NewMessageInsideSimNumber", simNumber, kNewMessage, ReportBeforeOk);
        reportRow("RingInsideSignal", {"AT+CSQ"}, kRing, ReportBeforeOk);
        for (const Report &report : {kRing, kNewMessage})
            reportRow(std::string(report.name) + "AfterSerial", {"AT+CGSN"}, report, ReportAfter);
        break;
    case Group::NoiseAndStreams: {
        const Loss nulInside = {kCardAndSignal,
                                "a NUL inside the card number leaves no card number, and without one the signal "
                                "is not asked",
                                {}};
        table.push_back({"NulInsideSimNumber", kBoth, nulInside, nulInside, simNumber, "",
                         [](FakeConfig &f) { f.iccid = WithNul(GetFakeProfile(f.model).iccid); }});
        table.push_back({"NulAheadOfSimNumber", kBoth, Loss(), Loss(), simNumber, "", [simNumber](FakeConfig &f) {
                             for (const std::string &command : simNumber)
                                 f.faults.replyFaults.push_back(ReportAhead(command, Nul()));
                         }});
        table.push_back({"NulBeforeSerialOk", kBoth, Loss(), Loss(), {"AT+CGSN"}, "", [](FakeConfig &f) {
                             f.faults.replyFaults.push_back(ReportBeforeOk("AT+CGSN", Nul()));
                         }});
        // Ahead of every identification reply, at either speed: more than
        // any reply may bring, so the Linux scan identifies nothing. The
        // Windows probe asks for the identification twice, and the noise
        // runs on over the replies after it.
        table.push_back({"NoiseAheadOfIdentification",
                         kBoth,
                         {kIdentity, "ten kilobytes of noise ahead of the identification: no model is identified", {}},
                         {kEveryValue, "ten kilobytes of noise over the replies that follow the identification", {}},
                         {"ATI"},
                         "",
                         [](FakeConfig &f) {
                             f.faults.replyFaults.push_back(ReportAhead("ATI", LineNoise(kNoiseBytes)));
                         }});
        // A Linux read ends only when the line pauses; on a line that never
        // does, every read runs to the bound of one reply, and a command
        // whose reply outgrows that bound is taken for no modem's. The
        // Windows probe reads what has arrived, but the flood's OKs may end
        // a reply before its value has come, and the stream may fill the
        // bound of a reply before the reply is whole.
        table.push_back({"FloodOfOk",
                         kBoth,
                         {kIdentity, "a line that never falls quiet from the start: no modem is taken to answer", {}},
                         {kEveryValue, "an OK every 10 ms: any reply may be ended by one before its value", {}},
                         {},
                         "",
                         [](FakeConfig &f) {
                             f.faults.floodText = kFloodText;
                             f.faults.floodGapMs = kFloodGapMs;
                         }});
        const Loss streamed = {kEveryValue, "a line that never falls quiet once identified", {}};
        table.push_back({"StreamAfterFiveCommands", kBoth, streamed, streamed, {}, "", [](FakeConfig &f) {
                             f.faults.floodText = kStreamText;
                             f.faults.floodAfterCommands = kStreamAfterCommands;
                             f.faults.floodGapMs = kStreamGapMs;
                         }});
        break;
    }
    }
    return table;
}

// The cells of one device-table row, as the user reads them.
struct Row {
    std::string port;
    std::string baud;
    std::string at;
    std::string card;
    std::string signal;
    std::string serial;
};

inline bool operator==(const Row &a, const Row &b)
{
    return std::tie(a.port, a.baud, a.at, a.card, a.signal, a.serial)
           == std::tie(b.port, b.baud, b.at, b.card, b.signal, b.serial);
}

// For a failure's message.
inline void PrintTo(const Row &row, std::ostream *os)
{
    *os << '[' << row.port << " | " << row.baud << " | " << row.at << " | " << row.card << " | " << row.signal
        << " | " << row.serial << ']';
}

// What a cell shows when its value was not read (UTF-8).
const char kNotAt[] = "不AT";
const char kAtOk[] = "OK";
const char kNoCard[] = "未读卡";
const char kNoSignal[] = "无信号";
const char kNoSerial[] = "无效序列号";
// A port where no model was identified, in both builds.
const char kNotIdentifiedBaud[] = "115200";

// The rows of a device table (UTF-8), by port name: each follows a line of
// dashes.
inline std::map<std::string, std::string> TableRows(const std::string &out, const std::string &lineEnd)
{
    std::map<std::string, std::string> rows;
    const std::string dashes = std::string(90, '-') + lineEnd;
    for (std::size_t at = out.find(dashes); at != std::string::npos; at = out.find(dashes, at + 1)) {
        const std::size_t start = at + dashes.size();
        const std::string line = out.substr(start, out.find(lineEnd, start) - start);
        rows[line.substr(0, line.find(' '))] = line;
    }
    return rows;
}

// A row's text split at its blanks: a row of values that hold no blank has
// six cells; anything else is no row of true values.
inline bool SplitRow(const std::string &line, Row *row)
{
    std::istringstream in(line);
    std::vector<std::string> cells;
    for (std::string cell; in >> cell;)
        cells.push_back(cell);
    if (cells.size() != 6)
        return false;
    *row = {cells[0], cells[1], cells[2], cells[3], cells[4], cells[5]};
    return true;
}

// The row shown for `port` among a table's rows (TableRows), split into its
// cells; every cell empty when there is none, or it is no row of true
// values.
inline Row ShownRow(const std::map<std::string, std::string> &rows, const std::string &port)
{
    Row row;
    const auto line = rows.find(port);
    if (line == rows.end() || !SplitRow(line->second, &row))
        return Row();
    return row;
}

// The row of a modem of `model` read at `baud`, for a model whose serial
// number is its IMEI: its profile's values.
inline Row ProfileRow(const std::string &port, FakeModel model, const std::string &baud)
{
    const FakeProfile &p = GetFakeProfile(model);
    return {port, baud, kAtOk, p.iccid, p.csq, p.imei};
}

// The serial numbers a modem of this model has: a module taken for another
// of its maker's may show the other one.
inline std::vector<std::string> OwnSerials(FakeModel model)
{
    const FakeProfile &p = GetFakeProfile(model);
    std::vector<std::string> serials;
    for (const char *serial : {p.imei, p.productSerial})
        if (*serial)
            serials.push_back(serial);
    return serials;
}

// Why `shown` is not what a modem whose own row is `own` may show when it
// loses the cells `lost`; empty when it is. `anySpeed`: the modem answers at
// every line speed, so that one found at the second is found all the same.
// `alsoOwn`: serial numbers of the modem's own besides the one its row shows.
inline std::string JudgeRow(const Row &shown, const Row &own, unsigned lost, bool anySpeed,
                            const std::vector<std::string> &alsoOwn = {})
{
    std::string why;
    const bool notIdentified = shown.at == kNotAt && shown.baud == kNotIdentifiedBaud;
    if ((lost & kIdentity) && notIdentified) {
        lost |= kEveryValue;
    } else {
        if (shown.at != own.at)
            why += "AT column \"" + shown.at + "\", its own \"" + own.at + "\"; ";
        const bool otherSpeed = (lost & kIdentity) && anySpeed && shown.baud == kNotIdentifiedBaud;
        if (shown.baud != own.baud && !otherSpeed)
            why += "speed " + shown.baud + ", its own " + own.baud + "; ";
    }
    const auto cell = [&why, lost](const char *what, const std::string &value, const std::string &ownValue,
                                   Cell which, const char *marker, const std::vector<std::string> &others) {
        const bool own = value == ownValue || std::find(others.begin(), others.end(), value) != others.end();
        if (!own && !((lost & which) && value == marker))
            why += std::string(what) + " shows \"" + value + "\", its own is \"" + ownValue + "\"; ";
    };
    cell("card", shown.card, own.card, kCard, kNoCard, {});
    cell("signal", shown.signal, own.signal, kSignal, kNoSignal, {});
    // A module not told apart from another of its maker's may be asked for
    // the other serial number it has.
    cell("serial", shown.serial, own.serial, kSerial, kNoSerial,
         (lost & (kIdentity | kSerial)) ? alsoOwn : std::vector<std::string>());
    return why;
}

// Whether the program sent the fake any of `commands`, matched as the fake
// matches a fault's command, so that "sent" means the fake shaped its reply
// (the Linux scan asks for the signal in lower case).
inline bool SentAny(const FakeRecord &record, const std::vector<std::string> &commands)
{
    for (const std::string &sent : record.CommandTexts()) {
        const std::string line = NormaliseCommand(sent);
        for (const std::string &command : commands) {
            const std::string shaped = NormaliseCommand(command);
            if (line.compare(0, shaped.size(), shaped) == 0)
                return true;
        }
    }
    return false;
}

// Why one scan did not put `behaviours` to the test, in the build `build`;
// empty when it did. A behaviour that shapes the replies of commands must
// have had one of them sent to a fake that plays it (`ports[i].behaviour`,
// whose record `recordOf(i)` gives), or its replies were never read; and
// no text of those replies may show in the program's output `out`.
template <typename Port, typename RecordOf>
std::string UntestedBehaviours(const std::vector<Behaviour> &behaviours, Builds build, const std::vector<Port> &ports,
                               RecordOf recordOf, const std::string &out)
{
    std::string why;
    for (const Behaviour &b : behaviours) {
        if (!(b.builds & build) || b.commands.empty())
            continue;
        bool sent = false;
        for (std::size_t i = 0; i < ports.size() && !sent; ++i)
            sent = ports[i].behaviour == &b && SentAny(recordOf(i), b.commands);
        if (!sent)
            why += b.name + ": none of the commands it shapes was sent; ";
        if (!b.neverShown.empty() && out.find(b.neverShown) != std::string::npos)
            why += b.name + ": a reply it shapes is shown (\"" + b.neverShown + "\"); ";
    }
    return why;
}

// What a read printed for each port, in port order: from the line that
// first names the port to the one that names the next, or to the line that
// begins with `doneLabel`. Empty for a port never named.
inline std::vector<std::string> PortBlocks(const std::string &out, const std::vector<std::string> &ports,
                                           const std::string &doneLabel)
{
    const auto lineNaming = [&out](const std::string &port, std::size_t from) {
        const std::size_t at = out.find("端口 " + port + " ", from);
        return at == std::string::npos ? at : out.rfind('\n', at) + 1;
    };
    std::vector<std::string> blocks;
    for (std::size_t i = 0; i < ports.size(); ++i) {
        const std::size_t start = lineNaming(ports[i], 0);
        if (start == std::string::npos) {
            blocks.emplace_back();
            continue;
        }
        std::size_t end = i + 1 < ports.size() ? lineNaming(ports[i + 1], start) : std::string::npos;
        if (end == std::string::npos) {
            const std::size_t done = out.find(doneLabel, start);
            end = done == std::string::npos ? out.size() : out.rfind('\n', done) + 1;
        }
        blocks.push_back(out.substr(start, end - start));
    }
    return blocks;
}

// What a fake was sent, for a failure's message.
inline std::string CommandList(const FakeRecord &record)
{
    std::string list;
    for (const std::string &command : record.CommandTexts())
        list += (list.empty() ? "" : " | ") + command;
    return list;
}

inline std::string Renamed(std::string text, const std::string &from, const std::string &to)
{
    for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

}  // namespace hostile

#endif
