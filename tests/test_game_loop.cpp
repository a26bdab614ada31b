#include <gtest/gtest.h>

#include <SDL/SDL_mixer.h>

#include <string.h>

#include <string>

#include "bonus.h"
#include "creatures.h"
#include "game_loop.h"
#include "graphics_bank.h"
#include "gun.h"
#include "menu.h"
#include "media.h"
#include "particles.h"
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
        // A kind given a count keeps the level going; none of them comes up
        // while a test runs.
        for (CreatureType& kind : creature_types) {
            kind.pocet = kind.finished = 0;
            kind.dolni_interval = 100000;
            kind.horni_interval = 100001;
        }
        for (Creature& creature : creatures) creature.active = 0;
        bonus_effects = BonusEffects();
        orbit_speed = 0.0f;
        submarine.active = 1;
        submarine.zivoty = submarine.max_zivoty = 10;
        submarine.pocet_snimku = 1;
        submarine.explosion_frame = -1;
        begin_level(run);
    }
    void TearDown() override { platform_use_scripted(NULL); }
    // A kind of creature still to come keeps the level going.
    void keep_level_going()
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
    ScriptedInput input;
    LevelRun run;
};

void count_delay(ScriptedInput& input, Uint32, void* user)
{
    (void)input;
    ++*(int*)user;
}

}  // namespace

// Each frame waits out the rest of 25 ms from the end of the last wait: a
// slow frame starts the next at once without making up time, and the
// deadline is compared as a signed number (some 24.8 days after start-up it
// passes 2^31 ms and that frame does not wait).
TEST(FramePacing, WaitsOutTheRestOfTwentyFiveMilliseconds)
{
    const struct {
        Uint32 clock[2];  // the clock when each of two frames ends its work
        Uint32 after[2];  // and after its wait
        int delays;
    } cases[] = {
        {{10, 30}, {25, 50}, 2},
        {{100, 110}, {100, 125}, 1},
        {{0x7FFFFFF0u, 0x7FFFFFF5u}, {0x7FFFFFF0u, 0x7FFFFFF5u}, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.clock[0]);
        ScriptedSession session;
        reset_frame_pacing();
        for (int i = 0; i < 2; i++) {
            session.input.clock_ms = c.clock[i];
            wait_frame();
            EXPECT_EQ(c.after[i], session.input.clock_ms);
        }
        EXPECT_EQ(c.delays, session.input.delays);
    }
}

// Frames of mouse events (m motion to the point, p press, r release) and
// what each frame made of them: a press fires in its frame whatever follows
// it (a quick tap, a click while the mouse moves); a held button fires in
// frames without new events; motion replaces the held press; a release stops
// the clicks; the pointer is read only from motion events.
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
        for (const Frame& f : frames) {
            SCOPED_TRACE(f.events);
            for (const char* e = f.events; *e; e++) {
                if (*e == 'm') scripted_push_motion(input, 300, 200);
                if (*e == 'p') scripted_push_button(input, SDL_BUTTON_LEFT, 1);
                if (*e == 'r') scripted_push_button(input, SDL_BUTTON_LEFT, 0);
            }
            frame();
            EXPECT_EQ(f.fire_click, run.fire_click);
            EXPECT_EQ(f.mouse_x, game.mouse_x);
            if (strchr(f.events, 'm') != NULL) {
                EXPECT_EQ(200, game.mouse_y);
            }
        }
    }
}

TEST_F(GameLoopTest, ArrowKeysAreReadFromTheKeyTableWhateverTheLastEvent)
{
    submarine.rychlost_otaceni = 5;
    orbit_speed = 0.0f;
    // Right held from before the level: no key event of it ever comes, and
    // the frame's last event is a mouse motion.
    input.keys[SDLK_RIGHT] = 1;
    scripted_push_motion(input, 50, 60);
    FrameInput held = frame();
    EXPECT_EQ(1, held.key_right);
    EXPECT_EQ(0.5f, orbit_speed);
    frame();
    EXPECT_EQ(1.0f, orbit_speed);
    input.keys[SDLK_RIGHT] = 0;
    input.keys[SDLK_LEFT] = 1;
    input.keys[SDLK_TAB] = 1;
    held = frame();
    EXPECT_EQ(0.5f, orbit_speed);
    EXPECT_EQ(1, held.key_tab);
    EXPECT_EQ(0, held.key_right);
}

TEST_F(GameLoopTest, FrameCountsAndPacesAndTheLevelClockRuns)
{
    input.clock_ms = 1000;
    begin_level(run);
    EXPECT_EQ(1000u, game.level_start_ms);
    keep_level_going();
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

// A level without creature kinds is won after its first frame; Escape ends
// the play once the frame is completed; a won level beats Escape in the same
// frame, and a lost submarine beats a won level.
TEST_F(GameLoopTest, TheFirstFrameDecidesBetweenWonLostAndPlaying)
{
    const struct {
        bool kind_pending, escape, submarine_lost;
        int result;
    } cases[] = {
        {false, false, false, LEVEL_WON},
        {true, true, false, LEVEL_OVER},
        {false, true, false, LEVEL_WON},
        {false, false, true, LEVEL_OVER},
        {true, false, false, LEVEL_PLAYING},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(&c - cases);
        SetUp();
        if (c.kind_pending) keep_level_going();
        if (c.escape) scripted_push_key(input, SDLK_ESCAPE, 1, 0);
        if (c.submarine_lost) submarine.active = 0;
        frame();
        EXPECT_EQ(c.result, run.result);
        EXPECT_EQ(1, game.frame);
    }
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
    creatures[7].zivoty = 1;
    creatures[7].explosion_frame = -1;
    frame();
    EXPECT_EQ(LEVEL_PLAYING, run.result);
    EXPECT_EQ(0, run.creatures_pending);
}

TEST_F(GameLoopTest, LevelStartClearsShotsAndCreaturesAndHidesTheCursor)
{
    creatures[99].active = 1;
    shot_pool.slots[0].active = 1;
    shot_pool.slots[SHOT_CAPACITY - 1].active = 1;
    game.frame = 77;
    SDL_ShowCursor(1);
    begin_level(run);
    EXPECT_EQ((std::vector<long long>{0, 0, 0, SDL_NOEVENT, 0, 0}),
              (std::vector<long long>{creatures[99].active, shot_pool.slots[0].active,
                                      shot_pool.slots[SHOT_CAPACITY - 1].active, run.event.type, game.frame,
                                      SDL_ShowCursor(-1)}));
}

TEST_F(GameLoopTest, BonusLifeRegeneratesUpToTheSubmarinesHitPoints)
{
    keep_level_going();
    submarine.zivoty = 5;
    submarine.max_zivoty = 10;
    // A collected repair bonus gives 3 a frame.
    bonus_catalogue.types[0].zivoty = 3;
    bonus_catalogue.count = 1;
    bonuses[0] = Bonus{100, 100, 0, 1000, 1, 1};
    frame();
    EXPECT_EQ(8, submarine.zivoty);
    frame();
    EXPECT_EQ(10, submarine.zivoty);  // 11 is held at the hit points of the file
    bonuses[0].active = 0;
    bonus_catalogue.types[0].zivoty = 0;
}

namespace {

// Still screens that only note when they came.
std::string screens_shown;
int playing_at_end_screen = -1;

void note_announcement()
{
    screens_shown += "announcement at frame " + std::to_string(game.frame) + "; ";
}

void note_end_screen(const char* name)
{
    screens_shown += name;
    playing_at_end_screen = settings.sound == 1 ? Mix_Playing(-1) : -1;
}

void note_completed()
{
    note_end_screen("completed");
}

void note_game_over()
{
    note_end_screen("game over");
}

int pauses = 0;

// While the game is paused the player holds Right; P stays held, as after
// the press that ends a pause.
void pause_holding_right()
{
    pauses++;
    platform_scripted()->keys[SDLK_RIGHT] = 1;
}

const LevelScreens NOTED_SCREENS = {note_announcement, note_completed, note_game_over, pause_holding_right};

}  // namespace

TEST_F(GameLoopTest, RunLevelEndsOnEscapeAndTakesTheLevelTime)
{
    keep_level_going();
    // The announcement writes the level's code in the menu font: a picture
    // without marker runs has no glyphs, which is all this test needs.
    menu_script.font = SDL_CreateRGBSurface(SDL_SWSURFACE, 8, 8, 16, 0, 0, 0, 0);
    input.clock_ms = 5000;
    scripted_push_key(input, SDLK_SPACE, 1, 0);  // leaves the announcement
    scripted_push_key(input, SDLK_ESCAPE, 1, 0);
    EXPECT_EQ(LEVEL_OVER, run_level_showing(NOTED_SCREENS));
    SDL_FreeSurface(menu_script.font);
    menu_script.font = NULL;
    EXPECT_EQ(5000u, game.level_start_ms);
    EXPECT_EQ(1, game.frame);
    EXPECT_EQ(5000u, game.level_end_ms);  // past the first deadline: no sleep
}

TEST_F(GameLoopTest, AWonLevelEndsOnTheCompletedScreenAndALostOneOnGameOver)
{
    screens_shown.clear();
    EXPECT_EQ(LEVEL_WON, run_level_showing(NOTED_SCREENS));
    EXPECT_EQ("announcement at frame 0; completed", screens_shown);

    screens_shown.clear();
    submarine.active = 0;
    EXPECT_EQ(LEVEL_OVER, run_level_showing(NOTED_SCREENS));
    EXPECT_EQ("announcement at frame 0; game over", screens_shown);

    screens_shown.clear();
    submarine.active = 1;
    keep_level_going();
    scripted_push_key(input, SDLK_ESCAPE, 1, 0);
    EXPECT_EQ(LEVEL_OVER, run_level_showing(NOTED_SCREENS));
    EXPECT_EQ("announcement at frame 0; game over", screens_shown);
}

TEST_F(GameLoopTest, SoundsAreStoppedBeforeTheEndScreen)
{
    TempDir dir;
    ASSERT_TRUE(open_audio());
    write_wav("SFX/engine.wav", 2000);
    Mix_Chunk* engine = load_sound("SFX/engine.wav");
    ASSERT_NE(nullptr, engine);
    play_sound(engine, CHANNEL_PLANE, -1);
    ASSERT_EQ(1, Mix_Playing(CHANNEL_PLANE));
    keep_level_going();
    scripted_push_key(input, SDLK_ESCAPE, 1, 0);
    run_level_showing(NOTED_SCREENS);
    EXPECT_EQ(0, playing_at_end_screen);
    EXPECT_EQ(0, Mix_Playing(-1));
    Mix_FreeChunk(engine);
    close_audio();
}

// P toggles: P held on does not pause again, the next press does.
TEST_F(GameLoopTest, APressOfPPausesAndTheKeysHeldAfterThePauseCount)
{
    keep_level_going();
    submarine.rychlost_otaceni = 5;
    orbit_speed = 0.0f;
    run.screens = &NOTED_SCREENS;
    pauses = 0;
    scripted_push_key(input, SDLK_p, 1, 0);
    frame();
    EXPECT_EQ(1, pauses);
    // Right, held when the pause ended, sped the submarine up in that frame.
    EXPECT_EQ(0.5f, orbit_speed);
    for (int i = 0; i < 5; i++) frame();
    EXPECT_EQ(1, pauses);
    scripted_push_key(input, SDLK_p, 0, 0);
    scripted_push_key(input, SDLK_p, 1, 0);
    frame();
    EXPECT_EQ(2, pauses);
    EXPECT_EQ(LEVEL_PLAYING, run.result);
}

namespace {

// Should the close request be missed, the player gives up after a second.
void escape_after_a_second(ScriptedInput& input, Uint32, void*)
{
    if (input.delays > 40) input.keys[SDLK_ESCAPE] = 1;
}

}  // namespace

TEST_F(GameLoopTest, AClosedWindowEndsTheLevelAsEscapeDoes)
{
    keep_level_going();
    screens_shown.clear();
    input.on_delay = escape_after_a_second;
    scripted_push_motion(input, 20, 20);
    scripted_push_quit(input);
    EXPECT_EQ(LEVEL_OVER, run_level_showing(NOTED_SCREENS));
    EXPECT_EQ("announcement at frame 0; game over", screens_shown);
    EXPECT_EQ(1, game.frame);  // the frame in which it came is played out
    EXPECT_EQ(0, input.dry_waits);
}

namespace {

void close_while_paused(ScriptedInput& input, void*)
{
    scripted_push_quit(input);
}

}  // namespace

TEST_F(GameLoopTest, AWindowClosedDuringThePauseEndsTheLevel)
{
    keep_level_going();
    scripted_push_key(input, SDLK_p, 1, 0);
    input.on_wait = close_while_paused;  // the game's own pause waits
    FrameInput paused = frame();
    EXPECT_EQ((std::vector<long long>{1, LEVEL_OVER, 1, 0}),
              (std::vector<long long>{paused.key_p, run.result, input.quit_requests, input.dry_waits}));
}

TEST_F(GameLoopTest, TheFrameDrawsSeabedParticlesSubmarineAndCrosshairInThatOrder)
{
    keep_level_going();
    SDL_Surface* seabed = solid_surface(640, 480, 0, 0, 200);
    SDL_Surface* spark = solid_surface(20, 20, 200, 0, 0);
    SDL_Surface* hull = solid_surface(20, 20, 0, 200, 0);
    SDL_Surface* cross = solid_surface(9, 9, 200, 200, 0);
    bank.dno[0].bitmap = seabed;
    bank.dno_last = 0;
    bank.seabed_period = -1;
    bank.barvy[0].bitmap = spark;
    bank.barvy[0].frames = 1;
    bank.zamerovac[0] = cross;
    weapon_catalogue.weapons[0].dostrel = 100;
    submarine.weapon = 0;
    submarine.image = hull;
    submarine.stred_x = 320;
    submarine.stred_y = 300;
    submarine.radius = 0;
    // A spark standing at (300, 290), showing the first frame of its strip.
    reset_particles();
    spawn_particles(300, 290, 0, 0.0f, 1000, 999, 0, 0, 1, 0);
    particles[0].end = 500;
    scripted_push_motion(input, 320, 300);
    frame();

    SDL_Surface* s = screen.surface;
    EXPECT_EQ(map_colour(s, 0, 0, 200), pixel_at(s, 100, 100));    // seabed
    EXPECT_EQ(map_colour(s, 200, 0, 0), pixel_at(s, 302, 292));    // spark over the seabed
    EXPECT_EQ(map_colour(s, 0, 200, 0), pixel_at(s, 312, 292));    // submarine (310, 290) over the spark
    EXPECT_EQ(map_colour(s, 200, 200, 0), pixel_at(s, 320, 300));  // crosshair over the submarine

    submarine.image = NULL;
    bank.dno[0].bitmap = NULL;
    bank.dno_last = -1;
    bank.barvy[0].bitmap = NULL;
    bank.zamerovac[0] = NULL;
    for (SDL_Surface* surface : {seabed, spark, hull, cross}) SDL_FreeSurface(surface);
}

namespace {

// Two crosshair pictures of different colours; weapon 0 reaches 160 pixels.
class CrosshairTest : public GameLoopTest {
protected:
    void SetUp() override
    {
        GameLoopTest::SetUp();
        keep_level_going();
        near_picture = solid_surface(9, 9, 255, 0, 0);
        far_picture = solid_surface(9, 9, 0, 0, 255);
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
    void point_at(int x, int y)
    {
        scripted_push_motion(input, x, y);
        frame();
    }
    SDL_Surface* near_picture;
    SDL_Surface* far_picture;
};

}  // namespace

// The crosshair picture is centred on the pointer: 9 pixels wide, corner at -4.
TEST_F(CrosshairTest, TheCrosshairIsCentredOnThePointer)
{
    point_at(320, 220);
    EXPECT_EQ(map_colour(screen.surface, 255, 0, 0), pixel_at(screen.surface, 316, 216));
    EXPECT_EQ(map_colour(screen.surface, 0, 0, 0), pixel_at(screen.surface, 315, 216));
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
        splash = solid_surface(40, 40, 255, 255, 0);
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

// The near crosshair shows exactly where a click fires: within the reach of
// 160 (strictly), measured as the gun measures it, vertical offsets counting
// 1 / 0.623 times.
TEST_F(GunInTheLoop, TheCrosshairIsNearExactlyWhereAClickFires)
{
    const struct {
        int x, y;
        bool near;
    } cases[] = {
        {320, 201, true},   // 99 / 0.623 = 158.9
        {320, 200, false},  // 100 / 0.623 = 160.5: as far as the reach
        {479, 300, true},
        {480, 300, false},
        {333, 200, false},  // sqrt(13^2 + 160.5^2) = 161.0
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.x) + "," + std::to_string(c.y));
        reset_shot_pool();
        point_at(c.x, c.y);
        EXPECT_EQ(c.near ? map_colour(screen.surface, 255, 0, 0) : map_colour(screen.surface, 0, 0, 255),
                  pixel_at(screen.surface, c.x, c.y));
        scripted_push_button(input, SDL_BUTTON_LEFT, 1);
        frame();
        EXPECT_EQ(c.near, shot_pool.slots[0].active == 1);
        scripted_push_button(input, SDL_BUTTON_LEFT, 0);
    }
}

// The gun may fire again in the very frame a shell lands (the delay equals
// the flight of 9 frames): the new volley must not take the landed shell's
// slot before its hit is resolved. Every volley wounds the creature.
TEST_F(GunInTheLoop, EveryVolleyWoundsWhatItLandsOn)
{
    WeaponDef& w = weapon_catalogue.weapons[0];
    w.rychlost_vystreleni = w.maximalni_rychlost = 10;
    w.poskozeni = 1;
    w.tolerance = 12;  // it lands 10 beyond the pointer, after its last step
    creature_types[0].zivoty = 1000;
    creature_types[0].zbran = -1;
    Creature& target = creatures[5];
    target = Creature();
    target.active = target.surfaced = 1;
    target.x = 400;
    target.y = 300;
    target.exact_x = 400.0f;
    target.exact_y = 300.0f;
    target.zivoty = 1000;
    target.explosion_frame = -1;
    target.id = 5;
    const struct {
        int delay, volleys;
    } cases[] = {{8, 5}, {9, 4}, {10, 4}};  // held for 36 frames
    for (const auto& c : cases) {
        SCOPED_TRACE(c.delay);
        w.prodleva = c.delay;
        target.zivoty = 1000;
        point_at(400, 300);
        scripted_push_button(input, SDL_BUTTON_LEFT, 1);
        for (int i = 0; i < 36; i++) frame();
        scripted_push_button(input, SDL_BUTTON_LEFT, 0);
        for (int i = 0; i < 20; i++) frame();
        EXPECT_EQ(1000 - c.volleys, target.zivoty);
    }
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

TEST_F(GunInTheLoop, ShellCollectsAFloatingBonusAndTheReachGrowsForItsTime)
{
    settings.zivot_bonusu = 480;
    SDL_Surface* buoy = solid_surface(20, 20, 0, 255, 255);
    bonus_catalogue.types[0].bitmap = buoy;
    bonus_catalogue.types[0].dostrel = 100;
    bonus_catalogue.types[0].pouzivani = 200;
    bonus_catalogue.count = 1;
    memset(bonuses, 0, sizeof bonuses);
    drop_bonus(400, 300, 0);  // 80 to the right of the submarine
    point_at(500, 300);       // 180: beyond the reach of 160
    Uint32 ring_far = pixel_at(screen.surface, 580, 300);
    EXPECT_EQ(map_colour(screen.surface, 0, 0, 255), pixel_at(screen.surface, 500, 300));
    EXPECT_EQ(map_colour(screen.surface, 0, 255, 255), pixel_at(screen.surface, 395, 295));

    point_at(400, 300);
    scripted_push_button(input, SDL_BUTTON_LEFT, 1);
    frame();
    scripted_push_button(input, SDL_BUTTON_LEFT, 0);
    for (int i = 0; i < 40 && bonuses[0].collected == 0; i++) frame();
    ASSERT_EQ(1, bonuses[0].collected);
    int collected_at = game.frame - 1;
    EXPECT_EQ(collected_at + 200, bonuses[0].expiry);
    point_at(500, 300);
    // The bonus is gone from the water; the ring lies 260 from the
    // submarine and the pointer at 180 is within reach.
    EXPECT_NE(map_colour(screen.surface, 0, 255, 255), pixel_at(screen.surface, 395, 295));
    EXPECT_EQ(0u, ring_far);
    EXPECT_NE(0u, pixel_at(screen.surface, 580, 300));
    EXPECT_EQ(map_colour(screen.surface, 255, 0, 0), pixel_at(screen.surface, 500, 300));

    // The frame in which the effect ends still has it; the next has not.
    while (game.frame <= collected_at + 200) frame();
    EXPECT_EQ(0, bonuses[0].active);
    EXPECT_EQ(map_colour(screen.surface, 255, 0, 0), pixel_at(screen.surface, 500, 300));
    frame();
    EXPECT_EQ(map_colour(screen.surface, 0, 0, 255), pixel_at(screen.surface, 500, 300));
    bonus_catalogue.types[0] = BonusType();
    SDL_FreeSurface(buoy);
}

namespace {

// The player moves the mouse while the announcement waits: its motion events
// go to the announcement, and only the pointer's position tells where it is.
void announcement_while_the_mouse_moves()
{
    ScriptedInput* input = platform_scripted();
    input->mouse_x = 400;
    input->mouse_y = 250;
    input->keys[SDLK_ESCAPE] = 1;  // and ends the level after its first frame
}

void no_screen() {}

const LevelScreens MOUSE_MOVED_SCREENS = {announcement_while_the_mouse_moves, no_screen, no_screen, no_screen};

}  // namespace

TEST_F(CrosshairTest, TheFirstFrameDrawsTheCrosshairWhereThePointerIs)
{
    game.mouse_x = game.mouse_y = 0;
    SDL_FillRect(screen.surface, NULL, 0);
    EXPECT_EQ(LEVEL_OVER, run_level_showing(MOUSE_MOVED_SCREENS));
    EXPECT_EQ(1, game.frame);
    // 80 to the left and 50 up: 113 on the flattened sea, within reach.
    EXPECT_EQ(map_colour(screen.surface, 255, 0, 0), pixel_at(screen.surface, 400, 250));
    EXPECT_EQ(0u, pixel_at(screen.surface, 2, 2));  // nothing at the corner
}
