#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "game_state.h"
#include "graphics_bank.h"
#include "level.h"
#include "support.h"

namespace {

const char* IMAGES = "SCRIPT/L1/images.scr";

// A solid picture whose top-left pixel is black (index 0), so a colour key
// takes only that pixel.
void solid(const std::string& path, Uint8 r, Uint8 g, Uint8 b, int w = 8, int h = 8)
{
    write_solid_bmp(path, w, h, r, g, b);
}

// An explosion strip of `frames` frames, 50 x 10 pixels each, frame k drawn
// in palette index k + 1 (red k * 40 + 40); the top-left pixel is the key.
void explosion_strip(const std::string& path, int frames)
{
    int w = 50 * frames, h = 10;
    std::vector<Uint8> pixels(w * h);
    for (int y = 0; y < h; y++)
        for (int x = 0; x < w; x++) pixels[y * w + x] = (Uint8)(x / 50 + 1);
    pixels[0] = 0;
    std::vector<PaletteColour> palette = {{0, 0, 0, 0}};
    for (int k = 0; k < frames; k++) palette.push_back({k + 1, (Uint8)(k * 40 + 40), 200, 0});
    write_bmp8(path, w, h, pixels, palette);
}

void fill(SDL_Surface* surface, Uint8 r, Uint8 g, Uint8 b)
{
    SDL_FillRect(surface, NULL, map_colour(surface, r, g, b));
}

bool has_colour(SDL_Surface* surface, int x, int y, Uint8 r, Uint8 g, Uint8 b)
{
    return pixel_at(surface, x, y) == map_colour(surface, r, g, b);
}

Captured load(const std::string& script)
{
    write_file(IMAGES, script);
    return capture([] { load_images(IMAGES); });
}

}  // namespace

TEST(GraphicsBank, LoadsEveryTableAndReportsEachPicture)
{
    TempDir dir;
    TestScreen screen;
    solid("GFX/dno0.bmp", 0, 0, 200, 640, 480);
    solid("GFX/dno1.bmp", 0, 200, 0, 640, 480);
    solid("GFX/cervena.bmp", 200, 0, 0, 40, 4);
    solid("GFX/voda.bmp", 0, 0, 200, 60, 20);
    explosion_strip("GFX/vybuch.bmp", 4);
    solid("GFX/zam0.bmp", 255, 255, 255);
    solid("GFX/zam1.bmp", 255, 0, 0);
    solid("GFX/hotovo.bmp", 10, 10, 10);
    solid("GFX/start.bmp", 20, 20, 20);
    Captured log = load(
        "Obrazky prvni urovne\n"
        "[*DNO]\n4\nGFX/dno0.bmp\nGFX/dno1.bmp\n[END]\n"
        "[*BARVA]\nGFX/cervena.bmp 10\n[END]\n"
        "[*ZBLUNK]\nGFX/voda.bmp 3 2\n[END]\n"
        "[*VYBUCH]\nGFX/vybuch.bmp\npocet_snimku 4\ndoba 12\n[END]\n"
        "zamerovac GFX/zam0.bmp\nzamerovac GFX/zam1.bmp\n"
        "misc GFX/hotovo.bmp 0,0\nmisc GFX/start.bmp 250,300\n");
    EXPECT_EQ(
        "script: SCRIPT/L1/images.scr : NAHRAVAM BITMAPY DNA\n"
        "script: SCRIPT/L1/images.scr : bitmapa : GFX/dno0.bmp ... nahrana do dno[0]\n"
        "script: SCRIPT/L1/images.scr : bitmapa : GFX/dno1.bmp ... nahrana do dno[1]\n"
        "script: SCRIPT/L1/images.scr : NAHRAVAM BARVY\n"
        "script: SCRIPT/L1/images.scr : barva : GFX/cervena.bmp ... nahrana do barvy[0]\n"
        "script: SCRIPT/L1/images.scr : NAHRAVAM SPLUCHNUTI\n"
        "script: SCRIPT/L1/images.scr : zblunknuti : GFX/voda.bmp ... nahrana do zblunk[0]\n"
        "script: SCRIPT/L1/images.scr : NAHRAVAM BITMAPY VYBUCHU\n"
        "script: SCRIPT/L1/images.scr : bitmapa : GFX/vybuch.bmp / 4 snimku... nahrana do vybuch[0]\n",
        log.out);
    EXPECT_EQ("", log.err);

    EXPECT_EQ(4, bank.seabed_period);
    EXPECT_EQ(1, bank.dno_last);
    // The seabed and the particle strips take the screen's format; the other
    // pictures keep theirs.
    EXPECT_EQ(16, bank.dno[0].bitmap->format->BitsPerPixel);
    EXPECT_EQ(16, bank.barvy[0].bitmap->format->BitsPerPixel);
    EXPECT_TRUE(has_colour(bank.barvy[0].bitmap, 5, 2, 200, 0, 0));
    EXPECT_EQ((std::vector<long long>{10, 3, 2, 4, 12, 2, 0}),
              (std::vector<long long>{bank.barvy[0].frames, bank.zblunk[0].frames, bank.zblunk[0].period,
                                      bank.vybuch[0].frames, bank.vybuch[0].period, bank.zamerovac_count,
                                      bank.barvy[0].bitmap->flags & SDL_SRCCOLORKEY}));
    EXPECT_NE(0u, bank.zblunk[0].bitmap->flags & SDL_SRCCOLORKEY);
    EXPECT_NE(0u, bank.zamerovac[1]->flags & SDL_SRCCOLORKEY);
    EXPECT_NE(0u, bank.misc[1]->flags & SDL_SRCCOLORKEY);
    EXPECT_EQ(250, bank.misc_x[1]);
    EXPECT_EQ(300, bank.misc_y[1]);

    Captured freed = capture([] { free_images(); });
    EXPECT_EQ("UVOLNEN SKRIPT BITMAP Z PAMETI\n", freed.out);
    EXPECT_EQ(-1, bank.dno_last);
    EXPECT_EQ(NULL, bank.dno[0].bitmap);
    EXPECT_EQ(NULL, bank.vybuch[0].bitmap);
    EXPECT_EQ(1, bank.vybuch[0].frames);
    EXPECT_EQ(0, bank.zblunk[0].period);
    EXPECT_EQ(NULL, bank.zamerovac[0]);
    EXPECT_EQ(NULL, bank.misc[1]);
    // The seabed period and the positions of the misc pictures stay.
    EXPECT_EQ(4, bank.seabed_period);
    EXPECT_EQ(250, bank.misc_x[1]);
}

TEST(GraphicsBank, KeysMayStandInsideLongerWordsAndOnOneLine)
{
    TempDir dir;
    solid("a.bmp", 1, 2, 3);
    Captured log = load("xmiscx a.bmp 7,8 nezamerovac a.bmp [*BARVA] a.bmp 2 [END]");
    EXPECT_EQ("script: SCRIPT/L1/images.scr : NAHRAVAM BARVY\n"
              "script: SCRIPT/L1/images.scr : barva : a.bmp ... nahrana do barvy[0]\n",
              log.out);
    EXPECT_NE(nullptr, bank.misc[0]);
    EXPECT_EQ(7, bank.misc_x[0]);
    EXPECT_EQ(8, bank.misc_y[0]);
    EXPECT_NE(nullptr, bank.zamerovac[0]);
    EXPECT_EQ(2, bank.barvy[0].frames);
}

TEST(GraphicsBank, WithoutAScreenTheSeabedKeepsItsOwnFormat)
{
    TempDir dir;
    solid("dno.bmp", 0, 0, 200, 16, 16);
    load("[*DNO] -1 dno.bmp [END]");
    ASSERT_NE(nullptr, bank.dno[0].bitmap);
    EXPECT_EQ(8, bank.dno[0].bitmap->format->BitsPerPixel);
    EXPECT_EQ(-1, bank.seabed_period);
}

TEST(GraphicsBank, MissingPicturesKeepTheirSlotsInSectionsButNotForCrosshairs)
{
    TempDir dir;
    solid("zam.bmp", 255, 255, 255);
    Captured log = load("[*BARVA] chybi.bmp 3 [END] zamerovac chybi.bmp zamerovac zam.bmp "
                        "misc chybi.bmp 5,6 misc zam.bmp 9,10");
    EXPECT_EQ("script: SCRIPT/L1/images.scr : NAHRAVAM BARVY\n", log.out);
    EXPECT_EQ("Nemohu nahrat soubor : chybi.bmp. Chyba: Couldn't open chybi.bmp\n"
              "Nemohu nahrat soubor : chybi.bmp. Chyba: Couldn't open chybi.bmp\n"
              "script: SCRIPT/L1/images.scr : Nenahrana bitmapa chybi.bmp !!!\n"
              "Nemohu nahrat soubor : chybi.bmp. Chyba: Couldn't open chybi.bmp\n"
              "script: SCRIPT/L1/images.scr : Nenahrana bitmapa chybi.bmp !!!\n",
              log.err);
    EXPECT_EQ(0, bank.barvy_last);
    EXPECT_EQ(nullptr, bank.barvy[0].bitmap);
    EXPECT_EQ(3, bank.barvy[0].frames);
    EXPECT_EQ(1, bank.zamerovac_count);
    EXPECT_NE(nullptr, bank.zamerovac[0]);
    EXPECT_EQ(1, bank.misc_count);
    EXPECT_NE(nullptr, bank.misc[0]);
    EXPECT_EQ(9, bank.misc_x[0]);
    EXPECT_EQ(10, bank.misc_y[0]);
}

TEST(GraphicsBank, MissingPicturesInSectionsKeepTheirSlotsAndNumbers)
{
    TempDir dir;
    TestScreen screen;
    solid("dno.bmp", 0, 0, 200, 16, 16);
    Captured log = load("[*DNO] 3 chybi.bmp dno.bmp [END] [*ZBLUNK] chybi.bmp 3 2 [END] "
                        "[*VYBUCH] chybi.bmp pocet_snimku 4 doba 5 [END]");
    EXPECT_EQ("script: SCRIPT/L1/images.scr : NAHRAVAM BITMAPY DNA\n"
              "script: SCRIPT/L1/images.scr : bitmapa : dno.bmp ... nahrana do dno[1]\n"
              "script: SCRIPT/L1/images.scr : NAHRAVAM SPLUCHNUTI\n"
              "script: SCRIPT/L1/images.scr : NAHRAVAM BITMAPY VYBUCHU\n",
              log.out);
    const std::string missing = "Nemohu nahrat soubor : chybi.bmp. Chyba: Couldn't open chybi.bmp\n";
    EXPECT_EQ(missing + missing + missing, log.err);
    EXPECT_EQ(1, bank.dno_last);
    EXPECT_EQ(nullptr, bank.dno[0].bitmap);
    EXPECT_NE(nullptr, bank.dno[1].bitmap);
    EXPECT_EQ((std::vector<long long>{0, 3, 2, 0, 4, 5}),
              (std::vector<long long>{bank.zblunk_last, bank.zblunk[0].frames, bank.zblunk[0].period,
                                      bank.vybuch_last, bank.vybuch[0].frames, bank.vybuch[0].period}));
    // The empty explosion is reported while its four frames last, then ends.
    Captured drawn = capture([&] {
        EXPECT_EQ(-1, draw_explosion_frame(50, 50, 0, 3, screen.surface));
        EXPECT_EQ(2, draw_explosion_frame(50, 50, 0, 4, screen.surface));
    });
    EXPECT_EQ("Pokus o vykresleni nenahrane bitmapy vybuchu #0 !!!\n", drawn.err);
    capture([] { free_images(); });
}

TEST(GraphicsBank, ASeabedPeriodThatIsNoNumberKeepsTheOldOneAndTheWordIsAPicture)
{
    TempDir dir;
    solid("dno.bmp", 0, 0, 200, 16, 16);
    bank.seabed_period = 7;
    Captured log = load("[*DNO] dno.bmp [END]");
    EXPECT_EQ(7, bank.seabed_period);
    EXPECT_EQ(0, bank.dno_last);
    EXPECT_NE(nullptr, bank.dno[0].bitmap);
    EXPECT_EQ("", log.err);
    capture([] { free_images(); });
}

TEST(GraphicsBank, AWordHoldingTwoKeysReadsBothInTheLoadersOrder)
{
    TempDir dir;
    solid("z.bmp", 255, 255, 255, 9, 9);
    solid("m.bmp", 10, 10, 10, 20, 10);
    // The crosshair is tested before "misc": it takes the first name.
    Captured log = load("zamerovac_misc z.bmp m.bmp 5,6");
    EXPECT_EQ("", log.err);
    EXPECT_EQ(1, bank.zamerovac_count);
    ASSERT_NE(nullptr, bank.zamerovac[0]);
    EXPECT_EQ(9, bank.zamerovac[0]->w);
    EXPECT_EQ(1, bank.misc_count);
    ASSERT_NE(nullptr, bank.misc[0]);
    EXPECT_EQ(20, bank.misc[0]->w);
    EXPECT_EQ(5, bank.misc_x[0]);
    EXPECT_EQ(6, bank.misc_y[0]);
    capture([] { free_images(); });
}

TEST(GraphicsBank, AMiscLineCutShortByTheEndOfTheFileKeepsTheRestOfItsPlace)
{
    TempDir dir;
    solid("m.bmp", 10, 10, 10);
    bank.misc_x[0] = 30;
    bank.misc_y[0] = 40;
    load("misc m.bmp 7");
    EXPECT_NE(nullptr, bank.misc[0]);
    EXPECT_EQ(7, bank.misc_x[0]);
    EXPECT_EQ(40, bank.misc_y[0]);
    capture([] { free_images(); });
}

TEST(GraphicsBank, WithoutSeabedPicturesTheSeabedDrawsNothing)
{
    TempDir dir;
    TestScreen screen;
    load("[*DNO] 2 [END]");
    fill(screen.surface, 0, 200, 0);
    for (game.frame = 0; game.frame < 9; game.frame++) {
        draw_seabed(screen.surface);
        EXPECT_GE(bank.seabed_index, 0);
        EXPECT_LT(bank.seabed_index, DNO_CAPACITY);
    }
    EXPECT_TRUE(has_colour(screen.surface, 5, 5, 0, 200, 0));
}

TEST(GraphicsBank, AMissingScriptIsReportedAndLeavesTheBankAlone)
{
    TempDir dir;
    Captured log = capture([] { load_images("SCRIPT/L9/images.scr"); });
    EXPECT_EQ("", log.out);
    EXPECT_EQ("Nemohu nahrat soubor : SCRIPT/L9/images.scr\n", log.err);
    EXPECT_EQ(-1, bank.dno_last);
}

TEST(GraphicsBank, FullTablesRefuseTheSurplusWithOneLineEach)
{
    TempDir dir;
    solid("p.bmp", 50, 60, 70);
    std::string script = "[*BARVA]\n";
    for (int i = 0; i < 21; i++) script += "p.bmp 2\n";
    script += "[END]\n[*DNO] 1\n";
    for (int i = 0; i < 11; i++) script += "p.bmp\n";
    script += "[END]\n[*ZBLUNK]\n";
    for (int i = 0; i < 11; i++) script += "p.bmp 1 1\n";
    script += "[END]\n";
    Captured log = load(script);
    EXPECT_EQ("script: SCRIPT/L1/images.scr : Prilis mnoho barev !!!\n"
              "script: SCRIPT/L1/images.scr : Prilis mnoho bitmap dna !!!\n"
              "script: SCRIPT/L1/images.scr : Prilis mnoho zblunknuti!!!\n",
              log.err);
    EXPECT_EQ(BARVY_CAPACITY - 1, bank.barvy_last);
    EXPECT_EQ(DNO_CAPACITY - 1, bank.dno_last);
    EXPECT_EQ(ZBLUNK_CAPACITY - 1, bank.zblunk_last);
    EXPECT_NE(std::string::npos, log.out.find("nahrana do barvy[19]\n"));
    EXPECT_EQ(std::string::npos, log.out.find("barvy[20]"));
}

TEST(GraphicsBank, AFullExplosionTableRefusesEveryWordOfTheSurplusEntry)
{
    TempDir dir;
    explosion_strip("v.bmp", 2);
    std::string script = "[*VYBUCH]\n";
    for (int i = 0; i < 11; i++) script += "v.bmp\npocet_snimku 2\ndoba 5\n";
    script += "[END]\nzamerovac v.bmp\n";
    Captured log = load(script);
    std::string refused = "script: SCRIPT/L1/images.scr : Prilis mnoho bitmap stitu !!!\n";
    EXPECT_EQ(refused + refused + refused + refused + refused, log.err);
    EXPECT_EQ(VYBUCH_CAPACITY - 1, bank.vybuch_last);
    EXPECT_EQ(2, bank.vybuch[9].frames);
    // The section still ends at its end marker.
    EXPECT_EQ(1, bank.zamerovac_count);
}

TEST(GraphicsBank, EleventhCrosshairAndMiscLinesStayOutsideTheTables)
{
    TempDir dir;
    solid("z.bmp", 255, 255, 255);
    std::string script;
    for (int i = 0; i < 11; i++) script += "zamerovac z.bmp\nmisc z.bmp " + std::to_string(i) + ",1\n";
    Captured log = load(script);
    EXPECT_EQ("script: SCRIPT/L1/images.scr : Prilis mnoho zamerovacu !!!\n"
              "script: SCRIPT/L1/images.scr : Prilis mnoho obrazku misc !!!\n",
              log.err);
    EXPECT_EQ(ZAMEROVAC_CAPACITY, bank.zamerovac_count);
    EXPECT_EQ(MISC_CAPACITY, bank.misc_count);
    EXPECT_EQ(9, bank.misc_x[9]);
}

TEST(GraphicsBank, ZeroFrameCountsAndPeriodsCountAsOne)
{
    TempDir dir;
    solid("p.bmp", 1, 1, 1);
    load("[*BARVA] p.bmp 0 [END] [*ZBLUNK] p.bmp 0 0 [END] "
         "[*VYBUCH] p.bmp pocet_snimku 256 doba 3 [END]");
    EXPECT_EQ((std::vector<long long>{1, 1, 1, 1, 3}),
              (std::vector<long long>{bank.barvy[0].frames, bank.zblunk[0].frames, bank.zblunk[0].period,
                                      bank.vybuch[0].frames, bank.vybuch[0].period}));
}

TEST(GraphicsBank, ReloadingWithoutReleaseAppendsSectionsAndRestartsCrosshairs)
{
    TempDir dir;
    solid("a.bmp", 1, 2, 3);
    load("[*DNO] 5 a.bmp [END] zamerovac a.bmp");
    load("[*DNO] 6 a.bmp [END] zamerovac a.bmp");
    EXPECT_EQ(1, bank.dno_last);
    EXPECT_EQ(6, bank.seabed_period);
    EXPECT_EQ(1, bank.zamerovac_count);
    EXPECT_EQ(nullptr, bank.zamerovac[1]);
}

namespace {

// Three seabed pictures in red, green and blue.
void three_seabeds(int period)
{
    solid("r.bmp", 200, 0, 0, 16, 16);
    solid("g.bmp", 0, 200, 0, 16, 16);
    solid("b.bmp", 0, 0, 200, 16, 16);
    load("[*DNO] " + std::to_string(period) + " r.bmp g.bmp b.bmp [END]");
}

// Draws the seabed for frames 0 ... last and tells which picture showed in
// each: 0 red, 1 green, 2 blue, -1 nothing.
std::vector<int> seabed_run(SDL_Surface* surface, int last)
{
    std::vector<int> shown;
    for (game.frame = 0; game.frame <= last; game.frame++) {
        fill(surface, 0, 0, 0);
        draw_seabed(surface);
        if (has_colour(surface, 5, 5, 200, 0, 0))
            shown.push_back(0);
        else if (has_colour(surface, 5, 5, 0, 200, 0))
            shown.push_back(1);
        else if (has_colour(surface, 5, 5, 0, 0, 200))
            shown.push_back(2);
        else
            shown.push_back(-1);
    }
    return shown;
}

}  // namespace

// Which picture shows in each frame: the seabed plays back and forth one
// step a period; a single picture shows every other period; a period of -1
// or 0 stands still on the first picture.
TEST(GraphicsBank, TheSeabedPlaysBackAndForthOneStepPerPeriod)
{
    TempDir dir;
    TestScreen screen;
    const struct {
        const char* script;
        std::vector<int> shown;
    } cases[] = {
        {"[*DNO] 4 r.bmp g.bmp b.bmp [END]", {1, 1, 1, 1, 2, 2, 2, 2, 1, 1, 1, 1, 0, 0, 0, 0, 1}},
        {"[*DNO] 2 r.bmp [END]", {-1, -1, 0, 0, -1, -1, 0, 0}},
        {"[*DNO] -1 r.bmp g.bmp b.bmp [END]", std::vector<int>(9, 0)},
        {"[*DNO] 0 r.bmp g.bmp b.bmp [END]", std::vector<int>(9, 0)},
    };
    solid("r.bmp", 200, 0, 0, 16, 16);
    solid("g.bmp", 0, 200, 0, 16, 16);
    solid("b.bmp", 0, 0, 200, 16, 16);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.script);
        capture([] { free_images(); });
        bank.seabed_index = 0;
        bank.seabed_direction = 1;
        load(c.script);
        EXPECT_EQ(c.shown, seabed_run(screen.surface, (int)c.shown.size() - 1));
    }
}

TEST(GraphicsBank, TheSeabedStateOutlivesTheLevel)
{
    TempDir dir;
    TestScreen screen;
    three_seabeds(4);
    seabed_run(screen.surface, 4);  // index 2, moving forward
    capture([] { free_images(); });
    EXPECT_EQ(2, bank.seabed_index);
    three_seabeds(4);
    std::vector<int> shown = seabed_run(screen.surface, 4);
    std::vector<int> expected = {1, 1, 1, 1, 0};
    EXPECT_EQ(expected, shown);
}

TEST(GraphicsBank, ExplosionFramesAreCutFromTheStripAndCentred)
{
    TempDir dir;
    TestScreen screen;
    explosion_strip("v.bmp", 4);
    load("[*VYBUCH] v.bmp pocet_snimku 4 doba 8 [END]");
    fill(screen.surface, 0, 0, 255);
    EXPECT_EQ(0, draw_explosion_frame(100, 100, 0, 3, screen.surface));
    // Frame 3 is columns 150 to 199, drawn 50 x 10 with its centre on (100, 100).
    EXPECT_TRUE(has_colour(screen.surface, 75, 95, 160, 200, 0));
    EXPECT_TRUE(has_colour(screen.surface, 124, 104, 160, 200, 0));
    EXPECT_TRUE(has_colour(screen.surface, 74, 95, 0, 0, 255));
    EXPECT_TRUE(has_colour(screen.surface, 125, 95, 0, 0, 255));
    EXPECT_TRUE(has_colour(screen.surface, 100, 94, 0, 0, 255));
    EXPECT_TRUE(has_colour(screen.surface, 100, 105, 0, 0, 255));

    EXPECT_EQ(0, draw_explosion_frame(300, 300, 0, 0, screen.surface));
    EXPECT_TRUE(has_colour(screen.surface, 280, 297, 40, 200, 0));
    // The strip's first pixel is its transparent colour.
    EXPECT_TRUE(has_colour(screen.surface, 275, 295, 0, 0, 255));

    fill(screen.surface, 0, 0, 255);
    EXPECT_EQ(2, draw_explosion_frame(100, 100, 0, 4, screen.surface));
    EXPECT_EQ(2, draw_explosion_frame(100, 100, 0, -1, screen.surface));
    EXPECT_TRUE(has_colour(screen.surface, 100, 100, 0, 0, 255));
    // Far off the screen nothing shows, however far.
    EXPECT_EQ(0, draw_explosion_frame(-2147483647 - 1, 2147483647, 0, 1, screen.surface));
    EXPECT_EQ(0, draw_explosion_frame(70000, 100, 0, 1, screen.surface));
    EXPECT_TRUE(has_colour(screen.surface, 4, 100, 0, 0, 255));
    EXPECT_TRUE(has_colour(screen.surface, 639, 100, 0, 0, 255));
}

TEST(GraphicsBank, ExplosionsWithoutAPictureAreReportedEveryTime)
{
    TestScreen screen;
    Captured log = capture([&] {
        EXPECT_EQ((std::vector<long long>{-1, -1, 2, -1, -1}),
                  (std::vector<long long>{draw_explosion_frame(10, 10, 3, 0, screen.surface),
                                          draw_explosion_frame(10, 10, 3, 0, screen.surface),
                                          draw_explosion_frame(10, 10, 3, 1, screen.surface),
                                          draw_explosion_frame(10, 10, 10, 0, screen.surface),
                                          draw_explosion_frame(10, 10, -1, 0, screen.surface)}));
    });
    EXPECT_EQ("Pokus o vykresleni nenahrane bitmapy vybuchu #3 !!!\n"
              "Pokus o vykresleni nenahrane bitmapy vybuchu #3 !!!\n"
              "Pokus o vykresleni nenahrane bitmapy vybuchu #10 !!!\n"
              "Pokus o vykresleni nenahrane bitmapy vybuchu #-1 !!!\n",
              log.err);
}

namespace {

// Lines of a log that do not start with the given text.
std::vector<std::string> lines_without(const std::string& log, const std::string& start)
{
    std::vector<std::string> others;
    size_t begin = 0;
    while (begin < log.size()) {
        size_t end = log.find('\n', begin);
        std::string line = log.substr(begin, end - begin);
        if (line.compare(0, start.size(), start) != 0) others.push_back(line);
        if (end == std::string::npos) break;
        begin = end + 1;
    }
    return others;
}

}  // namespace

TEST(GraphicsBank, EveryLevelOfTheDataSetLoadsItsWholeBank)
{
    TempDir dir;
    TestScreen screen;
    ASSERT_TRUE(copy_data_set()) << "the run folder " ABYSSOR_RUN_DIR " lacks the data set: build the game first";
    capture([] { load_level_catalogue("SCRIPT/levels.scr"); });
    ASSERT_GT(levels.count, 0);
    for (int n = 0; n < levels.count; n++) {
        const char* level = levels.entries[n].dir;
        std::string path = std::string("SCRIPT/") + level + "/images.scr";
        Captured log = capture([&] { load_images(path.c_str()); });
        EXPECT_EQ("", log.err) << level;
        EXPECT_TRUE(lines_without(log.out, "script: " + path + " : ").empty()) << log.out;
        ASSERT_GE(bank.dno_last, 0) << level;
        for (int i = 0; i <= bank.dno_last; i++) {
            ASSERT_NE(nullptr, bank.dno[i].bitmap) << level;
            EXPECT_EQ(640, bank.dno[i].bitmap->w);
            EXPECT_EQ(480, bank.dno[i].bitmap->h);
            EXPECT_EQ(16, bank.dno[i].bitmap->format->BitsPerPixel);
        }
        EXPECT_EQ(2, bank.zamerovac_count) << level;
        EXPECT_EQ(4, bank.misc_count) << level;
        EXPECT_GE(bank.vybuch_last, 0) << level;
        // Every frame of every explosion can be drawn, and the one after the last ends it.
        for (int i = 0; i <= bank.vybuch_last; i++) {
            for (int f = 0; f < bank.vybuch[i].frames; f++)
                EXPECT_EQ(0, draw_explosion_frame(320, 240, i, f, screen.surface));
            EXPECT_EQ(2, draw_explosion_frame(320, 240, i, bank.vybuch[i].frames, screen.surface));
        }
        game.frame = 0;
        draw_seabed(screen.surface);
        Captured freed = capture([] { free_images(); });
        EXPECT_EQ("UVOLNEN SKRIPT BITMAP Z PAMETI\n", freed.out);
    }
}

TEST(GraphicsBank, AnExplosionLiteralCutShortByWhiteSpaceLeavesTheDurationUnread)
{
    TempDir dir;
    explosion_strip("boom.bmp", 3);
    // "pocet_" matches the start of the literal and stops at the blank after
    // it; "doba" must then stand at that blank, so the duration is not read
    // and "doba" and "7" come round as entries of their own.
    Captured log = load("[*VYBUCH] boom.bmp pocet_ doba 7 [END] [*VYBUCH] boom.bmp pocet_snimku 3 doba 9 [END]");
    EXPECT_EQ(1, bank.vybuch[0].frames);
    EXPECT_EQ(0, bank.vybuch[0].period);
    EXPECT_EQ(3, bank.vybuch_last);
    EXPECT_NE(std::string::npos, log.err.find("Nemohu nahrat soubor : doba."));
    EXPECT_NE(std::string::npos, log.err.find("Nemohu nahrat soubor : 7."));
    // A whole entry, one value to a line or all on one, reads both numbers.
    EXPECT_EQ(3, bank.vybuch[3].frames);
    EXPECT_EQ(9, bank.vybuch[3].period);
    capture([] { free_images(); });
}
