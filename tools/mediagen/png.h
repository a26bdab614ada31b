#ifndef MEDIAGEN_PNG_H
#define MEDIAGEN_PNG_H

// PNG files for what is looked at outside the game: the desktop icon and the
// contact sheets. The game itself reads only BMP.

#include <stdint.h>

#include <string>
#include <vector>

// Writes 8-bit RGB (channels 3) or RGBA (channels 4) pixels, row by row from
// the top, without filtering. Returns false when the file cannot be written.
bool write_png(const std::string& path, int w, int h, int channels, const std::vector<uint8_t>& pixels);

#endif
