#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "graphics_bank.h"
#include "media.h"
#include "menu.h"
#include "screens.h"
#include "support.h"

namespace {

// The still screens and their pictures.
const char* const SCREENS[] = {"announcement", "level completed", "game over", "pause"};
const int PICTURES[] = {1, 0, 2, 3};

// The four screen pictures, 100 x 60 in colours of their own, over a grey
// last frame; a font of white blocks 5 pixels wide and 8 high.
class ScreensTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        const Uint8 colours[4][3] = {{0, 255, 0}, {0, 0, 255}, {255, 0, 0}, {255, 255, 0}};
        for (int i = 0; i < 4; i++) bank.misc[i] = solid_surface(100, 60, colours[i][0], colours[i][1], colours[i][2]);
        write_block_font("font.bmp", 5, 9, 255, 255, 255);
        menu_script.font = load_bitmap("font.bmp", 0);
        SDL_FillRect(screen.surface, NULL, frame_colour());
    }
    Uint32 frame_colour() { return map_colour(screen.surface, 40, 40, 40); }
    Uint32 misc_colour(int i) { return pixel_at(bank.misc[i], 0, 0); }  // same format as the screen
    Uint32 at(int x, int y) { return pixel_at(screen.surface, x, y); }
    // The picture lies centred: from (270, 210) to (369, 269).
    bool centred(int i)
    {
        return at(270, 210) == misc_colour(i) && at(369, 269) == misc_colour(i) && at(269, 210) != misc_colour(i) &&
               at(370, 269) != misc_colour(i);
    }
    void key(SDLKey k, int pressed) { scripted_push_key(session.input, k, pressed, 0); }
    // The still screens in the order of their pictures' rows.
    void show(int i)
    {
        void (*shows[])() = {show_announcement_screen, show_level_completed_screen, show_game_over_screen,
                             show_pause_screen};
        shows[i]();
    }

    TempDir dir;  // the font and sounds written here stay out of the working directory
    TestScreen screen;
    ScriptedSession session;
};

}  // namespace

// Each still screen shows its picture (the end screens and the pause over
// the last frame) until a key is pressed once it shows: what was queued
// before, or came in its first 200 ms, is dropped, and the pause ends only
// on a fresh press of P, then waits for it to be let go.
TEST_F(ScreensTest, EachStillScreenShowsItsPictureUntilAKeyIsPressedOnceItShows)
{
    for (int i = 0; i < 4; i++) {
        SCOPED_TRACE(SCREENS[i]);
        const bool pause = i == 3;
        SDL_FillRect(screen.surface, NULL, frame_colour());
        scripted_reset(session.input);
        session.input.keys[SDLK_p] = pause;  // still held from the press that started the pause
        scripted_push_motion(session.input, 10, 10);
        key(SDLK_p, 0);
        key(SDLK_a, 1);
        key(SDLK_p, 1);
        key(SDLK_c, 1);
        if (!pause) {
            answer_when_shown(session.input);
            key(SDLK_RETURN, 1);  // queued before it showed
        }
        show(i);
        EXPECT_TRUE(centred(PICTURES[i]));
        EXPECT_EQ(i > 0 ? frame_colour() : 0u, at(639, 479));  // the announcement's is black
        // The key presses after the one that ended it are left.
        EXPECT_EQ(pause ? 1 : 2, session.input.count) << "events left";
        EXPECT_EQ(pause ? 100u : FRESH_INPUT_MS, session.input.clock_ms) << "time the screen took";
        EXPECT_EQ(0, session.input.dry_waits) << "waits that found no input";
    }
}

// Each still screen ends on the close request, even one that came before it
// showed, and when no event can come any more.
TEST_F(ScreensTest, EveryStillScreenEndsOnACloseRequest)
{
    scripted_push_motion(session.input, 10, 10);
    scripted_push_quit(session.input);
    key(SDLK_a, 1);
    for (int i = 0; i < 4; i++) {
        show(i);
        EXPECT_TRUE(centred(PICTURES[i])) << SCREENS[i];
    }
    EXPECT_EQ(0, session.input.dry_waits);
    EXPECT_EQ(1, session.input.quit_requests);
    scripted_reset(session.input);  // and when no event can come any more
    for (int i = 0; i < 4; i++) show(i);
    EXPECT_EQ(4, session.input.dry_waits);
}

TEST_F(ScreensTest, ScreensPlayTheirSoundsOnTheAnnouncementChannelAndThePauseIsSilent)
{
    ASSERT_TRUE(open_audio());
    for (const char* path : {"SFX/a.wav", "SFX/b.wav", "SFX/c.wav"}) write_wav(path, 4000);
    capture([] {
        menu_script.prepare_sound = load_sound("SFX/a.wav");
        menu_script.level_completed_sound = load_sound("SFX/b.wav");
        menu_script.gameover_sound = load_sound("SFX/c.wav");
    });
    std::vector<Mix_Chunk*> played;
    for (int i = 0; i < 4; i++) {
        show(i);
        played.push_back(Mix_GetChunk(CHANNEL_ANNOUNCE));
    }
    EXPECT_EQ((std::vector<Mix_Chunk*>{menu_script.prepare_sound, menu_script.level_completed_sound,
                                       menu_script.gameover_sound, menu_script.gameover_sound}),
              played);
    Mix_HaltChannel(-1);
    close_audio();
}
