#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "game_state.h"
#include "menu.h"
#include "support.h"
#include "topten.h"

namespace {

const char* TABLE = "SCRIPT/topten.scr";

const char* TEN_ENTRIES =
    "Kapitan 5000 3\nAdmiral 4200 3\nBocman 3500 2\nLodivod 2800 2\nPlavcik 2200 2\n"
    "Rybar 1700 1\nPotapec 1300 1\nKuchar 900 1\nTopic 600 1\nMornar 300 1\n";

Captured load(const std::string& text)
{
    return load_script(TABLE, text, load_topten);
}

Captured save()
{
    return capture([] { save_topten(TABLE); });
}

// The table as "name score level|" per entry, empty entries left out.
std::string table()
{
    std::string all;
    for (const TopTenEntry& e : topten.entries)
        if (e.name[0] != 0 || e.score != 0 || e.level != 0)
            all += std::string(e.name) + " " + std::to_string(e.score) + " " + std::to_string(e.level) + "|";
    return all;
}

}  // namespace

// Best first, ties in file order; names are cut to seven, an eleventh line
// is left unread, and a shorter file read later leaves the entries beyond it.
// A missing file is reported and leaves the table empty: any score beats it.
TEST(TopTenFile, ReadsNameScoreLevelAndSortsBestFirstKeepingTiesInFileOrder)
{
    TempDir dir;
    Captured missing = capture([] { load_topten(TABLE); });
    EXPECT_EQ("Nemohu otevrit soubor SCRIPT/topten.scr !!!\n", missing.out + missing.err);
    EXPECT_EQ("", table());
    EXPECT_EQ(1, topten_qualifies(1)) << "a score of 1 enters the empty table";
    Captured log = load("Bea 100 1\nAda 300 2\nCyril 100 3\nDana 300 4\nEva 200 5\nPrilis_dlouhe 250 6\n"
                        "F 1 1\nG 1 1\nH 1 1\nI 1 1\nNavic 9999 4\n");
    sort_topten();
    EXPECT_EQ("", log.out + log.err);
    EXPECT_EQ("Ada 300 2|Dana 300 4|Prilis_ 250 6|Eva 200 5|Bea 100 1|Cyril 100 3|F 1 1|G 1 1|H 1 1|I 1 1|", table());
    load("Kim 700 2\n");
    EXPECT_EQ("Kim 700 2|Dana 300 4|Prilis_ 250 6|Eva 200 5|Bea 100 1|Cyril 100 3|F 1 1|G 1 1|H 1 1|I 1 1|", table());
}

// Written back byte for byte, empty entries as "%00 0 0", through a file of
// its own that does not stay behind and keeps who may read and write the old.
// When that file cannot be made (a folder stands in its place) or every write
// to it fails for want of space, the old file stays as it was, no
// half-written table is left, and the game says so.
TEST(TopTenFile, WritesTheTableBackByteForByteOrKeepsTheOldOne)
{
    std::string short_table = "Ada 300 2\n";
    for (int i = 1; i < TOPTEN_ENTRIES; i++) short_table += "%00 0 0\n";
    const struct {
        std::string text, obstacle;
    } cases[] = {{TEN_ENTRIES, ""}, {short_table, ""}, {TEN_ENTRIES, "a folder"}, {TEN_ENTRIES, "a full disk"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text + c.obstacle);
        TempDir dir;
        load(c.text);
        sort_topten();
        ASSERT_EQ(0, chmod(TABLE, 0604));  // what no usual umask makes of a new file
        if (c.obstacle != "") insert_topten("Novy", 9000, 0);
        if (c.obstacle == "a folder") std::filesystem::create_directories("SCRIPT/topten.scr.tmp");
        if (c.obstacle == "a full disk") {
            ASSERT_EQ(0, symlink("/dev/full", "SCRIPT/topten.scr.tmp"));
        }
        EXPECT_EQ(c.obstacle == "" ? "" : "Nemohu zapsat do souboru SCRIPT/topten.scr !!!\n", save().err);
        EXPECT_EQ(c.text, read_file(TABLE));
        EXPECT_FALSE(std::filesystem::is_regular_file("SCRIPT/topten.scr.tmp") ||
                     std::filesystem::is_symlink("SCRIPT/topten.scr.tmp"));
        struct stat saved;
        EXPECT_TRUE(stat(TABLE, &saved) == 0 && (saved.st_mode & 0777) == 0604);
    }
}

// Spaces, empty names, seven characters, windows-1250 letters and percent
// signs survive the file unchanged; ordinary names, and a percent sign that
// could not be taken for an escape, stay as typed.
TEST(TopTenFile, EveryNameComesBackFromTheFile)
{
    TempDir dir;
    const char* typed[TOPTEN_ENTRIES] = {"Jan Novak", "", "Sedmiak", "\x8e" "lu\x9d\xe1k", "100%",
                                         "       ",   " a ", "%41",   "Ema",                 "x_y-z"};
    for (int i = 0; i < TOPTEN_ENTRIES; i++) insert_topten(typed[i], 1000 - i, i);
    std::filesystem::create_directories("SCRIPT");
    save();
    EXPECT_EQ("Jan%20Nov 1000 1\n%00 999 2\nSedmiak 998 3\n\x8e" "lu\x9d\xe1k 997 4\n100% 996 5\n"
              "%20%20%20%20%20%20%20 995 6\n%20a%20 994 7\n%2541 993 8\nEma 992 9\nx_y-z 991 10\n",
              read_file(TABLE));
    topten = TopTenTable();
    load_topten(TABLE);
    EXPECT_STREQ("Jan Nov", topten.entries[0].name);
    for (int i = 1; i < TOPTEN_ENTRIES; i++) EXPECT_STREQ(typed[i], topten.entries[i].name) << "entry " << i;
    // A table written by hand in plain words reads as it stands.
    load("A%41 500 1\n100%25 400 1\n");
    EXPECT_STREQ("A%41", topten.entries[0].name);
    EXPECT_STREQ("100%25", topten.entries[1].name);
}

// A result must beat the last entry; it goes above the first entry it beats,
// below equal scores, with its level counted from one.
TEST(TopTenResults, AResultTakesItsPlaceBelowEqualScores)
{
    const std::string head = "Kapitan 5000 3|Admiral 4200 3|Bocman 3500 2|";
    const std::string rest = "Lodivod 2800 2|Plavcik 2200 2|Rybar 1700 1|Potapec 1300 1|Kuchar 900 1|Topic 600 1|";
    const struct {
        const char* name;
        int score, level;
        bool qualifies;
        std::string table;
    } cases[] = {
        {"Slabsi", 12, 5, false, head + rest + "Mornar 300 1|"},
        {"Slaby", 300, 5, false, head + rest + "Mornar 300 1|"},
        {"Tesny", 301, 0, true, head + rest + "Tesny 301 1|"},
        {"Rovny", 3500, 2, true, head + "Rovny 3500 3|" + rest},
        {"Nejlepsi_hrac", 8000, 0, true, "Nejleps 8000 1|" + head + rest},
    };
    TempDir dir;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        load(TEN_ENTRIES);
        EXPECT_EQ(c.qualifies, topten_qualifies(c.score));
        insert_topten(c.name, c.score, c.level);
        EXPECT_EQ(c.table, table());
    }
}

namespace {

// The table's screens on a dark blue picture with a white block font: every
// glyph 6 pixels wide, text rows y to y + 8.
class TopTenScreenTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        write_solid_bmp("GFX/top.bmp", 640, 480, 0, 0, 90);
        write_solid_bmp("GFX/rekord.bmp", 640, 480, 0, 90, 0);
        write_block_font("GFX/font.bmp", 6, 10, 255, 255, 255);
        write_file("SCRIPT/menu.scr", "top_ten GFX/top.bmp high_score GFX/rekord.bmp font GFX/font.bmp\n"
                                      "ten_souradnice 40,100,30\nhigh_souradnice 200,250\n");
        capture([] { load_menu("SCRIPT/menu.scr"); });
    }
    void TearDown() override { free_menu(); }
    // Which of the points are white, as a string of 0 and 1.
    std::string white(std::initializer_list<std::pair<int, int>> points)
    {
        std::string seen;
        for (const auto& p : points)
            seen += pixel_at(screen.surface, p.first, p.second) == map_colour(screen.surface, 255, 255, 255) ? '1' : '0';
        return seen;
    }
    void type(const char* text)
    {
        for (const char* c = text; *c != 0; c++) session.tap((SDLKey)*c, (Uint16)(unsigned char)*c);
    }
    TempDir dir;
    TestScreen screen;
    ScriptedSession session;
    ScriptedInput& input = session.input;
};

}  // namespace

// After a game the player types a name into the field of the green
// picture; what stands typed is what the table keeps, seven characters. Should
// no input come, or the window be closed, the result still enters with what
// was typed of the name, and nothing after the close request is read. A key
// pressed again before the entry shows (a double tap that left the
// game-over screen) is no part of the name.
TEST_F(TopTenScreenTest, TheTypedNameEntersTheTableWithTheScoreAndLevel)
{
    const struct {
        const char* what;
        const char *typed, *after_quit;  // typed at once: the first letter may be the event the entry waits for
        const char* name;
        int last_white_x, left;
    } cases[] = {{"typed", "Nemo Xavier", NULL, "Nemo Xa", 241, 1},
                 {"no input", "", NULL, "", -1, 0},
                 {"closed during the name", "Nemo", "X", "Nemo", 223, 4},
                 {"closed before the name", "", "Nemo", "", -1, 8}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        scripted_reset(input);
        load(TEN_ENTRIES);
        game.score = 4200;
        game.level_index = 2;
        type(c.typed);
        if (c.after_quit != NULL) scripted_push_quit(input);
        type(c.after_quit != NULL ? c.after_quit : "");
        if (c.typed[0] != 0) session.tap(SDLK_RETURN, 13);
        answer_when_shown(input);
        // A second tap of the key that left the game-over screen comes
        // before the entry shows: no part of the name.
        session.tap(SDLK_RETURN, 13);
        enter_name(screen.surface);
        const std::string third = "Kapitan 5000 3|Admiral 4200 3|" + std::string(c.name) + " 4200 3|Bocman 3500 2|";
        EXPECT_EQ(third, table().substr(0, third.size()));
        EXPECT_EQ(c.left, input.count) << "events left";
        EXPECT_EQ(c.typed[0] == 0 && c.after_quit == NULL, input.dry_waits) << "waits that found no input";
        const int last = c.last_white_x < 0 ? 230 : c.last_white_x;  // where nothing was typed, nothing shows
        EXPECT_EQ(c.last_white_x < 0 ? "000" : "110", white({{200, 254}, {last, 254}, {last + 3, 254}}));
        EXPECT_TRUE(pixel_at(screen.surface, 20, 20) == map_colour(screen.surface, 0, 90, 0));
    }
}
