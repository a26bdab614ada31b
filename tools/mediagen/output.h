#ifndef MEDIAGEN_OUTPUT_H
#define MEDIAGEN_OUTPUT_H

// Where the generated files go: paths are relative to the game's working
// directory (the run folder), exactly as the scripts name them.

#include <string>

#include "gfx.h"
#include "quantize.h"
#include "sound.h"

void output_begin(const std::string& root);
int output_count();

// A colour-keyed picture: transparent where alpha < 0.5, key at index 0 and
// in the top-left pixel (the painting must leave that pixel clear).
void save_keyed(const std::string& path, const Canvas& c);
// An opaque picture (seabed, backgrounds), optionally dithered.
void save_opaque(const std::string& path, const Canvas& c, bool dither);
void save_indexed(const std::string& path, const Indexed& picture);
void save_sound(const std::string& path, const Wave& w);
// A picture with its transparency, as PNG: for the desktop, not the game.
void save_png(const std::string& path, const Canvas& c);

#endif
