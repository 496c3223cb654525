// The terminal settings library's error number, one per thread.
#include "TermLib.h"

namespace {

thread_local int termErrno = TERM_EOK;

}  // namespace

int *term_errno_location()
{
    return &termErrno;
}
