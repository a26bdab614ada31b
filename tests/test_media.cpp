#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "media.h"
#include "support.h"

// A strip of 150 x 6 in indexes 1 to 4 with the key 7, its top-left index,
// scattered through it; index 4 is a green that the 16-bit screen rounds to
// the key's green. Drawn keyed (from its sprite) or as a copy in the screen's
// format, any part of it lands where SDL's blit puts it: far-off places and
// parts are held in the 16-bit fields. Each row: part, place.
TEST(MediaTest, PicturesDrawWhatABlitDraws)
{
    TempDir dir;
    TestScreen screen;
    const int w = 150, h = 6;
    std::vector<Uint8> pixels(w * h);
    for (int i = 0; i < w * h; i++) pixels[i] = i % 7 == 0 || i % 11 < 3 ? 7 : 1 + i % 4;
    pixels[1] = 2;
    write_bmp8("GFX/strip.bmp", w, h, pixels, {{1, 200, 40, 40}, {2, 10, 20, 250}, {3, 255, 255, 255}, {4, 3, 254, 5}, {7, 0, 255, 0}});
    SDL_Surface* keyed = load_bitmap("GFX/strip.bmp", 1);
    SDL_Surface* indexes = SDL_LoadBMP("GFX/strip.bmp");
    SDL_SetColorKey(indexes, SDL_SRCCOLORKEY, 7);
    SDL_Surface* plain = SDL_ConvertSurface(indexes, screen.surface->format, 0);
    SDL_SetColorKey(plain, 0, 0);
    ASSERT_TRUE(copies_plainly(plain, screen.surface));
    const SDL_PixelFormat* f = screen.surface->format;
    SDL_Surface* expected = SDL_CreateRGBSurface(SDL_SWSURFACE, 640, 480, 16, f->Rmask, f->Gmask, f->Bmask, 0);
    const struct {
        int sx, sy, sw, sh, dx, dy;
    } rows[] = {{0, 0, w, h, 10, 10},      {40, 0, 50, h, 100, 50},      {130, 2, 20, 3, 0, 0},
                {0, 0, w, h, -70, -3},     {0, 0, w, h, 600, 476},       {-10, -2, 80, h, 5, 5},
                {100, 0, 60, 9, 300, 300}, {60, 0, 5, h, 200, 100},      {-32767, 0, 65535, h, 32767, 20}};
    for (SDL_Surface* picture : {keyed, plain}) {
        for (const auto& r : rows) {
            SCOPED_TRACE(testing::Message() << (picture == keyed ? "keyed " : "plain ") << r.sx << "," << r.sy << " "
                                            << r.sw << "x" << r.sh << " at " << r.dx << "," << r.dy);
            SDL_FillRect(screen.surface, NULL, 0x1234);
            SDL_FillRect(expected, NULL, 0x1234);
            draw_bitmap_part(picture, r.sx, r.sy, r.sw, r.sh, screen.surface, r.dx, r.dy);
            SDL_Rect part = make_rect(r.sx, r.sy, r.sw, r.sh), at = make_rect(r.dx, r.dy, 0, 0);
            SDL_BlitSurface(picture == keyed ? indexes : plain, &part, expected, &at);
            EXPECT_EQ(0, memcmp(expected->pixels, screen.surface->pixels, (size_t)480 * expected->pitch));
        }
    }
    // The last row's source column -32767 sends the destination round the
    // 16-bit field to -2: column 3, index 4, lands at x 1.
    EXPECT_EQ(map_colour(screen.surface, 3, 254, 5), pixel_at(screen.surface, 1, 20));
    SDL_FreeSurface(expected);
    SDL_FreeSurface(plain);
    SDL_FreeSurface(indexes);
    release_picture(keyed);
}
