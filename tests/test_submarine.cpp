#include <gtest/gtest.h>

#include <math.h>
#include <stdio.h>

#include <string>
#include <vector>

#include "bonus.h"
#include "creatures.h"
#include "game_loop.h"
#include "graphics_bank.h"
#include "sounds.h"
#include "particles.h"
#include "platform.h"
#include "settings.h"
#include "submarine.h"
#include "support.h"
#include "weapons.h"

namespace {

// A fresh submarine on an ellipse round (320, 240) of radius 200, top speed 5.
void sail_from(float uhel, float speed)
{
    submarine.init(200, 320, 240, 0, 5, 8, 0, 0, 10, 0);
    submarine.uhel = uhel;
    orbit_speed = speed;
}

// A strip of square heading frames of side h, frame k in (248, 24k + 8, 0).
SDL_Surface* heading_strip(int frames, int h)
{
    SDL_Surface* strip = solid_surface(frames * h, h, 0, 0, 0);
    for (int k = 0; k < frames; k++) {
        SDL_Rect frame = {(Sint16)(k * h), 0, (Uint16)h, (Uint16)h};
        SDL_FillRect(strip, &frame, SDL_MapRGB(strip->format, 248, (Uint8)(24 * k + 8), 0));
    }
    return strip;
}

Uint32 frame_colour(SDL_Surface* surface, int k)
{
    return map_colour(surface, 248, (Uint8)(24 * k + 8), 0);
}

}  // namespace

// Rows: where it starts (angle, extra speed, speed bonus), the arrows held
// for some frames, and the speed, angle and pixel it has reached. Beyond its
// speed it always drifts 0.1 degrees a frame; degrees become radians by
// 0.0174 and the ellipse is 200 x 0.623 high.
TEST(SubmarineMovement, ArrowsSpeedItUpAndDownAndWithoutThemTheSpeedFades)
{
    const struct {
        float uhel, speed;
        int bonus, left, right, frames;
        float speed_after, uhel_after;
        int x, y;
    } cases[] = {
        {0, 0, 5, 0, 1, 5, 5.0f, 15.5f, 512, 273},   // a bonus raises the top once 5 is passed...
        {0, 0, 5, 0, 1, 6, 10.0f, 25.6f, 500, 293},  // ...not when it is reached
        {0, 0, 0, 0, 1, 10, 5.0f, 28.5f, 495, 299},  // a tenth of the top speed a frame...
        {0, 0, 0, 0, 1, 11, 5.0f, 33.6f, 486, 308},  // ...and no more
        {0, 0, 2, 0, 1, 8, 7.0f, 27.4f, 497, 297},
        {0, 5, 0, 0, 0, 34, 2.51569f, 125.1314f, 206, 342},  // fading by 0.98 a frame
        {0, 0, 0, 0, 0, 10, 0.0f, 1.0f, 519, 242},
        {0, 5, 0, 1, 0, 1, 4.5f, 4.6f, 519, 249},
        {0, 5, 0, 1, 0, 14, 0.0f, 23.9f, 502, 290},  // slowed to the drift, never back
        {0, 0, 0, 1, 1, 1, 0.5f, 0.6f, 519, 241},    // both arrows: to 0, then up
        {359.95f, 0, 0, 0, 0, 1, 0.0f, 0.05f, 519, 240},
        {-10, 0, 0, 0, 0, 1, 0.0f, 350.1f, 516, 216},
        {1e6f, 0, 0, 0, 0, 1, 0.0f, 280.125f, 352, 117},
        // At 180.1 degrees the game's factor puts it just below the centre
        // line (pi / 180 would put it just above).
        {180, 0, 0, 0, 0, 1, 0.0f, 180.1f, 120, 240},
        {90, 0, 0, 0, 0, 1, 0.0f, 90.1f, 320, 364},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "from " << c.uhel << " at " << c.speed << ", bonus " << c.bonus << (c.left ? ", Left" : "")
                                        << (c.right ? ", Right" : "") << " for " << c.frames << " frames");
        sail_from(c.uhel, c.speed);
        bonus_effects.rychlost_lodi = c.bonus;
        for (int i = 0; i < c.frames; i++) submarine.move(c.left, c.right);
        EXPECT_NEAR(c.speed_after, orbit_speed, 1e-5);
        EXPECT_NEAR(c.uhel_after, submarine.uhel, 1e-4);
        EXPECT_EQ(c.x, submarine.x);
        EXPECT_EQ(c.y, submarine.y);
    }
}

// Foam flies off both ways along the radius at 1 / slack, and half that; the
// slack is the top speed less the speed, plus 1. A speed bonus of 1 at full
// speed leaves none, and the foam flies as at full speed.
TEST(SubmarineWake, WithoutSlackTheFoamFliesAsAtFullSpeed)
{
    reset_particles();
    sail_from(0.0f, 6.0f);
    bonus_effects.rychlost_lodi = 1;
    submarine.step(0, 1, 0, 0, 1);
    for (int i = 0; i < 8; i++)
        EXPECT_NEAR(i < 4 ? 1 : 0.5, hypot(particles[i].vx, particles[i].vy / 0.623), 1e-5) << "foam " << i;
}

// 360 green dots through the reach of the selected weapon (weapon 0 reaches
// 40, weapon 2 50, a bonus adds 10), flattened by 0.623 below and above; the
// brightness 230 - 100 sin(frame + dot) travels round with the frame and
// wraps above 255: at frame 270 dot 0 would be 329 bright, as an 8-bit
// value 73. Without a picture the ring is all that shows.
TEST(SubmarineDrawing, TheRangeRingIsAGreenEllipseThroughTheReachOfTheSelectedWeapon)
{
    TestScreen screen;
    weapon_catalogue.count = 3;
    submarine.init(200, 320, 240, 0, 5, 8, 0, 0, 10, 0);
    submarine.x = 320;
    submarine.y = 240;
    weapon_catalogue.weapons[0].dostrel = 40;
    weapon_catalogue.weapons[2].dostrel = 50;
    bonus_effects.dostrel = 10;
    const struct {
        int weapon, frame, x, y, green;  // green -1: nothing drawn there
    } cases[] = {
        {0, 0, 370, 240, 230}, {0, 0, 371, 240, -1},  {0, 0, 320, 271, 130},   {0, 0, 320, 272, -1},
        {0, 0, 320, 240, -1},  {2, 0, 380, 240, 230}, {2, 0, 370, 240, -1},    {0, 90, 370, 240, 130},
        {0, 270, 370, 240, 73}, {0, 450, 370, 240, 130},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "weapon " << c.weapon << " frame " << c.frame << " at " << c.x << ","
                                        << c.y);
        submarine.weapon = c.weapon;
        game.frame = c.frame;
        SDL_FillRect(screen.surface, NULL, 0);
        submarine.draw(screen.surface);
        EXPECT_EQ(c.green < 0 ? 0u : map_colour(screen.surface, 0, (Uint8)c.green, 0),
                  pixel_at(screen.surface, c.x, c.y));
    }
}

// ---------------------------------------------------------------------------
// "delo.scr"

// Keys logged as they are read, all on one line, keys inside longer words,
// missing keys as 0; a second section reported and not stored; keys before
// the section with nowhere to go; no section at all; no file at all. The
// last level's record is released first, and named. The gun's state is left
// alone.
TEST(DeloScript, SectionsDecideWhatIsStored)
{
    TempDir dir;
    write_bmp8("GFX/ponorka.bmp", 16, 2, std::vector<Uint8>(32, 1), {{1, 200, 200, 200}});
    const struct {
        const char* text;
        int result, radius, max_zivoty;
        std::string out, err;
    } cases[] = {
        {"[*] zivoty 5 max_radius_lodi 150 image GFX/ponorka.bmp death_sound SND/smrt.wav [END]", 0, 150, 5,
         prefixed_lines("script: delo.scr : ",
                        {"NALEZENA NOVA PONORKA #0", "zivoty : 5", "radius : 150", "bitmapa : GFX/ponorka.bmp ... nahrana",
                         "zvuk : SND/smrt.wav ... nahran", "INICIALIZUJI PONORKU ... #0 ...OK"}),
         ""},
        {"[*A] radius 100 zivoty 5 [END]\n[*B] radius 999 zivoty 1 image GFX/ponorka.bmp [END]\n", 1, 100, 5,
         prefixed_lines("script: delo.scr : ", {"NALEZENA NOVA PONORKA #0", "radius : 100", "zivoty : 5",
                                                "INICIALIZUJI PONORKU ... #0 ...OK", "NALEZENA NOVA PONORKA #1"}),
         "script: delo.scr : prilis mnoho ponorek\n"},
        {"radius 50 image GFX/ponorka.bmp [*] zivoty 5 [END]", 0, 0, 5,
         prefixed_lines("script: delo.scr : ", {"NALEZENA NOVA PONORKA #0", "zivoty : 5",
                                                "INICIALIZUJI PONORKU ... #0 ...OK"}),
         ""},
        {"zivoty 5 [END]", -1, 0, 1, "", ""},
        {NULL, -1, 0, 1, "", "Nemohu nahrat soubor : delo.scr\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text != NULL ? c.text : "no file");
        char freed[64];
        snprintf(freed, sizeof freed, "UVOLNENO DELO(%p) Z PAMETI\n", (void*)&submarine);
        EXPECT_EQ(freed, capture([] { free_submarine(submarine); }).out);
        remove("delo.scr");
        submarine.weapon = 3;
        if (c.text != NULL) write_file("delo.scr", c.text);
        orbit_speed = 3.0f;
        int result = 9;
        Captured log = capture([&] { result = load_submarine("delo.scr", submarine); });
        EXPECT_EQ(c.out + "|" + c.err, log.out + "|" + log.err);
        EXPECT_FIELDS({"result", c.result, result}, {"radius", c.radius, submarine.radius},
                      {"max_zivoty", c.max_zivoty, submarine.max_zivoty}, {"image set", c.radius == 150, submarine.image != NULL},
                      {"rychlost_otaceni", 0, submarine.rychlost_otaceni}, {"active", c.result >= 0, submarine.active},
                      {"explosion_frame", -1, submarine.explosion_frame},
                      {"pocet_snimku", c.result < 0, submarine.pocet_snimku},  // released: 1 frame, never 0
                      {"weapon", 3, submarine.weapon});
        EXPECT_EQ(3.0f, orbit_speed);  // the speed along the ellipse carries into the next level
    }
}

// ---------------------------------------------------------------------------
// Death, through the game loop

namespace {

// One creature still to come keeps the level from being won meanwhile; it
// is not due before the test ends.
class SubmarineDeath : public ::testing::Test {
protected:
    void SetUp() override
    {
        scripted_reset(input);
        platform_use_scripted(&input);
        creature_type_last = 0;
        creature_types[0].pocet = 1;
        creature_types[0].dolni_interval = 100000;
        creature_types[0].horni_interval = 100001;
        bank.vybuch[0] = AnimStrip{heading_strip(3, 10), 3, 0};
        submarine.init(100, 320, 240, 0, 5, 8, 0, 0, 1, 0);
        begin_level(run);
    }
    void TearDown() override { platform_use_scripted(NULL); }
    TempDir dir;
    TestScreen screen;
    ScriptedInput input;
    LevelRun run;
    FrameInput keys{};  // no key, no event
};

}  // namespace

// Explosion 0 has three frames; slot 3 of the table is empty, which counts
// one frame, reported once. The explosion throws a ring of 180 fans once,
// with the effect on; the wake goes on meanwhile.
TEST_F(SubmarineDeath, TheExplosionPlaysOnceThenTheLevelIsLost)
{
    const struct {
        int efekt01, vybuch, frames, particles;
        const char* err;
    } cases[] = {
        {1, 0, 3, 3 * 8 + 360, ""},
        {0, 0, 3, 3 * 8, ""},
        {1, 3, 1, 8 + 360, "Pokus o vykresleni nenahrane bitmapy vybuchu #3 !!!\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "effect " << c.efekt01 << " explosion " << c.vybuch);
        settings.efekt01 = c.efekt01;
        submarine.init(100, 320, 240, 0, 5, 8, 0, 0, 1, c.vybuch);
        submarine.zivoty = 0;
        begin_level(run);
        reset_particles();
        std::string err;
        for (int shown = 0; shown < c.frames; shown++) {
            err += capture([&] { play_frame(run, keys); }).err;
            EXPECT_EQ(LEVEL_PLAYING, run.result);
            EXPECT_EQ(shown, submarine.explosion_frame);
            if (c.vybuch == 0) {
                EXPECT_EQ(frame_colour(screen.surface, shown),
                          pixel_at(screen.surface, submarine.x + 2, submarine.y + 2));
            }
        }
        int live = 0;
        for (const Particle& particle : particles) live += particle.active;
        EXPECT_EQ(c.particles, live);
        err += capture([&] { play_frame(run, keys); }).err;
        EXPECT_EQ(c.err, err);
        EXPECT_EQ(0, submarine.active);
        EXPECT_EQ(-1, submarine.explosion_frame);
        EXPECT_EQ(LEVEL_OVER, run.result);
    }
}

// The script's two sounds: a bump plays the collision sound, the death its
// own sound once, both on the submarine's channel.
TEST_F(SubmarineDeath, ItsSoundsComeFromItsScriptAndPlayOnItsChannel)
{
    ASSERT_TRUE(open_audio());
    write_wav("smrt.wav", 60000);
    write_wav("naraz.wav", 3000);
    write_file("delo.scr", "[*] death_sound smrt.wav collision_sound naraz.wav zivoty 1 [END]");
    Captured log = capture([] { load_submarine("delo.scr", submarine); });
    EXPECT_NE(std::string::npos, log.out.find("Nahran zvuk smrt.wav\nscript: delo.scr : zvuk : smrt.wav ... nahran\n"));
    ASSERT_NE(nullptr, submarine.collision_sound);
    ASSERT_NE(nullptr, submarine.death_sound);
    EXPECT_LT(submarine.collision_sound->alen, submarine.death_sound->alen);
    submarine.playCollisionSound();
    EXPECT_EQ(submarine.collision_sound, Mix_GetChunk(CHANNEL_SUBMARINE));
    submarine.zivoty = 0;
    for (int frame = 0; frame < 2; frame++) {
        Mix_HaltChannel(-1);
        play_frame(run, keys);
        EXPECT_EQ(frame == 0, Mix_Playing(CHANNEL_SUBMARINE)) << "frame " << frame;
    }
    EXPECT_EQ(submarine.death_sound, Mix_GetChunk(CHANNEL_SUBMARINE));
}
