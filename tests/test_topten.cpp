#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <string>

#include "game_state.h"
#include "menu.h"
#include "platform.h"
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

std::string names()
{
    std::string all;
    for (const TopTenEntry& entry : topten.entries) all += std::string(entry.name) + "|";
    return all;
}

void expect_entry(int i, const char* name, int score, int level)
{
    EXPECT_STREQ(name, topten.entries[i].name) << "entry " << i;
    EXPECT_EQ(score, topten.entries[i].score) << "entry " << i;
    EXPECT_EQ(level, topten.entries[i].level) << "entry " << i;
}

}  // namespace

TEST(TopTenFile, ReadsNameScoreLevelAndSortsBestFirstKeepingTiesInFileOrder)
{
    TempDir dir;
    Captured log = load("Bea 100 1\nAda 300 2\nCyril 100 3\nDana 300 4\nEva 200 5\n");
    sort_topten();
    EXPECT_EQ("", log.out);
    EXPECT_EQ("", log.err);
    expect_entry(0, "Ada", 300, 2);
    expect_entry(1, "Dana", 300, 4);
    expect_entry(2, "Eva", 200, 5);
    expect_entry(3, "Bea", 100, 1);
    expect_entry(4, "Cyril", 100, 3);
    for (int i = 5; i < TOPTEN_ENTRIES; i++) expect_entry(i, "", 0, 0);
}

TEST(TopTenFile, LongNamesAreCutToSevenAndAnEleventhLineIsLeftUnread)
{
    TempDir dir;
    load(std::string(TEN_ENTRIES) + "Navic 9999 4\n");
    write_file(TABLE, "Prilis_dlouhe_jmeno 700 2\n");
    load_topten(TABLE);
    expect_entry(0, "Prilis_", 700, 2);
    // The rest of the table is what the first file gave.
    expect_entry(1, "Admiral", 4200, 3);
    expect_entry(9, "Mornar", 300, 1);
    EXPECT_EQ(std::string::npos, names().find("Navic"));
}

TEST(TopTenFile, MissingFileIsReportedAndLeavesTheTableEmpty)
{
    TempDir dir;
    Captured log = capture([] { load_topten(TABLE); });
    EXPECT_EQ("", log.out);
    EXPECT_EQ("Nemohu otevrit soubor SCRIPT/topten.scr !!!\n", log.err);
    for (int i = 0; i < TOPTEN_ENTRIES; i++) expect_entry(i, "", 0, 0);
    EXPECT_TRUE(topten_qualifies(1));
    EXPECT_FALSE(topten_qualifies(0));
}

TEST(TopTenFile, WritesTheTableBackByteForByte)
{
    TempDir dir;
    load(TEN_ENTRIES);
    sort_topten();
    Captured log = save();
    EXPECT_EQ("", log.err);
    EXPECT_EQ(TEN_ENTRIES, read_file(TABLE));
    EXPECT_FALSE(file_exists("SCRIPT/topten.scr.tmp"));
}

TEST(TopTenFile, ShortFileIsWrittenBackWithEmptyEntries)
{
    TempDir dir;
    load("Ada 300 2\n");
    save();
    std::string expected = "Ada 300 2\n";
    for (int i = 1; i < TOPTEN_ENTRIES; i++) expected += "%00 0 0\n";
    EXPECT_EQ(expected, read_file(TABLE));
}

// Spaces, empty names, seven characters, windows-1250 letters and percent
// signs survive the file unchanged; ordinary names, and a percent sign that
// could not be taken for an escape, stay as typed.
TEST(TopTenFile, EveryNameComesBackFromTheFile)
{
    TempDir dir;
    const char* typed[TOPTEN_ENTRIES] = {
        "Jan Novak",   // cut to seven on entry: "Jan Nov"
        "",
        "Sedmiak",
        "\x8e" "lu\x9d\xe1k",  // Žluťák
        "100%",
        "       ",
        " a ",
        "%41",
        "Ema",
        "x_y-z",
    };
    for (int i = 0; i < TOPTEN_ENTRIES; i++) insert_topten(typed[i], 1000 - i, i);
    std::filesystem::create_directories("SCRIPT");
    save();
    EXPECT_EQ("Jan%20Nov 1000 1\n"
              "%00 999 2\n"
              "Sedmiak 998 3\n"
              "\x8e" "lu\x9d\xe1k 997 4\n"
              "100% 996 5\n"
              "%20%20%20%20%20%20%20 995 6\n"
              "%20a%20 994 7\n"
              "%2541 993 8\n"
              "Ema 992 9\n"
              "x_y-z 991 10\n",
              read_file(TABLE));

    topten = TopTenTable();
    load_topten(TABLE);
    expect_entry(0, "Jan Nov", 1000, 1);
    for (int i = 1; i < TOPTEN_ENTRIES; i++) expect_entry(i, typed[i], 1000 - i, i + 1);
    // A table written by hand in plain words reads as it stands.
    load("A%41 500 1\n100%25 400 1\n");
    expect_entry(0, "A%41", 500, 1);
    expect_entry(1, "100%25", 400, 1);
}

// The new file keeps who may read and write the old one.
TEST(TopTenFile, TheSavedTableKeepsTheOldFilesPermissions)
{
    TempDir dir;
    load(TEN_ENTRIES);
    ASSERT_EQ(0, chmod(TABLE, 0604));  // what no usual umask makes of a new file
    save();
    struct stat saved;
    ASSERT_EQ(0, stat(TABLE, &saved));
    EXPECT_EQ(0604u, saved.st_mode & 0777);
}

// The new table's file cannot be made (a folder stands in its place), every
// write to it fails for want of space, or the folder cannot exist: the old
// file stays as it was, no half-written table is left, and the game says so.
TEST(TopTenFile, AFailedWriteKeepsTheOldFileAndSaysSo)
{
    const struct {
        const char* what;
        std::function<void()> spoil;
        const char* kept_path;
        std::string kept;
    } cases[] = {
        {"a folder", [] { std::filesystem::create_directories("SCRIPT/topten.scr.tmp"); }, TABLE, TEN_ENTRIES},
        {"a full disk", [] { ASSERT_EQ(0, symlink("/dev/full", "SCRIPT/topten.scr.tmp")); }, TABLE, TEN_ENTRIES},
        {"no folder",
         [] {
             std::filesystem::remove_all("SCRIPT");
             write_file("SCRIPT", "a file where the folder should be");
         },
         "SCRIPT", "a file where the folder should be"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir dir;
        load(TEN_ENTRIES);
        insert_topten("Novy", 9000, 0);
        c.spoil();
        Captured log = save();
        EXPECT_EQ("Nemohu zapsat do souboru SCRIPT/topten.scr !!!\n", log.err);
        EXPECT_EQ(c.kept, read_file(c.kept_path));
        EXPECT_FALSE(std::filesystem::is_symlink("SCRIPT/topten.scr.tmp"));
    }
}

TEST(TopTenResults, AResultTakesItsPlaceBelowEqualScores)
{
    const struct {
        const char* name;
        int score, level;
        bool qualifies;
        const char* names;
    } cases[] = {
        {"Slabsi", 12, 5, false, "Kapitan|Admiral|Bocman|Lodivod|Plavcik|Rybar|Potapec|Kuchar|Topic|Mornar|"},
        {"Slaby", 300, 5, false, "Kapitan|Admiral|Bocman|Lodivod|Plavcik|Rybar|Potapec|Kuchar|Topic|Mornar|"},
        {"Tesny", 301, 0, true, "Kapitan|Admiral|Bocman|Lodivod|Plavcik|Rybar|Potapec|Kuchar|Topic|Tesny|"},
        {"Rovny", 3500, 2, true, "Kapitan|Admiral|Bocman|Rovny|Lodivod|Plavcik|Rybar|Potapec|Kuchar|Topic|"},
        {"Nejlepsi_hrac", 8000, 0, true, "Nejleps|Kapitan|Admiral|Bocman|Lodivod|Plavcik|Rybar|Potapec|Kuchar|Topic|"},
    };
    TempDir dir;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        load(TEN_ENTRIES);
        EXPECT_EQ(c.qualifies, topten_qualifies(c.score));
        insert_topten(c.name, c.score, c.level);
        EXPECT_EQ(c.names, names());
    }
    expect_entry(0, "Nejleps", 8000, 1);
    expect_entry(1, "Kapitan", 5000, 3);
    load(TEN_ENTRIES);
    insert_topten("Rovny", 3500, 2);
    expect_entry(3, "Rovny", 3500, 3);
    expect_entry(9, "Topic", 600, 1);
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
    bool white(int x, int y) { return pixel_at(screen.surface, x, y) == map_colour(screen.surface, 255, 255, 255); }
    void type(const char* text)
    {
        for (const char* c = text; *c != 0; c++) {
            scripted_push_key(input, (SDLKey)*c, 1, (Uint16)(unsigned char)*c);
            scripted_push_key(input, (SDLKey)*c, 0, 0);
        }
    }
    void press_return()
    {
        scripted_push_key(input, SDLK_RETURN, 1, 13);
        scripted_push_key(input, SDLK_RETURN, 0, 0);
    }
    TempDir dir;
    TestScreen screen;
    ScriptedSession session;
    ScriptedInput& input = session.input;
};

}  // namespace

// Name at the table's x, level ending 10 + x from the right edge ("%3d"),
// score centred ("%11d"), one row per entry.
TEST_F(TopTenScreenTest, TheTableShowsEveryEntryInItsColumns)
{
    insert_topten("Ab", 5000, 2);
    scripted_push_key(input, SDLK_a, 0, 0);
    scripted_push_key(input, SDLK_SPACE, 1, ' ');
    scripted_push_key(input, SDLK_SPACE, 0, 0);
    answer_when_shown(input);
    scripted_push_key(input, SDLK_RETURN, 1, 13);  // the menu's, queued before it showed
    show_topten(screen.surface);
    EXPECT_EQ(1, input.count);  // it waited for the key press, not the release before it
    EXPECT_TRUE(pixel_at(screen.surface, 20, 20) == map_colour(screen.surface, 0, 0, 90));
    // "Ab" at x 40: two blocks, 40 to 51, rows 100 to 108.
    EXPECT_FALSE(white(39, 104));
    EXPECT_TRUE(white(40, 100));
    EXPECT_TRUE(white(51, 108));
    EXPECT_FALSE(white(52, 104));
    EXPECT_FALSE(white(45, 109));
    // "  3" from 640 - 10 - 40 = 590: the digit at 602 to 607.
    EXPECT_FALSE(white(601, 104));
    EXPECT_TRUE(white(602, 104));
    EXPECT_TRUE(white(607, 104));
    EXPECT_FALSE(white(608, 104));
    // "       5000" is 66 wide, so it starts at 320 - 33 = 287 and its digits
    // fill 329 to 352.
    EXPECT_FALSE(white(328, 104));
    EXPECT_TRUE(white(329, 104));
    EXPECT_TRUE(white(352, 104));
    EXPECT_FALSE(white(353, 104));
    // The empty tenth row, 270 lower: no name, level 0, score 0.
    EXPECT_FALSE(white(40, 374));
    EXPECT_TRUE(white(602, 374));
    EXPECT_FALSE(white(601, 374));
    EXPECT_TRUE(white(347, 374));
    EXPECT_FALSE(white(346, 374));
    EXPECT_FALSE(white(40, 134));
}

TEST_F(TopTenScreenTest, TheTypedNameEntersTheTableWithTheScoreAndLevel)
{
    load(TEN_ENTRIES);
    game.score = 4200;
    game.level_index = 2;
    scripted_push_key(input, SDLK_RETURN, 0, 0);  // the key that ended the last screen
    type("Nemo Xavier");
    press_return();
    enter_name(screen.surface);
    EXPECT_EQ("Kapitan|Admiral|Nemo Xa|Bocman|Lodivod|Plavcik|Rybar|Potapec|Kuchar|Topic|", names());
    expect_entry(2, "Nemo Xa", 4200, 3);
    // The name stands typed in the field of the green picture, as far as the
    // seven characters that the table keeps.
    EXPECT_TRUE(white(200, 254));
    EXPECT_TRUE(white(241, 254));
    EXPECT_FALSE(white(199, 254));
    EXPECT_FALSE(white(244, 254));
    EXPECT_TRUE(pixel_at(screen.surface, 20, 20) == map_colour(screen.surface, 0, 90, 0));
}

TEST_F(TopTenScreenTest, WithoutInputTheResultStillEntersNameless)
{
    load(TEN_ENTRIES);
    game.score = 4000;
    game.level_index = 0;
    enter_name(screen.surface);
    expect_entry(2, "", 4000, 1);
    expect_entry(3, "Bocman", 3500, 2);
}

TEST_F(TopTenScreenTest, AWindowClosedDuringTheNameEntersTheResultWithWhatWasTyped)
{
    load(TEN_ENTRIES);
    game.score = 4200;
    game.level_index = 2;
    type("Nemo");  // at once: the first letter is the event the entry waits for
    scripted_push_quit(input);
    type("X");
    press_return();
    enter_name(screen.surface);
    expect_entry(2, "Nemo", 4200, 3);
    EXPECT_EQ(4, input.count);
    EXPECT_EQ(0, input.dry_waits);
}

TEST_F(TopTenScreenTest, AWindowClosedBeforeTheNameEntersTheResultNameless)
{
    load(TEN_ENTRIES);
    game.score = 4000;
    game.level_index = 0;
    scripted_push_quit(input);
    type("Nemo");
    enter_name(screen.surface);
    expect_entry(2, "", 4000, 1);
    EXPECT_EQ(8, input.count);
    EXPECT_EQ(0, input.dry_waits);
}
