#include "ComPortError.h"

#include <cstdio>

namespace {

constexpr DWORD kUserDefaultLanguage = MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT);
// ERROR_NO_SUCH_DEVICE, which the cross compiler's headers lack.
constexpr DWORD kErrorNoSuchDevice = 433;

bool IsGoneDeviceCode(DWORD code)
{
    switch (code) {
    case ERROR_NOT_READY:
    case ERROR_BAD_COMMAND:
    case ERROR_GEN_FAILURE:
    case ERROR_DEVICE_NOT_CONNECTED:
    case ERROR_DEVICE_REMOVED:
    case kErrorNoSuchDevice:
    case ERROR_INVALID_HANDLE:
        return true;
    default:
        return false;
    }
}

}  // namespace

std::string FormatLastErrorMsg(int code)
{
    DWORD number = static_cast<DWORD>(code);
    if (number == 0)
        number = GetLastError();
    char *message = nullptr;
    const DWORD length = FormatMessageA(
        FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_ALLOCATE_BUFFER,
        nullptr, number, kUserDefaultLanguage, reinterpret_cast<char *>(&message), 0, nullptr);
    if (length == 0 || message == nullptr) {
        if (message)
            LocalFree(message);
        char fallback[100] = {};
        std::snprintf(fallback, sizeof fallback, "{未定义错误描述(%d)}", static_cast<int>(number));
        return fallback;
    }
    std::string text(message, length);
    LocalFree(message);
    return text;
}

std::string FormatComErrorText(DWORD code)
{
    char prefix[32] = {};
    std::snprintf(prefix, sizeof prefix, "Code:%d   ", static_cast<int>(code));
    return prefix + FormatLastErrorMsg(static_cast<int>(code));
}

PortFailureKind OpenFailureKind(DWORD code)
{
    switch (code) {
    case ERROR_SUCCESS:
        return PortFailureKind::None;
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
        return PortFailureKind::NotFound;
    default:
        // A port held by another program answers "access denied" here.
        return IsGoneDeviceCode(code) ? PortFailureKind::LineGone : PortFailureKind::Other;
    }
}

PortFailureKind IoFailureKind(DWORD code)
{
    if (code == ERROR_SUCCESS)
        return PortFailureKind::None;
    // On an open handle "access denied" means the adapter was pulled out.
    if (code == ERROR_ACCESS_DENIED || IsGoneDeviceCode(code))
        return PortFailureKind::LineGone;
    return PortFailureKind::Other;
}
