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

#endif
