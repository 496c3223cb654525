// Modems as real pools have them: answering late, in pieces, with
// unsolicited reports between their replies, with noise on the line, or
// sending without end. One table of such behaviours for the end-to-end tests
// of both builds, and what a device table may show for a modem that behaves
// so: each cell the modem's own value or the not-read marker, never the text
// of another reply.
#ifndef ZARVEX_HOSTILE_BEHAVIOURS_H
#define ZARVEX_HOSTILE_BEHAVIOURS_H

#include <algorithm>
#include <cstddef>
#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "FakeConfig.h"
#include "FakeProfile.h"
#include "FakeRecord.h"

namespace hostile {

// Whose scan sends the command a behaviour shapes.
enum Builds : unsigned { kLinux = 1u, kWindows = 2u, kBoth = kLinux | kWindows };

// What a device table must show for a modem that behaves so.
enum class Shows {
    OwnValues,         // every cell the modem's own value
    OwnValueOrMarker,  // each cell its own value or the not-read marker
};

struct Behaviour {
    std::string name;  // a test name's part: letters and digits
    unsigned builds;
    Shows linuxShows;
    Shows windowsShows;
    std::function<void(FakeConfig &)> shape;
};

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

// Every reply this late still comes within every command's time in both
// builds.
constexpr int kEveryReplyLateMs = 300;
// One command answered this late: within the Windows probe's 755 ms for a
// reply and the Linux scan's second for a value; past the first, within
// the second; past both, yet soon enough to be settled before the next
// command's reply is taken.
constexpr int kOneCommandLateMs[] = {600, 900, 1500};
constexpr int kPieceBytes = 8;
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

// The SIM card number with a NUL byte after its first eight digits.
inline std::string WithNul(const std::string &value)
{
    return value.substr(0, 8) + std::string(1, '\0') + value.substr(8);
}

struct OneCommand {
    const char *name;
    std::vector<std::string> commands;
    unsigned builds;
};

// The commands a single late reply is tried on. Only the Linux scan selects
// a storage; only the Windows probe asks for the manufacturer.
inline const std::vector<OneCommand> &LateCommands()
{
    static const std::vector<OneCommand> commands = {
        {"StorageSelection", {"AT+CPMS"}, kLinux},
        {"ErrorReports", {"AT+CMEE=1"}, kBoth},
        {"SerialNumber", {"AT+CGSN"}, kBoth},
        {"SimNumber", {kSimNumberCommands[0], kSimNumberCommands[1], kSimNumberCommands[2]}, kBoth},
        {"Signal", {"AT+CSQ"}, kBoth},
        {"Manufacturer", {"AT+CGMI"}, kWindows},
    };
    return commands;
}

// The behaviours of one group.
inline std::vector<Behaviour> Behaviours(Group group)
{
    std::vector<Behaviour> table;
    const auto lateRows = [&table](int lateMs) {
        for (const OneCommand &c : LateCommands()) {
            const std::vector<std::string> commands = c.commands;
            // The Linux scan waits at least a second for a value, two for the
            // storage selection, and lets a late reply settle before the
            // next command's. The Windows probe waits 755 ms for each reply:
            // on a loaded machine Wine's own delays eat the margin.
            const Shows linuxShows = lateMs < kOneCommandLateMs[1] ? Shows::OwnValues : Shows::OwnValueOrMarker;
            table.push_back({std::string(c.name) + std::to_string(lateMs) + "MsLate", c.builds, linuxShows,
                             Shows::OwnValueOrMarker,
                             [commands, lateMs](FakeConfig &f) {
                                 for (const std::string &command : commands)
                                     f.faults.replyFaults.push_back(LateReply(command, lateMs));
                             }});
        }
    };
    switch (group) {
    case Group::Late:
        table.push_back({"EveryReply300MsLate", kBoth, Shows::OwnValues, Shows::OwnValues,
                         [](FakeConfig &f) { f.faults.replyDelayMs = kEveryReplyLateMs; }});
        lateRows(kOneCommandLateMs[0]);
        break;
    case Group::Later:
        lateRows(kOneCommandLateMs[1]);
        // Silent at the first speed for want of patience, it must not be
        // taken for one that answers at the second.
        table.push_back({"Only9600EveryReply900MsLate", kBoth, Shows::OwnValueOrMarker, Shows::OwnValueOrMarker,
                         [](FakeConfig &f) {
                             f.baud = FakeBaud::Only9600;
                             f.faults.replyDelayMs = kOneCommandLateMs[1];
                         }});
        break;
    case Group::Latest:
        lateRows(kOneCommandLateMs[2]);
        break;
    case Group::PiecesAndReports:
        table.push_back({"RepliesInPieces", kBoth, Shows::OwnValueOrMarker, Shows::OwnValueOrMarker,
                         [](FakeConfig &f) {
                             f.faults.chunkBytes = kPieceBytes;
                             f.faults.chunkGapMs = kPieceGapMs;
                         }});
        for (const auto &report : std::vector<std::pair<const char *, const char *>>{
                 {"RingAheadOfSerial", "\r\nRING\r\n"},
                 {"NewMessageAheadOfSerial", "\r\n+CMTI: \"SM\",3\r\n"},
                 {"RegistrationAheadOfSerial", "\r\n+CREG: 1\r\n"}}) {
            const std::string text = report.second;
            table.push_back({report.first, kBoth, Shows::OwnValueOrMarker, Shows::OwnValueOrMarker,
                             [text](FakeConfig &f) { f.faults.replyFaults.push_back(ReportAhead("AT+CGSN", text)); }});
        }
        table.push_back({"NewMessageInsideSimNumber", kBoth, Shows::OwnValueOrMarker, Shows::OwnValueOrMarker,
                         [](FakeConfig &f) {
                             for (const char *command : kSimNumberCommands)
                                 f.faults.replyFaults.push_back(
                                     ReportBeforeOk(command, "\r\n+CMTI: \"SM\",3\r\n"));
                         }});
        table.push_back({"RingInsideSignal", kBoth, Shows::OwnValueOrMarker, Shows::OwnValueOrMarker,
                         [](FakeConfig &f) {
                             f.faults.replyFaults.push_back(ReportBeforeOk("AT+CSQ", "\r\nRING\r\n"));
                         }});
        break;
    case Group::NoiseAndStreams:
        table.push_back({"NulInsideSimNumber", kBoth, Shows::OwnValueOrMarker, Shows::OwnValueOrMarker,
                         [](FakeConfig &f) { f.iccid = WithNul(GetFakeProfile(f.model).iccid); }});
        table.push_back({"NoiseAheadOfIdentification", kBoth, Shows::OwnValueOrMarker, Shows::OwnValueOrMarker,
                         [](FakeConfig &f) {
                             f.faults.replyFaults.push_back(ReportAhead("ATI", LineNoise(kNoiseBytes)));
                         }});
        table.push_back({"FloodOfOk", kBoth, Shows::OwnValueOrMarker, Shows::OwnValueOrMarker, [](FakeConfig &f) {
                             f.faults.floodText = kFloodText;
                             f.faults.floodGapMs = kFloodGapMs;
                         }});
        table.push_back({"StreamAfterFiveCommands", kBoth, Shows::OwnValueOrMarker, Shows::OwnValueOrMarker,
                         [](FakeConfig &f) {
                             f.faults.floodText = kStreamText;
                             f.faults.floodAfterCommands = kStreamAfterCommands;
                             f.faults.floodGapMs = kStreamGapMs;
                         }});
        break;
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

// Why `shown` is not what a modem whose own row is `own` may show under
// that behaviour; empty when it is. `anySpeed`: the modem answers at every
// line speed, so that one found at the second is found all the same.
// `alsoOwn`: serial numbers of the modem's own besides the one its row shows.
inline std::string JudgeRow(const Row &shown, const Row &own, Shows shows, bool anySpeed,
                            const std::vector<std::string> &alsoOwn = {})
{
    const bool markerAllowed = shows == Shows::OwnValueOrMarker;
    std::string why;
    const auto cell = [&why, markerAllowed](const char *what, const std::string &value, const std::string &ownValue,
                                            const char *marker, const std::vector<std::string> &others) {
        const bool own = value == ownValue || std::find(others.begin(), others.end(), value) != others.end();
        if (!own && !(markerAllowed && value == marker))
            why += std::string(what) + " shows \"" + value + "\", its own is \"" + ownValue + "\"; ";
    };
    const bool notIdentified = shown.at == kNotAt && shown.baud == kNotIdentifiedBaud;
    if (!(markerAllowed && notIdentified)) {
        if (shown.at != own.at)
            why += "AT column \"" + shown.at + "\", its own \"" + own.at + "\"; ";
        const bool otherSpeed = markerAllowed && anySpeed && shown.baud == kNotIdentifiedBaud;
        if (shown.baud != own.baud && !otherSpeed)
            why += "speed " + shown.baud + ", its own " + own.baud + "; ";
    }
    cell("card", shown.card, own.card, kNoCard, {});
    cell("signal", shown.signal, own.signal, kNoSignal, {});
    cell("serial", shown.serial, own.serial, kNoSerial, markerAllowed ? alsoOwn : std::vector<std::string>());
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
