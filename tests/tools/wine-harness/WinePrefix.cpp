#include "WinePrefix.h"

#include <fcntl.h>
#include <ftw.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>

const char kWinePortsSection[] = "[Software\\\\Wine\\\\Ports]";

namespace {
// Smaller files are copied (ini files, time stamps), and so is every file
// at the top (the registry files, which the tests rewrite).
constexpr off_t kLinkedFileMinBytes = 64 * 1024;

// A value or name as system.reg quotes it.
std::string RegQuoted(const std::string &text)
{
    std::string out = "\"";
    for (char c : text) {
        if (c == '\\' || c == '"')
            out.push_back('\\');
        out.push_back(c);
    }
    return out + "\"";
}

std::string RegUnquoted(const std::string &quoted)
{
    std::string out;
    for (std::size_t i = 1; i + 1 < quoted.size(); ++i) {
        if (quoted[i] == '\\' && i + 2 < quoted.size())
            ++i;
        out.push_back(quoted[i]);
    }
    return out;
}

// A line that opens the Ports key: its name, then the end or a blank and
// the key's time stamp.
bool OpensPortsSection(const std::string &text, std::size_t lineStart)
{
    const std::size_t n = std::strlen(kWinePortsSection);
    if (text.compare(lineStart, n, kWinePortsSection) != 0)
        return false;
    return lineStart + n == text.size() || text[lineStart + n] == ' ' || text[lineStart + n] == '\n';
}

// [begin, end) of the Ports key's lines after its header, or npos.
void FindPortsBody(const std::string &text, std::size_t *begin, std::size_t *end)
{
    *begin = *end = std::string::npos;
    for (std::size_t line = 0; line < text.size();) {
        const std::size_t next = text.find('\n', line);
        const std::size_t lineEnd = next == std::string::npos ? text.size() : next + 1;
        if (OpensPortsSection(text, line)) {
            *begin = lineEnd;
            std::size_t body = lineEnd;
            while (body < text.size() && text[body] != '[') {
                const std::size_t nl = text.find('\n', body);
                body = nl == std::string::npos ? text.size() : nl + 1;
            }
            *end = body;
            return;
        }
        line = lineEnd;
    }
}

const std::string *g_copyFrom = nullptr;
const std::string *g_copyTo = nullptr;
std::string *g_copyError = nullptr;

bool CopyFileContents(const char *from, const char *to, mode_t mode)
{
    const int in = open(from, O_RDONLY | O_CLOEXEC);
    if (in < 0)
        return false;
    const int out = open(to, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode & 07777);
    bool ok = out >= 0;
    char buf[65536];
    while (ok) {
        const ssize_t r = read(in, buf, sizeof buf);
        if (r == 0)
            break;
        ok = r > 0 && write(out, buf, static_cast<std::size_t>(r)) == r;
    }
    close(in);
    if (out >= 0 && close(out) != 0)
        ok = false;
    return ok;
}

int CopyEntry(const char *path, const struct stat *st, int type, FTW *where)
{
    const std::string target = *g_copyTo + (path + g_copyFrom->size());
    bool ok = true;
    if (type == FTW_D) {
        ok = mkdir(target.c_str(), st->st_mode & 07777) == 0;
    } else if (type == FTW_SL || type == FTW_SLN) {
        char link[4096];
        const ssize_t n = readlink(path, link, sizeof link - 1);
        ok = n >= 0;
        if (ok) {
            link[n] = '\0';
            ok = symlink(link, target.c_str()) == 0;
        }
    } else if (type == FTW_F && S_ISREG(st->st_mode)) {
        const bool shared = where->level > 1 && st->st_size >= kLinkedFileMinBytes;
        ok = shared ? link(path, target.c_str()) == 0 : CopyFileContents(path, target.c_str(), st->st_mode);
    }
    // Sockets, fifos and devices have no place in a prefix: left out.
    if (!ok) {
        *g_copyError = target + ": " + std::strerror(errno);
        return 1;
    }
    return 0;
}

int RemoveEntry(const char *path, const struct stat *, int type, FTW *)
{
    if (type == FTW_DP)
        rmdir(path);
    else
        unlink(path);
    return 0;
}
}  // namespace

std::string WithWinePorts(const std::string &systemReg, const std::vector<WinePortMapping> &ports)
{
    std::string values;
    for (const WinePortMapping &p : ports)
        values += RegQuoted(p.first) + "=" + RegQuoted(p.second) + "\n";
    std::size_t begin, end;
    FindPortsBody(systemReg, &begin, &end);
    if (begin == std::string::npos) {
        std::string text = systemReg;
        if (!text.empty() && text.back() != '\n')
            text += "\n";
        return text + "\n" + kWinePortsSection + "\n" + values;
    }
    return systemReg.substr(0, begin) + values + "\n" + systemReg.substr(end);
}

std::string WithServicesOnDemand(const std::string &systemReg, const std::vector<std::string> &services)
{
    static const char kStart[] = "\"Start\"=dword:";
    static const char kOnDemand[] = "00000003";
    std::string text = systemReg;
    for (const std::string &service : services) {
        const std::string header = "\n[System\\\\CurrentControlSet\\\\Services\\\\" + service + "]";
        const std::size_t key = text.find(header);
        if (key == std::string::npos)
            continue;
        const std::size_t next = text.find("\n[", key + header.size());
        const std::size_t start = text.find(std::string("\n") + kStart, key + header.size());
        if (start == std::string::npos || (next != std::string::npos && start > next))
            continue;
        const std::size_t value = start + 1 + std::strlen(kStart);
        if (value + std::strlen(kOnDemand) <= text.size())
            text.replace(value, std::strlen(kOnDemand), kOnDemand);
    }
    return text;
}

std::vector<WinePortMapping> WinePortsIn(const std::string &systemReg)
{
    std::vector<WinePortMapping> ports;
    std::size_t begin, end;
    FindPortsBody(systemReg, &begin, &end);
    if (begin == std::string::npos)
        return ports;
    std::istringstream body(systemReg.substr(begin, end - begin));
    std::string line;
    while (std::getline(body, line)) {
        if (line.empty() || line[0] != '"')
            continue;
        // The name ends at the first quote that no backslash escapes.
        std::size_t close = 1;
        while (close < line.size() && line[close] != '"')
            close += line[close] == '\\' ? 2 : 1;
        if (close + 2 >= line.size() || line[close + 1] != '=')
            continue;
        ports.emplace_back(RegUnquoted(line.substr(0, close + 1)), RegUnquoted(line.substr(close + 2)));
    }
    return ports;
}

bool CopyPrefixTree(const std::string &from, const std::string &to, std::string *error)
{
    struct stat st{};
    if (lstat(to.c_str(), &st) == 0) {
        *error = to + " exists already";
        return false;
    }
    error->clear();
    g_copyFrom = &from;
    g_copyTo = &to;
    g_copyError = error;
    const int r = nftw(from.c_str(), CopyEntry, 32, FTW_PHYS);
    g_copyFrom = g_copyTo = nullptr;
    g_copyError = nullptr;
    if (r != 0 && error->empty())
        *error = from + ": " + std::strerror(errno);
    return r == 0;
}

bool RemoveTree(const std::string &path)
{
    struct stat st{};
    if (lstat(path.c_str(), &st) != 0)
        return errno == ENOENT;
    nftw(path.c_str(), RemoveEntry, 32, FTW_DEPTH | FTW_PHYS);
    return lstat(path.c_str(), &st) != 0;
}

bool ReadWholeFile(const std::string &path, std::string *text)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    std::stringstream s;
    s << in.rdbuf();
    *text = s.str();
    return true;
}

bool ReplaceFile(const std::string &path, const std::string &text)
{
    const std::string temporary = path + ".zarvex-new";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out << text;
        if (!out.flush())
            return false;
    }
    return std::rename(temporary.c_str(), path.c_str()) == 0;
}
