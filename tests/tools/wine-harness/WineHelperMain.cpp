// wine_harness_helper: the Windows program the Wine harness's own tests run.
//
//   list                     the names in the serial port map, one a line
//   at PORT COMMAND ...      each COMMAND (' standing for ") sent to its PORT
//                            at 9600 baud; prints "PORT reply" with the reply's
//                            CR and LF as \r and \n; exit 2 when a port fails
//   sleep MS                 waits, then exits 0
//   echo                     standard input to standard output, unchanged
//   text                     a Chinese line on a standard output in text mode
//   key                      a prompt, one key read by _getch, the key
//   env NAME                 the variable's value
//   exit CODE                exits with that code
#include <windows.h>

#include <conio.h>
#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {
constexpr DWORD kReplyTimeoutMs = 2000;
constexpr DWORD kLineBaud = 9600;

int List()
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Hardware\\DeviceMap\\SerialComm", 0, KEY_READ, &key) != ERROR_SUCCESS)
        return 0;  // no port at all
    for (DWORD i = 0;; ++i) {
        char name[512];
        BYTE data[512];
        DWORD nameSize = sizeof name;
        DWORD dataSize = sizeof data;
        DWORD type = 0;
        if (RegEnumValueA(key, i, name, &nameSize, nullptr, &type, data, &dataSize) != ERROR_SUCCESS)
            break;
        if (type == REG_SZ)
            std::printf("%.*s\n", static_cast<int>(strnlen(reinterpret_cast<char *>(data), dataSize)),
                        reinterpret_cast<char *>(data));
    }
    RegCloseKey(key);
    return 0;
}

std::string Escaped(const std::string &bytes)
{
    std::string out;
    for (char c : bytes) {
        if (c == '\r')
            out += "\\r";
        else if (c == '\n')
            out += "\\n";
        else
            out.push_back(c);
    }
    return out;
}

bool Complete(const std::string &reply)
{
    return reply.find("OK\r\n") != std::string::npos || reply.find("ERROR") != std::string::npos;
}

// Sends the command and reads its reply until a final result or the time.
bool Exchange(const std::string &port, std::string command, std::string *reply)
{
    for (char &c : command)
        if (c == '\'')
            c = '"';
    const std::string path = "\\\\.\\" + port;
    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        *reply = "open error " + std::to_string(GetLastError());
        return false;
    }
    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    GetCommState(h, &dcb);
    dcb.BaudRate = kLineBaud;
    dcb.ByteSize = 8;
    dcb.Parity = NOPARITY;
    dcb.StopBits = ONESTOPBIT;
    SetCommState(h, &dcb);
    COMMTIMEOUTS timeouts{};
    timeouts.ReadIntervalTimeout = 50;
    timeouts.ReadTotalTimeoutConstant = 100;
    SetCommTimeouts(h, &timeouts);
    command += "\r";
    DWORD written = 0;
    bool ok = WriteFile(h, command.data(), static_cast<DWORD>(command.size()), &written, nullptr) &&
              written == command.size();
    if (!ok)
        *reply = "write error " + std::to_string(GetLastError());
    const DWORD start = GetTickCount();
    while (ok && !Complete(*reply) && GetTickCount() - start < kReplyTimeoutMs) {
        char buf[256];
        DWORD got = 0;
        if (!ReadFile(h, buf, sizeof buf, &got, nullptr)) {
            *reply += "read error " + std::to_string(GetLastError());
            ok = false;
        }
        reply->append(buf, got);
    }
    CloseHandle(h);
    return ok && Complete(*reply);
}

int At(int argc, char **argv)
{
    int status = 0;
    for (int i = 2; i + 1 < argc; i += 2) {
        std::string reply;
        if (!Exchange(argv[i], argv[i + 1], &reply))
            status = 2;
        std::printf("%s %s\n", argv[i], Escaped(reply).c_str());
        std::fflush(stdout);
    }
    return status;
}

int Echo()
{
    char buf[4096];
    std::size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, stdin)) > 0)
        std::fwrite(buf, 1, n, stdout);
    return 0;
}

int Key()
{
    std::printf("key? ");
    std::fflush(stdout);
    const int c = _getch();
    std::printf("[%c]\n", c);
    return 0;
}
}  // namespace

int main(int argc, char **argv)
{
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode != "text" && mode != "key") {
        _setmode(_fileno(stdout), _O_BINARY);
        _setmode(_fileno(stdin), _O_BINARY);
    }
    if (mode == "list")
        return List();
    if (mode == "at")
        return At(argc, argv);
    if (mode == "sleep" && argc > 2) {
        Sleep(static_cast<DWORD>(std::atoi(argv[2])));
        return 0;
    }
    if (mode == "echo")
        return Echo();
    if (mode == "text") {
        std::printf("中文 ok\n");
        return 0;
    }
    if (mode == "key")
        return Key();
    if (mode == "env" && argc > 2) {
        const char *value = std::getenv(argv[2]);
        std::printf("%s", value ? value : "(unset)");
        return 0;
    }
    if (mode == "exit" && argc > 2)
        return std::atoi(argv[2]);
    std::fprintf(stderr, "usage: wine_harness_helper list|at|sleep|echo|text|key|env|exit ...\n");
    return 64;
}
