#include "TermFlagsRead.h"

#include "TermLib.h"

int tios_get_parity(const termios &tio)
{
    if (!(tio.c_cflag & PARENB))
        return P_NONE;
    if (tio.c_cflag & CMSPAR)
        return (tio.c_cflag & PARODD) ? P_MARK : P_SPACE;
    return (tio.c_cflag & PARODD) ? P_ODD : P_EVEN;
}

int tios_get_databits(const termios &tio)
{
    switch (tio.c_cflag & CSIZE) {
    case CS5: return 5;
    case CS6: return 6;
    case CS7: return 7;
    default: return 8;
    }
}

int tios_get_stopbits(const termios &tio)
{
    return (tio.c_cflag & CSTOPB) ? 2 : 1;
}

int tios_get_flowcntrl(const termios &tio)
{
    const bool rtscts = (tio.c_cflag & CRTSCTS) != 0;
    const bool xoff = (tio.c_iflag & IXOFF) != 0;
    const bool xon = (tio.c_iflag & (IXON | IXANY)) != 0;
    if (rtscts && !xoff && !xon)
        return FC_RTSCTS;
    if (!rtscts && xoff && xon)
        return FC_XONXOFF;
    if (!rtscts && !xoff && !xon)
        return FC_NONE;
    return FC_OTHER;
}
