#include "random.h"

#include <stdint.h>

static uint32_t random_state = 1;

int random_value()
{
    random_state = random_state * 214013u + 2531011u;
    return (int)((random_state >> 16) & 0x7fff);
}

void random_reset()
{
    random_state = 1;
}
