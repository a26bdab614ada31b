#include <gtest/gtest.h>

#include "media.h"
#include "sprites.h"
#include "support.h"

// A keyed picture gets a sprite; one that has taken another key since is no
// longer drawn from its sprite. (What a sprite draws is MediaTest's case: a
// keyed picture lands as SDL's blit puts it, and the kept games' screens.)
TEST(SpritesTest, APictureThatTakesAnotherKeyIsNoLongerDrawnFromItsSprite)
{
    TempDir dir;
    TestScreen screen;
    write_solid_bmp("GFX/strip.bmp", 150, 6, 200, 40, 40);
    SDL_Surface* picture = load_bitmap("GFX/strip.bmp", 1);
    EXPECT_NE(nullptr, sprite_for(picture, screen.surface)) << "the sprite of the picture as loaded";
    SDL_SetColorKey(picture, SDL_SRCCOLORKEY, 1);
    EXPECT_EQ(nullptr, sprite_for(picture, screen.surface)) << "the sprite once the picture takes another key";
    release_picture(picture);
}
