#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "creatures.h"
#include "font.h"
#include "game_loop.h"
#include "graphics_bank.h"
#include "level.h"
#include "media.h"
#include "menu.h"
#include "platform.h"
#include "screens.h"
#include "settings.h"
#include "submarine.h"
#include "support.h"

namespace {

// A font whose glyphs are solid white blocks 5 pixels wide and 8 high, with
// black (transparent) marker columns between them.
SDL_Surface* block_font()
{
    const int glyphs = 109, run = 2, body = 5, h = 9;
    const int w = run + glyphs * (body + run);
    std::vector<Uint8> pixels((size_t)w * h, 0);
    for (int g = 0; g <= glyphs; g++) {
        int x = g * (body + run);
        pixels[x] = pixels[x + 1] = 1;
        if (g == glyphs) break;
        for (int row = 1; row < h; row++)
            for (int col = x + run; col < x + run + body; col++) pixels[(size_t)row * w + col] = 2;
    }
    write_bmp8("font.bmp", w, h, pixels, {{0, 0, 0, 0}, {1, 255, 0, 255}, {2, 255, 255, 255}});
    return load_bitmap("font.bmp", 0);
}

// The four screen pictures: 100 x 60, in colours of their own.
class ScreensTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        scripted_reset(input);
        platform_use_scripted(&input);
        const Uint8 colours[4][3] = {{0, 255, 0}, {0, 0, 255}, {255, 0, 0}, {255, 255, 0}};
        for (int i = 0; i < 4; i++) bank.misc[i] = solid_surface(100, 60, colours[i][0], colours[i][1], colours[i][2]);
        menu_script.font = block_font();
        SDL_FillRect(screen.surface, NULL, frame_colour());
    }
    void TearDown() override
    {
        platform_use_scripted(NULL);
        // The bank and the menu script keep their pictures until the reset
        // before the next test frees them.
    }
    Uint32 frame_colour() { return map_colour(screen.surface, 40, 40, 40); }
    Uint32 misc_colour(int i) { return pixel_at(bank.misc[i], 0, 0); }  // same format as the screen
    Uint32 at(int x, int y) { return pixel_at(screen.surface, x, y); }
    // The picture lies centred: from (270, 210) to (369, 269).
    bool centred(int i)
    {
        return at(270, 210) == misc_colour(i) && at(369, 269) == misc_colour(i) && at(269, 210) != misc_colour(i)
               && at(370, 269) != misc_colour(i);
    }
    void key(SDLKey k, int pressed) { scripted_push_key(input, k, pressed, 0); }

    TempDir dir;  // the font and sounds written here stay out of the working directory
    TestScreen screen;
    ScriptedInput input;
};

}  // namespace

TEST_F(ScreensTest, AnnouncementShowsTheLevelCodeOnABlackScreen)
{
    strcpy(levels.entries[3].code, "ALPHA");
    game.level_index = 3;
    bank.misc_x[1] = 280;
    bank.misc_y[1] = 230;
    key(SDLK_SPACE, 1);
    answer_when_shown(input);
    show_announcement_screen();
    EXPECT_EQ(at(0, 0), 0u);  // the last frame is gone
    EXPECT_EQ(at(269, 240), 0u);
    EXPECT_EQ(at(270, 212), misc_colour(1));
    // Five letters 5 pixels wide from x 280, glyph rows from y 230.
    Uint32 white = map_colour(screen.surface, 255, 255, 255);
    EXPECT_EQ(at(279, 230), misc_colour(1));
    EXPECT_EQ(at(280, 230), white);
    EXPECT_EQ(at(304, 237), white);
    EXPECT_EQ(at(305, 230), misc_colour(1));
    EXPECT_EQ(at(280, 238), misc_colour(1));
}

// A key pressed before the screen showed is no answer to it.
TEST_F(ScreensTest, AnnouncementWaitsForAKeyPressedOnceItShows)
{
    scripted_push_motion(input, 10, 10);
    key(SDLK_a, 0);
    scripted_push_button(input, 1, 1);
    key(SDLK_a, 1);
    key(SDLK_b, 1);
    answer_when_shown(input);
    key(SDLK_RETURN, 1);  // queued before it showed
    show_announcement_screen();
    EXPECT_EQ(input.count, 1);  // the first key press ended it; the second is still queued
    EXPECT_TRUE(centred(1));
}

TEST_F(ScreensTest, EndScreensLieOverTheLastFrameUntilAKeyPress)
{
    scripted_push_motion(input, 10, 10);
    key(SDLK_a, 1);
    key(SDLK_c, 1);
    answer_when_shown(input);
    key(SDLK_b, 1);  // queued before it showed
    show_level_completed_screen();
    EXPECT_EQ(input.count, 1);
    EXPECT_TRUE(centred(0));
    EXPECT_EQ(at(0, 0), frame_colour());

    SDL_FillRect(screen.surface, NULL, frame_colour());
    key(SDLK_b, 1);
    answer_when_shown(input);
    show_game_over_screen();
    EXPECT_EQ(0, input.dry_waits);
    EXPECT_TRUE(centred(2));
    EXPECT_EQ(at(639, 479), frame_colour());
}

TEST_F(ScreensTest, PauseEndsWhenPIsPressedAgain)
{
    scripted_push_motion(input, 10, 10);
    key(SDLK_a, 1);
    key(SDLK_p, 1);
    key(SDLK_p, 0);
    show_pause_screen();
    EXPECT_EQ(input.count, 1);  // the release of P is left
    EXPECT_TRUE(centred(3));
    EXPECT_EQ(at(0, 0), frame_colour());
    EXPECT_EQ(input.clock_ms, 100u);  // a pause for the key to be let go
}

// P still held from the press that started the pause does not end it.
TEST_F(ScreensTest, PauseWaitsForAFreshPressOfP)
{
    input.keys[SDLK_p] = 1;
    scripted_push_motion(input, 10, 10);
    key(SDLK_p, 0);
    key(SDLK_p, 1);
    scripted_push_motion(input, 20, 20);
    show_pause_screen();
    EXPECT_EQ(input.count, 1);
}

TEST_F(ScreensTest, WaitsEndWhenNoEventCanComeAnyMore)
{
    show_announcement_screen();
    show_level_completed_screen();
    show_game_over_screen();
    show_pause_screen();
    EXPECT_TRUE(centred(3));
}

// Each still screen shows its picture and ends on the close request, even
// one that came before it showed.
TEST_F(ScreensTest, EveryStillScreenEndsOnACloseRequest)
{
    scripted_push_motion(input, 10, 10);
    scripted_push_quit(input);
    key(SDLK_a, 1);
    show_announcement_screen();
    EXPECT_TRUE(centred(1));
    show_level_completed_screen();
    EXPECT_TRUE(centred(0));
    show_game_over_screen();
    EXPECT_TRUE(centred(2));
    show_pause_screen();
    EXPECT_TRUE(centred(3));
    EXPECT_EQ(0, input.dry_waits);
    EXPECT_EQ(1, input.quit_requests);
}

TEST_F(ScreensTest, ScreensPlayTheirSoundsOnTheAnnouncementChannel)
{
    ASSERT_TRUE(open_audio());
    write_wav("SFX/a.wav", 4000);
    write_wav("SFX/b.wav", 4000);
    write_wav("SFX/c.wav", 4000);
    capture([] {
        menu_script.prepare_sound = load_sound("SFX/a.wav");
        menu_script.level_completed_sound = load_sound("SFX/b.wav");
        menu_script.gameover_sound = load_sound("SFX/c.wav");
    });
    show_announcement_screen();
    EXPECT_EQ(Mix_GetChunk(CHANNEL_ANNOUNCE), menu_script.prepare_sound);
    show_level_completed_screen();
    EXPECT_EQ(Mix_GetChunk(CHANNEL_ANNOUNCE), menu_script.level_completed_sound);
    show_game_over_screen();
    EXPECT_EQ(Mix_GetChunk(CHANNEL_ANNOUNCE), menu_script.gameover_sound);
    show_pause_screen();
    EXPECT_EQ(Mix_GetChunk(CHANNEL_ANNOUNCE), menu_script.gameover_sound);  // the pause is silent
    Mix_HaltChannel(-1);
    // The menu script keeps the sounds until the reset before the next test.
    close_audio();
}

namespace {

// A level with no creatures left to come: it is won in its first frame.
class ScreensInTheLevel : public ScreensTest {
protected:
    void SetUp() override
    {
        ScreensTest::SetUp();
        reset_frame_pacing();
        creature_type_last = -1;
        strcpy(levels.entries[0].code, "KOD");
        game.level_index = 0;
    }
};

// The keys that end the level-completed screen are pressed once it shows.
void keys_after_the_frame(ScriptedInput& input, Uint32, void*)
{
    if (input.on_wait != NULL) return;
    scripted_push_key(input, SDLK_RETURN, 1, 13);
    scripted_push_key(input, SDLK_x, 1, 'x');
    answer_when_shown(input);
}

}  // namespace

TEST_F(ScreensInTheLevel, AWonLevelEndsOnTheLevelCompletedScreen)
{
    submarine.active = 1;
    submarine.zivoty = submarine.max_zivoty = 10;
    submarine.pocet_snimku = 1;
    submarine.explosion_frame = -1;
    key(SDLK_SPACE, 1);  // ends the announcement
    answer_when_shown(input);
    input.on_delay = keys_after_the_frame;
    EXPECT_EQ(LEVEL_WON, run_level());
    EXPECT_EQ(1, game.frame);
    EXPECT_TRUE(centred(0));
    EXPECT_EQ(input.count, 1);  // Return ended the screen; the key after it is left
}
