#include "SysErrorText.h"

#include <string.h>

namespace {

constexpr size_t SYS_ERROR_TEXT_SIZE = 256;

// strerror_r comes in two forms; each overload takes the answer of one. Only
// one of them is used by a given C library.
[[maybe_unused]] const char *PickText(int result, const char *buffer)
{
    return result == 0 ? buffer : "Unknown error";
}

[[maybe_unused]] const char *PickText(const char *result, const char *)
{
    return result;
}

}  // namespace

std::string SysErrorText(int sysErrno)
{
    char buffer[SYS_ERROR_TEXT_SIZE] = {0};
    return PickText(strerror_r(sysErrno, buffer, sizeof buffer), buffer);
}
