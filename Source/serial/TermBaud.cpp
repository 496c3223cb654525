#include "TermBaud.h"

#include <termios.h>

// Speeds above 115200 are left out: the modems this serves do not go faster.
const term_baud_t baud_table[BAUD_TABLE_SIZE] = {
    {0, B0},         {50, B50},       {75, B75},       {110, B110},     {134, B134},
    {150, B150},     {200, B200},     {300, B300},     {600, B600},     {1200, B1200},
    {1800, B1800},   {2400, B2400},   {4800, B4800},   {9600, B9600},   {19200, B19200},
    {38400, B38400}, {57600, B57600}, {115200, B115200},
};

int Bcode(int speed)
{
    for (const term_baud_t &row : baud_table)
        if (row.speed == speed)
            return row.code;
    return -1;
}

int Bspeed(int code)
{
    for (const term_baud_t &row : baud_table)
        if (row.code == code)
            return row.speed;
    return -1;
}
