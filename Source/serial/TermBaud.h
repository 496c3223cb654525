// The speeds the terminal settings library knows, with the platform's codes.
// Private to the library and its tests.
#ifndef ZARVEX_TERM_BAUD_H
#define ZARVEX_TERM_BAUD_H

struct term_baud_t {
    int speed;  // bits per second
    int code;   // the platform's speed code
};

constexpr int BAUD_TABLE_SIZE = 18;
extern const term_baud_t baud_table[BAUD_TABLE_SIZE];

int Bcode(int speed);  // -1 when the speed is not in the table
int Bspeed(int code);  // -1 when the code is not in the table

#endif
