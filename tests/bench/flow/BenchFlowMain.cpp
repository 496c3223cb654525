// Wall time of the send and read flows against fakes that answer at once,
// set against what the port's polling makes necessary.
//
// Every exchange with a modem costs, by the port's rules: the pause after a
// write (USLEEP_COUNT), the pause before the first look at the line, and one
// more pause after each round that brought data, a round taking at most 128
// bytes. A reply of B bytes (echo included) that is there at the first look
// therefore costs USLEEP_COUNT * (2 + ceil(B / 128)): 150 ms up to 128 bytes.
// The reply sizes come from the fakes' own reply model, replayed with the
// commands the flow actually sent.
#include <chrono>
#include <cstdio>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "CheckManager.h"
#include "ComPortBase.h"
#include "FakePool.h"
#include "FakeSession.h"

namespace {

// A figure may exceed what the polling makes necessary by this much.
constexpr double MAX_OVERHEAD = 0.20;
constexpr std::size_t READ_CHUNK_BYTES = 128;
constexpr int PORT_BAUD = 9600;
constexpr int STORED_MESSAGES = 100;
constexpr int MANY_NUMBERS = 10;

class BenchManager : public CCheckManager {
public:
    BenchManager() { m_bInteractive = false; }
};

ComPortBaseInfo_t Target(const FakeModem &fake, PHONE_TYPE_t type)
{
    ComPortBaseInfo_t port;
    port.comPath = fake.SlavePath();
    port.baudRate = PORT_BAUD;
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
// what the polling needs for each reply.
Floor PollingFloor(const FakeConfig &config, const FakeRecord &record)
{
    const double pause = USLEEP_COUNT / 1e6;
    FakeSession session(config);
    Floor floor;
    std::size_t submission = 0;
    auto exchange = [&](const FakeOutput &out) {
        const std::size_t rounds = (Bytes(out) + READ_CHUNK_BYTES - 1) / READ_CHUNK_BYTES;
        floor.seconds += pause * static_cast<double>(2 + (rounds > 0 ? rounds : 1));
        ++floor.exchanges;
    };
    for (const FakeCommandEvent &command : record.commands) {
        exchange(session.Receive(command.text + "\r", PORT_BAUD));
        if (NormaliseCommand(command.text).rfind("AT+CMGS=", 0) == 0 && submission < record.submissions.size())
            exchange(session.Receive(record.submissions[submission++].body + "\x1a", PORT_BAUD));
    }
    return floor;
}

struct Figure {
    const char *name;
    Floor floor;
    double measured = 0;
};

template <typename Flow>
Figure Measure(const char *name, const FakeConfig &config, Flow flow)
{
    FakeModem fake(config);
    if (!fake.Ok()) {
        std::fprintf(stderr, "%s: no fake: %s\n", name, fake.Error().c_str());
        return {name, {}, -1};
    }
    BenchManager manager;
    std::ostringstream discarded;
    std::streambuf *console = std::cout.rdbuf(discarded.rdbuf());
    const auto start = std::chrono::steady_clock::now();
    flow(manager, fake);
    const auto end = std::chrono::steady_clock::now();
    std::cout.rdbuf(console);
    Figure f{name, PollingFloor(config, fake.Record()), std::chrono::duration<double>(end - start).count()};
    return f;
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

    const Figure figures[] = {
        Measure("send 1 number, 1 part", tarnel,
                [](BenchManager &m, FakeModem &f) {
                    m.HandleSendPduSmsProcess({Target(f, PHONE_TYPE_TARNEL)}, {"13800138000"}, "hello");
                }),
        Measure("send 10 numbers, 1 part", tarnel,
                [&](BenchManager &m, FakeModem &f) {
                    m.HandleSendPduSmsProcess({Target(f, PHONE_TYPE_TARNEL)}, numbers, "hello");
                }),
        Measure("read 100 stored, one listing", Stored(FakeModel::Tarnel),
                [](BenchManager &m, FakeModem &f) { m.HandleReadAllSms({Target(f, PHONE_TYPE_TARNEL)}); }),
        Measure("read 100 stored, by index", Stored(FakeModel::VelkorNc5),
                [](BenchManager &m, FakeModem &f) { m.HandleReadAllSms({Target(f, PHONE_TYPE_VELKOR_NC5)}); }),
    };

    std::printf("polling: %d us after a write, %d us before the first look and after each round of at most "
                "%zu bytes: %.0f ms per exchange whose reply fits one round\n\n",
                USLEEP_COUNT, USLEEP_COUNT, READ_CHUNK_BYTES, 3 * USLEEP_COUNT / 1e3);
    std::printf("%-30s %9s %10s %10s %12s %9s\n", "flow", "exchanges", "floor s", "measured s", "ms/exchange",
                "overhead");
    bool ok = true;
    for (const Figure &f : figures) {
        const double overhead = f.floor.seconds > 0 ? f.measured / f.floor.seconds - 1 : 0;
        const bool within = f.measured >= 0 && f.floor.exchanges > 0 && overhead <= MAX_OVERHEAD;
        ok = ok && within;
        std::printf("%-30s %9d %10.2f %10.2f %12.1f %8.1f%%%s\n", f.name, f.floor.exchanges, f.floor.seconds,
                    f.measured, f.floor.exchanges > 0 ? 1e3 * f.measured / f.floor.exchanges : 0.0,
                    100 * overhead, within ? "" : "  over the limit");
    }
    return ok ? 0 : 1;
}
