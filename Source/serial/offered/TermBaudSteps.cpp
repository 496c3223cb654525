// Stepping through the speeds of the baud table.
#include "TermLibOffered.h"

#include "TermBaud.h"

int term_baud_ok(int baud)
{
    return Bcode(baud) != -1 ? 1 : 0;
}

int term_baud_up(int baud)
{
    for (const term_baud_t &row : baud_table)
        if (row.speed > baud)
            return row.speed;
    return baud;
}

int term_baud_down(int baud)
{
    for (int i = BAUD_TABLE_SIZE - 1; i >= 0; i--)
        if (baud_table[i].speed < baud)
            return baud_table[i].speed;
    return baud;
}
