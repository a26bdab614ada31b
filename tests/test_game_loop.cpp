#include <gtest/gtest.h>

#include "creatures.h"
#include "game_loop.h"
#include "graphics_bank.h"
#include "gun.h"
#include "menu.h"
#include "platform.h"
#include "settings.h"
#include "shots.h"
#include "submarine.h"
#include "support.h"
#include "weapons.h"

namespace {

// A level with no creature kinds, a healthy submarine and scripted input.
class GameLoopTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        scripted_reset(input);
        platform_use_scripted(&input);
        reset_frame_pacing();
        creature_type_last = -1;
        submarine.active = 1;
        submarine.zivoty = submarine.max_zivoty = 10;
        submarine.pocet_snimku = 1;
        submarine.explosion_frame = -1;
        begin_level(run);
    }
    void TearDown() override { platform_use_scripted(NULL); }

    FrameInput frame()
    {
        FrameInput frame_input = read_frame_input(run);
        play_frame(run, frame_input);
        return frame_input;
    }

    TestScreen screen;
    ScriptedInput input;
    LevelRun run;
};

void count_delay(ScriptedInput& input, Uint32, void* user)
{
    (void)input;
    ++*(int*)user;
}

}  // namespace

TEST(FramePacing, WaitsOutTheRestOfTwentyFiveMilliseconds)
{
    ScriptedInput input;
    scripted_reset(input);
    platform_use_scripted(&input);
    reset_frame_pacing();

    input.clock_ms = 10;
    wait_frame();  // deadline 25: sleeps 15
    EXPECT_EQ(25u, input.clock_ms);
    EXPECT_EQ(1, input.delays);

    input.clock_ms += 5;  // a quick frame: 30, deadline 50
    wait_frame();
    EXPECT_EQ(50u, input.clock_ms);
    EXPECT_EQ(2, input.delays);
    platform_use_scripted(NULL);
}

TEST(FramePacing, SlowFrameStartsTheNextAtOnceWithoutMakingUpTime)
{
    ScriptedInput input;
    scripted_reset(input);
    platform_use_scripted(&input);
    reset_frame_pacing();

    input.clock_ms = 100;  // far past the first deadline of 25
    wait_frame();
    EXPECT_EQ(0, input.delays);
    EXPECT_EQ(100u, input.clock_ms);
    // The next deadline counts from the end of this wait: 125, not a grid.
    input.clock_ms = 110;
    wait_frame();
    EXPECT_EQ(125u, input.clock_ms);
    platform_use_scripted(NULL);
}

TEST_F(GameLoopTest, HeldButtonFiresInFramesWithoutNewEvents)
{
    scripted_push_motion(input, 300, 200);
    frame();
    EXPECT_EQ(0, run.fire_click);
    scripted_push_button(input, SDL_BUTTON_LEFT, 1);
    frame();
    EXPECT_EQ(1, run.fire_click);
    EXPECT_EQ(300, game.mouse_x);
    frame();  // nothing new: the press is examined again
    EXPECT_EQ(1, run.fire_click);
    frame();
    EXPECT_EQ(1, run.fire_click);
}

TEST_F(GameLoopTest, MotionReplacesTheHeldPressAndMovesThePointer)
{
    scripted_push_button(input, SDL_BUTTON_LEFT, 1);
    frame();
    EXPECT_EQ(1, run.fire_click);
    scripted_push_motion(input, 123, 45);
    frame();
    EXPECT_EQ(0, run.fire_click);
    EXPECT_EQ(123, game.mouse_x);
    EXPECT_EQ(45, game.mouse_y);
    // Only the last event of a frame counts: press then motion does not fire.
    scripted_push_button(input, SDL_BUTTON_LEFT, 1);
    scripted_push_motion(input, 130, 50);
    frame();
    EXPECT_EQ(0, run.fire_click);
    EXPECT_EQ(130, game.mouse_x);
}

TEST_F(GameLoopTest, ReleaseStopsTheFireClicks)
{
    scripted_push_button(input, SDL_BUTTON_LEFT, 1);
    frame();
    scripted_push_button(input, SDL_BUTTON_LEFT, 0);
    frame();
    EXPECT_EQ(0, run.fire_click);
    frame();
    EXPECT_EQ(0, run.fire_click);
}

TEST_F(GameLoopTest, PointerIsReadOnlyFromMotionEvents)
{
    game.mouse_x = 10;
    input.mouse_x = 500;  // the pointer moved but no motion event came
    frame();
    EXPECT_EQ(10, game.mouse_x);
}

TEST_F(GameLoopTest, KeysHeldAreReadFromTheKeyTable)
{
    scripted_push_key(input, SDLK_LEFT, 1, 0);
    scripted_push_key(input, SDLK_TAB, 1, 0);
    FrameInput held = frame();
    EXPECT_EQ(1, held.key_left);
    EXPECT_EQ(1, held.key_tab);
    EXPECT_EQ(0, held.key_right);
    // Still held in the next frame although no event came.
    held = frame();
    EXPECT_EQ(1, held.key_left);
}

TEST_F(GameLoopTest, FrameCountsAndPacesAndTheLevelClockRuns)
{
    input.clock_ms = 1000;
    begin_level(run);
    EXPECT_EQ(1000u, game.level_start_ms);
    creature_types[0].pocet = 1;  // keep the level going
    creature_type_last = 0;
    int delays = 0;
    input.on_delay = count_delay;
    input.user = &delays;
    for (int i = 0; i < 5; i++) frame();
    EXPECT_EQ(5, game.frame);
    // The first frame starts long after the first deadline (25 ms): no sleep.
    EXPECT_EQ(4, delays);
    EXPECT_EQ(1100u, input.clock_ms);
    EXPECT_EQ(LEVEL_PLAYING, run.result);
}

TEST_F(GameLoopTest, LevelWithoutCreatureKindsIsWonAfterItsFirstFrame)
{
    frame();
    EXPECT_EQ(LEVEL_WON, run.result);
    EXPECT_EQ(1, game.frame);
}

TEST_F(GameLoopTest, PendingKindOrLiveCreatureKeepsTheLevelGoing)
{
    creature_type_last = 1;
    creature_types[0].pocet = 2;
    creature_types[0].finished = 2;
    creature_types[1].pocet = 1;
    creature_types[1].finished = 0;
    frame();
    EXPECT_EQ(LEVEL_PLAYING, run.result);
    EXPECT_EQ(1, run.creatures_pending);

    creature_types[1].finished = 1;
    creatures[7].active = 1;
    frame();
    EXPECT_EQ(LEVEL_PLAYING, run.result);
    EXPECT_EQ(0, run.creatures_pending);
}

TEST_F(GameLoopTest, EscapeEndsThePlay)
{
    creature_types[0].pocet = 1;
    creature_type_last = 0;
    scripted_push_key(input, SDLK_ESCAPE, 1, 0);
    frame();
    EXPECT_EQ(LEVEL_OVER, run.result);
    EXPECT_EQ(1, game.frame);  // the frame is completed
}

TEST_F(GameLoopTest, WonLevelBeatsEscapeInTheSameFrame)
{
    scripted_push_key(input, SDLK_ESCAPE, 1, 0);
    frame();
    EXPECT_EQ(LEVEL_WON, run.result);
}

TEST_F(GameLoopTest, LostSubmarineBeatsAWonLevel)
{
    submarine.active = 0;
    frame();
    EXPECT_EQ(LEVEL_OVER, run.result);
}

TEST_F(GameLoopTest, LevelStartClearsShotsAndCreatures)
{
    creatures[99].active = 1;
    begin_level(run);
    EXPECT_EQ(0, creatures[99].active);
    EXPECT_EQ(SDL_NOEVENT, run.event.type);
    EXPECT_EQ(0, game.frame);
}

TEST_F(GameLoopTest, RunLevelEndsOnEscapeAndTakesTheLevelTime)
{
    creature_types[0].pocet = 1;
    creature_type_last = 0;
    // The announcement writes the level's code in the menu font: a picture
    // without marker runs has no glyphs, which is all this test needs.
    menu_script.font = SDL_CreateRGBSurface(SDL_SWSURFACE, 8, 8, 16, 0, 0, 0, 0);
    input.clock_ms = 5000;
    scripted_push_key(input, SDLK_SPACE, 1, 0);  // leaves the announcement
    scripted_push_key(input, SDLK_ESCAPE, 1, 0);
    EXPECT_EQ(LEVEL_OVER, run_level());
    SDL_FreeSurface(menu_script.font);
    menu_script.font = NULL;
    EXPECT_EQ(5000u, game.level_start_ms);
    EXPECT_EQ(1, game.frame);
    EXPECT_EQ(5000u, game.level_end_ms);  // past the first deadline: no sleep
}

namespace {

// Two crosshair pictures of different colours; weapon 0 reaches 160 pixels.
class CrosshairTest : public GameLoopTest {
protected:
    void SetUp() override
    {
        GameLoopTest::SetUp();
        creature_types[0].pocet = 1;
        creature_type_last = 0;
        near_picture = solid(255, 0, 0);
        far_picture = solid(0, 0, 255);
        bank.zamerovac[0] = near_picture;
        bank.zamerovac[1] = far_picture;
        weapon_catalogue.weapons[0].dostrel = 160;
        submarine.weapon = 0;
        // The submarine step places it on its ellipse every frame: one of
        // radius 0 keeps it at (320, 300).
        submarine.stred_x = 320;
        submarine.stred_y = 300;
        submarine.radius = 0;
        submarine.x = 320;
        submarine.y = 300;
    }
    void TearDown() override
    {
        bank.zamerovac[0] = bank.zamerovac[1] = NULL;
        SDL_FreeSurface(near_picture);
        SDL_FreeSurface(far_picture);
        GameLoopTest::TearDown();
    }
    SDL_Surface* solid(Uint8 r, Uint8 g, Uint8 b)
    {
        SDL_Surface* picture = SDL_CreateRGBSurface(SDL_SWSURFACE, 9, 9, 16, 0xF800, 0x07E0, 0x001F, 0);
        SDL_FillRect(picture, NULL, SDL_MapRGB(picture->format, r, g, b));
        return picture;
    }
    void point_at(int x, int y)
    {
        scripted_push_motion(input, x, y);
        frame();
    }
    SDL_Surface* near_picture;
    SDL_Surface* far_picture;
};

}  // namespace

TEST_F(CrosshairTest, PointerAtTheReachShowsTheNearCrosshair)
{
    // 100 pixels straight above count as 160 on the flattened sea.
    point_at(320, 200);
    EXPECT_EQ(map_colour(screen.surface, 255, 0, 0), pixel_at(screen.surface, 320, 200));
    // The picture is centred on the pointer: 9 pixels wide, corner at -4.
    EXPECT_EQ(map_colour(screen.surface, 255, 0, 0), pixel_at(screen.surface, 316, 196));
    EXPECT_EQ(map_colour(screen.surface, 0, 0, 0), pixel_at(screen.surface, 315, 196));
}

TEST_F(CrosshairTest, OnePixelFurtherShowsTheFarCrosshair)
{
    point_at(320, 199);  // 101 / 0.623 = 162 > 160
    EXPECT_EQ(map_colour(screen.surface, 0, 0, 255), pixel_at(screen.surface, 320, 199));
}

TEST_F(CrosshairTest, HorizontalDistanceIsNotScaled)
{
    point_at(480, 300);  // exactly 160 to the right
    EXPECT_EQ(map_colour(screen.surface, 255, 0, 0), pixel_at(screen.surface, 480, 300));
    point_at(481, 300);
    EXPECT_EQ(map_colour(screen.surface, 0, 0, 255), pixel_at(screen.surface, 481, 300));
}

namespace {

// Weapon 0 fires shells at 5 to 8 pixels a frame within its reach of 160;
// its splash is a yellow square of 40 pixels.
class GunInTheLoop : public CrosshairTest {
protected:
    void SetUp() override
    {
        CrosshairTest::SetUp();
        settings.max_teplota = 100;
        settings.chlazeni = 1;
        GunHeat = 0;
        reset_shot_pool();
        WeaponDef& w = weapon_catalogue.weapons[0];
        w.rychlost_vystreleni = 5;
        w.maximalni_rychlost = 8;
        w.zblunk = 0;
        weapon_catalogue.count = 1;
        splash = SDL_CreateRGBSurface(SDL_SWSURFACE, 40, 40, 16, 0xF800, 0x07E0, 0x001F, 0);
        SDL_FillRect(splash, NULL, SDL_MapRGB(splash->format, 255, 255, 0));
        bank.zblunk[0] = AnimStrip{splash, 1, 1};
    }
    void TearDown() override
    {
        bank.zblunk[0] = AnimStrip{NULL, 1, 0};
        SDL_FreeSurface(splash);
        CrosshairTest::TearDown();
    }
    int launched()
    {
        int n = 0;
        for (const Shot& shot : shot_pool.slots) n += shot.splash_frame != 256;
        return n;
    }
    Uint32 yellow() { return map_colour(screen.surface, 255, 255, 0); }
    SDL_Surface* splash;
};

}  // namespace

TEST_F(GunInTheLoop, ClickWithinReachSplashesAtThePointer)
{
    point_at(400, 300);
    scripted_push_button(input, SDL_BUTTON_LEFT, 1);
    frame();
    scripted_push_button(input, SDL_BUTTON_LEFT, 0);
    ASSERT_EQ(1, shot_pool.slots[0].active);
    int frames = 0;
    while (shot_pool.slots[0].active && frames < 100) {
        frame();
        frames++;
    }
    EXPECT_LT(frames, 100);
    EXPECT_EQ(1, launched());
    // The splash stands on the shell's ground point, next to the pointer.
    EXPECT_EQ(yellow(), pixel_at(screen.surface, 400, 312));
    EXPECT_EQ(0u, pixel_at(screen.surface, 360, 312));
}

TEST_F(GunInTheLoop, ClickBeyondReachFiresNothing)
{
    weapon_catalogue.weapons[0].zahrivani = 10;
    point_at(481, 300);
    scripted_push_button(input, SDL_BUTTON_LEFT, 1);
    for (int i = 0; i < 40; i++) frame();
    EXPECT_EQ(0, launched());
    EXPECT_EQ(0, GunHeat);
    EXPECT_EQ(0u, pixel_at(screen.surface, 481, 312));
}

TEST_F(GunInTheLoop, HeldButtonHeatsTheGunUntilItStops)
{
    weapon_catalogue.weapons[0].zahrivani = 30;
    point_at(400, 300);
    scripted_push_button(input, SDL_BUTTON_LEFT, 1);
    // 30, 59, 88 fire (each frame cools by 1); 117 is held at the limit.
    for (int i = 0; i < 10; i++) frame();
    EXPECT_EQ(3, launched());
    EXPECT_EQ(99, GunHeat);
}

TEST_F(GunInTheLoop, TabSwitchesTheWeaponThatTheCrosshairMeasures)
{
    WeaponDef& far_gun = weapon_catalogue.weapons[1];
    far_gun.dostrel = 300;
    weapon_catalogue.count = 2;
    point_at(520, 300);  // 200 to the right
    EXPECT_EQ(map_colour(screen.surface, 0, 0, 255), pixel_at(screen.surface, 520, 300));
    for (int i = 0; i < 24; i++) frame();
    scripted_push_key(input, SDLK_TAB, 1, 0);
    frame();
    EXPECT_EQ(1, submarine.weapon);
    EXPECT_EQ(map_colour(screen.surface, 255, 0, 0), pixel_at(screen.surface, 520, 300));
}
