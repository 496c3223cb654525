#include "TermFlags.h"

#include "TermLib.h"

void tios_set_raw(termios &tio)
{
    cfmakeraw(&tio);
    // One byte is enough for a read to return; no inter-byte timer.
    tio.c_cc[VMIN] = 1;
    tio.c_cc[VTIME] = 0;
}

bool tios_set_parity(termios &tio, int parity)
{
    tcflag_t set = 0;
    switch (parity) {
    case P_NONE: break;
    case P_EVEN: set = PARENB; break;
    case P_ODD: set = PARENB | PARODD; break;
    case P_MARK: set = PARENB | PARODD | CMSPAR; break;
    case P_SPACE: set = PARENB | CMSPAR; break;
    default: return false;
    }
    tio.c_cflag = (tio.c_cflag & ~(PARENB | PARODD | CMSPAR)) | set;
    return true;
}

bool tios_set_databits(termios &tio, int databits)
{
    tcflag_t size;
    switch (databits) {
    case 5: size = CS5; break;
    case 6: size = CS6; break;
    case 7: size = CS7; break;
    case 8: size = CS8; break;
    default: return false;
    }
    tio.c_cflag = (tio.c_cflag & ~CSIZE) | size;
    return true;
}

bool tios_set_stopbits(termios &tio, int stopbits)
{
    switch (stopbits) {
    case 1: tio.c_cflag &= ~CSTOPB; return true;
    case 2: tio.c_cflag |= CSTOPB; return true;
    default: return false;
    }
}

bool tios_set_flowcntrl(termios &tio, int flowcntrl)
{
    switch (flowcntrl) {
    case FC_NONE:
        tio.c_cflag &= ~CRTSCTS;
        tio.c_iflag &= ~(IXON | IXOFF | IXANY);
        return true;
    case FC_RTSCTS:
        tio.c_cflag |= CRTSCTS;
        tio.c_iflag &= ~(IXON | IXOFF | IXANY);
        return true;
    case FC_XONXOFF:
        // IXANY is the user's choice and stays as it is.
        tio.c_cflag &= ~CRTSCTS;
        tio.c_iflag |= IXON | IXOFF;
        return true;
    default: return false;
    }
}

void tios_set_local(termios &tio, bool on)
{
    if (on)
        tio.c_cflag |= CLOCAL;
    else
        tio.c_cflag &= ~CLOCAL;
}

void tios_set_hupcl(termios &tio, bool on)
{
    if (on)
        tio.c_cflag |= HUPCL;
    else
        tio.c_cflag &= ~HUPCL;
}
