#include <gtest/gtest.h>

#include <SDL/SDL_mixer.h>
#include <math.h>
#include <string.h>

#include <algorithm>
#include <string>
#include <vector>

#include "game_loop.h"
#include "graphics_bank.h"
#include "gun.h"
#include "planes.h"
#include "platform.h"
#include "random.h"
#include "settings.h"
#include "shots.h"
#include "submarine.h"
#include "support.h"
#include "weapons.h"

namespace {

const char* SCRIPT_PATH = "SCRIPT/L1/plane.scr";

Captured load(const std::string& text)
{
    return load_script(SCRIPT_PATH, text, load_planes);
}

// Plane strips of 8 directions, 16 x 12 pixels a frame: frame k of the
// plane in blue 100 + 10k, of the shadow in dark grey. Weapon 0 is a bomb
// that stays where it is dropped and sinks 2 pixels a frame.
class PlaneTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        fresh_shooting();
        capture([] {
            free_planes();
            free_weapons();
        });
        enemy_plane = 0;
        std::vector<Uint8> plane(128 * 12), shadow(128 * 12, 1);
        std::vector<PaletteColour> palette = {{0, 0, 0, 0}, {1, 40, 40, 40}};
        for (int k = 0; k < 8; k++) palette.push_back({2 + k, 0, 0, (Uint8)(100 + 10 * k)});
        for (int y = 0; y < 12; y++)
            for (int x = 0; x < 128; x++) plane[y * 128 + x] = (Uint8)(2 + x / 16);
        plane[0] = shadow[0] = 0;  // the transparent corner
        write_bmp8("GFX/plane.bmp", 128, 12, plane, palette);
        write_bmp8("GFX/shadow.bmp", 128, 12, shadow, palette);
        write_solid_bmp("GFX/bomb.bmp", 8, 8, 255, 255, 255);
        write_file("SCRIPT/L1/weapons.scr", "*PUMA strela GFX/bomb.bmp typ 1 klesani 2 maximalni_rychlost 1\n");
        capture([] { load_weapons("SCRIPT/L1/weapons.scr"); });
    }
    void TearDown() override
    {
        capture([] {
            free_planes();
            free_weapons();
        });
    }
    // Kind 0 as given, kind 1 a plain fighter.
    void kinds(const std::string& kind0)
    {
        load("enemy_plane 100\n*E bitmap GFX/plane.bmp 8 shadow GFX/shadow.bmp 8 " + kind0 +
             "\n*S bitmap GFX/plane.bmp 8 shadow GFX/shadow.bmp 8 rychlost 10 vyska 30 typ 0 pocet_vystrelu 1"
             " prodleva 78\n");
    }
    // Flies the plane one frame as the game loop does, counting the shots it drops.
    int fly(Plane& plane, const Submarine& sub)
    {
        int before = shots_in_flight();
        plane.update(sub, screen.surface);
        int after = shots_in_flight();
        game.frame += 1;
        return after - before;
    }
    // A bomber that drops within 20 pixels outside an ellipse of radius 100
    // round (320, 240).
    void bomber_over_ellipse(int shots)
    {
        kinds("rychlost 1 typ 1 pocet_vystrelu " + std::to_string(shots) + " prodleva 1 tolerance 20 zbran 0 vyska 30");
        sub.stred_x = 320;
        sub.stred_y = 240;
        sub.radius = 100;
    }
    int shots_in_flight()
    {
        int n = 0;
        for (const Shot& shot : shot_pool.slots) n += shot.active;
        return n;
    }
    TempDir dir;
    TestScreen screen;
    Submarine sub = Submarine();
};

}  // namespace

// ---------------------------------------------------------------------------
// The file

TEST_F(PlaneTest, EachMarkerIsLoggedAndItsKeysFillThatKind)
{
    Captured log = load("enemy_plane 1500\n"
                        "*BOMBARDER bitmap GFX/plane.bmp 8 shadow GFX/shadow.bmp 8 vyska 70 rychlost 6\n"
                        "  pocet_vystrelu 2 zbran 3 typ 1 prodleva 4 tolerance 70 fly_sound SFX/NULL.wav 6\n"
                        "*STIHACKA bitmap GFX/plane.bmp 4 shadow NULL 8 rychlost 10 typ 0\n");
    EXPECT_EQ("skript : SCRIPT/L1/plane.scr NALEZENO NOVE LETADLO\n"
              "skript : SCRIPT/L1/plane.scr NALEZENO NOVE LETADLO\n",
              log.out);
    EXPECT_EQ("", log.err);
    EXPECT_EQ(1500, enemy_plane);
    EXPECT_EQ(1, plane_type_last);
    const PlaneType& bomber = plane_types[0];
    ASSERT_NE(nullptr, bomber.bitmap.bitmap);
    EXPECT_EQ(8, bomber.bitmap.frames);
    ASSERT_NE(nullptr, bomber.shadow.bitmap);
    EXPECT_EQ((std::vector<long long>{70, 6, 2, 3, 1, 4, 70, 6, 4}),
              (std::vector<long long>{bomber.vyska, bomber.rychlost, bomber.pocet_vystrelu, bomber.zbran, bomber.typ,
                                      bomber.prodleva, bomber.tolerance, bomber.fly_repeat,
                                      plane_types[1].bitmap.frames}));
    // A NULL shadow stays empty and keeps its frame count.
    EXPECT_EQ(nullptr, plane_types[1].shadow.bitmap);
    EXPECT_EQ(1, plane_types[1].shadow.frames);
}

TEST_F(PlaneTest, MissingFileIsReportedAndKeepsTheRaidInterval)
{
    enemy_plane = 900;
    Captured log = capture([] { load_planes("SCRIPT/L9/plane.scr"); });
    EXPECT_EQ("Nemohu nahrat soubor : SCRIPT/L9/plane.scr\n", log.err);
    EXPECT_EQ("", log.out);
    EXPECT_EQ(900, enemy_plane);
    EXPECT_EQ(-1, plane_type_last);
}

TEST_F(PlaneTest, KeysWithoutAKindAndKindsBeyondTheTableTouchNothing)
{
    std::string text = "rychlost 99 bitmap GFX/plane.bmp 8\n";
    for (int i = 0; i < 12; i++) text += "*K vyska " + std::to_string(i + 1) + "\n";
    Captured log = load(text);
    EXPECT_EQ(12u, (size_t)std::count(log.out.begin(), log.out.end(), '\n'));
    EXPECT_EQ(PLANE_TYPE_CAPACITY - 1, plane_type_last);
    EXPECT_EQ(0, plane_types[0].rychlost);
    EXPECT_EQ(nullptr, plane_types[0].bitmap.bitmap);
    EXPECT_EQ(1, plane_types[0].vyska);
    EXPECT_EQ(10, plane_types[9].vyska);
}

TEST_F(PlaneTest, ReleaseGroundsThePlanesEmptiesTheKindsAndSaysSo)
{
    kinds("rychlost 5 typ 1 tolerance 9");
    planes[0].launch(100, 100, 0, 0, screen.surface);
    ASSERT_EQ(1, planes[0].active);
    Captured log = capture([] { free_planes(); });
    EXPECT_EQ("UVOLNEN SKRIPT LETADEL Z PAMETI\n", log.out);
    EXPECT_EQ(0, planes[0].active);
    EXPECT_EQ(0, planes[0].path_length);
    EXPECT_EQ(nullptr, plane_types[0].bitmap.bitmap);
    EXPECT_EQ((std::vector<long long>{1, 0, 0, -1}),
              (std::vector<long long>{plane_types[0].bitmap.frames, plane_types[0].rychlost,
                                      plane_types[0].tolerance, plane_type_last}));
    EXPECT_EQ(100, enemy_plane);  // the interval outlives the level
}

// ---------------------------------------------------------------------------
// Flight

TEST_F(PlaneTest, FlightStartsADiagonalLessTenBeforeItsTarget)
{
    kinds("rychlost 10 vyska 40");
    Plane& plane = planes[0];
    plane.launch(300, 200, 0, 0, screen.surface);
    EXPECT_EQ(800, plane.path_length);
    EXPECT_EQ(0, plane.heading);
    // cos(180 x 0.0174) x 790 = -789.96 and sin(...) x 790 x 0.623 = 4.72.
    EXPECT_EQ(300 - 789, plane.x);
    EXPECT_EQ(200 + 4, plane.y);
    EXPECT_EQ(10.0f, plane.vx);
    EXPECT_EQ(0.0f, plane.vy);
    EXPECT_EQ(40, plane.height);
    EXPECT_EQ(-1, plane.shots_fired);

    // Direction 2 of 8 flies down the screen: cos(270 x 0.0174) x 790 =
    // -11.37 and sin(...) x 790 x 0.623 = -492.12.
    plane.launch(300, 200, 2, 0, screen.surface);
    EXPECT_EQ(90, plane.heading);
    EXPECT_EQ(300 - 11, plane.x);
    EXPECT_EQ(200 - 492, plane.y);
}

TEST_F(PlaneTest, SixteenDirectionsStepBy22Degrees)
{
    load("*E bitmap GFX/plane.bmp 16 rychlost 10");
    planes[0].launch(300, 200, 2, 0, screen.surface);
    EXPECT_EQ(44, planes[0].heading);
}

TEST_F(PlaneTest, FlightEndsWhenFartherThanItsPathFromTheTarget)
{
    kinds("rychlost 7");
    Plane& plane = planes[0];
    plane.launch(300, 200, 0, 0, screen.surface);
    // 789 before the target and 4 below it, 7 a frame: after 227 frames 800
    // beyond it (800.01 counts as 800), after 228 frames 807.
    for (int i = 0; i < 227; i++) fly(plane, sub);
    EXPECT_EQ(1100, plane.x);
    EXPECT_EQ(1, plane.active);
    fly(plane, sub);
    EXPECT_EQ(0, plane.active);
}

TEST_F(PlaneTest, FighterWithThreeShotsAndADelayOfTenDropsFourTenFramesApart)
{
    kinds("rychlost 2 typ 0 pocet_vystrelu 3 prodleva 10 zbran 0 vyska 40");
    Plane& plane = planes[0];
    game.frame = 50;
    plane.launch(300, 200, 0, 0, screen.surface);
    std::vector<int> drops;
    for (int i = 0; i < 60; i++) {
        int frame = game.frame;
        if (fly(plane, sub) == 1) drops.push_back(frame);
    }
    EXPECT_EQ((std::vector<int>{50, 60, 70, 80}), drops);
    // The bombs start where the plane was, at its flying height.
    const Shot& first = shot_pool.slots[0];
    EXPECT_EQ(300 - 789 + 2, first.start_x);
    EXPECT_EQ(-38, first.height);  // 40 up, less its first 2 of sinking
}

TEST_F(PlaneTest, BomberDropsOnlyOverTheBandJustOutsideTheEllipseOnBothCrossings)
{
    bomber_over_ellipse(100);
    Plane& plane = planes[0];
    plane.launch(320, 240, 0, 0, screen.surface);
    std::vector<int> drop_x;
    while (plane.active) {
        if (fly(plane, sub) == 1) drop_x.push_back(plane.x);
    }
    // 100 < |320 - x| <= 120: x from 200 to 219 and from 421 to 440.
    ASSERT_EQ(40u, drop_x.size());
    EXPECT_EQ((std::vector<long long>{200, 219, 421, 440}),
              (std::vector<long long>{drop_x.front(), drop_x[19], drop_x[20], drop_x.back()}));
}

TEST_F(PlaneTest, BandIsMeasuredOnTheUnflattenedSea)
{
    bomber_over_ellipse(1000);
    Plane& plane = planes[0];
    // Down the screen through the centre, 0.623 pixels a frame.
    plane.launch(320, 240, 2, 0, screen.surface);
    std::vector<int> drop_x, drop_y;
    while (plane.active) {
        if (fly(plane, sub) == 1) {
            drop_x.push_back(plane.x);
            drop_y.push_back(plane.y);
        }
    }
    ASSERT_GT(drop_y.size(), 20u);
    for (size_t i = 0; i < drop_y.size(); i++) {
        double dx = 320 - drop_x[i], dy = (240 - drop_y[i]) / 0.623;
        int r = (int)sqrt(dx * dx + dy * dy);
        EXPECT_GT(r, 100) << drop_y[i];
        EXPECT_LE(r, 120) << drop_y[i];
    }
    // Vertically the band lies between 62 and 75 pixels from the centre.
    EXPECT_LT(drop_y.front(), 240 - 62);
    EXPECT_GT(drop_y.front(), 240 - 76);
    EXPECT_GT(drop_y.back(), 240 + 62);
    EXPECT_LT(drop_y.back(), 240 + 76);
}

TEST_F(PlaneTest, ShadowOnTheWaterAndThePlaneItsHeightAbove)
{
    kinds("rychlost 0 vyska 30");
    Plane& plane = planes[0];
    plane.launch(300, 200, 3, 0, screen.surface);
    plane.x = 300;
    plane.y = 200;
    plane.draw(screen.surface);
    // Frames of 16 x 12 centred on (300, 200): shadow columns 292 ... 307,
    // rows 194 ... 205; the plane 30 rows higher, frame 3 in blue 130.
    EXPECT_EQ(map_colour(screen.surface, 40, 40, 40), pixel_at(screen.surface, 292, 194 + 6));
    EXPECT_EQ(map_colour(screen.surface, 40, 40, 40), pixel_at(screen.surface, 307, 205));
    EXPECT_EQ(0u, pixel_at(screen.surface, 308, 200));
    EXPECT_EQ(map_colour(screen.surface, 0, 0, 130), pixel_at(screen.surface, 292, 164));
    EXPECT_EQ(map_colour(screen.surface, 0, 0, 130), pixel_at(screen.surface, 307, 175));
    EXPECT_EQ(0u, pixel_at(screen.surface, 300, 163));
}

TEST_F(PlaneTest, KindsWithoutPicturesNeverTakeOffAndNoFrameCountDividesByZero)
{
    load("*E rychlost 5 *F bitmap GFX/plane.bmp 0 shadow GFX/shadow.bmp 0 rychlost 5 vyska 40");
    planes[0].launch(300, 200, 1, 0, screen.surface);
    EXPECT_EQ(0, planes[0].active);
    planes[0].launch(300, 200, 1, 7, screen.surface);  // no such kind was read
    EXPECT_EQ(0, planes[0].active);
    planes[0].launch(300, 200, 1, PLANE_TYPE_CAPACITY, screen.surface);
    EXPECT_EQ(0, planes[0].active);
    // Frame count 0 is read as one picture of every heading.
    planes[1].launch(300, 200, 0, 1, screen.surface);
    ASSERT_EQ(1, planes[1].active);
    EXPECT_EQ(0, planes[1].heading);
    planes[1].x = 300;
    planes[1].y = 200;
    planes[1].draw(screen.surface);
    EXPECT_EQ(map_colour(screen.surface, 40, 40, 40), pixel_at(screen.surface, 300, 200));
}

TEST_F(PlaneTest, EngineStartsOnItsChannelAtLaunch)
{
    ASSERT_TRUE(open_audio());
    write_wav("SFX/engine.wav", 50000);
    kinds("rychlost 5 fly_sound SFX/engine.wav 2");
    ASSERT_NE(nullptr, plane_types[0].fly_sound);
    planes[0].launch(300, 200, 0, 0, screen.surface);
    EXPECT_EQ(plane_types[0].fly_sound, Mix_GetChunk(5));
    EXPECT_EQ(1, Mix_Playing(5));
    Mix_HaltChannel(-1);
    capture([] { free_planes(); });
    EXPECT_EQ(nullptr, plane_types[0].fly_sound);
    Mix_CloseAudio();
}

// ---------------------------------------------------------------------------
// In the game loop

namespace {

class PlanesInTheLoop : public PlaneTest {
protected:
    void SetUp() override
    {
        PlaneTest::SetUp();
        scripted_reset(input);
        platform_use_scripted(&input);
        reset_frame_pacing();
        memset(&submarine, 0, sizeof submarine);
        submarine.explosion_frame = -1;
        game.laser_energy = 2;
        begin_level(run);
    }
    void TearDown() override
    {
        platform_use_scripted(NULL);
        PlaneTest::TearDown();
    }
    void frame()
    {
        FrameInput frame_input = read_frame_input(run);
        play_frame(run, frame_input);
    }
    // A quick click is let go within the frame of its press.
    void call_at(int x, int y, Uint8 button, bool quick = false)
    {
        scripted_push_motion(input, x, y);
        frame();
        scripted_push_button(input, button, 1);
        if (quick) scripted_push_button(input, button, 0);
        frame();
    }
    // The support called onto (400, 300) with no raids.
    Plane& call_support(Uint8 button, bool quick = false)
    {
        kinds("rychlost 10");
        enemy_plane = 0;
        call_at(400, 300, button, quick);
        return planes[SUPPORT_PLANE_SLOT];
    }
    ScriptedInput input;
    LevelRun run;
};

}  // namespace

TEST_F(PlanesInTheLoop, AQuickRightClickCallsTheSupportOntoThePointerOncePerFlight)
{
    Plane& support = call_support(SDL_BUTTON_RIGHT, true);
    ASSERT_EQ(1, support.active);
    EXPECT_EQ((std::vector<long long>{400, 300, 1, 1}),
              (std::vector<long long>{support.target_x, support.target_y, support.type, game.laser_energy}));
    // While the plane flies no other is called and no call is spent, not by
    // a press held still either.
    for (int i = 0; i < 20; i++) frame();
    call_at(100, 100, SDL_BUTTON_MIDDLE);
    EXPECT_EQ(400, support.target_x);
    EXPECT_EQ(1, game.laser_energy);
    EXPECT_EQ(0, planes[ENEMY_PLANE_SLOT].active);
}

// No call is left, or the support kind has no picture: nothing flies and no
// call is spent.
TEST_F(PlanesInTheLoop, NoCallsLeftOrNoSupportPictureCallsNothing)
{
    const struct {
        const char* planes;
        int calls;
    } cases[] = {{"*E bitmap GFX/plane.bmp 8 rychlost 10\n*S bitmap GFX/plane.bmp 8 rychlost 10\n", 0},
                 {"*E bitmap GFX/plane.bmp 8 rychlost 10\n", 2}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.calls);
        load(c.planes);
        game.laser_energy = c.calls;
        call_at(400, 300, SDL_BUTTON_RIGHT);
        EXPECT_EQ(0, planes[SUPPORT_PLANE_SLOT].active);
        EXPECT_EQ(c.calls, game.laser_energy);
        capture([] { free_planes(); });
    }
}

TEST_F(PlanesInTheLoop, HeldMiddleButtonCallsAgainWhenThePlaneIsGoneUntilNoCallIsLeft)
{
    Plane& support = call_support(SDL_BUTTON_MIDDLE);
    ASSERT_EQ(1, game.laser_energy);
    // The press stays the last event: the next call comes in the very frame
    // the first plane leaves, so the sky is never without it until then.
    int recalled = -1;
    for (int f = 0; f < 1000 && recalled < 0; f++) {
        frame();
        ASSERT_EQ(1, support.active) << f;
        if (game.laser_energy == 0) recalled = f;
    }
    ASSERT_GT(recalled, 150);
    EXPECT_EQ(-1, support.shots_fired);  // launched after this frame's flying
    for (int f = 0; f < 1000 && support.active; f++) frame();
    EXPECT_EQ(0, support.active);
    EXPECT_EQ(0, game.laser_energy);
}

TEST_F(PlanesInTheLoop, FirstRaidOfALevelFliesThroughTheCornerThenEveryIntervalWhenTheSkyIsFree)
{
    kinds("rychlost 10");
    enemy_plane = 100;
    frame();
    Plane& bomber = planes[ENEMY_PLANE_SLOT];
    ASSERT_EQ(1, bomber.active);
    EXPECT_EQ(0, bomber.target_x);  // the submarine has not been placed yet
    EXPECT_EQ(0, bomber.target_y);
    EXPECT_EQ(0, bomber.type);
    // The interval has passed long before the first one leaves; the next
    // starts in the very frame it does.
    submarine.x = 250;
    submarine.y = 350;
    int started_again = -1;
    for (int f = 1; f < 1000 && started_again < 0; f++) {
        frame();
        ASSERT_EQ(1, bomber.active) << f;
        if (bomber.target_x == 250) started_again = f;
    }
    EXPECT_GT(started_again, 150);
    EXPECT_EQ(350, bomber.target_y);
    EXPECT_EQ(started_again + 100, run.next_enemy_plane_frame);
}

// ---------------------------------------------------------------------------
// The game's own data set

TEST(PlaneDataSet, BombersRaidFromTheSecondLevelAndTheSupportBombsThePointer)
{
    TempDir dir;
    TestScreen screen;
    ASSERT_TRUE(copy_data_set());
    fresh_shooting();
    settings.odpor_vzduchu = 0.98f;
    for (const char* level : {"LEVEL1", "LEVEL2", "LEVEL3", "LEVEL4"}) {
        SCOPED_TRACE(level);
        std::string dir_path = std::string("SCRIPT/") + level + "/";
        Captured log = capture([&] {
            enemy_plane = 0;
            load_weapons((dir_path + "weapons.scr").c_str());
            load_planes((dir_path + "plane.scr").c_str());
        });
        EXPECT_EQ(std::string::npos, log.err.find("Nemohu")) << log.err;
        ASSERT_GE(plane_type_last, 1);
        if (std::string(level) == "LEVEL1")
            EXPECT_EQ(0, enemy_plane);
        else
            EXPECT_GT(enemy_plane, 0);
        // The support called onto (320, 240) drops a bomb that comes down
        // near the pointer, whatever its direction.
        for (int dir_index = 0; dir_index < 8; dir_index++) {
            reset_shot_pool();
            Plane& support = planes[SUPPORT_PLANE_SLOT];
            support.launch(320, 240, dir_index, 1, screen.surface);
            ASSERT_EQ(1, support.active);
            Submarine sub = Submarine();
            int nearest = 1 << 30;
            for (int f = 0; f < 400 && support.active; f++) {
                game.frame = f;
                support.update(sub, screen.surface);
                for (Shot& shot : shot_pool.slots) {
                    if (!shot.active) continue;
                    int dx = shot.x - 320, dy = shot.y - 240;
                    if (dx * dx + dy * dy < nearest) nearest = dx * dx + dy * dy;
                }
            }
            EXPECT_LE(nearest, 10 * 10) << "direction " << dir_index;
        }
        capture([] {
            free_planes();
            free_weapons();
        });
    }
}
