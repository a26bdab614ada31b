#ifndef DATACHECK_MEDIA_CHECK_H
#define DATACHECK_MEDIA_CHECK_H

// Properties of the pictures and sounds the scripts name, as the game's
// loaders rely on them.

#include <SDL/SDL.h>

#include <string>
#include <vector>

#include "report.h"

struct Picture {
    SDL_Surface* surface = NULL;
    int w = 0, h = 0;
    bool palettised = false;
    int key = -1;  // palette index of the top-left pixel
};

// Loads a picture once; later calls return the same one. Reports a missing
// or unreadable file, or one that is not an 8-bit picture with a full
// palette, and returns NULL then.
const Picture* picture(Report& report, const std::string& where, const std::string& path);

// A picture drawn with its top-left pixel as the transparent colour: some
// pixels must show, and no other colour in use may become that colour on
// a 16-bit screen.
const Picture* keyed_picture(Report& report, const std::string& where, const std::string& path);

// A strip of frames equally wide, each of which must show something when
// keyed; square means each frame is as wide as the strip is high.
const Picture* strip_picture(Report& report, const std::string& where, const std::string& path, int frames,
                             bool keyed, bool square);

// A bitmap font: marker row of (255, 0, 255) runs, 109 glyphs (bytes 33 ...
// 126 and the fifteen Czech letters), transparent colour in the bottom-left
// pixel. Returns the advance of each glyph (empty when the font is broken).
std::vector<int> font_picture(Report& report, const std::string& where, const std::string& path);

// The pixel width of a text in a font as the game measures it, or -1 when
// the text holds a byte the font has no glyph for.
int font_text_width(const std::vector<int>& advances, const std::string& text);

// An 8-bit WAV at 11025 Hz with some sound in it.
void sound_file(Report& report, const std::string& where, const std::string& path);

// Every file below GFX/ and SFX/.
std::vector<std::string> media_files();

void free_pictures();

#endif
