#include <gtest/gtest.h>

#include <SDL/SDL_mixer.h>

#include <string>
#include <vector>

#include "bonus.h"
#include "creatures.h"
#include "game_loop.h"
#include "graphics_bank.h"
#include "gun.h"
#include "media.h"
#include "platform.h"
#include "random.h"
#include "settings.h"
#include "shots.h"
#include "submarine.h"
#include "support.h"
#include "weapons.h"

namespace {

class CreatureCatalogueTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        settings = GameSettings();
        for (CreatureType& kind : creature_types) kind = CreatureType();
        creature_type_last = -1;
    }
    void TearDown() override { capture([] { free_creatures(); }); }
    Captured load(const std::string& text)
    {
        write_file("SCRIPT/L/potvory.scr", text);
        return capture([] { load_creatures("SCRIPT/L/potvory.scr"); });
    }
    TestScreen screen;
    TempDir dir;
};

const char* FISH =
    "[*RYBA]\n"
    "bitmap GFX/fish.bmp\n"
    "skore_b GFX/fish_icon.bmp\n"
    "death_sound SFX/die.wav\n"
    "create_sound NULL\n"
    "pocet_snimku 8\n"
    "rychlost 1.5\n"
    "dolez 40\n"
    "dolni_interval 50\n"
    "horni_interval 120\n"
    "zivoty 20\n"
    "zbran 2\n"
    "pocet 5\n"
    "alfa 30\n"
    "vystrel_prodleva 60\n"
    "hloubka_max 200\n"
    "hloubka_min 100\n"
    "vynorovani 2\n"
    "sila 10\n"
    "skore 50\n"
    "[END]\n";

}  // namespace

TEST_F(CreatureCatalogueTest, OneKindWithEveryKeyAndItsLines)
{
    write_solid_bmp("GFX/fish.bmp", 64, 8, 200, 100, 0);
    write_solid_bmp("GFX/fish_icon.bmp", 8, 8, 200, 100, 0);
    Captured output = load(FISH);
    std::string expected;
    for (const char* line :
         {"NALEZENA NOVA POTVORA #0", "bitmapa : GFX/fish.bmp",
          // "skore_b" also wakes "skore", whose number is not there yet, and
          // sound names wake the "sound" number the same way.
          "bitmapa skore : GFX/fish_icon.bmp", "skore : 0", "sound : 0", "sound : 0",
          // "pocet_snimku" also wakes "pocet", which keeps its value.
          "pocet_snimku : 8", "pocet : 0", "rychlost : 1.500000", "dolez : 40", "dolni_interval : 50",
          "horni_interval : 120", "zivoty : 20", "zbran : 2", "pocet : 5", "alfa : 30", "vystrel_prodleva : 60",
          "hloubka_max : 200", "hloubka_min : 100", "vynorovani : 2", "sila : 10", "skore : 50",
          "INICIALIZA POTVORY #0 DOKONCENA"})
        expected += std::string("script: SCRIPT/L/potvory.scr : ") + line + "\n";
    EXPECT_EQ(expected, output.out);
    EXPECT_EQ("", output.err);
    ASSERT_EQ(0, creature_type_last);
    const CreatureType& f = creature_types[0];
    EXPECT_NE(nullptr, f.bitmap);
    EXPECT_NE(nullptr, f.skore_b);
    EXPECT_EQ(1.5f, f.rychlost);
    EXPECT_EQ((std::vector<int>{8, 40, 120, 2, 5, 0, 100, 50, 0}),
              (std::vector<int>{f.pocet_snimku, f.dolez, f.horni_interval, f.zbran, f.pocet, f.finished,
                                f.hloubka_min, f.skore, f.last_spawn_frame}));
}

TEST_F(CreatureCatalogueTest, ValuesCarryOverToTheNextKind)
{
    load("[*A] zivoty 20 skore 50 pocet 3 [END]\n[*B] zivoty 40 pocet 2 [END]\n");
    ASSERT_EQ(1, creature_type_last);
    EXPECT_EQ(20, creature_types[0].zivoty);
    EXPECT_EQ(40, creature_types[1].zivoty);
    EXPECT_EQ(50, creature_types[1].skore);  // named only in the first section
    EXPECT_EQ(3, creature_types[0].pocet);
    EXPECT_EQ(2, creature_types[1].pocet);
}

TEST_F(CreatureCatalogueTest, CountIsSetAtOnceAndRestartsTheTally)
{
    creature_types[0].finished = 4;
    load("[*A] pocet 5");  // no "[END]" yet
    EXPECT_EQ(5, creature_types[0].pocet);
    EXPECT_EQ(0, creature_types[0].finished);
    EXPECT_EQ(0, creature_type_last);
}

TEST_F(CreatureCatalogueTest, MissingFileLeavesTheTableEmpty)
{
    Captured output = capture([] { load_creatures("SCRIPT/L/none.scr"); });
    EXPECT_EQ("Nemohu nahrat soubor : SCRIPT/L/none.scr\n", output.err);
    EXPECT_EQ(-1, creature_type_last);
}

TEST_F(CreatureCatalogueTest, KindsBeyondTwentyAreReportedAndNeverStored)
{
    std::string text;
    for (int i = 0; i < 22; i++) text += "[*K] zivoty " + std::to_string(i + 1) + " pocet 1 [END]\n";
    Captured output = load(text);
    EXPECT_EQ(19, creature_type_last);
    EXPECT_EQ(20, creature_types[19].zivoty);
    EXPECT_EQ("script: SCRIPT/L/potvory.scr : prilis mnoho potvor\n"
              "script: SCRIPT/L/potvory.scr : prilis mnoho potvor\n",
              output.err);
    EXPECT_NE(std::string::npos, output.out.find("NALEZENA NOVA POTVORA #21\n"));
    EXPECT_EQ(std::string::npos, output.out.find("INICIALIZA POTVORY #20"));
}

TEST_F(CreatureCatalogueTest, KeysBeforeTheFirstKindAreIgnored)
{
    Captured output = load("zivoty 99 pocet 7 [*A] pocet 1 [END]");
    EXPECT_EQ(0, creature_types[0].zivoty);
    EXPECT_EQ(1, creature_types[0].pocet);
    EXPECT_EQ(-1, creature_types[0].zbran);  // a kind without a weapon fires nothing
    EXPECT_EQ(std::string::npos, output.out.find(": zivoty : 99"));
}

TEST_F(CreatureCatalogueTest, ReleaseEmptiesEveryKindButKeepsTheSoundNumber)
{
    write_solid_bmp("GFX/fish.bmp", 64, 8, 200, 100, 0);
    write_solid_bmp("GFX/fish_icon.bmp", 8, 8, 200, 100, 0);
    load(std::string(FISH) + "[*B] sound 4 last [END]\n");
    ASSERT_EQ(1, creature_type_last);
    creature_types[1].last_spawn_frame = 300;
    creature_types[1].finished = 2;
    Captured output = capture([] { free_creatures(); });
    EXPECT_EQ("UVOLNEN SKRIPT POTVOR Z PAMETI\n", output.out);
    EXPECT_EQ(-1, creature_type_last);
    for (const CreatureType& kind : creature_types) {
        EXPECT_EQ(nullptr, kind.bitmap);
        EXPECT_EQ(nullptr, kind.skore_b);
        EXPECT_EQ(-1, kind.zbran);
        EXPECT_EQ(0.0f, kind.rychlost);
        for (int value : {kind.pocet_snimku, kind.dolez, kind.zivoty, kind.dolni_interval, kind.horni_interval,
                          kind.hloubka_max, kind.hloubka_min, kind.vynorovani, kind.last_spawn_frame, kind.sila,
                          kind.skore, kind.vystrel_prodleva, kind.alfa, kind.pocet, kind.finished})
            EXPECT_EQ(0, value);
    }
    EXPECT_EQ(4, creature_types[1].sound);
    EXPECT_EQ(0, creature_types[0].sound);
}

TEST_F(CreatureCatalogueTest, SoundsLoadWithAudioOnAndAreReleased)
{
    ASSERT_TRUE(open_audio());
    write_wav("SFX/die.wav", 300);
    write_wav("SFX/up.wav", 300);
    Captured output = load("[*A] death_sound SFX/die.wav create_sound SFX/up.wav [END]\n"
                           "[*B] death_sound NULL create_sound SFX/none.wav [END]\n");
    EXPECT_NE(std::string::npos, output.out.find("Nahran zvuk SFX/die.wav\n"));
    EXPECT_NE(std::string::npos, output.out.find("Nahran zvuk SFX/up.wav\n"));
    EXPECT_EQ("Nemohu nahrat soubor : SFX/none.wav !!!\n", output.err);
    EXPECT_NE(nullptr, creature_types[0].death_sound);
    EXPECT_NE(nullptr, creature_types[0].create_sound);
    EXPECT_EQ(nullptr, creature_types[1].death_sound);
    EXPECT_EQ(nullptr, creature_types[1].create_sound);
    capture([] { free_creatures(); });
    EXPECT_EQ(nullptr, creature_types[0].death_sound);
    EXPECT_EQ(nullptr, creature_types[0].create_sound);
    close_audio();
}

TEST_F(CreatureCatalogueTest, EveryLevelOfTheDataSetLoadsCleanly)
{
    ASSERT_TRUE(copy_data_set()) << "the run folder " ABYSSOR_RUN_DIR " lacks the data set: build the game first";
    for (const char* level : {"LEVEL1", "LEVEL2", "LEVEL3", "LEVEL4"}) {
        std::string path = std::string("SCRIPT/") + level + "/potvory.scr";
        Captured output = capture([&] { load_creatures(path.c_str()); });
        EXPECT_EQ("", output.err) << level;
        ASSERT_GE(creature_type_last, 1) << level;
        for (int t = 0; t <= creature_type_last; t++) {
            const CreatureType& kind = creature_types[t];
            EXPECT_NE(nullptr, kind.bitmap) << level << " kind " << t;
            EXPECT_NE(nullptr, kind.skore_b) << level << " kind " << t;
            EXPECT_GT(kind.pocet, 0) << level << " kind " << t;
            EXPECT_GT(kind.horni_interval, kind.dolni_interval) << level << " kind " << t;
        }
        capture([] { free_creatures(); });
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
    for (int y = 0; y < h; y++)
        for (int x = 0; x < w; x++) pixels[y * w + x] = (Uint8)(1 + x / h);
    pixels[0] = 0;
    write_bmp8(path, w, h, pixels, palette);
    return load_bitmap(path.c_str(), 1);
}

Uint32 strip_colour(SDL_Surface* surface, int k, Uint8 r, Uint8 b)
{
    return map_colour(surface, r, (Uint8)(20 + 40 * k), b);
}

// Creature pictures are red, death explosions blue, bubbles purple.
const Uint8 FISH_RED = 240, BLAST_BLUE = 240, BUBBLE_RED = 160, BUBBLE_BLUE = 160;

// One kind of fish, a death explosion of three frames, bubbles of four, a
// submarine sailing far from the centre, silence and no bonuses (so that
// every spawning takes exactly three random draws).
class LiveCreatures : public ::testing::Test {
protected:
    void SetUp() override
    {
        settings = GameSettings();
        settings.max_teplota = 1000;
        GunHeat = 0;
        for (CreatureType& kind : creature_types) kind = CreatureType();
        for (Creature& creature : creatures) creature = Creature();
        creature_type_last = 0;
        CreatureType& fish = creature_types[0];
        fish.pocet_snimku = 36;
        fish.rychlost = 0.9f;
        fish.dolez = 70;
        fish.zivoty = 10;
        fish.dolni_interval = 100000;  // none comes by itself unless a test says so
        fish.horni_interval = 100001;
        fish.hloubka_min = 60;
        fish.hloubka_max = 130;
        fish.vynorovani = 1;
        fish.sila = 15;
        fish.skore = 100;
        fish.zbran = -1;
        fish.pocet = 10;
        bonus_catalogue.count = 0;
        random_reset();
        game.frame = 0;
        game.score = 0;
        next_creature_shot_frame = 0;
        reset_shot_pool();
        weapon_catalogue.count = 0;
        bank.vybuch[0] = AnimStrip{make_strip("blast.bmp", 3, 10, 0, BLAST_BLUE), 3, 3};
        bank.vybuch[1] = AnimStrip{make_strip("bubbles.bmp", 4, 10, BUBBLE_RED, BUBBLE_BLUE), 4, 4};
        bank.vybuch_last = 1;
        submarine = Submarine();
        submarine.init(150, 320, 240, 0, 1, 1, 0, 0, 100, 0);
        submarine.x = 470;
        submarine.y = 240;
    }
    void TearDown() override
    {
        platform_use_scripted(NULL);
        for (AnimStrip& strip : bank.vybuch) free_strip(strip);
        bank.vybuch_last = -1;
        free_bitmap(submarine.image);
        submarine.image = NULL;
        capture([] { free_creatures(); });
        if (settings.sound == 1) {
            close_audio();
        }
    }
    // A surfaced fish at (x, y) heading `direction`, in slot `slot`.
    Creature& surfaced_fish(int slot, int x, int y, int direction)
    {
        Creature& c = creatures[slot];
        c.spawn(0, x, y, slot);
        c.exact_x = (float)x;
        c.exact_y = (float)y;
        c.x = x;
        c.y = y;
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
    void audio_on()
    {
        ASSERT_TRUE(open_audio());
    }
    // The fish fires weapon 1 (a runner) within 30 degrees, 40 frames apart.
    CreatureType& armed_fish()
    {
        weapon_catalogue.count = 2;
        weapon_catalogue.weapons[1] = WeaponDef();
        weapon_catalogue.weapons[1].typ = 2;
        CreatureType& fish = creature_types[0];
        fish.zbran = 1;
        fish.alfa = 30;
        fish.vystrel_prodleva = 40;
        return fish;
    }
    // Whether the creature's shot stands in the pool's slot after it tried
    // to fire in the frame.
    bool fires_in_frame(Creature& creature, int frame, int slot)
    {
        game.frame = frame;
        creature.fire(submarine);
        return shot_pool.slots[slot].active == 1;
    }
    void sound_from(const char* name, Mix_Chunk** slot)
    {
        audio_on();
        write_wav(name, 30000);
        *slot = load_sound(name);
    }
    Uint32 at(int x, int y) { return pixel_at(screen.surface, x, y); }
    void clear_screen() { SDL_FillRect(screen.surface, NULL, 0); }
    void update_all() { update_creatures(submarine, screen.surface); }
    int active_count()
    {
        int n = 0;
        for (const Creature& c : creatures) n += c.active;
        return n;
    }
    TempDir dir;
    TestScreen screen;
};

}  // namespace

TEST_F(LiveCreatures, SpawningsFollowTheFixedGeneratorFromItsStart)
{
    // From state 1 the generator gives 41, 18467, 6334, 26500, then 19169,
    // 15724, 11478 for the first spawning, then 29358, 26962, 24464, 5705,
    // then 28145, 23281, 16827 for the second. With an interval of 2 + r mod 3:
    // frames 0 to 3 wait 4, 4, 3, 3 frames, so the first fish comes at frame 3;
    // frames 4 to 7 wait 2, 3, 4, 4 from there, so the second comes at frame 7.
    CreatureType& fish = creature_types[0];
    fish.dolni_interval = 2;
    fish.horni_interval = 5;
    std::vector<int> counts;
    for (int f = 0; f <= 8; f++) {
        game.frame = f;
        schedule_creatures(320, 240);
        counts.push_back(active_count());
    }
    EXPECT_EQ((std::vector<int>{0, 0, 0, 1, 1, 1, 1, 2, 2}), counts);
    EXPECT_EQ(7, fish.last_spawn_frame);

    // 19169 mod 36 = 17: heading 170; 15724 mod 70 = 44 pixels out;
    // depth 60 + 11478 mod 70 = 128.
    const Creature& first = creatures[0];
    EXPECT_EQ(170, first.direction);
    EXPECT_EQ(276.739471f, first.exact_x);
    EXPECT_EQ(245.004425f, first.exact_y);
    EXPECT_EQ(-0.884874701f, first.vx);
    EXPECT_EQ(0.10236308f, first.vy);
    EXPECT_EQ(320, first.x);  // at the centre until its first update
    EXPECT_EQ((std::vector<long long>{240, 128, 128, 10, 0, -1, -1, 0}),
              (std::vector<long long>{first.y, first.depth, first.start_depth, first.zivoty, first.id, first.bonus,
                                      first.explosion_frame, first.surfaced}));

    // 28145 mod 36 = 29: heading 290; 23281 mod 70 = 41; 16827 mod 70 = 27.
    const Creature& second = creatures[1];
    EXPECT_EQ(290, second.direction);
    EXPECT_EQ(333.425751f, second.exact_x);
    EXPECT_EQ(215.86528f, second.exact_y);
    EXPECT_EQ(0.294711381f, second.vx);
    EXPECT_EQ(-0.529786408f, second.vy);
    EXPECT_EQ(87, second.depth);
    EXPECT_EQ(1, second.id);
}

TEST_F(LiveCreatures, EmptyRangesTakeTheirLowerEndAndStillDrawEveryFrame)
{
    CreatureType& fish = creature_types[0];
    fish.dolni_interval = 3;
    fish.horni_interval = 1;  // inverted: a fish every 3 frames
    fish.pocet_snimku = 0;    // one heading
    fish.dolez = 0;           // at the centre
    fish.hloubka_min = 40;
    fish.hloubka_max = 40;
    std::vector<int> spawned_at;
    for (int f = 0; f <= 9; f++) {
        game.frame = f;
        int before = active_count();
        schedule_creatures(100, 200);
        if (active_count() > before) spawned_at.push_back(f);
    }
    EXPECT_EQ((std::vector<int>{3, 6, 9}), spawned_at);
    EXPECT_EQ(0, creatures[0].direction);
    EXPECT_EQ(100.0f, creatures[0].exact_x);
    EXPECT_EQ(200.0f, creatures[0].exact_y);
    EXPECT_EQ(40, creatures[0].depth);
    // Ten frames of one draw each and three spawnings of three: the next value
    // is the generator's 20th, 5436.
    EXPECT_EQ(5436, random_value());
}

TEST_F(LiveCreatures, MoreFramesThanDegreesGiveOneHeadingPerDegree)
{
    creature_types[0].pocet_snimku = 400;
    spawn_creature_of_type(320, 240, 0);
    EXPECT_EQ(41, creatures[0].direction);  // 41 mod 360, one degree apart
}

TEST_F(LiveCreatures, AKindKeepsComingUntilItsFinishedCountPassesItsQuota)
{
    CreatureType& fish = creature_types[0];
    fish.pocet = 2;
    for (int finished = 0; finished <= 3; finished++) {
        fish.finished = finished;
        for (Creature& c : creatures) c.active = 0;
        spawn_creature_of_type(320, 240, 0);
        EXPECT_EQ(finished <= 2 ? 1 : 0, creatures[0].active) << "finished " << finished;
    }
}

TEST_F(LiveCreatures, WithEverySlotTakenTheLastIsGivenToTheNewcomer)
{
    for (int i = 0; i < CREATURE_CAPACITY; i++) surfaced_fish(i, 50, 50, 0);
    creatures[99].zivoty = 3;
    creatures[99].explosion_frame = 1;
    spawn_creature_of_type(320, 240, 0);
    EXPECT_EQ((std::vector<long long>{1, 10, -1, 320, 99, 50}),
              (std::vector<long long>{creatures[99].active, creatures[99].zivoty, creatures[99].explosion_frame,
                                      creatures[99].x, creatures[99].id, creatures[98].x}));
}

TEST_F(LiveCreatures, ARisingCreatureBubblesThenSurfacesWithItsSoundAndSwims)
{
    sound_from("up.wav", &creature_types[0].create_sound);
    fish_picture(36, 10);
    creature_types[0].vynorovani = 5;
    spawn_creature_of_type(200, 150, 0);  // heading 41 mod 36 = 5: 50 degrees
    Creature& fish = creatures[0];
    fish.depth = fish.start_depth = 12;
    float start_x = fish.exact_x, start_y = fish.exact_y;
    int x = (int)start_x, y = (int)start_y;

    // Depth 7: bubbles frame 7 * 4 / 12 = 2, centred on the creature.
    update_all();
    EXPECT_EQ(7, fish.depth);
    EXPECT_EQ(x, fish.x);
    EXPECT_EQ(y, fish.y);
    EXPECT_EQ(strip_colour(screen.surface, 2, BUBBLE_RED, BUBBLE_BLUE), at(x + 2, y + 2));
    EXPECT_EQ(0, Mix_Playing(CHANNEL_SURFACING));
    // Depth 2: frame 0.
    clear_screen();
    update_all();
    EXPECT_EQ(2, fish.depth);
    EXPECT_EQ(strip_colour(screen.surface, 0, BUBBLE_RED, BUBBLE_BLUE), at(x + 2, y + 2));
    EXPECT_EQ(0, Mix_Playing(CHANNEL_SURFACING));
    // Below the surface: depth 0, the sound, and the creature's own picture,
    // frame 5, in place.
    clear_screen();
    update_all();
    EXPECT_EQ(0, fish.depth);
    EXPECT_EQ(1, fish.surfaced);
    EXPECT_EQ(1, Mix_Playing(CHANNEL_SURFACING));
    EXPECT_EQ(start_x, fish.exact_x);
    EXPECT_EQ(strip_colour(screen.surface, 5, FISH_RED, 0), at(x + 2, y + 2));
    // From the fourth frame on it swims.
    update_all();
    EXPECT_EQ(start_x + fish.vx, fish.exact_x);
    EXPECT_EQ(start_y + fish.vy, fish.exact_y);
}

TEST_F(LiveCreatures, TheSurfacingSoundWaitsForTheDepthToGoBelowZero)
{
    sound_from("up.wav", &creature_types[0].create_sound);
    creature_types[0].vynorovani = 4;
    spawn_creature_of_type(200, 150, 0);
    Creature& fish = creatures[0];
    fish.depth = fish.start_depth = 8;
    update_all();
    update_all();  // depth exactly 0: surfaced, still silent
    EXPECT_EQ(0, fish.depth);
    EXPECT_EQ(0, fish.surfaced);
    EXPECT_EQ(0, Mix_Playing(CHANNEL_SURFACING));
    update_all();
    EXPECT_EQ(1, fish.surfaced);
    EXPECT_EQ(1, Mix_Playing(CHANNEL_SURFACING));
    Mix_HaltChannel(CHANNEL_SURFACING);
    update_all();  // heard once
    EXPECT_EQ(0, Mix_Playing(CHANNEL_SURFACING));
}

TEST_F(LiveCreatures, TheHeadingPicksTheFrameAndTheCreatureIsCentred)
{
    fish_picture(4, 10);
    surfaced_fish(0, 100, 100, 270);
    update_all();
    Uint32 last_frame = strip_colour(screen.surface, 3, FISH_RED, 0);
    EXPECT_EQ(last_frame, at(95, 96));  // the corner is at (x - 5, y - 5)...
    EXPECT_EQ(last_frame, at(104, 104));
    EXPECT_EQ(0u, at(94, 100));  // ...and the frame is 10 pixels wide
    EXPECT_EQ(0u, at(105, 100));
    clear_screen();
    creatures[0].direction = 180;
    update_all();
    EXPECT_EQ(strip_colour(screen.surface, 2, FISH_RED, 0), at(100, 100));
}

TEST_F(LiveCreatures, AHeadingBeyondTheStripShowsNothing)
{
    fish_picture(7, 10);  // 51 degrees a frame: 357 would be frame 7 of 0 ... 6
    surfaced_fish(0, 100, 100, 357);
    update_all();
    EXPECT_EQ(0u, at(100, 100));
    EXPECT_EQ(1, creatures[0].active);
}

TEST_F(LiveCreatures, RammingHurtsTheSubmarineOnceAndSpendsTheCreature)
{
    sound_from("bump.wav", &submarine.collision_sound);
    fish_picture(36, 20);
    Creature& fish = surfaced_fish(0, submarine.x, submarine.y, 0);
    update_all();
    EXPECT_EQ(85, submarine.zivoty);
    EXPECT_EQ(1, Mix_Playing(CHANNEL_SUBMARINE));
    // Rammed and exploding in the same frame: frames 0 and 1 of its explosion.
    EXPECT_EQ(1, fish.explosion_frame);
    for (int i = 0; i < 5; i++) update_all();
    EXPECT_EQ(85, submarine.zivoty);
    EXPECT_EQ(0, fish.active);
    EXPECT_EQ(1, creature_types[0].finished);
    EXPECT_EQ(0, game.score);  // ramming earns nothing
    Mix_FreeChunk(submarine.collision_sound);
    submarine.collision_sound = NULL;
}

TEST_F(LiveCreatures, RammingDistanceUndoesTheFlattening)
{
    // Half heights 10 and 15: a = 25, reach sqrt(2 * 625) / 2 = 17.67, so 17.
    fish_picture(36, 20);
    submarine.image = solid_surface(30, 30, 0, 0, 0);
    struct Case {
        int dx, dy, rams;
    } cases[] = {{16, 0, 1}, {17, 0, 0}, {0, 10, 1}, {0, 11, 0}, {-16, 0, 1}, {0, -11, 0}};
    // 10 / 0.623 = 16.05 counts as 16; 11 / 0.623 = 17.66 as 17.
    for (const Case& c : cases) {
        submarine.zivoty = 100;
        Creature& fish = surfaced_fish(0, submarine.x + c.dx, submarine.y + c.dy, 0);
        fish.ramSubmarine(submarine, screen.surface);
        EXPECT_EQ(c.rams ? 85 : 100, submarine.zivoty) << c.dx << "," << c.dy;
    }
}

TEST_F(LiveCreatures, OnlySurfacedCreaturesRamALiveSubmarine)
{
    fish_picture(36, 20);
    Creature& fish = surfaced_fish(0, submarine.x, submarine.y, 0);
    fish.depth = 1;
    fish.ramSubmarine(submarine, screen.surface);
    EXPECT_EQ(100, submarine.zivoty);
    fish.depth = 0;
    submarine.active = 0;
    fish.ramSubmarine(submarine, screen.surface);
    EXPECT_EQ(100, submarine.zivoty);
    EXPECT_EQ(-1, fish.explosion_frame);
}

TEST_F(LiveCreatures, AnEscapeCostsAHundredPointsAndDoesNotCount)
{
    fish_picture(36, 10);
    game.score = 500;
    Creature& fish = surfaced_fish(0, 644, 100, 0);
    fish.vx = 1.0f;
    update_all();  // left edge 640: still on the screen
    EXPECT_EQ(645, fish.x);
    EXPECT_EQ(1, fish.active);
    EXPECT_EQ(500, game.score);
    update_all();  // left edge 642: gone
    EXPECT_EQ(0, fish.active);
    EXPECT_EQ(400, game.score);
    EXPECT_EQ(0, creature_types[0].finished);
    update_all();
    EXPECT_EQ(400, game.score);
}

TEST_F(LiveCreatures, AShellThatKillsAddsTheKindsPointsAndTheBlastStartsAtOnce)
{
    fish_picture(36, 10);
    weapon_catalogue.count = 1;
    weapon_catalogue.weapons[0] = WeaponDef();
    weapon_catalogue.weapons[0].poskozeni = 10;
    Creature& fish = surfaced_fish(0, 300, 300, 0);
    Shot& shell = shot_pool.slots[0];
    shell = Shot();
    shell.x = 303;
    shell.y = 302;
    shell.outcome = 1;
    shell.owner = -1;
    game.score = 40;
    resolve_hits(submarine);
    EXPECT_EQ(140, game.score);
    EXPECT_EQ(0, fish.explosion_frame);
    clear_screen();
    update_all();  // the same game-loop frame shows the next frame of the blast
    EXPECT_EQ(1, fish.explosion_frame);
    EXPECT_EQ(strip_colour(screen.surface, 1, 0, BLAST_BLUE), at(300, 300));
    update_all();
    update_all();  // frame 3 of 3: over
    EXPECT_EQ(0, fish.active);
    EXPECT_EQ(1, creature_types[0].finished);
    EXPECT_EQ(140, game.score);
}

TEST_F(LiveCreatures, CreaturesFireOutwardWhenTheSubmarineIsAboutToCross)
{
    armed_fish();
    Creature& c = surfaced_fish(4, 320, 300, 90);
    game.frame = 100;
    struct Case {
        float uhel;
        int fires;
    } cases[] = {{60.0f, 0}, {60.5f, 1}, {89.9f, 1}, {90.0f, 0}, {300.0f, 0}};
    for (const Case& k : cases) {
        reset_shot_pool();
        next_creature_shot_frame = 0;
        submarine.uhel = k.uhel;
        c.fire(submarine);
        EXPECT_EQ(k.fires, shot_pool.slots[0].active) << k.uhel;
        EXPECT_EQ(k.fires ? 140 : 0, next_creature_shot_frame) << k.uhel;
    }
    reset_shot_pool();
    next_creature_shot_frame = 0;
    submarine.uhel = 75.0f;
    c.fire(submarine);
    const Shot& shot = shot_pool.slots[0];
    EXPECT_EQ((std::vector<long long>{4, 90, 1, 320, 300, 300}),
              (std::vector<long long>{shot.owner, shot.angle, shot.weapon, shot.x, shot.y, shot.arc_divisor}));
    // The timer is shared: another creature in the window waits for it.
    Creature& other = surfaced_fish(5, 100, 100, 90);
    EXPECT_FALSE(fires_in_frame(other, 139, 1));
    EXPECT_TRUE(fires_in_frame(other, 140, 1));
    EXPECT_EQ(5, shot_pool.slots[1].owner);
}

TEST_F(LiveCreatures, HeadingZeroAndWeaponsOutsideTheCatalogueNeverFire)
{
    CreatureType& fish = armed_fish();
    submarine.uhel = 359.0f;
    surfaced_fish(0, 320, 300, 0).fire(submarine);  // the window lies below 0
    submarine.uhel = 75.0f;
    for (int zbran : {2, 99, 100, -5}) {
        fish.zbran = zbran;
        surfaced_fish(1, 320, 300, 90).fire(submarine);
    }
    for (const Shot& shot : shot_pool.slots) EXPECT_EQ(0, shot.active);
    EXPECT_EQ(0, next_creature_shot_frame);
}

TEST_F(LiveCreatures, TheSharedShotTimerCarriesIntoTheNextLevel)
{
    armed_fish();
    next_creature_shot_frame = 2040;  // set near the end of the last level
    LevelRun run;
    begin_level(run);
    EXPECT_EQ(2040, next_creature_shot_frame);
    submarine.uhel = 75.0f;
    Creature& c = surfaced_fish(0, 320, 300, 90);
    EXPECT_FALSE(fires_in_frame(c, 2039, 0));
    EXPECT_TRUE(fires_in_frame(c, 2040, 0));
}

namespace {

// The game loop over the creatures: one fish dying at the centre while the
// submarine sails its ellipse out of reach.
class CreaturesInTheLoop : public LiveCreatures {
protected:
    void SetUp() override
    {
        LiveCreatures::SetUp();
        scripted_reset(input);
        platform_use_scripted(&input);
        reset_frame_pacing();
        creature_types[0].pocet = 1;
        begin_level(run);
        fish_picture(36, 10);
    }
    void frame()
    {
        FrameInput frame_input = read_frame_input(run);
        play_frame(run, frame_input);
    }
    Creature& dying_fish()
    {
        Creature& fish = surfaced_fish(0, 320, 240, 0);
        fish.zivoty = 0;
        return fish;
    }
    ScriptedInput input;
    LevelRun run;
};

}  // namespace

TEST_F(CreaturesInTheLoop, TheLevelIsWonWhenTheLastBlastEnds)
{
    dying_fish();
    for (int shown = 0; shown < 3; shown++) {
        frame();
        EXPECT_EQ(LEVEL_PLAYING, run.result) << "blast frame " << shown;
    }
    EXPECT_EQ(0, creature_types[0].finished);
    frame();
    EXPECT_EQ(1, creature_types[0].finished);
    EXPECT_EQ(LEVEL_WON, run.result);
}

TEST_F(CreaturesInTheLoop, ALiveCreatureOfAFinishedKindHoldsTheLevel)
{
    creature_types[0].finished = 1;
    surfaced_fish(0, 320, 240, 0);
    for (int i = 0; i < 5; i++) frame();
    EXPECT_EQ(LEVEL_PLAYING, run.result);
    creatures[0].zivoty = 0;
    for (int i = 0; i < 4; i++) frame();
    EXPECT_EQ(LEVEL_WON, run.result);
    EXPECT_EQ(2, creature_types[0].finished);
}

TEST_F(CreaturesInTheLoop, ALostSubmarineBeatsTheWinInTheSameFrame)
{
    // The submarine's blast (three frames from the next drawing on) ends in
    // the same frame as the fish's.
    bank.vybuch[2] = AnimStrip{make_strip("sub_blast.bmp", 3, 10, 0, 100), 3, 3};
    submarine.vybuch = 2;
    submarine.zivoty = 0;
    dying_fish();
    for (int i = 0; i < 3; i++) frame();
    EXPECT_EQ(LEVEL_PLAYING, run.result);
    frame();
    EXPECT_EQ(1, creature_types[0].finished);
    EXPECT_EQ(0, submarine.active);
    EXPECT_EQ(LEVEL_OVER, run.result);
}

TEST_F(CreaturesInTheLoop, RammedToDeathTheLevelIsLost)
{
    bank.vybuch[2] = AnimStrip{make_strip("sub_blast.bmp", 2, 10, 0, 100), 2, 2};
    submarine.vybuch = 2;
    submarine.zivoty = 15;
    creature_types[0].finished = 1;  // this fish is the last of its kind
    // The submarine sails at angle 0 of its ellipse: (470, 240).
    surfaced_fish(0, 470, 240, 0);
    frame();
    EXPECT_EQ(0, submarine.zivoty);
    EXPECT_EQ(LEVEL_PLAYING, run.result);
    for (int i = 0; i < 3; i++) frame();  // both explosions play out
    EXPECT_EQ(0, submarine.active);
    EXPECT_EQ(2, creature_types[0].finished);
    EXPECT_EQ(LEVEL_OVER, run.result);
}

// An empty explosion slot counts one frame, reported once, as for the
// submarine: the death ends, the kind counts it and the level can be won.
TEST_F(CreaturesInTheLoop, WithoutAPictureOfTheBlastTheDeathEndsAndTheLevelIsWon)
{
    sound_from("die.wav", &creature_types[0].death_sound);
    free_strip(bank.vybuch[0]);
    Creature& fish = dying_fish();
    Captured log = capture([&] { frame(); });
    EXPECT_EQ(0, fish.explosion_frame);
    EXPECT_NE(nullptr, creature_types[0].death_sound);
    EXPECT_EQ(1, Mix_Playing(CHANNEL_HIT));
    log.err += capture([&] { frame(); }).err;
    EXPECT_EQ(0, fish.active);
    EXPECT_EQ(1, creature_types[0].finished);
    EXPECT_EQ(LEVEL_WON, run.result);
    EXPECT_EQ(1, occurrences(log.err, "Pokus o vykresleni nenahrane bitmapy vybuchu #0 !!!\n"));
}

TEST_F(CreaturesInTheLoop, HostileKindsFillThePoolWithoutHarm)
{
    // Every range empty, no pictures, a weapon far outside the catalogue, a
    // creature every frame and a quota that never runs out.
    for (AnimStrip& strip : bank.vybuch) free_strip(strip);
    free_bitmap(creature_types[0].bitmap);
    creature_types[0] = CreatureType();
    creature_types[1] = CreatureType();
    CreatureType& odd = creature_types[1];
    creature_type_last = 1;
    creature_types[0].pocet = 1000000;
    creature_types[0].zivoty = 5;
    creature_types[0].zbran = 50;
    creature_types[0].alfa = 400;
    odd.pocet = 1000000;
    odd.pocet_snimku = 100000;
    odd.dolni_interval = -7;
    odd.horni_interval = -9;
    odd.hloubka_min = 2147483647;
    odd.hloubka_max = -2147483647;
    odd.vynorovani = -2147483647;
    odd.dolez = -5;
    odd.rychlost = 1e30f;
    odd.zivoty = 1;
    Captured log = capture([&] {
        for (int i = 0; i < 150; i++) frame();
    });
    EXPECT_EQ(CREATURE_CAPACITY, active_count());
    EXPECT_EQ(LEVEL_PLAYING, run.result);
    for (const Shot& shot : shot_pool.slots) EXPECT_EQ(0, shot.active);
}
