#ifndef ABYSSOR_GEOMETRY_H
#define ABYSSOR_GEOMETRY_H

// The scene is seen slanting from above: every vertical component of a
// direction, speed or radius is the horizontal one times FLATTEN, so the
// circles of the scene are flat ellipses.
const double FLATTEN = 0.623;
const double FLATTEN_SQUARED = 0.388129;  // 0.623 squared, for distances that undo the flattening

// Degrees become radians by this factor throughout the game (deliberately
// not pi / 180: every path and ring of the game was tuned with it).
const double DEG_TO_RAD = 0.0174;

const int SCREEN_WIDTH = 640;
const int SCREEN_HEIGHT = 480;
const int SCREEN_BPP = 16;

// A value becomes an integer by truncation toward zero; values beyond the
// integer range (which only absurd scripts produce) are held at its limits.
inline int truncate_to_int(double value)
{
    if (value != value) return 0;
    if (value >= 2147483647.0) return 2147483647;
    if (value <= -2147483648.0) return -2147483647 - 1;
    return (int)value;
}

inline int clamp_to_int(long long value)
{
    if (value > 2147483647LL) return 2147483647;
    if (value < -2147483648LL) return -2147483647 - 1;
    return (int)value;
}

#endif
