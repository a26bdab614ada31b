#include <gtest/gtest.h>

#include <SDL/SDL_mixer.h>

#include <string>
#include <vector>

#include "creatures.h"
#include "game_loop.h"
#include "graphics_bank.h"
#include "media.h"
#include "sounds.h"
#include "platform.h"
#include "settings.h"
#include "shots.h"
#include "submarine.h"
#include "support.h"
#include "weapons.h"

// The count goes into the kind at once, before its "[END]", and restarts
// its tally of finished ones; keys before the first kind are dropped (and a
// kind that names no weapon fires none); kinds beyond twenty are reported
// and never stored. (How each kind is logged, and values carrying over to
// the next kind, the kept games' logs and screens show.)
TEST(CreatureCatalogue, EachSectionFillsTheNextKind)
{
    TempDir dir;
    std::string many;
    for (int i = 1; i <= 22; i++) many += "[*K] zivoty " + std::to_string(i) + " pocet 1 [END]\n";
    const std::string too_many = "script: SCRIPT/L/potvory.scr : prilis mnoho potvor\n";
    const struct {
        std::string text;
        int last;
        struct {
            int zivoty, skore, pocet, finished, zbran;
        } kind;  // the last kind
        std::string err, absent;  // absent: what the log does not hold
    } cases[] = {
        {"[*A] pocet 5", 0, {0, 0, 5, 0, 0}, "", "INICIALIZA"},
        {"zivoty 99 pocet 7 [*A] pocet 1 [END]", 0, {0, 0, 1, 0, -1}, "", ": zivoty : 99"},
        {many, 19, {20, 0, 1, 0, -1}, too_many + too_many, "INICIALIZA POTVORY #20"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text.substr(0, 40));
        for (CreatureType& kind : creature_types) {
            kind = CreatureType();
            kind.finished = 4;
        }
        write_file("SCRIPT/L/potvory.scr", c.text);
        Captured output = capture([] { load_creatures("SCRIPT/L/potvory.scr"); });
        EXPECT_EQ(c.err, output.err);
        EXPECT_EQ(std::string::npos, output.out.find(c.absent));
        ASSERT_EQ(c.last, creature_type_last);
        const CreatureType& kind = creature_types[c.last];
        EXPECT_FIELDS({"zivoty", c.kind.zivoty, kind.zivoty}, {"skore", c.kind.skore, kind.skore},
                      {"pocet", c.kind.pocet, kind.pocet}, {"finished", c.kind.finished, kind.finished},
                      {"zbran", c.kind.zbran, kind.zbran});
    }
}

// ---------------------------------------------------------------------------
// Live creatures

namespace {

// A strip of square frames of h pixels, frame k in (r, 20 + 40k, b); its
// top-left pixel is the transparent colour.
SDL_Surface* make_strip(const std::string& path, int frames, int h, Uint8 r, Uint8 b)
{
    int w = frames * h;
    std::vector<Uint8> pixels(w * h);
    std::vector<PaletteColour> palette = {{0, 0, 0, 0}};
    for (int k = 0; k < frames; k++) palette.push_back({k + 1, r, (Uint8)(20 + 40 * k), b});
    for (int i = 1; i < w * h; i++) pixels[i] = (Uint8)(1 + i % w / h);
    write_bmp8(path, w, h, pixels, palette);
    return load_bitmap(path.c_str(), 1);
}

// Creature pictures are red, bubbles purple.
const Uint8 FISH_RED = 240, BUBBLE_RED = 160, BUBBLE_BLUE = 160;

// One kind of fish that comes only when a test says so, a death explosion of
// three frames, bubbles of four, and a submarine sailing far from the centre.
class LiveCreatures : public ::testing::Test {
protected:
    void SetUp() override
    {
        settings.max_teplota = 1000;
        kinds("[*] pocet_snimku 36 rychlost 0.9 dolez 70 zivoty 10 dolni_interval 100000 horni_interval 100001 "
              "hloubka_min 60 hloubka_max 130 vynorovani 1 sila 15 skore 100 pocet 10 [END]");
        bank.vybuch[0] = AnimStrip{make_strip("blast.bmp", 3, 10, 0, 240), 3, 3};
        bank.vybuch[1] = AnimStrip{make_strip("bubbles.bmp", 4, 10, BUBBLE_RED, BUBBLE_BLUE), 4, 4};
        bank.vybuch_last = 1;
        submarine.init(150, 320, 240, 0, 1, 1, 0, 0, 100, 0);
        submarine.x = 470;
        submarine.y = 240;
    }
    void kinds(const char* script)
    {
        write_file("potvory.scr", script);
        capture([] { load_creatures("potvory.scr"); });
    }
    // A surfaced fish standing at (x, y) heading `direction`, in slot `slot`.
    Creature& surfaced_fish(int slot, int x, int y, int direction)
    {
        Creature& c = creatures[slot];
        c.spawn(0, x, y, slot);  // whole-pixel position (x, y)
        c.exact_x = (float)x;
        c.exact_y = (float)y;
        c.direction = direction;
        c.vx = c.vy = 0;
        c.depth = c.start_depth = 0;
        c.surfaced = 1;
        return c;
    }
    void fish_picture(int frames, int h)
    {
        creature_types[0].pocet_snimku = frames;
        creature_types[0].bitmap = make_strip("fish.bmp", frames, h, FISH_RED, 0);
    }
    Mix_Chunk* sound(const char* name)
    {
        EXPECT_TRUE(open_audio());
        write_wav(name, 30000);
        return load_sound(name);
    }
    Uint32 colour(int k, Uint8 r, Uint8 b) { return map_colour(screen.surface, r, (Uint8)(20 + 40 * k), b); }
    Uint32 at(int x, int y) { return pixel_at(screen.surface, x, y); }
    void update_all() { update_creatures(submarine, screen.surface); }
    TempDir dir;
    TestScreen screen;
};

}  // namespace

// Bubbles from the animation's end toward its first frame as it rises; at
// depth exactly 0 it shows its own picture, still silent; the surfacing
// sound comes, once, when the depth would go below 0, and from then on it
// swims.
TEST_F(LiveCreatures, ARisingCreatureBubblesThenSurfacesWithItsSoundAndSwims)
{
    creature_types[0].create_sound = sound("up.wav");
    fish_picture(36, 10);
    creature_types[0].vynorovani = 6;
    spawn_creature_of_type(200, 150, 0);  // heading 41 mod 36 = 5: 50 degrees
    Creature& fish = creatures[0];
    fish.depth = fish.start_depth = 12;
    float start_x = fish.exact_x, start_y = fish.exact_y;
    int x = (int)start_x, y = (int)start_y;
    update_all();  // depth 6: bubbles frame 6 * 4 / 12 = 2, centred on the creature
    EXPECT_EQ(6, fish.depth);
    EXPECT_EQ(x, fish.x);
    EXPECT_EQ(colour(2, BUBBLE_RED, BUBBLE_BLUE), at(x + 2, y + 2));
    SDL_FillRect(screen.surface, NULL, 0);
    update_all();
    EXPECT_EQ(0, fish.depth);
    EXPECT_EQ(0, Mix_Playing(CHANNEL_SURFACING));
    EXPECT_EQ(start_x, fish.exact_x);
    EXPECT_EQ(colour(5, FISH_RED, 0), at(x + 2, y + 2));
    update_all();
    EXPECT_EQ(1, Mix_Playing(CHANNEL_SURFACING));
    EXPECT_EQ(creature_types[0].create_sound, Mix_GetChunk(CHANNEL_SURFACING));
    EXPECT_EQ(start_x + fish.vx, fish.exact_x);
    EXPECT_EQ(start_y + fish.vy, fish.exact_y);
    Mix_HaltChannel(CHANNEL_SURFACING);
    update_all();
    EXPECT_EQ(0, Mix_Playing(CHANNEL_SURFACING));
}

// Half heights 10 and 15: a = 25, reach sqrt(2 * 625) / 2 = 17.67, so 17;
// the vertical difference counts 1 / 0.623 times (10 as 16, 11 as 17). Only
// a surfaced creature rams, and only a live submarine. Ramming plays the
// bump, spends the creature (it starts to explode) and earns nothing.
TEST_F(LiveCreatures, RammingDistanceUndoesTheFlattening)
{
    submarine.collision_sound = sound("bump.wav");
    fish_picture(36, 20);
    submarine.image = solid_surface(30, 30, 0, 0, 0);
    const struct {
        int dx, dy, depth, submarine_active, rams;
    } cases[] = {{16, 0, 0, 1, 1}, {17, 0, 0, 1, 0},  {0, 10, 0, 1, 1}, {0, 11, 0, 1, 0},
                 {-16, 0, 0, 1, 1}, {0, -11, 0, 1, 0}, {0, 0, 1, 1, 0},  {0, 0, 0, 0, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.dx << "," << c.dy << " off at depth " << c.depth
                                        << (c.submarine_active ? "" : ", the submarine gone"));
        submarine.zivoty = 100;
        submarine.active = c.submarine_active;
        Creature& fish = surfaced_fish(0, submarine.x + c.dx, submarine.y + c.dy, 0);
        fish.depth = c.depth;
        fish.ramSubmarine(submarine, screen.surface);
        EXPECT_FIELDS({"the submarine's zivoty", c.rams ? 85 : 100, submarine.zivoty},
                      {"the fish's explosion_frame", c.rams ? 0 : -1, fish.explosion_frame},
                      {"the bump playing", c.rams, Mix_Playing(CHANNEL_SUBMARINE)}, {"score", 0, game.score});
        Mix_HaltChannel(-1);
    }
}

TEST_F(LiveCreatures, AnEscapeCostsAHundredPointsAndDoesNotCount)
{
    fish_picture(36, 10);
    game.score = 500;
    Creature& fish = surfaced_fish(0, 644, 100, 0);
    fish.vx = 1.0f;
    update_all();  // left edge 640: still on the screen
    EXPECT_EQ(1, fish.active);
    EXPECT_EQ(500, game.score);
    update_all();  // left edge 641: gone
    EXPECT_EQ(0, fish.active);
    EXPECT_EQ(400, game.score);
    EXPECT_EQ(0, creature_types[0].finished);
    update_all();
    EXPECT_EQ(400, game.score);
}

// A creature fires weapon 1 (a runner) outward along its heading when the
// submarine is less than alfa (30) degrees short of crossing it, with no
// wrap-around at 0 or 360; a weapon outside the catalogue fires nothing.
// The timer of 40 frames is shared by all creatures and outlives the level.
TEST_F(LiveCreatures, CreaturesFireOutwardWhenTheSubmarineIsAboutToCross)
{
    weapon_catalogue.count = 2;
    weapon_catalogue.weapons[1].typ = 2;
    CreatureType& fish = creature_types[0];
    fish.alfa = 30;
    fish.vystrel_prodleva = 40;
    const struct {
        int direction, zbran;
        float uhel;
        int fires;
    } cases[] = {{90, 1, 60.0f, 0}, {90, 1, 60.5f, 1}, {90, 1, 89.9f, 1}, {90, 1, 90.0f, 0}, {90, 1, 300.0f, 0},
                 {0, 1, 359.0f, 0}, {90, 2, 75.0f, 0},  {90, -5, 75.0f, 0}};
    game.frame = 100;
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "heading " << c.direction << ", weapon " << c.zbran << ", submarine at " << c.uhel);
        empty_shot_pool();
        next_creature_shot_frame = 0;
        fish.zbran = c.zbran;
        submarine.uhel = c.uhel;
        surfaced_fish(4, 320, 300, c.direction).fire(submarine);
        EXPECT_EQ(c.fires, shot_pool.slots[0].active);
        EXPECT_EQ(c.fires ? 140 : 0, next_creature_shot_frame);
    }
    // The shot leaves from the creature along its heading; another creature
    // waits for the shared timer, which outlives the level.
    const Shot& shot = shot_pool.slots[0];
    fish.zbran = 1;
    submarine.uhel = 75.0f;
    next_creature_shot_frame = 140;
    ScriptedSession session;  // the level's clock
    LevelRun run;
    begin_level(run);
    Creature& other = surfaced_fish(5, 100, 100, 90);
    for (game.frame = 139; game.frame <= 140; game.frame++) other.fire(submarine);
    EXPECT_FIELDS({"shot.active", 1, shot.active}, {"shot.owner", 5, shot.owner}, {"shot.angle", 90, shot.angle},
                  {"shot.weapon", 1, shot.weapon}, {"shot.x", 100, shot.x}, {"shot.y", 100, shot.y},
                  {"shot.arc_divisor", 300, shot.arc_divisor}, {"next_creature_shot_frame", 180, next_creature_shot_frame});
    EXPECT_EQ(0, shot_pool.slots[1].active);
}

// ---------------------------------------------------------------------------
// The game loop over the creatures: one fish dying at the centre while the
// submarine sails its ellipse out of reach.

namespace {

class CreaturesInTheLoop : public LiveCreatures {
protected:
    void SetUp() override
    {
        LiveCreatures::SetUp();
        scripted_reset(input);
        platform_use_scripted(&input);
        creature_types[0].pocet = 1;
        begin_level(run);
        fish_picture(36, 10);
    }
    void frames(int n)
    {
        for (int i = 0; i < n; i++) {
            FrameInput frame_input = read_frame_input(run);
            play_frame(run, frame_input);
        }
    }
    void TearDown() override { platform_use_scripted(NULL); }
    ScriptedInput input;
    LevelRun run;
};

}  // namespace

// A live creature holds the level even when its kind is done; its death
// sounds at once, and the level is won in the frame its blast ends. A level
// without a picture for explosion 0 says so once per death, whose blast then
// ends a frame later, as the submarine's does: the level can still be won.
TEST_F(CreaturesInTheLoop, TheLevelIsWonWhenTheLastBlastEnds)
{
    const struct {
        const char* explosion;
        int blast_frames;
        const char* said;
    } cases[] = {{"three frames", 3, ""}, {"no picture", 1, "Pokus o vykresleni nenahrane bitmapy vybuchu #0 !!!\n"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.explosion);
        reset_creatures();  // the pictures and sounds of the case before
        reset_images();
        SetUp();
        if (c.blast_frames == 1) free_strip(bank.vybuch[0]);
        creature_types[0].death_sound = sound("die.wav");
        creature_types[0].finished = 1;
        surfaced_fish(0, 320, 240, 0);
        frames(5);
        EXPECT_EQ(LEVEL_PLAYING, run.result);
        creatures[0].zivoty = 0;
        Captured blast = capture([&] { frames(c.blast_frames); });
        EXPECT_EQ(c.said, blast.err);
        EXPECT_EQ(creature_types[0].death_sound, Mix_GetChunk(CHANNEL_HIT));
        EXPECT_EQ(LEVEL_PLAYING, run.result) << "while the blast plays";
        EXPECT_EQ(1, creature_types[0].finished);
        frames(1);
        EXPECT_EQ(2, creature_types[0].finished) << "once the blast has ended";
        EXPECT_EQ(LEVEL_WON, run.result);
    }
}

TEST_F(CreaturesInTheLoop, HostileKindsFillThePoolWithoutHarm)
{
    // Every range empty, no pictures, a weapon far outside the catalogue, a
    // creature every frame and a quota that never runs out.
    for (AnimStrip& strip : bank.vybuch) free_strip(strip);
    capture([] { free_creatures(); });
    kinds("[*] pocet 1000000 zivoty 5 zbran 50 alfa 400 [END] [*] pocet_snimku 100000 pocet 1000000 dolni_interval -7 "
          "horni_interval -9 hloubka_min 2147483647 hloubka_max -2147483647 vynorovani -2147483647 dolez -5 "
          "rychlost 1e30 zivoty 1 zbran 50 [END]");
    capture([&] { frames(150); });
    int live = 0;
    for (const Creature& c : creatures) live += c.active;
    EXPECT_EQ(CREATURE_CAPACITY, live);
    EXPECT_EQ(LEVEL_PLAYING, run.result);
    for (const Shot& shot : shot_pool.slots) EXPECT_EQ(0, shot.active);
}
