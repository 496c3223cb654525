#include "ComPortBaseLinux.h"

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <utility>

#include "ComPortBase.h"
#include "ErrnoFailureKind.h"
#include "SysErrorText.h"
#include "TermLib.h"

std::atomic<int> tty_write_sz{0};

namespace {

constexpr int MIN_WRITE_SIZE = 8;
// The empty command's single look at the line takes at most this much.
constexpr int READ_CHUNK_SIZE = 128;
// One read call of a gathering: as much as a terminal holds unread.
constexpr std::size_t READ_BUFFER_SIZE = 4096;
constexpr int ERROR_PREFIX_SIZE = 32;
constexpr long POLL_TIMEOUT_US = 1;
constexpr int READ_ROUNDS_FIRST = 10;
constexpr int READ_ROUNDS_STEP = 10;
constexpr int READ_ROUNDS_MAX = 1000;
// A gathering whose caller sets no bound ends here even while input keeps
// coming: what the round cap let through when every round took one
// READ_CHUNK_SIZE, so that a line that never pauses costs no more than it
// did.
constexpr std::size_t UNBOUNDED_GATHER_MAX_BYTES =
    static_cast<std::size_t>(READ_ROUNDS_MAX) * READ_CHUNK_SIZE;
// The rest of a command that the driver took only in part may wait for room
// in the output buffer: twice its line time plus this margin, no longer.
constexpr int64_t WRITE_REST_MARGIN_US = 1000000;
constexpr int64_t BITS_PER_BYTE = 10;
// Back-off when the driver reports room but refuses the bytes.
constexpr useconds_t WRITE_RETRY_PAUSE_US = 1000;

const char *const REPLY_END_MARKERS[] = {"OK", "ERROR", ">", "SMS FULL", "SMS DONE"};

int64_t NowUs()
{
    timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<int64_t>(ts.tv_sec) * 1000000 + ts.tv_nsec / 1000;
}

// Waits at most timeoutUs for fd to be ready for events. Unlike select this
// has no limit on the descriptor's number. 1: ready (also hang-up or error,
// which the following call reports), 0: timed out, -1: failed.
int WaitReady(int fd, short events, int64_t timeoutUs)
{
    pollfd p = {fd, events, 0};
    timespec timeout;
    timeout.tv_sec = static_cast<time_t>(timeoutUs / 1000000);
    timeout.tv_nsec = static_cast<long>((timeoutUs % 1000000) * 1000);
    return ppoll(&p, 1, &timeout, nullptr);
}

ssize_t ReadChunk(int fd, char *buffer, size_t size)
{
    ssize_t n;
    do {
        n = read(fd, buffer, size);
    } while (n < 0 && errno == EINTR);
    return n;
}

ssize_t WriteChunk(int fd, const char *data, size_t size)
{
    ssize_t n;
    do {
        n = write(fd, data, size);
    } while (n < 0 && errno == EINTR);
    return n;
}

// The longest wait for the rest of a command of `bytes` at `baud`.
int64_t WriteRestBudgetUs(size_t bytes, int baud)
{
    const int64_t speed = baud > 0 ? baud : 1;
    return static_cast<int64_t>(bytes) * BITS_PER_BYTE * 1000000 * 2 / speed +
           WRITE_REST_MARGIN_US;
}

}  // namespace

bool IsReadFinished(std::string reply)
{
    for (const char *marker : REPLY_END_MARKERS)
        if (reply.find(marker) != std::string::npos)
            return true;
    return false;
}

CComPortBaseLinux::CComPortBaseLinux(std::string devicePath, int baudRate)
    : m_strDevicePath(std::move(devicePath)), m_nBaudRate(baudRate)
{
}

CComPortBaseLinux::~CComPortBaseLinux()
{
    Close();
}

// The thread's errno is cleared before every step whose failure is recorded:
// a number left behind by an earlier call (an expected EAGAIN of a
// non-blocking read, say) must never become this port's error.
bool CComPortBaseLinux::Open()
{
    if (IsOpened())
        return true;
    errno = 0;
    // O_NOCTTY: a modem must not become the controlling terminal of a root
    // process. O_NONBLOCK: no open or read may hang on a silent line.
    m_fd = open(m_strDevicePath.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_EXCL);
    if (m_fd < 0) {
        m_fd = -1;
        HandleError();
        return false;
    }
    errno = 0;
    if (!isatty(m_fd)) {
        HandleError();
        Close();
        return false;
    }
    errno = 0;
    tcflush(m_fd, TCIOFLUSH);
    HandleError();
    const LineSetup setup = SetUpLine();
    if (setup == LineSetup::Refused) {
        // Never configured, so never usable: the port is not open, and its
        // error says why, rather than leaving a line that cannot answer.
        close(m_fd);
        m_fd = -1;
    }
    return setup == LineSetup::Done;
}

CComPortBaseLinux::LineSetup CComPortBaseLinux::SetUpLine()
{
    const opt_t opts;
    errno = 0;
    if (term_set(m_fd, 1, m_nBaudRate, opts.parity, opts.databits, opts.stopbits, opts.flow, 1,
                 opts.noreset == 0) < 0) {
        // The settings table holds as many ports as the process may have
        // descriptors; one more is out of descriptors, and reported so.
        const bool refused = term_errno == TERM_EFULL;
        if (refused)
            errno = EMFILE;
        HandleError();
        return refused ? LineSetup::Refused : LineSetup::Failed;
    }
    errno = 0;
    if (term_apply(m_fd, 0) < 0) {
        HandleError();
        return LineSetup::Failed;
    }
    const int speed = term_get_baudrate(m_fd, nullptr);
    const int size = speed / 10;
    tty_write_sz = size < MIN_WRITE_SIZE ? MIN_WRITE_SIZE : size;
    return LineSetup::Done;
}

bool CComPortBaseLinux::Close()
{
    if (!IsOpened())
        return true;
    // HUPCL off: the last close must not drop DTR and reset the modem.
    term_set_hupcl(m_fd, 0);
    term_flush(m_fd);
    term_apply(m_fd, 1);
    term_erase(m_fd);
    close(m_fd);
    m_fd = -1;
    return true;
}

bool CComPortBaseLinux::IsOpened() const
{
    return m_fd != -1;
}

bool CComPortBaseLinux::IsComError() const
{
    return m_nErrorCode != 0;
}

std::string CComPortBaseLinux::GetErrorMsg() const
{
    return m_strErrorMsg;
}

int CComPortBaseLinux::GetErrorCode() const
{
    return m_nErrorCode;
}

PortFailureKind CComPortBaseLinux::GetFailureKind() const
{
    return FailureKindOfErrno(m_nErrorCode);
}

void CComPortBaseLinux::HandleError()
{
    const int number = errno;
    if (number == 0)
        return;
    char prefix[ERROR_PREFIX_SIZE];
    std::snprintf(prefix, sizeof prefix, "Code: %d  ", number);
    m_nErrorCode = number;
    m_strErrorMsg = prefix + SysErrorText(number);
}

// A terminal in raw mode with VMIN 1 reads end of file only once the line
// has hung up (an unplugged adapter): that is recorded as an I/O error.
bool CComPortBaseLinux::RecordHangUp()
{
    errno = EIO;
    HandleError();
    return false;
}

bool CComPortBaseLinux::Write(std::string command)
{
    m_strReply.clear();
    // Nothing failed on a closed port, so there is nothing to record.
    if (!IsOpened())
        return false;
    if (command.empty())
        return ReadReplyOnce();
    if (WriteCommand(command))
        usleep(USLEEP_COUNT);
    return false;
}

bool CComPortBaseLinux::WriteWithoutPause(const std::string &bytes)
{
    if (!IsOpened() || bytes.empty())
        return false;
    return WriteCommand(bytes);
}

// Writes the command in calls of at most tty_write_sz bytes and, when the
// driver takes only part of a call, writes the rest, within a time bounded by
// the command's line time. A PDU line cut in two would be sent as garbage.
// True once every byte has gone out.
bool CComPortBaseLinux::WriteCommand(const std::string &command)
{
    const size_t length = command.size();
    const int64_t deadline = NowUs() + WriteRestBudgetUs(length, m_nBaudRate);
    size_t sent = 0;
    int64_t timeoutUs = POLL_TIMEOUT_US;
    bool waitingForRoom = false;
    while (sent < length) {
        errno = 0;
        const int ready = WaitReady(m_fd, POLLOUT, timeoutUs);
        if (ready <= 0) {
            if (ready == 0 && waitingForRoom)
                errno = ETIMEDOUT;
            HandleError();
            return false;
        }
        const int limit = tty_write_sz;
        const size_t chunk = std::min(length - sent, static_cast<size_t>(limit > 0 ? limit : 0));
        errno = 0;
        const ssize_t n = WriteChunk(m_fd, command.data() + sent, chunk);
        const int64_t left = deadline - NowUs();
        if (n < 0 && errno == EAGAIN) {
            if (left <= 0) {
                errno = ETIMEDOUT;
                HandleError();
                return false;
            }
            usleep(WRITE_RETRY_PAUSE_US);
            timeoutUs = left;
            waitingForRoom = true;
            continue;
        }
        if (n <= 0) {
            HandleError();
            return false;
        }
        sent += static_cast<size_t>(n);
        errno = 0;
        if (tcdrain(m_fd) < 0)
            HandleError();
        if (sent < length) {
            if (left <= 0) {
                errno = ETIMEDOUT;
                HandleError();
                return false;
            }
            timeoutUs = left;
            waitingForRoom = true;
        }
    }
    return true;
}

// The empty command: one look at the line for a complete reply.
bool CComPortBaseLinux::ReadReplyOnce()
{
    errno = 0;
    const int ready = WaitReady(m_fd, POLLIN, POLL_TIMEOUT_US);
    if (ready <= 0) {
        HandleError();
        return false;
    }
    char buffer[READ_CHUNK_SIZE];
    errno = 0;
    const ssize_t n = ReadChunk(m_fd, buffer, sizeof buffer);
    if (n == 0)
        return RecordHangUp();
    if (n < 0) {
        if (errno != EAGAIN)
            HandleError();
        return false;
    }
    m_strReply.append(buffer, static_cast<size_t>(n));
    return IsReadFinished(m_strReply);
}

bool CComPortBaseLinux::Read(std::string &out)
{
    Gather(out, UNBOUNDED_GATHER_MAX_BYTES, std::numeric_limits<int64_t>::max());
    return false;
}

// Appends what arrives until a look at the line USLEEP_COUNT after the last
// one finds nothing. Each look takes everything that has arrived: a USB
// serial bridge without flow control loses what the modem sends once about
// 4 KB lie unread, which a 115200 line fills in a third of a second. Every
// round that brings bytes allows READ_ROUNDS_STEP more, up to
// READ_ROUNDS_MAX; input that never pauses also ends once maxBytes have been
// added or at the deadline.
void CComPortBaseLinux::Gather(std::string &out, std::size_t maxBytes, int64_t deadlineUs)
{
    if (!IsOpened() || maxBytes == 0)
        return;
    std::size_t gathered = 0;
    int roundLimit = READ_ROUNDS_FIRST;
    usleep(USLEEP_COUNT);
    for (int round = 0; round < roundLimit; round++) {
        if (!IsOpened())
            return;
        errno = 0;
        const int ready = WaitReady(m_fd, POLLIN, POLL_TIMEOUT_US);
        if (ready <= 0) {
            // Nothing within USLEEP_COUNT of the last bytes: the reply is
            // complete. Only a failed poll is an error.
            HandleError();
            return;
        }
        std::size_t taken = 0;
        if (TakeArrived(out, maxBytes - gathered, taken) != Arrival::Drained)
            return;
        if (taken > 0) {
            gathered += taken;
            if (gathered >= maxBytes)
                return;
            roundLimit = std::min(roundLimit + READ_ROUNDS_STEP, READ_ROUNDS_MAX);
        }
        if (NowUs() >= deadlineUs)
            return;
        usleep(USLEEP_COUNT);
    }
}

// Reads until the driver holds nothing more, at most maxBytes; what was
// read before a hang-up or a failure is kept.
CComPortBaseLinux::Arrival CComPortBaseLinux::TakeArrived(std::string &out, std::size_t maxBytes,
                                                          std::size_t &taken)
{
    taken = 0;
    while (taken < maxBytes) {
        char buffer[READ_BUFFER_SIZE];
        errno = 0;
        const ssize_t n = ReadChunk(m_fd, buffer, std::min(sizeof buffer, maxBytes - taken));
        if (n == 0) {
            RecordHangUp();
            return Arrival::Ended;
        }
        if (n < 0) {
            if (errno == EAGAIN)
                return Arrival::Drained;
            HandleError();
            return Arrival::Ended;
        }
        out.append(buffer, static_cast<size_t>(n));
        taken += static_cast<size_t>(n);
    }
    return Arrival::BoundReached;
}

bool CComPortBaseLinux::ReadAll(std::string &out)
{
    std::string collected;
    Read(collected);
    out += collected;
    return true;
}

bool CComPortBaseLinux::ReadAll(std::string &out, const ReadBound &bound)
{
    std::string collected;
    Gather(collected, bound.maxBytes, NowUs() + static_cast<int64_t>(bound.maxMs) * 1000);
    out += collected;
    return true;
}

// Only what the driver already holds: a command about to be written must
// not wait for the line to pause first.
void CComPortBaseLinux::ReadPending(std::string &out, std::size_t maxBytes)
{
    std::size_t taken = 0;
    if (IsOpened())
        TakeArrived(out, maxBytes, taken);
}

void CComPortBaseLinux::ResetAllComPort()
{
    term_lib_init();
}
