#include "FakePool.h"

#include <fcntl.h>
#include <poll.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>

namespace {
constexpr std::size_t kReadChunk = 4096;
// The loop looks at the stop flag at least this often even when idle.
constexpr long long kIdleWakeMs = 200;
// A dropping line waits for the program to read its last reply: at least
// the settle time (the pty moves written bytes on asynchronously), at most
// the grace period.
constexpr long long kDropSettleMs = 20;
constexpr long long kDropGraceMs = 1000;
constexpr long long kDropPollMs = 10;
// A flooding line hands the pty at most this much at a time, so that
// replies queued meanwhile are not held back behind a long backlog.
constexpr std::size_t kFloodBacklog = 256;
// A bridge's line: 8N1, 10 bits a byte; the speed a line has before the
// program sets one.
constexpr long long kBitsPerByte = 10;
constexpr int kDefaultBaud = 9600;
// What a terminal holds unread for the program: one byte less than its
// 4096-byte buffer. A pty given more keeps the rest where the unread count
// cannot see it, so a bridge hands it no more and holds the rest itself.
constexpr long long kTerminalHolds = 4095;
// How often a bridge that holds bytes looks for room at the terminal: the
// pty tells no one when the program has read.
constexpr long long kBridgeHeldPollMs = 1;

long long NowUs()
{
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return ts.tv_sec * 1000000LL + ts.tv_nsec / 1000;
}

// Hands the pty what it takes now of the first `most` bytes, which leave
// `bytes`; the rest waits for the program to read.
void WriteAvailable(int fd, std::string &bytes, std::size_t most)
{
    std::size_t done = 0;
    while (done < most && done < bytes.size()) {
        const ssize_t w = write(fd, bytes.data() + done, std::min(most, bytes.size()) - done);
        if (w < 0 && errno == EINTR)
            continue;
        if (w <= 0)
            break;
        done += static_cast<std::size_t>(w);
    }
    bytes.erase(0, done);
}

void WriteAll(int fd, const std::string &text)
{
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t w = write(fd, text.data() + done, text.size() - done);
        if (w < 0 && errno == EINTR)
            continue;
        if (w <= 0)
            return;
        done += static_cast<std::size_t>(w);
    }
}
}  // namespace

long long FakeNowMs()
{
    return NowUs() / 1000;
}

bool WritePhonebookFile(const std::string &path, const std::vector<PhonebookEntry> &entries, std::string *error)
{
    const std::string temporary = path + ".new";
    {
        std::ofstream out(temporary, std::ios::trunc);
        out << PhonebookToJson(entries);
        if (!out) {
            *error = temporary + ": cannot write";
            return false;
        }
    }
    if (std::rename(temporary.c_str(), path.c_str()) != 0) {
        *error = path + ": " + std::strerror(errno);
        return false;
    }
    return true;
}

bool ReadPhonebookFile(const std::string &path, std::vector<PhonebookEntry> *entries, bool *exists,
                       std::string *error)
{
    std::ifstream in(path);
    *exists = static_cast<bool>(in);
    if (!in) {
        *error = path + ": " + std::strerror(errno);
        return false;
    }
    std::stringstream text;
    text << in.rdbuf();
    if (PhonebookFromJson(text.str(), entries, error))
        return true;
    *error = path + ": " + *error;
    return false;
}

FakePool::FakePool()
{
    if (pipe2(m_wake, O_CLOEXEC | O_NONBLOCK) != 0)
        m_wake[0] = m_wake[1] = -1;
}

FakePool::~FakePool()
{
    Stop();
    for (auto &f : m_fakes)
        if (f->recordFd >= 0)
            close(f->recordFd);
    for (int fd : m_wake)
        if (fd >= 0)
            close(fd);
}

int FakePool::Add(const FakeConfig &given, std::string *error)
{
    FakeConfig config = given;
    if (!config.phonebookFile.empty()) {
        bool exists = false;
        std::vector<PhonebookEntry> stored;
        if (ReadPhonebookFile(config.phonebookFile, &stored, &exists, error))
            config.phonebook = stored;
        else if (exists || !WritePhonebookFile(config.phonebookFile, config.phonebook, error))
            return -1;
    }
    auto f = std::make_unique<Fake>(config);
    f->phonebook = config.phonebook;
    f->phonebookFile = config.phonebookFile;
    if (!f->pty.Open(error))
        return -1;
    f->slavePath = f->pty.SlavePath();
    if (!config.record.empty()) {
        f->recordFd = open(config.record.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_APPEND | O_CLOEXEC, 0644);
        if (f->recordFd < 0) {
            *error = config.record + ": " + std::strerror(errno);
            return -1;
        }
    }
    m_fakes.push_back(std::move(f));
    return static_cast<int>(m_fakes.size()) - 1;
}

bool FakePool::Start(std::string *error)
{
    if (m_wake[0] < 0) {
        *error = "no wake-up pipe";
        return false;
    }
    m_thread = std::thread([this] { Run(-1, {}); });
    return true;
}

void FakePool::Stop()
{
    {
        std::lock_guard<std::mutex> g(m_lock);
        m_stopRequested = true;
    }
    if (m_wake[1] >= 0) {
        const char c = 0;
        [[maybe_unused]] ssize_t w = write(m_wake[1], &c, 1);
    }
    if (m_thread.joinable())
        m_thread.join();
}

FakeRecord FakePool::Record(std::size_t i) const
{
    std::lock_guard<std::mutex> g(m_lock);
    return m_fakes[i]->record;
}

bool FakePool::Dropped(std::size_t i) const
{
    std::lock_guard<std::mutex> g(m_lock);
    return m_fakes[i]->dropped;
}

std::vector<PhonebookEntry> FakePool::Phonebook(std::size_t i) const
{
    std::lock_guard<std::mutex> g(m_lock);
    return m_fakes[i]->phonebook;
}

void FakePool::Append(Fake &f, const FakeOutput &out, long long now)
{
    long long at = f.queue.empty() ? now : std::max(now, f.queue.back().due);
    for (const FakePiece &p : out.pieces) {
        at += p.delayMs;
        f.queue.push_back({at, p.bytes});
    }
    if (out.dropLine)
        f.dropAfterFlush = true;
    std::string lines;
    for (const FakeCommandEvent &e : out.commands)
        lines += CommandEventToJsonLine(e);
    for (const FakeSubmission &s : out.submissions)
        lines += SubmissionToJsonLine(s);
    {
        std::lock_guard<std::mutex> g(m_lock);
        f.record.commands.insert(f.record.commands.end(), out.commands.begin(), out.commands.end());
        f.record.submissions.insert(f.record.submissions.end(), out.submissions.begin(),
                                    out.submissions.end());
        if (out.phonebookChanged)
            f.phonebook = f.session.Phonebook();
    }
    if (f.recordFd >= 0 && !lines.empty())
        WriteAll(f.recordFd, lines);
    std::string error;
    if (out.phonebookChanged && !f.phonebookFile.empty() &&
        !WritePhonebookFile(f.phonebookFile, f.session.Phonebook(), &error))
        std::fprintf(stderr, "fake modem: %s\n", error.c_str());
}

void FakePool::Flood(Fake &f, long long now)
{
    if (!f.session.Flooding() || f.dropAfterFlush || now < f.floodDue || f.writing.size() >= kFloodBacklog)
        return;
    f.writing += f.session.Config().faults.floodText;
    f.floodDue = now + f.session.Config().faults.floodGapMs;
}

void FakePool::ServeInput(Fake &f, long long now)
{
    char buf[kReadChunk];
    for (;;) {
        const ssize_t r = read(f.pty.Master(), buf, sizeof buf);
        if (r < 0 && errno == EINTR)
            continue;
        if (r <= 0)
            return;
        // The speed is read when the bytes are taken: the program sets it
        // before it writes at that speed.
        Append(f, f.session.Receive(std::string(buf, static_cast<std::size_t>(r)), f.pty.Baud()), now);
        if (static_cast<std::size_t>(r) < sizeof buf)
            return;
    }
}

void FakePool::ServeOutput(Fake &f, long long now)
{
    while (!f.queue.empty() && f.queue.front().due <= now) {
        f.writing += f.queue.front().bytes;
        f.queue.pop_front();
    }
    Flood(f, now);
    if (f.session.Config().uartBridge)
        ServeBridge(f, NowUs());
    else
        WriteAvailable(f.pty.Master(), f.writing, f.writing.size());
    if (!f.dropAfterFlush || !f.queue.empty() || !f.writing.empty() || !f.packet.empty()
        || !f.arrived.empty())
        return;
    // The device goes away once the program has taken its last reply (a
    // hang-up discards unread input), or after a grace period if it never
    // reads; the slave path disappears with the pair.
    if (f.dropDue < 0)
        f.dropDue = now + kDropGraceMs;
    const bool settled = now >= f.dropDue - kDropGraceMs + kDropSettleMs && f.pty.InputPending() == 0;
    if (settled || now >= f.dropDue) {
        {
            // Marked first: whoever sees the hang-up finds the fake dropped.
            std::lock_guard<std::mutex> g(m_lock);
            f.dropped = true;
        }
        f.pty.Close();
    }
}

// The line carries one packet at a time; bytes that wait follow without a
// gap, so the line's speed holds however late the loop wakes.
void FakePool::ServeBridge(Fake &f, long long nowUs)
{
    if (f.packet.empty() && !f.writing.empty())
        StartPacket(f, nowUs);
    while (!f.packet.empty() && f.packetDueUs <= nowUs) {
        DeliverPacket(f);
        if (!f.writing.empty())
            StartPacket(f, f.packetDueUs);
    }
    const long long room = kTerminalHolds - f.pty.InputPending();
    if (room > 0)
        WriteAvailable(f.pty.Master(), f.arrived, static_cast<std::size_t>(room));
}

void FakePool::StartPacket(Fake &f, long long startUs)
{
    const std::size_t n = std::min(static_cast<std::size_t>(kFakeBridgePacketBytes), f.writing.size());
    f.packet = f.writing.substr(0, n);
    f.writing.erase(0, n);
    const int baud = f.pty.Baud() > 0 ? f.pty.Baud() : kDefaultBaud;
    f.packetDueUs = startUs + static_cast<long long>(n) * kBitsPerByte * 1000000 / baud;
}

// Unread at the port: what the terminal holds for the program, and what the
// bridge holds because the terminal had no room. What would go beyond the
// limit is lost.
void FakePool::DeliverPacket(Fake &f)
{
    const long long unread = f.pty.InputPending() + static_cast<long long>(f.arrived.size());
    const long long room = std::max(0LL, kFakeBridgeUnreadLimit - unread);
    f.arrived.append(f.packet, 0, static_cast<std::size_t>(std::min(room, static_cast<long long>(f.packet.size()))));
    f.packet.clear();
}

long long FakePool::NextWake(long long now, long long deadline) const
{
    long long wake = now + kIdleWakeMs;
    for (const auto &f : m_fakes) {
        if (!f->pty.IsOpen())
            continue;
        if (!f->queue.empty())
            wake = std::min(wake, f->queue.front().due);
        else if (f->dropAfterFlush)
            wake = std::min(wake, now + kDropPollMs);
        if (!f->packet.empty())
            wake = std::min(wake, (f->packetDueUs + 999) / 1000);
        if (!f->arrived.empty())
            wake = std::min(wake, now + kBridgeHeldPollMs);
        // A flood with room in its backlog goes on when its pause is over;
        // with the backlog full the pty's readiness wakes the loop.
        if (f->session.Flooding() && !f->dropAfterFlush && f->writing.size() < kFloodBacklog)
            wake = std::min(wake, f->floodDue);
    }
    if (deadline >= 0)
        wake = std::min(wake, deadline);
    return std::max(wake, now);
}

void FakePool::Run(long long deadlineMs, const std::vector<int> &stopFds)
{
    std::vector<pollfd> fds;
    std::vector<Fake *> owners;
    for (;;) {
        {
            std::lock_guard<std::mutex> g(m_lock);
            if (m_stopRequested)
                return;
        }
        long long now = FakeNowMs();
        if (deadlineMs >= 0 && now >= deadlineMs)
            return;
        fds.clear();
        owners.clear();
        if (m_wake[0] >= 0)
            fds.push_back({m_wake[0], POLLIN, 0});
        const std::size_t firstStop = fds.size();
        for (int fd : stopFds)
            fds.push_back({fd, POLLIN, 0});
        const std::size_t firstFake = fds.size();
        for (auto &f : m_fakes) {
            if (!f->pty.IsOpen())
                continue;
            // A bridge's pty always has room; what it may take is the
            // terminal's, which its wake-up looks at.
            const bool unwritten = !f->session.Config().uartBridge && !f->writing.empty();
            fds.push_back({f->pty.Master(), static_cast<short>(POLLIN | (unwritten ? POLLOUT : 0)), 0});
            owners.push_back(f.get());
        }
        const long long wait = NextWake(now, deadlineMs) - now;
        const int n = poll(fds.data(), fds.size(), static_cast<int>(wait));
        if (n < 0 && errno != EINTR)
            return;
        for (std::size_t i = firstStop; i < firstFake && n > 0; ++i)
            if (fds[i].revents)
                return;  // a stop fd spoke or hung up
        if (firstStop > 0 && fds[0].revents) {
            char drain[64];
            while (read(m_wake[0], drain, sizeof drain) > 0) {
            }
        }
        now = FakeNowMs();
        for (std::size_t i = firstFake; i < fds.size(); ++i) {
            Fake &f = *owners[i - firstFake];
            if (fds[i].revents & POLLIN)
                ServeInput(f, now);
            ServeOutput(f, now);
        }
    }
}

FakeModem::FakeModem(const FakeConfig &config)
{
    m_ok = m_pool.Add(config, &m_error) == 0 && m_pool.Start(&m_error);
}
