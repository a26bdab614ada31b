#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "media.h"
#include "sprites.h"
#include "support.h"

// A keyed strip of 150 x 6 (tiles of 64 columns) whose key, index 7, stands
// in runs of every length; a part drawn from its sprite shows the opaque
// pixels that SDL's blit of the palette indexes shows, across the tiles. A
// picture that takes another key is no longer drawn from its sprite. Each
// row: the part.
TEST(SpritesTest, ASpriteDrawsTheOpaquePixelsOfItsPicture)
{
    TempDir dir;
    TestScreen screen;
    const int w = 150, h = 6;
    std::vector<Uint8> pixels(w * h);
    for (int i = 0; i < w * h; i++) pixels[i] = i % 7 == 0 || i % 13 < 4 || (i / 9) % 5 == 0 ? 7 : 1 + i % 4;
    write_bmp8("GFX/strip.bmp", w, h, pixels, {{1, 200, 40, 40}, {2, 10, 20, 250}, {3, 255, 255, 255}, {4, 3, 254, 5}, {7, 0, 255, 0}});
    SDL_Surface* picture = load_bitmap("GFX/strip.bmp", 1);
    SDL_Surface* indexes = SDL_LoadBMP("GFX/strip.bmp");
    SDL_SetColorKey(indexes, SDL_SRCCOLORKEY, 7);
    const SDL_PixelFormat* f = screen.surface->format;
    SDL_Surface* expected = SDL_CreateRGBSurface(SDL_SWSURFACE, 640, 480, 16, f->Rmask, f->Gmask, f->Bmask, 0);
    const Sprite* sprite = sprite_for(picture, screen.surface);
    ASSERT_NE(nullptr, sprite);
    const struct {
        int sx, sy, sw, sh;
    } rows[] = {{0, 0, w, h}, {40, 0, 50, h}, {63, 1, 2, 4}, {64, 0, 64, h}, {127, 5, 23, 1}, {130, 2, 20, 3}};
    for (const auto& r : rows) {
        SCOPED_TRACE(testing::Message() << r.sx << "," << r.sy << " " << r.sw << "x" << r.sh);
        SDL_FillRect(screen.surface, NULL, 0x1234);
        SDL_FillRect(expected, NULL, 0x1234);
        Uint8* to = (Uint8*)screen.surface->pixels + 10 * screen.surface->pitch + 20 * 2;
        draw_sprite_part(*sprite, r.sx, r.sy, r.sw, r.sh, to, screen.surface->pitch);
        SDL_Rect part = {(Sint16)r.sx, (Sint16)r.sy, (Uint16)r.sw, (Uint16)r.sh}, at = {20, 10, 0, 0};
        SDL_BlitSurface(indexes, &part, expected, &at);
        EXPECT_EQ(0, memcmp(expected->pixels, screen.surface->pixels, (size_t)480 * expected->pitch));
    }
    SDL_SetColorKey(picture, SDL_SRCCOLORKEY, 1);
    EXPECT_EQ(nullptr, sprite_for(picture, screen.surface));
    SDL_FreeSurface(expected);
    SDL_FreeSurface(indexes);
    release_picture(picture);
}
