#include <SDL/SDL_mixer.h>
#include <string.h>

#include <string>
#include <vector>

#include "bonus.h"
#include "creatures.h"
#include "game_loop.h"
#include "graphics_bank.h"
#include "gun.h"
#include "media.h"
#include "menu.h"
#include "settings.h"
#include "shots.h"
#include "sounds.h"
#include "submarine.h"
#include "support.h"
#include "weapons.h"

namespace {

// Still screens noting when they came and whether a sound played; the
// player holds Right in a pause.
std::string screens_shown;
int pauses = 0;
void note(const char* name)
{
    screens_shown += std::string(name) + " at frame " + std::to_string(game.frame);
    screens_shown += Mix_Playing(-1) ? " in sound; " : "; ";
}
// Creature 7, given life, comes up while the announcement shows.
void announce_and_raise_creature_7()
{
    note("announcement");
    creatures[7].active = creatures[7].zivoty > 0;
}
void pause_holding_right()
{
    pauses++;
    platform_scripted()->keys[SDLK_RIGHT] = 1;
}
const LevelScreens NOTED_SCREENS = {announce_and_raise_creature_7, [] { note("completed"); }, [] { note("game over"); },
                                    pause_holding_right};

// A level with no creature kinds, a healthy submarine and scripted input.
class GameLoopTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        fresh_shooting();
        scripted_reset(input);
        reset_frame_pacing();
        creature_type_last = -1;
        for (CreatureType& kind : creature_types) {
            kind.pocet = kind.finished = 0;
            kind.dolni_interval = kind.horni_interval = 100000;  // none comes up while a test runs
        }
        memset(&submarine, 0, sizeof submarine);
        submarine.active = submarine.pocet_snimku = 1;
        submarine.zivoty = submarine.max_zivoty = 10;
        submarine.explosion_frame = -1;
        orbit_speed = 0.0f;
        begin_level(run);
    }
    void keep_level_going()  // a kind still to come
    {
        creature_types[0].pocet = 1;
        creature_type_last = 0;
    }
    FrameInput frame()
    {
        FrameInput frame_input = read_frame_input(run);
        play_frame(run, frame_input);
        return frame_input;
    }
    TestScreen screen;
    ScriptedSession session;
    ScriptedInput& input = session.input;
    LevelRun run;
};

}  // namespace

// Frames of mouse events (m motion to (300, 200), p press, r release): a press
// fires in its frame whatever follows; a button held still keeps firing until
// motion or a release; the pointer is read from motion events only.
TEST_F(GameLoopTest, APressFiresInItsFrameAndAButtonHeldStillKeepsFiring)
{
    struct Frame {
        const char* events;
        int fire_click, mouse_x;
    };
    const std::vector<Frame> cases[] = {
        {{"m", 0, 300}, {"p", 1, 300}, {"", 1, 300}, {"", 1, 300}},
        {{"p", 1, 10}, {"m", 0, 300}, {"pm", 1, 300}, {"", 0, 300}},
        {{"p", 1, 10}, {"r", 0, 10}, {"", 0, 10}},
        {{"pr", 1, 10}, {"", 0, 10}, {"mp", 1, 300}},
    };
    for (const auto& frames : cases) {
        SetUp();
        game.mouse_x = 10;
        input.mouse_x = 500;  // where the pointer is, though no motion event told
        std::string played;  // the frames so far, each in brackets
        for (const Frame& f : frames) {
            played += std::string("[") + f.events + "]";
            SCOPED_TRACE("frames " + played);
            for (const char* e = f.events; *e; e++) {
                if (*e == 'm') scripted_push_motion(input, 300, 200);
                if (*e != 'm') scripted_push_button(input, SDL_BUTTON_LEFT, *e == 'p');
            }
            frame();
            EXPECT_EQ(f.fire_click, run.fire_click);
            EXPECT_EQ(f.mouse_x, game.mouse_x);
        }
    }
}

// Keys are read from the key table whatever the last event; a press of P
// pauses once and the keys held as it ends count.
TEST_F(GameLoopTest, APressOfPPausesAndTheKeysHeldAfterThePauseCount)
{
    keep_level_going();
    submarine.rychlost_otaceni = 5;
    run.screens = &NOTED_SCREENS;
    pauses = 0;
    input.keys[SDLK_RIGHT] = input.keys[SDLK_TAB] = 1;  // held from before the level
    scripted_push_motion(input, 50, 60);
    FrameInput held = frame();
    EXPECT_EQ(1, held.key_right);
    EXPECT_EQ(1, held.key_tab);
    EXPECT_EQ(0.5f, orbit_speed);
    input.keys[SDLK_RIGHT] = 0;
    scripted_push_key(input, SDLK_p, 1, 0);
    frame();
    EXPECT_EQ(1.0f, orbit_speed);  // Right, held when the pause ended, counted
    for (int i = 0; i < 5; i++) frame();
    scripted_push_key(input, SDLK_p, 0, 0);
    scripted_push_key(input, SDLK_p, 1, 0);
    frame();
    EXPECT_EQ(2, pauses);
    EXPECT_EQ(LEVEL_PLAYING, run.result);
}

// A level opens with clock, pools and cursor fresh; won when no kind is to come and no creature lives, it
// ends after the frame of Escape, the window closed or the submarine lost (which beats a win, as a win beats
// Escape) on the screen of its result, every sound stopped.
TEST_F(GameLoopTest, RunLevelEndsOnTheScreenOfItsResult)
{
    TempDir dir;
    ASSERT_TRUE(open_audio());
    write_wav("SFX/engine.wav", 2000);
    Mix_Chunk* engine = load_sound("SFX/engine.wav");
    const struct {
        const char* what;
        bool kind_pending, creature_alive, submarine_lost;
        char press;  // e Escape, q the close request
        const char* screens;
        Uint32 end_ms;
    } cases[] = {{"won", 0, 0, 0, 0, "completed at frame 1; ", 5000},
                 {"won, the submarine lost", 0, 0, 1, 0, "game over at frame 1; ", 5000},
                 {"Escape", 1, 0, 0, 'e', "game over at frame 1; ", 5000}, {"won, Escape", 0, 0, 0, 'e', "completed at frame 1; ", 5000},
                 {"the window closed", 1, 0, 0, 'q', "game over at frame 1; ", 5000},
                 {"given up, a kind to come", 1, 0, 0, 0, "game over at frame 43; ", 6050},
                 {"given up, a creature alive", 0, 1, 0, 0, "game over at frame 43; ", 6050}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        SetUp();
        settings.sound = 1;
        creatures[99].active = shot_pool.slots[SHOT_CAPACITY - 1].active = 1;
        SDL_ShowCursor(1);
        if (c.kind_pending) keep_level_going();
        creature_types[1].pocet = creature_types[1].finished = 2;  // a finished kind
        creature_type_last = 1;
        creatures[7].zivoty = c.creature_alive;
        creatures[7].explosion_frame = -1;
        submarine.active = !c.submarine_lost;
        if (c.press == 'e') scripted_push_key(input, SDLK_ESCAPE, 1, 0);
        if (c.press == 'q') scripted_push_quit(input);
        // The player gives up after a second of play.
        input.on_delay = [](ScriptedInput& in, Uint32, void*) { in.keys[SDLK_ESCAPE] = in.delays > 40; };
        input.clock_ms = 5000;
        play_sound(engine, CHANNEL_PLANE, -1);
        screens_shown.clear();
        EXPECT_EQ(c.screens[0] == 'c' ? LEVEL_WON : LEVEL_OVER, run_level_showing(NOTED_SCREENS));
        EXPECT_EQ(std::string("announcement at frame 0 in sound; ") + c.screens, screens_shown);
        EXPECT_EQ(0, creatures[99].active) << "a creature left from before";
        EXPECT_EQ(0, shot_pool.slots[SHOT_CAPACITY - 1].active) << "a shot left from before";
        EXPECT_EQ(0, SDL_ShowCursor(-1)) << "the system cursor shown";
        EXPECT_EQ(5000u, game.level_start_ms) << "the level's start";
        EXPECT_EQ(c.end_ms, game.level_end_ms) << "the level's end";
        EXPECT_EQ(0, input.dry_waits) << "waits that found no input";
    }
    Mix_FreeChunk(engine);
    close_audio();
}

// The crosshair is the gun's own word: it shows "within reach" exactly where a
// click in the next frame fires, the reach strictly (200 pixels away is
// beyond a reach of 200) and vertical offsets counting 1 / 0.623 times.
TEST_F(GameLoopTest, TheCrosshairShowsWithinReachExactlyWhereAClickFires)
{
    const struct {
        const char* where;
        int x, y;
        bool within;
    } cases[] = {{"199 to the right", 519, 240, true}, {"200 to the right", 520, 240, false},
                 {"124 above, 199 on the flattened sea", 320, 116, true}, {"125 above, 200.6", 320, 115, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.where);
        reset_images();  // the crosshairs of the case before
        SetUp();
        WeaponDef& gun = weapon_catalogue.weapons[0];
        weapon_catalogue.count = 1;
        gun.rychlost_vystreleni = gun.maximalni_rychlost = 5;
        gun.dostrel = 200;
        submarine.exact_x = submarine.x = submarine.stred_x = 320;  // at the centre of an ellipse of no size
        submarine.exact_y = submarine.y = submarine.stred_y = 240;
        bank.zamerovac[0] = solid_surface(5, 5, 0, 255, 0);
        bank.zamerovac[1] = solid_surface(5, 5, 255, 0, 0);
        scripted_push_motion(input, c.x, c.y);
        frame();
        Uint32 green = map_colour(screen.surface, 0, 255, 0), red = map_colour(screen.surface, 255, 0, 0);
        EXPECT_EQ(c.within ? green : red, pixel_at(screen.surface, c.x, c.y)) << "the crosshair (green within reach)";
        scripted_push_button(input, SDL_BUTTON_LEFT, 1);
        frame();
        int fired = 0;
        for (const Shot& shot : shot_pool.slots) fired += shot.active;
        EXPECT_EQ(c.within ? 1 : 0, fired) << "shells fired";
    }
}

// A gun hotter than 80 % of its limit sounds the menu script's warning as
// the frame ends.
TEST_F(GameLoopTest, AHotGunSoundsTheMenusOverheatWarning)
{
    TempDir dir;
    ASSERT_TRUE(open_audio());
    write_wav("SFX/hot.wav", 60000);
    menu_script.overheat_sound = load_sound("SFX/hot.wav");
    keep_level_going();
    GunHeat = 90;
    frame();
    EXPECT_EQ(menu_script.overheat_sound, Mix_Playing(CHANNEL_ANNOUNCE) ? Mix_GetChunk(CHANNEL_ANNOUNCE) : NULL);
    close_audio();
}

// A collected repair bonus adds its points every frame, up to the hit points.
TEST_F(GameLoopTest, BonusLifeRegeneratesUpToTheSubmarinesHitPoints)
{
    keep_level_going();
    submarine.zivoty = 5;
    bonus_catalogue.types[0].zivoty = 3;
    bonuses[0] = Bonus{100, 100, 0, 1000, 1, 1};
    frame();
    EXPECT_EQ(8, submarine.zivoty);
    frame();
    EXPECT_EQ(10, submarine.zivoty);
    reset_bonuses();
}
