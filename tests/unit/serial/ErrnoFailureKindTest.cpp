#include "ErrnoFailureKind.h"

#include <gtest/gtest.h>

#include <cerrno>

namespace {

TEST(ErrnoFailureKindTest, EachNumberGivesTheKindAFlowDecidesOn)
{
    struct Case {
        int sysErrno;
        PortFailureKind kind;
    } const cases[] = {
        {0, PortFailureKind::None},
        // A read or write on an unplugged adapter or a hung-up line.
        {EIO, PortFailureKind::LineGone},
        {ENXIO, PortFailureKind::LineGone},
        {ENODEV, PortFailureKind::LineGone},
        {ENOENT, PortFailureKind::NotFound},
        // Busy, refused, not a terminal, out of descriptors, a stalled write:
        // the device may still be there.
        {EBUSY, PortFailureKind::Other},
        {EACCES, PortFailureKind::Other},
        {ENOTTY, PortFailureKind::Other},
        {EMFILE, PortFailureKind::Other},
        {ETIMEDOUT, PortFailureKind::Other},
        {EAGAIN, PortFailureKind::Other},
    };
    for (const Case &c : cases)
        EXPECT_EQ(FailureKindOfErrno(c.sysErrno), c.kind) << "errno " << c.sysErrno;
}

}  // namespace
