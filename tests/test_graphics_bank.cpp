#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game_state.h"
#include "graphics_bank.h"
#include "support.h"

namespace {

const char* IMAGES = "SCRIPT/L1/images.scr";

// An explosion strip of `frames` frames, 50 x 10 pixels each, frame k in
// palette index k + 1 (red 40 k + 40); the top-left pixel is the key.
void explosion_strip(const std::string& path, int frames)
{
    int w = 50 * frames;
    std::vector<Uint8> pixels(w * 10);
    for (int i = 0; i < w * 10; i++) pixels[i] = (Uint8)(i % w / 50 + 1);
    pixels[0] = 0;
    std::vector<PaletteColour> palette = {{0, 0, 0, 0}};
    for (int k = 0; k < frames; k++) palette.push_back({k + 1, (Uint8)(k * 40 + 40), 200, 0});
    write_bmp8(path, w, 10, pixels, palette);
}

bool has_colour(SDL_Surface* s, int x, int y, Uint8 r, Uint8 g, Uint8 b) { return pixel_at(s, x, y) == map_colour(s, r, g, b); }

// A picture as its width and depth, "k" when colour-keyed; "-" for none.
std::string picture(SDL_Surface* p)
{
    return p == NULL ? "-" : std::to_string(p->w) + "." + std::to_string(p->format->BitsPerPixel) + ((p->flags & SDL_SRCCOLORKEY) != 0 ? "k" : "");
}

// The entries of a table; a run of equal ones is written once with its count.
std::string entries(const std::vector<std::string>& all)
{
    std::string out;
    for (size_t i = 0, j = 0; i < all.size(); i = j) {
        while (j < all.size() && all[j] == all[i]) j++;
        out += " " + all[i] + (j - i > 1 ? " x" + std::to_string(j - i) : "");
    }
    return out;
}

// Strips as picture, /frames when fields > 0, /period when fields > 1.
std::string strips(const AnimStrip* strip, int last, int fields)
{
    std::vector<std::string> all;
    for (int i = 0; i <= last; i++)
        all.push_back(picture(strip[i].bitmap) + (fields > 0 ? "/" + std::to_string(strip[i].frames) : "") +
                      (fields > 1 ? "/" + std::to_string(strip[i].period) : ""));
    return entries(all);
}

// What the bank holds, table by table; misc pictures with their places.
std::string bank_state()
{
    std::vector<std::string> crosshairs, misc;
    for (int i = 0; i < bank.zamerovac_count; i++) crosshairs.push_back(picture(bank.zamerovac[i]));
    for (int i = 0; i < bank.misc_count; i++)
        misc.push_back(picture(bank.misc[i]) + "@" + std::to_string(bank.misc_x[i]) + "," + std::to_string(bank.misc_y[i]));
    return "dno " + std::to_string(bank.seabed_period) + ":" + strips(bank.dno, bank.dno_last, 0) + " | barvy" +
           strips(bank.barvy, bank.barvy_last, 1) + " | zblunk" + strips(bank.zblunk, bank.zblunk_last, 2) +
           " | vybuch" + strips(bank.vybuch, bank.vybuch_last, 2) + " | zam" + entries(crosshairs) + " | misc" +
           entries(misc);
}

// A log of the loader: "@" stands for the prefix naming the script.
std::string logged(const char* lines)
{
    std::string out;
    for (const char* c = lines; *c != 0; c++) out += *c == '@' ? std::string("script: ") + IMAGES + " : " : std::string(1, *c);
    return out;
}

Captured load(const std::string& script) { return load_script(IMAGES, script, load_images); }

std::string repeated(const std::string& text, int times) { return times > 0 ? text + repeated(text, times - 1) : ""; }

}  // namespace

// Each script is read into an empty bank whose seabed period is 7 and whose
// first misc place is (30, 40). The seabed and particle strips take the
// screen's format; other pictures stay as loaded, keyed on their top-left
// pixel. A zero frame count or splash period counts as one; a full table
// refuses each surplus entry with a line; a missing picture keeps its slot
// in a section but not among crosshairs and misc pictures.
TEST(GraphicsBank, ScriptsFillTheTablesAndLogEveryPicture)
{
    TempDir dir;
    TestScreen screen;
    write_solid_bmp("s.bmp", 640, 480, 0, 0, 200);
    write_solid_bmp("p.bmp", 40, 4, 200, 0, 0);
    explosion_strip("v.bmp", 4);
    const char* x = "Nemohu nahrat soubor : x.bmp. Chyba: Couldn't open x.bmp\n";
    std::string full = "[*BARVA]\n" + repeated("p.bmp 2\n", 21) + "[END]\n[*DNO] 1\n" + repeated("s.bmp\n", 11) +
                       "[END]\n[*ZBLUNK]\n" + repeated("p.bmp 1 1\n", 11) + "[END]\n[*VYBUCH]\n" +
                       repeated("v.bmp\npocet_snimku 2\ndoba 5\n", 11) + "[END]\n";
    for (int i = 0; i < 11; i++) full += "zamerovac p.bmp misc p.bmp " + std::to_string(i) + ",1\n";
    const struct {
        std::string script;
        const char* out;  // NULL: not compared
        std::string err, state;
    } cases[] = {
        {"Obrazky\n[*DNO]\n4\ns.bmp\ns.bmp\n[END]\n[*BARVA]\np.bmp 10\n[END]\n[*ZBLUNK]\np.bmp 3 2\n[END]\n"
         "[*VYBUCH]\nv.bmp\npocet_snimku 4\ndoba 12\n[END]\nzamerovac p.bmp\nzamerovac s.bmp\nmisc p.bmp 0,0\n"
         "misc p.bmp 250,300\n",
         NULL, "", "dno 4: 640.16 x2 | barvy 40.16/10 | zblunk 40.8k/3/2 | vybuch 200.8k/4/12 | zam 40.8k 640.8k | misc 40.8k@0,0 40.8k@250,300"},
        // Keys inside longer words, on one line; a word with two keys reads the crosshair first.
        {"xmiscx p.bmp 7,8 nezamerovac s.bmp [*BARVA] p.bmp 0 [END] zamerovac_misc p.bmp s.bmp 5,6",
         "@NAHRAVAM BARVY\n@barva : p.bmp ... nahrana do barvy[0]\n", "",
         "dno 7: | barvy 40.16/1 | zblunk | vybuch | zam 640.8k 40.8k | misc 40.8k@7,8 640.8k@5,6"},
        {"[*DNO] 3 x.bmp s.bmp [END] [*BARVA] x.bmp 3 [END] [*ZBLUNK] x.bmp 3 2 [END] "
         "[*VYBUCH] x.bmp pocet_snimku 4 doba 5 [END] zamerovac x.bmp zamerovac p.bmp misc x.bmp 5,6 misc p.bmp 9,10",
         "@NAHRAVAM BITMAPY DNA\n@bitmapa : s.bmp ... nahrana do dno[1]\n@NAHRAVAM BARVY\n@NAHRAVAM SPLUCHNUTI\n"
         "@NAHRAVAM BITMAPY VYBUCHU\n",
         repeated(x, 5) + logged("@Nenahrana bitmapa x.bmp !!!\n") + x + logged("@Nenahrana bitmapa x.bmp !!!\n"),
         "dno 3: - 640.16 | barvy -/3 | zblunk -/3/2 | vybuch -/4/5 | zam 40.8k | misc 40.8k@9,10"},
        // A seabed period that is no number is a picture's name; the end of
        // the file cuts a misc place short; zero frames and periods count as one.
        {"[*DNO] s.bmp [END] [*ZBLUNK] p.bmp 0 0 [END] [*VYBUCH] v.bmp pocet_snimku 256 doba 3 [END] misc p.bmp 7",
         "@NAHRAVAM BITMAPY DNA\n@bitmapa : s.bmp ... nahrana do dno[0]\n@NAHRAVAM SPLUCHNUTI\n"
         "@zblunknuti : p.bmp ... nahrana do zblunk[0]\n@NAHRAVAM BITMAPY VYBUCHU\n"
         "@bitmapa : v.bmp / 1 snimku... nahrana do vybuch[0]\n",
         "", "dno 7: 640.16 | barvy | zblunk 40.8k/1/1 | vybuch 200.8k/1/3 | zam | misc 40.8k@7,40"},
        // "pocet_" stops at the blank after it, where "doba" is not: the
        // duration is unread and "doba" and "7" come round as entries.
        {"[*VYBUCH] v.bmp pocet_ doba 7 [END] [*VYBUCH] v.bmp\npocet_snimku 3 doba 9 [END]",
         "@NAHRAVAM BITMAPY VYBUCHU\n@bitmapa : v.bmp / 1 snimku... nahrana do vybuch[0]\n"
         "@NAHRAVAM BITMAPY VYBUCHU\n@bitmapa : v.bmp / 3 snimku... nahrana do vybuch[3]\n",
         "Nemohu nahrat soubor : doba. Chyba: Couldn't open doba\nNemohu nahrat soubor : 7. Chyba: Couldn't open 7\n",
         "dno 7: | barvy | zblunk | vybuch 200.8k/1/0 -/1/0 x2 200.8k/3/9 | zam | misc"},
        // Full tables refuse each surplus entry, an explosion's each word.
        {full, NULL,
         logged("@Prilis mnoho barev !!!\n@Prilis mnoho bitmap dna !!!\n@Prilis mnoho zblunknuti!!!\n") +
             repeated(logged("@Prilis mnoho bitmap stitu !!!\n"), 5) +
             logged("@Prilis mnoho zamerovacu !!!\n@Prilis mnoho obrazku misc !!!\n"),
         "dno 1: 640.16 x10 | barvy 40.16/2 x20 | zblunk 40.8k/1/1 x10 | vybuch 200.8k/2/5 x10 | zam 40.8k x10 | misc "
         "40.8k@0,1 40.8k@1,1 40.8k@2,1 40.8k@3,1 40.8k@4,1 40.8k@5,1 40.8k@6,1 40.8k@7,1 40.8k@8,1 40.8k@9,1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.script);
        reset_images();
        bank.seabed_period = 7;
        bank.misc_x[0] = 30;
        bank.misc_y[0] = 40;
        Captured log = load(c.script);
        if (c.out != NULL) {
            EXPECT_EQ(logged(c.out), log.out);
        }
        EXPECT_EQ(c.err, log.err);
        EXPECT_EQ(c.state, bank_state());
    }
}

namespace {

// Draws the seabed for frames 0 ... last and tells which picture showed in
// each: 0 red, 1 green, 2 blue, -1 nothing.
std::vector<int> seabed_run(SDL_Surface* surface, int last)
{
    std::vector<int> shown;
    for (game.frame = 0; game.frame <= last; game.frame++) {
        SDL_FillRect(surface, NULL, 0);
        draw_seabed(surface);
        int k = 0;
        while (k < 3 && !has_colour(surface, 5, 5, k == 0 ? 200 : 0, k == 1 ? 200 : 0, k == 2 ? 200 : 0)) k++;
        shown.push_back(k < 3 ? k : -1);
    }
    return shown;
}

}  // namespace

// Which picture shows in each frame: the seabed plays back and forth one
// step a period; a single picture shows every other period; a period of -1
// or 0 stands still on the first picture; without pictures nothing shows.
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
        {"[*DNO] 2 [END]", std::vector<int>(9, -1)},
    };
    write_solid_bmp("r.bmp", 16, 16, 200, 0, 0);
    write_solid_bmp("g.bmp", 16, 16, 0, 200, 0);
    write_solid_bmp("b.bmp", 16, 16, 0, 0, 200);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.script);
        reset_images();
        load(c.script);
        EXPECT_EQ(c.shown, seabed_run(screen.surface, (int)c.shown.size() - 1));
    }
}

// Frame f of a strip of 50 x 10 frames is drawn centred on the point, its
// first pixel's colour transparent; a frame outside the strip ends the
// explosion (2); an explosion without a picture is reported every time
// (-1), and far off the screen nothing shows.
TEST(GraphicsBank, ExplosionFramesAreCutFromTheStripAndCentred)
{
    TempDir dir;
    TestScreen screen;
    explosion_strip("v.bmp", 4);
    load("[*VYBUCH] v.bmp pocet_snimku 4 doba 8 [END] [*VYBUCH] x.bmp pocet_snimku 2 doba 5 [END]");
    SDL_FillRect(screen.surface, NULL, map_colour(screen.surface, 0, 0, 255));
    Captured log = capture([&] {
        EXPECT_EQ((std::vector<int>{0, 0, 2, 2, -1, -1, 2, -1, -1, 0, 0}),
                  (std::vector<int>{draw_explosion_frame(100, 100, 0, 3, screen.surface), draw_explosion_frame(300, 300, 0, 0, screen.surface),
                                    draw_explosion_frame(100, 100, 0, 4, screen.surface), draw_explosion_frame(100, 100, 0, -1, screen.surface),
                                    draw_explosion_frame(10, 10, 1, 1, screen.surface), draw_explosion_frame(10, 10, 1, 1, screen.surface),
                                    draw_explosion_frame(10, 10, 1, 2, screen.surface), draw_explosion_frame(10, 10, 10, 0, screen.surface),
                                    draw_explosion_frame(10, 10, -1, 0, screen.surface),
                                    draw_explosion_frame(-2147483647 - 1, 2147483647, 0, 1, screen.surface),
                                    draw_explosion_frame(70000, 100, 0, 1, screen.surface)}));
    });
    EXPECT_EQ("Pokus o vykresleni nenahrane bitmapy vybuchu #1 !!!\nPokus o vykresleni nenahrane bitmapy vybuchu #1 !!!\n"
              "Pokus o vykresleni nenahrane bitmapy vybuchu #10 !!!\nPokus o vykresleni nenahrane bitmapy vybuchu #-1 !!!\n",
              log.err);
    // Frame 3, columns 150 to 199, spans 75 ... 124; far off the screen nothing shows.
    for (auto [x, y, red] : std::vector<std::tuple<int, int, Uint8>>{{75, 95, 160}, {4, 100, 0}, {639, 100, 0}})
        EXPECT_TRUE(has_colour(screen.surface, x, y, red, red ? 200 : 0, red ? 0 : 255)) << x << "," << y;
}
