#include <gtest/gtest.h>

#include <string.h>

#include "platform.h"
#include "support.h"
#include "video.h"

// A window may reach past the desktop, a full screen cannot; -XA takes the
// largest whole factor that fits, and a desktop of unknown size fits 1.
TEST(ScaleFactor, AsAskedOrAsTheDesktopAllowsAndMappedBack)
{
    const struct {
        int requested, desktop_w, desktop_h, full_screen, factor;
    } cases[] = {
        {SCALE_NONE, 2560, 1440, 0, 1}, {2, 1024, 768, 0, 2},         {4, 1920, 1080, 1, 2},
        {3, 0, 0, 1, 3},                {SCALE_AUTO, 2000, 1500, 0, 3}, {SCALE_AUTO, 3840, 2160, 1, 4},
        {SCALE_AUTO, 1279, 1440, 0, 1}, {SCALE_AUTO, 0, 0, 0, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.requested) + " on " + std::to_string(c.desktop_w) + "x" + std::to_string(c.desktop_h));
        EXPECT_EQ(c.factor, scale_factor(c.requested, c.desktop_w, c.desktop_h, c.full_screen));
    }
    // A window pixel belongs to the screen pixel whose block holds it; the
    // border of a full screen belongs to the nearest edge.
    const struct {
        int coordinate, offset, factor, screen;
    } pixels[] = {{0, 0, 2, 0},     {1, 0, 2, 0},     {1279, 0, 2, 639},  {641, 0, 2, 320},
                  {279, 280, 3, 0}, {282, 280, 3, 0}, {583, 280, 3, 101}, {2200, 280, 3, 639}};
    for (const auto& p : pixels) EXPECT_EQ(p.screen, window_to_screen(p.coordinate, p.offset, p.factor, 640)) << p.coordinate;
}

// The window shows each screen pixel in the colour SDL itself would give it
// (the bits shifted up, the low ones 0), and every screen pixel of the rows
// copied becomes a factor x factor block at the picture's corner; the rest of
// the window is left as it was.
TEST(ScaleFactor, RowsCopiedAsWholeBlocksInTheWindowsColours)
{
    SDL_Surface* from = SDL_CreateRGBSurface(SDL_SWSURFACE, 3, 3, 16, 0xF800, 0x07E0, 0x001F, 0);
    SDL_Surface* deep = SDL_CreateRGBSurface(SDL_SWSURFACE, 15, 15, 32, 0xFF0000, 0xFF00, 0xFF, 0);
    SDL_Surface* same = SDL_CreateRGBSurface(SDL_SWSURFACE, 15, 15, 16, 0xF800, 0x07E0, 0x001F, 0);
    ASSERT_TRUE(from != NULL && deep != NULL && same != NULL);
    static Uint32 colours[SCREEN_COLOURS];
    map_screen_colours(from->format, deep->format, colours);
    EXPECT_EQ((std::vector<Uint32>{0xF80000, 0x00FC00, 0x0000F8, 0xF8FCF8, 0x081020}),
              (std::vector<Uint32>{colours[0xF800], colours[0x07E0], colours[0x001F], colours[0xFFFF], colours[0x0884]}));
    for (int i = 0; i < 9; i++) ((Uint16*)((Uint8*)from->pixels + i / 3 * from->pitch))[i % 3] = (Uint16)(0x1000 + i);
    const struct {
        SDL_Surface* to;
        int factor, offset_x, offset_y, top, bottom;
    } cases[] = {{deep, 2, 0, 0, 0, 3}, {deep, 3, 1, 2, 1, 3}, {same, 4, 1, 1, 0, 3}, {deep, 5, 0, 0, 2, 3}, {same, 1, 4, 5, 0, 3}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.factor) + " into " + std::to_string(c.to->format->BitsPerPixel) + " bits");
        map_screen_colours(from->format, c.to->format, colours);
        SDL_FillRect(c.to, NULL, 0xEEEE);
        scale_rows(from, c.to, colours, c.factor, c.offset_x, c.offset_y, c.top, c.bottom);
        for (int y = 0; y < c.to->h; y++)
            for (int x = 0; x < c.to->w; x++) {
                int sx = (x - c.offset_x) / c.factor, sy = (y - c.offset_y) / c.factor;
                bool copied = x >= c.offset_x && y >= c.offset_y && sx < 3 && sy >= c.top && sy < c.bottom;
                ASSERT_EQ(copied ? colours[0x1000 + sy * 3 + sx] : 0xEEEEu, pixel_at(c.to, x, y)) << x << "," << y;
            }
    }
    SDL_FreeSurface(from);
    SDL_FreeSurface(deep);
    SDL_FreeSurface(same);
}

// -X2 on SDL's own driver: the game draws on a 640 x 480 screen, a flip or a
// strip's update shows it doubled, and the pointer reaches the game in
// screen pixels, from events and from the mouse state alike.
TEST(ScaleFactor, AScaledWindowShowsTheScreenAndMapsThePointer)
{
    ASSERT_EQ(0, SDL_Init(SDL_INIT_VIDEO | SDL_INIT_NOPARACHUTE));
    SDL_Surface* screen = video_open(0, 2);
    ASSERT_NE(nullptr, screen);
    SDL_Surface* window = SDL_GetVideoSurface();
    EXPECT_FIELDS({"screen->w", 640, screen->w}, {"screen->h", 480, screen->h}, {"window->w", 1280, window->w},
                  {"window->h", 960, window->h});
    SDL_FillRect(screen, NULL, 0xF800);  // red, shown in the window's own depth
    video_update_rect(screen, 0, 100, 640, 10);
    EXPECT_EQ((std::vector<Uint32>{0, 0xF80000, 0xF80000, 0}),
              (std::vector<Uint32>{pixel_at(window, 5, 199), pixel_at(window, 5, 200), pixel_at(window, 1279, 219),
                                   pixel_at(window, 5, 220)}));
    video_flip(screen);
    EXPECT_EQ(0xF80000u, pixel_at(window, 0, 0));
    SDL_WarpMouse(1001, 503);
    SDL_Event motion, press;
    ASSERT_EQ(1, platform_poll_event(&motion));
    int x = 0, y = 0;
    platform_mouse_state(&x, &y);
    memset(&press, 0, sizeof press);
    press.type = SDL_MOUSEBUTTONDOWN;
    press.button.x = 1279;
    press.button.y = 2;
    SDL_PushEvent(&press);
    ASSERT_EQ(1, platform_wait_event(&press));
    EXPECT_FIELDS({"motion.type", SDL_MOUSEMOTION, motion.type}, {"motion.motion.x", 500, motion.motion.x},
                  {"motion.motion.y", 251, motion.motion.y}, {"mouse state x", 500, x}, {"mouse state y", 251, y},
                  {"press.button.x", 639, press.button.x}, {"press.button.y", 1, press.button.y});
    video_close();
}
