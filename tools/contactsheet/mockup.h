#ifndef CONTACTSHEET_MOCKUP_H
#define CONTACTSHEET_MOCKUP_H

#include <stdint.h>

#include <string>
#include <vector>

// A 640 x 480 picture in 0xRRGGBB.
struct Frame {
    int w = 640, h = 480;
    std::vector<uint32_t> px = std::vector<uint32_t>(640 * 480, 0);
    void set(int x, int y, uint32_t c);
};

// Play scenes of the four levels, the level announcement, the high-score
// table and the credits, assembled from the run folder's files.
std::vector<Frame> make_mockups(const std::string& run_dir);

#endif
