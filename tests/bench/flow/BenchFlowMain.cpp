// Wall time of the send and read flows against fakes that answer at once,
// set against what the port's polling and the line make necessary.
//
// Every exchange with a modem costs, by the port's rules: the pause after a
// write (USLEEP_COUNT), the pause before the first look at the line, and the
// pause before the look that finds nothing more, each look taking all that
// has arrived: 3 * USLEEP_COUNT. A modem behind a USB serial bridge sends at
// the line's speed, so its reply of B bytes (echo included) adds the line's
// own time, B * 10 / baud. The reply sizes come from the fakes' own reply
// model, replayed with the commands the flow actually sent.
#include <chrono>
#include <cstdio>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "CheckManager.h"
#include "ComPortBase.h"
#include "ComPortBaseLinux.h"
#include "FakePool.h"
#include "FakeSamples.h"
#include "FakeSession.h"

namespace {

// A figure may exceed what the polling and the line make necessary by this
// much.
constexpr double MAX_OVERHEAD = 0.20;
// The pauses of one exchange: after the write, before the first look, before
// the look that finds nothing more.
constexpr int PAUSES_PER_EXCHANGE = 3;
constexpr double BITS_PER_BYTE = 10;
constexpr int PORT_BAUD = 9600;
constexpr int BRIDGE_BAUD = 115200;
constexpr int STORED_MESSAGES = 100;
constexpr int MANY_NUMBERS = 10;

class BenchManager : public CCheckManager {
public:
    BenchManager() { m_bInteractive = false; }
};

ComPortBaseInfo_t Target(const FakeModem &fake, PHONE_TYPE_t type, int baud = PORT_BAUD)
{
    ComPortBaseInfo_t port;
    port.comPath = fake.SlavePath();
    port.baudRate = baud;
    port.isAtOk = true;
    port.smsCardNumber = "89860012345678901234";
    port.signalStrength = " 20,99";
    port.serialNumber = "866123456789012";
    port.phoneType = type;
    return port;
}

FakeConfig Stored(FakeModel model)
{
    FakeConfig config;
    config.model = model;
    for (int i = 0; i < STORED_MESSAGES; ++i) {
        StoredMessage m;
        m.store = "SM";
        m.index = i;
        m.text = "第" + std::to_string(i + 1) + "条存储的测试短信";
        config.messages.push_back(m);
    }
    return config;
}

std::size_t Bytes(const FakeOutput &out)
{
    std::size_t n = 0;
    for (const FakePiece &p : out.pieces)
        n += p.bytes.size();
    return n;
}

struct Floor {
    int exchanges = 0;
    double seconds = 0;
};

// Replays what the flow sent on a fresh fake of the same make and adds up
// what the polling, and a bridge's line, need for each reply.
Floor NecessaryTime(const FakeConfig &config, const FakeRecord &record, int baud)
{
    const double pause = USLEEP_COUNT / 1e6;
    FakeSession session(config);
    Floor floor;
    std::size_t submission = 0;
    auto exchange = [&](const FakeOutput &out) {
        const double line = config.uartBridge ? static_cast<double>(Bytes(out)) * BITS_PER_BYTE / baud : 0;
        floor.seconds += pause * PAUSES_PER_EXCHANGE + line;
        ++floor.exchanges;
    };
    for (const FakeCommandEvent &command : record.commands) {
        exchange(session.Receive(command.text + "\r", baud));
        if (NormaliseCommand(command.text).rfind("AT+CMGS=", 0) == 0 && submission < record.submissions.size())
            exchange(session.Receive(record.submissions[submission++].body + "\x1a", baud));
    }
    return floor;
}

struct Figure {
    const char *name;
    Floor floor;
    double measured = 0;
    bool done = false;  // the flow printed what it must
};

// `shows`, when given, is a text the flow must print: a read that lost
// messages may well be fast.
template <typename Flow>
Figure Measure(const char *name, const FakeConfig &config, int baud, const char *shows, Flow flow)
{
    FakeModem fake(config);
    if (!fake.Ok()) {
        std::fprintf(stderr, "%s: no fake: %s\n", name, fake.Error().c_str());
        return {name, {}, -1};
    }
    BenchManager manager;
    std::ostringstream printed;
    std::streambuf *console = std::cout.rdbuf(printed.rdbuf());
    const auto start = std::chrono::steady_clock::now();
    flow(manager, fake);
    const auto end = std::chrono::steady_clock::now();
    std::cout.rdbuf(console);
    const bool done = shows == nullptr || printed.str().find(shows) != std::string::npos;
    if (!done)
        std::fprintf(stderr, "%s: the flow did not print \"%s\"\n", name, shows);
    return {name, NecessaryTime(config, fake.Record(), baud),
            std::chrono::duration<double>(end - start).count(), done};
}

}  // namespace

int main()
{
    CComPortBase::ResetAllComPort();
    FakeConfig tarnel;
    tarnel.model = FakeModel::Tarnel;
    std::vector<std::string> numbers;
    for (int i = 0; i < MANY_NUMBERS; ++i)
        numbers.push_back("1380013800" + std::to_string(i));

    const std::string readAllText = "接收短信成功 共 " + std::to_string(STORED_MESSAGES) + " 条短信";
    const char *readAll = readAllText.c_str();
    const Figure figures[] = {
        Measure("send 1 number, 1 part", tarnel, PORT_BAUD, nullptr,
                [](BenchManager &m, FakeModem &f) {
                    m.HandleSendPduSmsProcess({Target(f, PHONE_TYPE_TARNEL)}, {"13800138000"}, "hello");
                }),
        Measure("send 10 numbers, 1 part", tarnel, PORT_BAUD, nullptr,
                [&](BenchManager &m, FakeModem &f) {
                    m.HandleSendPduSmsProcess({Target(f, PHONE_TYPE_TARNEL)}, numbers, "hello");
                }),
        Measure("read 100 stored, one listing", Stored(FakeModel::Tarnel), PORT_BAUD, readAll,
                [](BenchManager &m, FakeModem &f) { m.HandleReadAllSms({Target(f, PHONE_TYPE_TARNEL)}); }),
        Measure("read 100 stored, by index", Stored(FakeModel::VelkorNc5), PORT_BAUD, readAll,
                [](BenchManager &m, FakeModem &f) { m.HandleReadAllSms({Target(f, PHONE_TYPE_VELKOR_NC5)}); }),
        Measure("read 100 stored, bridge", BridgedFullSim(STORED_MESSAGES), BRIDGE_BAUD, readAll,
                [](BenchManager &m, FakeModem &f) {
                    m.HandleReadAllSms({Target(f, PHONE_TYPE_TARNEL, BRIDGE_BAUD)});
                }),
    };

    std::printf("polling: %d us after a write, before the first look and before the look that finds nothing: "
                "%.0f ms per exchange; a bridge adds its line's time, %.0f bits a byte at %d baud\n\n",
                USLEEP_COUNT, PAUSES_PER_EXCHANGE * USLEEP_COUNT / 1e3, BITS_PER_BYTE, BRIDGE_BAUD);
    std::printf("%-30s %9s %10s %10s %12s %9s\n", "flow", "exchanges", "floor s", "measured s", "ms/exchange",
                "overhead");
    bool ok = true;
    for (const Figure &f : figures) {
        const double overhead = f.floor.seconds > 0 ? f.measured / f.floor.seconds - 1 : 0;
        const bool within = f.done && f.measured >= 0 && f.floor.exchanges > 0 && overhead <= MAX_OVERHEAD;
        ok = ok && within;
        std::printf("%-30s %9d %10.2f %10.2f %12.1f %8.1f%%%s\n", f.name, f.floor.exchanges, f.floor.seconds,
                    f.measured, f.floor.exchanges > 0 ? 1e3 * f.measured / f.floor.exchanges : 0.0,
                    100 * overhead, !f.done ? "  failed" : within ? "" : "  over the limit");
    }
    return ok ? 0 : 1;
}
