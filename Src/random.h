#ifndef ABYSSOR_RANDOM_H
#define ABYSSOR_RANDOM_H

// The one program-wide pseudo-random generator. It is never seeded, so every
// run of the game repeats the same sequence: from state 1 the first values
// are 41, 18467, 6334, 26500, 19169.
int random_value();  // 0 ... 32767

// Puts the generator back to its start state (tests replay known sequences).
void random_reset();

#endif
