#include <gtest/gtest.h>

#include <math.h>
#include <stdio.h>
#include <string.h>

#include <string>
#include <vector>

#include "bonus.h"
#include "creatures.h"
#include "game_loop.h"
#include "graphics_bank.h"
#include "gun.h"
#include "media.h"
#include "particles.h"
#include "platform.h"
#include "random.h"
#include "settings.h"
#include "submarine.h"
#include "support.h"
#include "weapons.h"

namespace {

// A fresh submarine at rest on an ellipse round (320, 240) of radius 200.
void sail_from(float uhel, int rychlost_otaceni)
{
    submarine.init(200, 320, 240, 0, rychlost_otaceni, 8, 0, 0, 10, 0);
    submarine.uhel = uhel;
    orbit_speed = 0.0f;
    bonus_effects.rychlost_lodi = 0;
}

int live_particles()
{
    int live = 0;
    for (const Particle& particle : particles) live += particle.active;
    return live;
}

// Heading strips: frame k is solid in its own colour (the top-left pixel of
// the strip is the transparent index 0).
Uint8 frame_green(int k)
{
    return (Uint8)(24 * k + 8);
}

SDL_Surface* make_heading_strip(const char* path, int frames, int h)
{
    int w = frames * h;
    std::vector<Uint8> pixels(w * h);
    std::vector<PaletteColour> palette = {{0, 0, 0, 0}};
    for (int k = 0; k < frames; k++) palette.push_back({k + 1, 248, frame_green(k), 0});
    for (int y = 0; y < h; y++)
        for (int x = 0; x < w; x++) pixels[y * w + x] = (Uint8)(1 + x / h);
    pixels[0] = 0;
    write_bmp8(path, w, h, pixels, palette);
    return load_bitmap(path, 1);
}

Uint32 frame_colour(SDL_Surface* surface, int k)
{
    return map_colour(surface, 248, frame_green(k), 0);
}

const char* const DELO =
    "[*PONORKA_HRACE]\n"
    "image GFX/ponorka.bmp\n"
    "death_sound SND/smrt.wav\n"
    "collision_sound SND/naraz.wav\n"
    "radius 200\n"
    "stred_x 320\n"
    "stred_y 210\n"
    "rychlost_otaceni 5\n"
    "pocet_snimku 8\n"
    "uhel 90\n"
    "vybuch 1\n"
    "zivoty 300\n"
    "alpha 2\n"
    "stit 3\n"
    "[END]\n";

const std::string DELO_LOG =
    prefixed_lines("script: delo.scr : ", {"NALEZENA NOVA PONORKA #0", "bitmapa : GFX/ponorka.bmp ... nahrana",
                                           "zvuk : SND/smrt.wav ... nahran", "zvuk : SND/naraz.wav ... nahran",
                                           "radius : 200", "stred_x : 320", "stred_y : 210", "rychlost_otaceni : 5",
                                           "pocet_snimku : 8", "uhel : 90", "vybuch : 1", "zivoty : 300",
                                           "alpha : 2", "stit : 3", "INICIALIZUJI PONORKU ... #0 ...OK"});

}  // namespace

// ---------------------------------------------------------------------------
// Movement

TEST(SubmarineMovement, RightArrowSpeedsUpToTheTopSpeed)
{
    sail_from(0.0f, 5);
    float uhel = 0.0f;
    for (int i = 1; i <= 10; i++) {
        submarine.move(0, 1);
        EXPECT_EQ(0.5f * i, orbit_speed);
        uhel += 0.5f * i + 0.1f;
        EXPECT_EQ(uhel, submarine.uhel);
    }
    submarine.move(0, 1);  // 5.5 is held at 5
    EXPECT_EQ(5.0f, orbit_speed);
}

TEST(SubmarineMovement, SpeedBonusRaisesTheTopOncePassed)
{
    sail_from(0.0f, 5);
    bonus_effects.rychlost_lodi = 2;
    float speed = 0.0f;
    for (int i = 1; i <= 7; i++) {
        submarine.move(0, 1);
        speed += 0.7f;
        EXPECT_EQ(speed, orbit_speed);
    }
    EXPECT_NEAR(4.9f, orbit_speed, 1e-5);
    submarine.move(0, 1);  // 5.6 is beyond 5: the top with the bonus
    EXPECT_EQ(7.0f, orbit_speed);
    submarine.move(0, 1);
    EXPECT_EQ(7.0f, orbit_speed);
}

TEST(SubmarineMovement, SpeedFadesWithoutKeysAndTheDriftStays)
{
    sail_from(10.0f, 5);
    orbit_speed = 5.0f;
    float speed = 5.0f, uhel = 10.0f;
    for (int i = 0; i < 34; i++) {
        submarine.move(0, 0);
        speed *= 0.98f;
        uhel += speed + 0.1f;
        EXPECT_EQ(speed, orbit_speed);
        EXPECT_EQ(uhel, submarine.uhel);
    }
    EXPECT_NEAR(2.5, orbit_speed, 0.03);
}

TEST(SubmarineMovement, AtRestOnlyTheDriftMovesIt)
{
    sail_from(0.0f, 5);
    float uhel = 0.0f;
    for (int i = 0; i < 10; i++) {
        submarine.move(0, 0);
        uhel += 0.0f + 0.1f;
    }
    EXPECT_EQ(0.0f, orbit_speed);
    EXPECT_EQ(uhel, submarine.uhel);
    EXPECT_NEAR(1.0f, submarine.uhel, 1e-5);
}

TEST(SubmarineMovement, LeftArrowSlowsDownToTheDriftButNeverBack)
{
    sail_from(0.0f, 5);
    orbit_speed = 5.0f;
    submarine.move(1, 0);
    EXPECT_EQ(4.5f, orbit_speed);
    for (int i = 0; i < 12; i++) submarine.move(1, 0);
    EXPECT_EQ(0.0f, orbit_speed);
    float before = submarine.uhel;
    submarine.move(1, 0);
    EXPECT_EQ(before + 0.1f, submarine.uhel);
    // Both arrows: slow down to 0, then speed up once.
    submarine.move(1, 1);
    EXPECT_EQ(0.5f, orbit_speed);
}

TEST(SubmarineMovement, AngleWrapsIntoALap)
{
    sail_from(359.95f, 5);
    submarine.move(0, 0);
    EXPECT_NEAR(0.05f, submarine.uhel, 1e-4);
    EXPECT_GE(submarine.uhel, 0.0f);

    sail_from(-10.0f, 5);  // a script may start it below 0
    submarine.move(0, 0);
    EXPECT_NEAR(350.1f, submarine.uhel, 1e-4);

    sail_from(1000000.0f, 5);
    submarine.move(0, 0);
    EXPECT_GE(submarine.uhel, 0.0f);
    EXPECT_LE(submarine.uhel, 360.0f);
}

TEST(SubmarineMovement, SailsTheFlattenedEllipseWithTheGamesDegreeFactor)
{
    sail_from(0.0f, 5);
    submarine.move(0, 0);  // 0.1 degrees: 519.9997 is truncated
    EXPECT_EQ(519, submarine.x);
    EXPECT_EQ(240, submarine.y);
    EXPECT_EQ((float)(320 + 200 * cos(submarine.uhel * 0.0174)), submarine.exact_x);

    // At 180.1 degrees the factor 0.0174 puts it just below the centre line
    // (with pi / 180 it would be just above it).
    sail_from(180.0f, 5);
    submarine.move(0, 0);
    EXPECT_EQ(120, submarine.x);
    EXPECT_EQ(240, submarine.y);
    EXPECT_NEAR(240.978, submarine.exact_y, 1e-3);

    sail_from(90.0f, 5);
    submarine.move(0, 0);
    EXPECT_EQ(320, submarine.x);
    EXPECT_EQ(364, submarine.y);  // 200 x 0.623 below the centre
}

TEST(SubmarineMovement, OrbitSpeedOutlivesTheLevel)
{
    sail_from(0.0f, 5);
    submarine.move(0, 1);
    capture([] { free_submarine(submarine); });
    submarine.init(100, 320, 240, 0, 5, 8, 0, 0, 10, 0);
    EXPECT_EQ(0.5f, orbit_speed);
}

// ---------------------------------------------------------------------------
// Wake

TEST(SubmarineWake, FoamFliesBothWaysAlongTheRadius)
{
    reset_particles();
    random_reset();
    game.frame = 40;
    sail_from(0.0f, 5);
    submarine.x = submarine.y = -1;  // where it was before this step
    submarine.step(0, 0, 0, 0, 1);
    ASSERT_EQ(8, live_particles());
    // At rest the slack is 5 - 0 + 1: the foam flies at 1/6 and 1/12 along
    // 0 and 180 degrees (3.132 radians with the game's factor). Worked out in
    // double precision and rounded to float once:
    const float sixth = 0x1.555556p-3f;               // 1 / 6
    const float back_x = -0x1.55515p-3f;              // cos(3.132) / 6
    const float back_y = 0x1.0519e6p-10f;             // sin(3.132) x (0.623 / 6)
    EXPECT_EQ(sixth, particles[0].vx);
    EXPECT_EQ(0.0f, particles[0].vy);
    EXPECT_EQ(sixth, particles[1].vx);
    EXPECT_EQ(back_x, particles[2].vx);
    EXPECT_EQ(back_y, particles[2].vy);
    EXPECT_EQ(back_x, particles[3].vx);
    EXPECT_EQ(0x1.555556p-4f, particles[4].vx);      // 1 / 12
    EXPECT_EQ(-0x1.55515p-4f, particles[7].vx);      // cos(3.132) / 12
    for (int i = 0; i < 4; i++) EXPECT_EQ(59, particles[i].end);
    for (int i = 4; i < 8; i++) EXPECT_EQ(69, particles[i].end);
    for (int i = 0; i < 8; i++) {
        EXPECT_EQ(519, particles[i].ix);
        EXPECT_EQ(240, particles[i].iy);
    }
}

TEST(SubmarineWake, FullSpeedFoamFliesFaster)
{
    reset_particles();
    sail_from(0.0f, 5);
    orbit_speed = 5.0f;
    submarine.step(0, 1, 0, 0, 1);
    // At the top speed the slack is 1: the foam flies at 1 and 1/2 (unflattened).
    EXPECT_NEAR(1.0, hypot(particles[0].vx, particles[0].vy / 0.623), 1e-5);
    EXPECT_NEAR(1.0, hypot(particles[2].vx, particles[2].vy / 0.623), 1e-5);
    EXPECT_NEAR(0.5, hypot(particles[4].vx, particles[4].vy / 0.623), 1e-5);
}

TEST(SubmarineWake, SpeedBonusOfOneAtFullSpeedKeepsTheFoamFinite)
{
    reset_particles();
    sail_from(0.0f, 5);
    bonus_effects.rychlost_lodi = 1;
    orbit_speed = 6.0f;
    submarine.spawnWake();
    EXPECT_TRUE(std::isfinite(particles[0].vx));
    EXPECT_NEAR(1.0, fabs(particles[0].vx), 1e-3);
}

// ---------------------------------------------------------------------------
// Drawing

class SubmarineDrawing : public ::testing::Test {
protected:
    void SetUp() override
    {
        game.frame = 0;
        weapon_catalogue.count = 1;
        weapon_catalogue.weapons[0].dostrel = 0;
        bonus_effects.dostrel = 0;
        submarine.init(200, 320, 240, 0, 5, 8, 0, 0, 10, 0);
        submarine.x = 100;
        submarine.y = 100;
    }
    void TearDown() override
    {
        free_bitmap(submarine.image);
        submarine.image = NULL;
    }
    Uint32 at(int x, int y) { return pixel_at(screen.surface, x, y); }
    void draw_at(float uhel)
    {
        SDL_FillRect(screen.surface, NULL, 0);
        submarine.uhel = uhel;
        submarine.draw(screen.surface);
    }
    TempDir dir;
    TestScreen screen;
};

TEST_F(SubmarineDrawing, HeadingChoosesTheFrameCentredOnTheSubmarine)
{
    submarine.image = make_heading_strip("ponorka.bmp", 8, 6);
    draw_at(44.9f);
    EXPECT_EQ(frame_colour(screen.surface, 0), at(101, 101));
    EXPECT_EQ(frame_colour(screen.surface, 0), at(97, 99));  // the corner is at (x - 3, y - 3)
    EXPECT_EQ(0u, at(96, 99));
    EXPECT_EQ(0u, at(103, 99));
    // Strip frames, frame count, heading and the frame shown (-1 none): a
    // strip too short for the angle shows nothing; counts outside 1 ... 360
    // still draw.
    const struct {
        int strip_frames, pocet_snimku;
        float uhel;
        int frame;
    } cases[] = {
        {8, 8, 45.0f, 1},  {8, 8, 359.9f, 7},
        {7, 7, 356.0f, 6}, {7, 7, 357.0f, -1},  // steps of 51 degrees: 357 asks for frame 7
        {8, 0, 200.0f, 0},                        // one picture for every heading
        {8, 1000, 3.5f, 3},                       // one frame per degree
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.uhel);
        free_bitmap(submarine.image);
        submarine.image = make_heading_strip("ponorka.bmp", c.strip_frames, 6);
        submarine.pocet_snimku = c.pocet_snimku;
        draw_at(c.uhel);
        EXPECT_EQ(c.frame < 0 ? 0u : frame_colour(screen.surface, c.frame), at(101, 101));
        if (c.frame < 0) {
            EXPECT_EQ(0u, at(98, 98));
        }
    }
}

TEST_F(SubmarineDrawing, SubmarineWithoutPictureShowsOnlyItsRing)
{
    weapon_catalogue.weapons[0].dostrel = 30;
    draw_at(10.0f);
    EXPECT_EQ(map_colour(screen.surface, 0, 230, 0), at(130, 100));
    EXPECT_EQ(0u, at(101, 101));
}

TEST_F(SubmarineDrawing, RangeRingIsAGreenEllipseThroughTheReach)
{
    submarine.x = 320;
    submarine.y = 240;
    weapon_catalogue.weapons[0].dostrel = 40;
    bonus_effects.dostrel = 10;
    draw_at(0.0f);
    // Dot 0 to the right at full reach, green 230; dot 90 below, flattened
    // by 0.623 (31.15 pixels), green 230 - 100 = 130.
    EXPECT_EQ(map_colour(screen.surface, 0, 230, 0), at(370, 240));
    EXPECT_EQ(map_colour(screen.surface, 0, 130, 0), at(320, 271));
    EXPECT_EQ(0u, at(371, 240));
    EXPECT_EQ(0u, at(320, 272));
    int dots = 0;
    for (int y = 200; y < 280; y++)
        for (int x = 260; x < 380; x++) {
            Uint8 r, g, b;
            colour_at(screen.surface, x, y, &r, &g, &b);
            if (r || g || b) {
                dots++;
                EXPECT_EQ(0, r);
                EXPECT_EQ(0, b);
            }
        }
    EXPECT_GT(dots, 200);
    EXPECT_LE(dots, 360);
}

// The ring measures the selected weapon (weapon 0 reaches 20, weapon 2 60);
// its brightness travels with the frame and wraps above 255: at frame 270
// dot 0 would be 329 bright, as an 8-bit value 73.
TEST_F(SubmarineDrawing, RingFollowsTheSelectedWeaponAndItsBrightnessTravels)
{
    const struct {
        int weapon, frame, x, green;  // green -1: nothing drawn there
    } cases[] = {{2, 0, 380, 230}, {2, 0, 340, -1}, {0, 90, 370, 130}, {0, 270, 370, 73}, {0, 450, 370, 130}};
    submarine.x = 320;
    submarine.y = 240;
    weapon_catalogue.count = 3;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.frame);
        weapon_catalogue.weapons[0].dostrel = c.weapon == 2 ? 20 : 50;
        weapon_catalogue.weapons[2].dostrel = 60;
        submarine.weapon = c.weapon;
        game.frame = c.frame;
        draw_at(0.0f);
        EXPECT_EQ(c.green < 0 ? 0u : map_colour(screen.surface, 0, (Uint8)c.green, 0), at(c.x, 240));
    }
    weapon_catalogue.weapons[2].dostrel = 0;
}

TEST_F(SubmarineDrawing, RegainedHitPointsStopTheExplosion)
{
    submarine.image = make_heading_strip("ponorka.bmp", 8, 6);
    bank.vybuch[0].bitmap = make_heading_strip("vybuch.bmp", 3, 6);
    bank.vybuch[0].frames = 3;
    submarine.zivoty = 0;
    draw_at(10.0f);
    EXPECT_EQ(0, submarine.explosion_frame);
    EXPECT_EQ(frame_colour(screen.surface, 0), at(101, 101));  // explosion frame 0
    submarine.zivoty = 1;
    draw_at(50.0f);
    EXPECT_EQ(0, submarine.explosion_frame);
    EXPECT_EQ(frame_colour(screen.surface, 1), at(101, 101));  // the submarine at 50 degrees
    EXPECT_EQ(1, submarine.active);
    free_strip(bank.vybuch[0]);
}

// ---------------------------------------------------------------------------
// "delo.scr"

class DeloScript : public ::testing::Test {
protected:
    void SetUp() override
    {
        settings.sound = 0;
        for (int t = 0; t < CREATURE_TYPE_CAPACITY; t++) {
            creature_types[t].pocet = 7;
            creature_types[t].finished = 3;
        }
        std::vector<Uint8> pixels(16 * 2, 1);
        write_bmp8("GFX/ponorka.bmp", 16, 2, pixels, {{1, 200, 200, 200}});
    }
    void TearDown() override { capture([] { free_submarine(submarine); }); }
    Captured load(const std::string& text, int* result)
    {
        write_file("delo.scr", text);
        return capture([&] { *result = load_submarine("delo.scr", submarine); });
    }
    TempDir dir;
};

TEST_F(DeloScript, FullSectionLogsEveryLineAndBuildsTheSubmarine)
{
    submarine.weapon = 3;
    submarine.next_fire[5] = 99;
    int result = 9;
    Captured log = load(DELO, &result);
    EXPECT_EQ(0, result);
    EXPECT_EQ(DELO_LOG, log.out);
    EXPECT_EQ("", log.err);
    EXPECT_EQ((std::vector<long long>{200, 320, 210, 5, 8}),
              (std::vector<long long>{submarine.radius, submarine.stred_x, submarine.stred_y,
                                      submarine.rychlost_otaceni, submarine.pocet_snimku}));
    EXPECT_EQ(90.0f, submarine.uhel);
    EXPECT_EQ((std::vector<long long>{1, 300, 300, 2, 3, 1, -1}),
              (std::vector<long long>{submarine.vybuch, submarine.zivoty, submarine.max_zivoty, submarine.alpha,
                                      submarine.stit, submarine.active, submarine.explosion_frame}));
    ASSERT_NE(nullptr, submarine.image);
    EXPECT_EQ(16, submarine.image->w);
    EXPECT_EQ(nullptr, submarine.death_sound);  // audio is off
    // Loading leaves the gun's state alone.
    EXPECT_EQ(3, submarine.weapon);
    EXPECT_EQ(99, submarine.next_fire[5]);
}

TEST_F(DeloScript, ClearsTheCreatureCountsBeforeTheCreaturesAreRead)
{
    int result = 0;
    load(DELO, &result);
    for (int t = 0; t < CREATURE_TYPE_CAPACITY; t++) {
        EXPECT_EQ(0, creature_types[t].pocet);
        EXPECT_EQ(0, creature_types[t].finished);
    }
}

// All on one line, keys inside longer words, missing keys as 0; a second
// section reported and not stored; keys before the section with nowhere to
// go; no section at all.
TEST_F(DeloScript, SectionsDecideWhatIsStored)
{
    const struct {
        const char* text;
        int result, radius, max_zivoty;
        std::string out, err;
    } cases[] = {
        {"[*] zivoty 5 max_radius_lodi 150 [END]", 0, 150, 5,
         prefixed_lines("script: delo.scr : ", {"NALEZENA NOVA PONORKA #0", "zivoty : 5", "radius : 150",
                                                "INICIALIZUJI PONORKU ... #0 ...OK"}),
         ""},
        {"[*A] radius 100 zivoty 5 [END]\n[*B] radius 999 zivoty 1 image GFX/jina.bmp [END]\n", 1, 100, 5,
         prefixed_lines("script: delo.scr : ", {"NALEZENA NOVA PONORKA #0", "radius : 100", "zivoty : 5",
                                                "INICIALIZUJI PONORKU ... #0 ...OK", "NALEZENA NOVA PONORKA #1"}),
         "script: delo.scr : prilis mnoho ponorek\n"},
        {"radius 50 image GFX/ponorka.bmp [*] zivoty 5 [END]", 0, 0, 5,
         prefixed_lines("script: delo.scr : ", {"NALEZENA NOVA PONORKA #0", "zivoty : 5",
                                                "INICIALIZUJI PONORKU ... #0 ...OK"}),
         ""},
        {"zivoty 5 [END]", -1, 0, 1, "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        capture([] { free_submarine(submarine); });
        int result = 9;
        Captured log = load(c.text, &result);
        EXPECT_EQ(c.result, result);
        EXPECT_EQ(c.out, log.out);
        EXPECT_EQ(c.err, log.err);
        EXPECT_EQ(c.radius, submarine.radius);
        EXPECT_EQ(c.max_zivoty, submarine.max_zivoty);
        EXPECT_EQ(nullptr, submarine.image);
        if (c.result == 0) {
            EXPECT_EQ(0, submarine.rychlost_otaceni);  // missing keys count as 0
        }
        if (c.result == -1) {
            EXPECT_EQ(0, submarine.active);
        }
    }
}

TEST_F(DeloScript, MissingFileIsReportedAndReadsNothing)
{
    int result = 0;
    Captured log = capture([&] { result = load_submarine("SCRIPT/L9/delo.scr", submarine); });
    EXPECT_EQ(-1, result);
    EXPECT_EQ("", log.out);
    EXPECT_EQ("Nemohu nahrat soubor : SCRIPT/L9/delo.scr\n", log.err);
    EXPECT_EQ(7, creature_types[0].pocet);
}

TEST_F(DeloScript, ReleaseEmptiesTheRecordAndNamesIt)
{
    int result = 0;
    load(DELO, &result);
    submarine.weapon = 2;
    submarine.next_fire[99] = 40;
    submarine.x = 300;
    orbit_speed = 3.0f;
    Captured log = capture([] { EXPECT_EQ(0, free_submarine(submarine)); });
    char expected[64];
    snprintf(expected, sizeof expected, "UVOLNENO DELO(%p) Z PAMETI\n", (void*)&submarine);
    EXPECT_EQ(expected, log.out);
    EXPECT_EQ("", log.err);
    EXPECT_EQ(nullptr, submarine.image);
    EXPECT_EQ((std::vector<long long>{1, 1, -1, 0, 0, 0, 0}),
              (std::vector<long long>{submarine.pocet_snimku, submarine.max_zivoty, submarine.explosion_frame,
                                      submarine.active, submarine.zivoty, submarine.weapon, submarine.x}));
    EXPECT_EQ(0.0f, submarine.uhel);
    for (int i = 0; i < WEAPON_CAPACITY; i++) EXPECT_EQ(0, submarine.next_fire[i]);
    EXPECT_EQ(3.0f, orbit_speed);
}

TEST_F(DeloScript, SoundsLoadWithAudioOnAndAreReleased)
{
    ASSERT_EQ(0, SDL_Init(SDL_INIT_AUDIO | SDL_INIT_NOPARACHUTE));
    ASSERT_EQ(0, Mix_OpenAudio(11025, AUDIO_U8, 2, 1024));
    settings.sound = 1;
    write_wav("SND/smrt.wav", 60000);
    write_wav("SND/naraz.wav", 60000);
    int result = 0;
    Captured log = load(DELO, &result);
    EXPECT_NE(nullptr, submarine.death_sound);
    EXPECT_NE(nullptr, submarine.collision_sound);
    EXPECT_NE(submarine.death_sound, submarine.collision_sound);
    EXPECT_NE(std::string::npos,
              log.out.find("Nahran zvuk SND/smrt.wav\nscript: delo.scr : zvuk : SND/smrt.wav ... nahran\n"));
    submarine.playCollisionSound();
    EXPECT_EQ(1, Mix_Playing(CHANNEL_SUBMARINE));
    EXPECT_EQ(submarine.collision_sound, Mix_GetChunk(CHANNEL_SUBMARINE));
    EXPECT_EQ(1, Mix_Playing(-1));
    Mix_HaltChannel(-1);
    capture([] { free_submarine(submarine); });
    EXPECT_EQ(nullptr, submarine.death_sound);
    EXPECT_EQ(nullptr, submarine.collision_sound);
    close_audio();
    SDL_Quit();
}

// ---------------------------------------------------------------------------
// Death, through the game loop

class SubmarineDeath : public ::testing::Test {
protected:
    void SetUp() override
    {
        scripted_reset(input);
        platform_use_scripted(&input);
        reset_frame_pacing();
        reset_particles();
        random_reset();
        // One creature still to come keeps the level from being won meanwhile;
        // it is not due before the test ends.
        creature_type_last = 0;
        creature_types[0].pocet = 1;
        creature_types[0].finished = 0;
        creature_types[0].dolni_interval = 100000;
        creature_types[0].horni_interval = 100001;
        settings.efekt01 = 1;
        bank.vybuch[0].bitmap = make_heading_strip("vybuch.bmp", 3, 10);
        bank.vybuch[0].frames = 3;
        bank.vybuch_last = 0;
        submarine.init(100, 320, 240, 0, 5, 8, 0, 0, 1, 0);
        submarine.zivoty = 0;
        begin_level(run);
        memset(&keys, 0, sizeof keys);
        keys.event_type = SDL_NOEVENT;
    }
    void TearDown() override
    {
        platform_use_scripted(NULL);
        free_strip(bank.vybuch[0]);
    }
    TempDir dir;
    TestScreen screen;
    ScriptedInput input;
    LevelRun run;
    FrameInput keys;
};

TEST_F(SubmarineDeath, ExplosionPlaysOnceAndEndsTheLevelAsLost)
{
    for (int shown = 0; shown < 3; shown++) {
        play_frame(run, keys);
        EXPECT_EQ(LEVEL_PLAYING, run.result);
        EXPECT_EQ(1, submarine.active);
        EXPECT_EQ(shown, submarine.explosion_frame);
        EXPECT_EQ(frame_colour(screen.surface, shown), pixel_at(screen.surface, submarine.x + 2, submarine.y + 2));
    }
    // The wake of three frames and, once, a ring of 180 fans.
    EXPECT_EQ(3 * 8 + 360, live_particles());
    EXPECT_EQ(1, submarine.death_sound_played);

    play_frame(run, keys);
    EXPECT_EQ(0, submarine.active);
    EXPECT_EQ(-1, submarine.explosion_frame);
    EXPECT_EQ(LEVEL_OVER, run.result);
}

TEST_F(SubmarineDeath, TheDeathSoundPlaysOnceOnTheSubmarinesChannel)
{
    ASSERT_TRUE(open_audio());
    write_wav("smrt.wav", 60000);
    submarine.death_sound = load_sound("smrt.wav");
    ASSERT_NE(nullptr, submarine.death_sound);
    play_frame(run, keys);
    EXPECT_EQ(1, Mix_Playing(CHANNEL_SUBMARINE));
    EXPECT_EQ(submarine.death_sound, Mix_GetChunk(CHANNEL_SUBMARINE));
    Mix_HaltChannel(-1);
    play_frame(run, keys);
    EXPECT_EQ(0, Mix_Playing(-1));
    Mix_FreeChunk(submarine.death_sound);
    submarine.death_sound = NULL;
    close_audio();
}

TEST_F(SubmarineDeath, AnExplosionSlotWithoutAPictureEndsTheDeathOnTheNextFrame)
{
    // An empty slot of the table counts one frame: reported once, then over.
    submarine.vybuch = 3;
    Captured log = capture([&] { play_frame(run, keys); });
    EXPECT_EQ("Pokus o vykresleni nenahrane bitmapy vybuchu #3 !!!\n", log.err);
    EXPECT_EQ(1, submarine.active);
    EXPECT_EQ(LEVEL_PLAYING, run.result);
    log = capture([&] { play_frame(run, keys); });
    EXPECT_EQ("", log.err);
    EXPECT_EQ(0, submarine.active);
    EXPECT_EQ(LEVEL_OVER, run.result);
}

TEST_F(SubmarineDeath, AnExplosionNumberOutsideTheTableNeverEnds)
{
    submarine.vybuch = VYBUCH_CAPACITY;  // no such explosion
    Captured log = capture([&] {
        for (int i = 0; i < 100; i++) play_frame(run, keys);
    });
    EXPECT_EQ(LEVEL_PLAYING, run.result);
    EXPECT_EQ(1, submarine.active);
    EXPECT_EQ(99, submarine.explosion_frame);
    EXPECT_EQ(100, occurrences(log.err, "Pokus o vykresleni nenahrane bitmapy vybuchu #10 !!!\n"));
    // The player can still leave.
    keys.key_escape = 1;
    play_frame(run, keys);
    EXPECT_EQ(LEVEL_OVER, run.result);
}

TEST_F(SubmarineDeath, WithoutTheEffectNoParticleRing)
{
    settings.efekt01 = 0;
    play_frame(run, keys);
    EXPECT_EQ(8, live_particles());
}

TEST(DeloDataSet, EveryLevelBuildsASubmarine)
{
    settings = GameSettings();  // silent: no sound is loaded
    TempDir dir;
    TestScreen screen;
    ASSERT_TRUE(copy_data_set()) << "the run folder " ABYSSOR_RUN_DIR " lacks the data set: build the game first";
    for (const char* level : {"LEVEL1", "LEVEL2", "LEVEL3", "LEVEL4"}) {
        std::string path = std::string("SCRIPT/") + level + "/delo.scr";
        int section = -2;
        Captured output = capture([&] { section = load_submarine(path.c_str(), submarine); });
        EXPECT_EQ(0, section) << level;
        EXPECT_EQ("", output.err) << level;
        ASSERT_NE(nullptr, submarine.image) << level;
        // Square heading frames, one per step round the ellipse.
        EXPECT_EQ(submarine.pocet_snimku * submarine.image->h, submarine.image->w) << level;
        EXPECT_EQ(1, submarine.active);
        EXPECT_GT(submarine.zivoty, 0);
        capture([] { free_submarine(submarine); });
    }
}

TEST(SubmarineRing, ShowsTheReachOfTheLevelsWeaponAndFollowsTheSwitch)
{
    TempDir dir;
    TestScreen screen;
    ASSERT_TRUE(copy_data_set());
    capture([] { load_weapons("SCRIPT/LEVEL1/weapons.scr"); });
    bonus_effects = BonusEffects();
    game.frame = 0;
    submarine.init(200, 320, 240, 0, 5, 8, 0, 0, 10, 0);
    submarine.x = 100;
    submarine.y = 240;
    submarine.weapon = 0;
    int reach = weapon_catalogue.weapons[0].dostrel;
    ASSERT_GT(reach, 0);
    submarine.drawRangeRing(screen.surface);
    EXPECT_NE(0u, pixel_at(screen.surface, 100 + reach, 240));
    EXPECT_EQ(0u, pixel_at(screen.surface, 100 + reach + 1, 240));

    // Tab goes on to the level's next gun weapon, and the ring with it.
    SDL_FillRect(screen.surface, NULL, 0);
    game.frame = 24;
    gun_switch_weapon(submarine, 1);
    ASSERT_NE(0, submarine.weapon);
    int next_reach = weapon_catalogue.weapons[submarine.weapon].dostrel;
    ASSERT_NE(reach, next_reach);
    submarine.drawRangeRing(screen.surface);
    EXPECT_EQ(0u, pixel_at(screen.surface, 100 + reach, 240));
    EXPECT_NE(0u, pixel_at(screen.surface, 100 + next_reach, 240));
    capture([] { free_weapons(); });
}
