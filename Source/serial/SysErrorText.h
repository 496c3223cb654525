// The C library's text for a system error number, safe to call from several
// threads at once (strerror shares one buffer between all of them).
#ifndef ZARVEX_SYS_ERROR_TEXT_H
#define ZARVEX_SYS_ERROR_TEXT_H

#include <string>

std::string SysErrorText(int sysErrno);

#endif
