#include <SDL/SDL_mixer.h>
#include <string.h>

#include <string>
#include <vector>

#include "game_loop.h"
#include "sounds.h"
#include "planes.h"
#include "platform.h"
#include "shots.h"
#include "submarine.h"
#include "support.h"
#include "weapons.h"

namespace {

Captured load(const std::string& text)
{
    return load_script("SCRIPT/L1/plane.scr", text, load_planes);
}

// A shot dropped: in which frame, and where the plane was.
struct Drop {
    int frame, x, y;
};
bool operator==(const Drop& a, const Drop& b) { return a.frame == b.frame && a.x == b.x && a.y == b.y; }
std::ostream& operator<<(std::ostream& out, const Drop& d)
{
    return out << "frame " << d.frame << " at " << d.x << "," << d.y;
}

// Strips of 8 directions, 16 x 12 a frame: the plane's frame k in blue
// 100 + 10k, the shadow grey. Weapon 0 a bomb that stays and sinks 2 a frame.
class PlaneTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        fresh_shooting();
        capture([] { free_weapons(); });
        reset_planes();
        std::vector<Uint8> plane(128 * 12), shadow(128 * 12, 1);
        std::vector<PaletteColour> palette = {{0, 0, 0, 0}, {1, 40, 40, 40}};
        for (int k = 0; k < 8; k++) palette.push_back({2 + k, 0, 0, (Uint8)(100 + 10 * k)});
        for (int i = 0; i < 128 * 12; i++) plane[i] = (Uint8)(2 + i % 128 / 16);
        plane[0] = shadow[0] = 0;  // the transparent corner
        write_bmp8("GFX/plane.bmp", 128, 12, plane, palette);
        write_bmp8("GFX/shadow.bmp", 128, 12, shadow, palette);
        write_solid_bmp("GFX/bomb.bmp", 8, 8, 255, 255, 255);
        load_script("w.scr", "*PUMA strela GFX/bomb.bmp typ 1 klesani 2 maximalni_rychlost 1\n", load_weapons);
    }
    void TearDown() override
    {
        reset_planes();
        capture([] { free_weapons(); });
    }
    // Kind 0 as given, kind 1 a plain fighter.
    void kinds(const std::string& kind0)
    {
        load("enemy_plane 100\n*E bitmap GFX/plane.bmp 8 shadow GFX/shadow.bmp 8 " + kind0 +
             "\n*S bitmap GFX/plane.bmp 8 shadow GFX/shadow.bmp 8 rychlost 10 vyska 30 typ 0 pocet_vystrelu 1"
             " prodleva 78\n");
    }
    // Flies plane 0 through (320, 240) until it leaves; where it dropped shots.
    std::vector<Drop> fly(int dir, const Submarine& sub = Submarine())
    {
        std::vector<Drop> drops;
        empty_shot_pool();
        planes[0].launch(320, 240, dir, 0, screen.surface);
        for (int shots = 0; planes[0].active; game.frame++) {
            planes[0].update(sub, screen.surface);
            if (shot_pool.slots[shots].active) {
                drops.push_back({game.frame, planes[0].x, planes[0].y});
                shots++;
            }
        }
        return drops;
    }
    TempDir dir;
    TestScreen screen;
};

}  // namespace

// Keys fill the kind of the last marker (none before the first); the engine
// starts on its channel; the release and a missing file keep the raid interval.
TEST_F(PlaneTest, EachMarkerIsLoggedAndItsKeysFillThatKind)
{
    ASSERT_TRUE(open_audio());
    write_wav("SFX/engine.wav", 50000);
    Captured log = load("rychlost 99 bitmap GFX/plane.bmp 8 enemy_plane 1500\n"
                        "*BOMBARDER bitmap GFX/plane.bmp 8 shadow GFX/shadow.bmp 8 vyska 70 rychlost 6\n"
                        "  pocet_vystrelu 2 zbran 3 typ 1 prodleva 4 tolerance 70 fly_sound SFX/engine.wav 6\n"
                        "*STIHACKA bitmap GFX/plane.bmp 4 shadow NULL 8 rychlost 10 typ 0\n");
    EXPECT_EQ("skript : SCRIPT/L1/plane.scr NALEZENO NOVE LETADLO\nNahran zvuk SFX/engine.wav\n"
              "skript : SCRIPT/L1/plane.scr NALEZENO NOVE LETADLO\n",
              log.out);
    const PlaneType& b = plane_types[0];
    const PlaneType& f = plane_types[1];
    EXPECT_FIELDS({"enemy_plane", 1500, enemy_plane}, {"plane_type_last", 1, plane_type_last},
                  {"BOMBARDER bitmap set", 1, b.bitmap.bitmap != NULL}, {"BOMBARDER bitmap frames", 8, b.bitmap.frames},
                  {"BOMBARDER shadow set", 1, b.shadow.bitmap != NULL}, {"BOMBARDER vyska", 70, b.vyska},
                  {"BOMBARDER rychlost", 6, b.rychlost}, {"BOMBARDER pocet_vystrelu", 2, b.pocet_vystrelu},
                  {"BOMBARDER zbran", 3, b.zbran}, {"BOMBARDER typ", 1, b.typ}, {"BOMBARDER prodleva", 4, b.prodleva},
                  {"BOMBARDER tolerance", 70, b.tolerance}, {"BOMBARDER fly_sound repeats", 6, b.fly_repeat},
                  {"STIHACKA bitmap frames", 4, f.bitmap.frames}, {"STIHACKA shadow set", 0, f.shadow.bitmap != NULL},
                  {"STIHACKA shadow frames", 0, f.shadow.frames});
    planes[0].launch(100, 100, 0, 0, screen.surface);
    ASSERT_NE(nullptr, b.fly_sound);
    EXPECT_EQ(b.fly_sound, Mix_Playing(CHANNEL_PLANE) ? Mix_GetChunk(CHANNEL_PLANE) : NULL);
    log = capture([] { free_planes(); });
    EXPECT_EQ("UVOLNEN SKRIPT LETADEL Z PAMETI\n", log.out);
    EXPECT_FIELDS({"the plane flying", 0, planes[0].active}, {"its path_length", 0, planes[0].path_length},
                  {"BOMBARDER bitmap set", 0, b.bitmap.bitmap != NULL}, {"BOMBARDER bitmap frames", 1, b.bitmap.frames},
                  {"BOMBARDER rychlost", 0, b.rychlost}, {"BOMBARDER tolerance", 0, b.tolerance},
                  {"BOMBARDER fly_sound set", 0, b.fly_sound != NULL}, {"plane_type_last", -1, plane_type_last},
                  {"enemy_plane", 1500, enemy_plane});
    close_audio();
    log = capture([] { load_planes("SCRIPT/L9/plane.scr"); });
    EXPECT_EQ("Nemohu nahrat soubor : SCRIPT/L9/plane.scr\n", log.err);
    EXPECT_EQ("", log.out);
    EXPECT_FIELDS({"enemy_plane", 1500, enemy_plane}, {"plane_type_last", -1, plane_type_last});
}

// A flight starts the diagonal (800) less ten before its target, heading dir x
// (360 / frames), its shots counted from -1; none without a picture or kind.
TEST_F(PlaneTest, FlightStartsADiagonalLessTenBeforeItsTarget)
{
    load("*E bitmap GFX/plane.bmp 8 rychlost 10 vyska 40 *F bitmap GFX/plane.bmp 16 rychlost 10 "
         "*G rychlost 5 *H bitmap GFX/plane.bmp 0 rychlost 5");
    const struct {
        int kind, dir, active, heading, x, y;
    } cases[] = {
        {0, 0, 1, 0, 300 - 789, 200 + 4},    // cos(180 x 0.0174) x 790, sin(...) x 790 x 0.623
        {0, 2, 1, 90, 300 - 11, 200 - 492},  // cos(270 x 0.0174) x 790, sin(...) x 790 x 0.623
        {1, 2, 1, 44, 300 - 574, 200 - 337}, {3, 0, 1, 0, 300 - 789, 200 + 4},
        {2, 0, 0, 0, 0, 0},                  {7, 0, 0, 0, 0, 0},
        {PLANE_TYPE_CAPACITY, 0, 0, 0, 0, 0},
    };
    const char* kinds[] = {" E", " F", " G without a picture", " H of no frames"};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "kind " << c.kind << (c.kind < 4 ? kinds[c.kind] : "") << ", direction " << c.dir);
        Plane& plane = planes[0] = Plane();
        plane.launch(300, 200, c.dir, c.kind, screen.surface);
        EXPECT_EQ(c.active, plane.active);
        if (c.active) {
            EXPECT_FIELDS({"path_length", 800, plane.path_length}, {"heading", c.heading, plane.heading},
                          {"x", c.x, plane.x}, {"y", c.y, plane.y}, {"height", c.kind ? 0 : 40, plane.height},
                          {"shots_fired", -1, plane.shots_fired});
        }
    }
}

// A fighter of three shots, delay ten, drops four from where it is; at 7 a
// frame it is still up 800 beyond its target and gone at 807.
TEST_F(PlaneTest, FighterWithThreeShotsAndADelayOfTenDropsFourTenFramesApart)
{
    kinds("rychlost 7 typ 0 pocet_vystrelu 3 prodleva 10 zbran 0 vyska 40");
    game.frame = 50;
    std::vector<Drop> drops = fly(0);
    EXPECT_EQ((std::vector<Drop>{{50, 320 - 789 + 7, 244}, {60, 320 - 789 + 77, 244}, {70, 320 - 789 + 147, 244},
                                 {80, 320 - 789 + 217, 244}}),
              drops);
    EXPECT_EQ(50 + 228, game.frame);
    EXPECT_EQ(320 + 800 + 7, planes[0].x);
    EXPECT_EQ(-38, shot_pool.slots[0].height);  // 40 up, less its first 2 of sinking
}

// A bomber drops only over the band of 20 outside the ellipse (radius 100) on the unflattened sea.
TEST_F(PlaneTest, BomberDropsOnlyOverTheBandJustOutsideTheEllipseOnBothCrossings)
{
    kinds("rychlost 1 typ 1 pocet_vystrelu 1000 prodleva 1 tolerance 20 zbran 0 vyska 30");
    Submarine sub = Submarine();
    sub.stred_x = 320;
    sub.stred_y = 240;
    sub.radius = 100;
    // Across: 100 < |320 - x| <= 120, x from 200 to 219 and from 421 to 440.
    std::vector<Drop> drops = fly(0, sub);
    ASSERT_EQ(40u, drops.size());
    EXPECT_EQ((std::vector<int>{200, 219, 421, 440}), (std::vector<int>{drops[0].x, drops[19].x, drops[20].x, drops[39].x}));
    // Down the screen at 0.623 a frame: from 63 to 75 above and below.
    drops = fly(2, sub);
    ASSERT_GT(drops.size(), 20u);
    EXPECT_EQ((std::vector<int>{240 - 75, 240 - 63, 240 + 63, 240 + 75}),
              (std::vector<int>{drops.front().y, drops[drops.size() / 2 - 1].y, drops[drops.size() / 2].y, drops.back().y}));
}

// The first raid flies through the submarine (not yet placed) in frame 0. A
// right or middle click calls the support onto the pointer once per flight,
// spending a call; held, it calls again as the plane leaves, while calls last.
TEST_F(PlaneTest, InTheLoopAClickCallsTheSupportOntoThePointerOncePerFlight)
{
    ScriptedSession session;
    reset_frame_pacing();
    memset(&submarine, 0, sizeof submarine);
    game.laser_energy = 2;
    LevelRun run;
    begin_level(run);
    kinds("rychlost 10");
    auto frame = [&] {
        FrameInput input = read_frame_input(run);
        play_frame(run, input);
    };
    Plane& bomber = planes[ENEMY_PLANE_SLOT];
    Plane& support = planes[SUPPORT_PLANE_SLOT];
    scripted_push_motion(session.input, 400, 300);
    scripted_push_button(session.input, SDL_BUTTON_RIGHT, 1);
    scripted_push_button(session.input, SDL_BUTTON_RIGHT, 0);
    frame();
    EXPECT_FIELDS({"bomber.active", 1, bomber.active}, {"bomber.target_x", 0, bomber.target_x},
                  {"bomber.target_y", 0, bomber.target_y}, {"bomber.type", 0, bomber.type},
                  {"next_enemy_plane_frame", 100, run.next_enemy_plane_frame}, {"support.active", 1, support.active},
                  {"support.target_x", 400, support.target_x}, {"support.target_y", 300, support.target_y},
                  {"support.type", 1, support.type}, {"laser_energy", 1, game.laser_energy});
    for (int i = 0; i < 20; i++) frame();
    scripted_push_motion(session.input, 100, 100);
    scripted_push_button(session.input, SDL_BUTTON_MIDDLE, 1);
    frame();
    EXPECT_FIELDS({"support.target_x", 400, support.target_x}, {"laser_energy", 1, game.laser_energy});
    int recalled = 0;
    for (; recalled < 1000 && game.laser_energy == 1; recalled++) {
        frame();
        ASSERT_EQ(1, support.active) << "frame " << recalled << " of the recalled flight";
    }
    EXPECT_GT(recalled, 150);
    EXPECT_FIELDS({"support.target_x", 100, support.target_x}, {"support.target_y", 100, support.target_y},
                  {"support.shots_fired", -1, support.shots_fired},
                  {"next_enemy_plane_frame", 276, run.next_enemy_plane_frame});  // set as the first raid left the sky
    for (int f = 0; f < 1000 && support.active; f++) frame();
    frame();  // no call is left
    EXPECT_FIELDS({"support.active", 0, support.active}, {"laser_energy", 0, game.laser_energy});
    capture([] { free_planes(); });  // nor is one spent while the support has no picture to fly
    game.laser_energy = 2;
    frame();
    EXPECT_FIELDS({"support.active", 0, support.active}, {"laser_energy", 2, game.laser_energy});
}
