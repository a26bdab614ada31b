#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "game_state.h"
#include "menu.h"
#include "platform.h"
#include "settings.h"
#include "support.h"

namespace {

const char* MENU = "SCRIPT/menu.scr";

// Buttons stacked 50 pixels apart, 200 x 40 each.
const char* BUTTONS =
    "b_new_game 100,50,200,40\n"
    "b_kod 100,100,200,40\n"
    "b_top-ten 100,150,200,40\n"
    "b_pomoc 100,200,200,40\n"
    "b_exit 100,250,200,40\n";

Captured load(const std::string& text)
{
    return load_script(MENU, text, load_menu);
}

// A menu drawn in blue with every button highlighted in yellow, a green
// help picture and a white block font.
void menu_pictures()
{
    write_solid_bmp("GFX/main1.bmp", 640, 480, 0, 0, 200);
    write_solid_bmp("GFX/main2.bmp", 640, 480, 200, 200, 0);
    write_solid_bmp("GFX/help.bmp", 640, 480, 0, 200, 0);
    write_solid_bmp("GFX/top.bmp", 640, 480, 200, 0, 200);
    write_block_font("GFX/font.bmp", 6, 10, 255, 255, 255);
    load(std::string("main1 GFX/main1.bmp main2 GFX/main2.bmp help GFX/help.bmp top_ten GFX/top.bmp\n"
                     "font GFX/font.bmp\n") + BUTTONS);
}

using Menu = ScriptedSession;

// What the screen showed at (400, 400) each time the game waited for an event.
struct Watch {
    SDL_Surface* screen;
    std::vector<Uint32> seen;
};

void watch_screen(ScriptedInput&, void* user)
{
    Watch& watch = *(Watch*)user;
    watch.seen.push_back(pixel_at(watch.screen, 400, 400));
}

bool is_highlighted(SDL_Surface* screen, int item)
{
    return pixel_at(screen, 150, 60 + 50 * item) == map_colour(screen, 200, 200, 0);
}

// Down and Return: from the help item the player leaves through the last
// item, with every event read.
void leave_by_the_last_item(Menu& menu, SDL_Surface* screen)
{
    menu.tap(SDLK_DOWN);
    menu.press(SDLK_RETURN);
    EXPECT_EQ(1, run_main_menu(screen));
    EXPECT_EQ(ITEM_LEAVE, menu_script.chosen);
    EXPECT_EQ(0, menu.input.dry_waits);
}

// The menu of menu_pictures() on the screen, with scripted keys.
class MainMenuTest : public ::testing::Test {
protected:
    void SetUp() override { menu_pictures(); }
    TempDir dir;
    TestScreen screen;
    Menu menu;
};

}  // namespace

TEST(MenuScript, ReadsEveryKeyAndReportsEachPicture)
{
    TempDir dir;
    write_solid_bmp("GFX/main1.bmp", 64, 48, 0, 0, 200);
    write_solid_bmp("GFX/load.bmp", 20, 10, 200, 0, 0);
    write_solid_bmp("GFX/font.bmp", 30, 8, 255, 255, 255);
    Captured log = load(std::string("Hlavni nabidka\n"
                                    "main1 GFX/main1.bmp\nmain2 GFX/main1.bmp\ntop_ten GFX/main1.bmp\n"
                                    "code GFX/main1.bmp\nloading GFX/load.bmp\nload_bar GFX/load.bmp\n"
                                    "help GFX/main1.bmp\nfont GFX/font.bmp\nhigh_score GFX/main1.bmp\n"
                                    "menu_sound SFX/menu.wav\nbutton_sound SFX/b.wav\npress_sound SFX/p.wav\n"
                                    "gameover SFX/g.wav\nprepare SFX/r.wav\nlevel_completed SFX/l.wav\n"
                                    "over_heat SFX/o.wav\n"
                                    "load_souradnice 12,34\nhigh_souradnice 200,300\n"
                                    "ten_souradnice 40,100,30\nc_pos 250,220,140\n")
                        + BUTTONS);
    std::string expected;
    for (std::string name : {"main1", "main1", "main1", "main1", "load", "load", "main1", "font", "main1"})
        expected += "SKRIPT : SCRIPT/menu.scr : Nahrana bitmapa GFX/" + name + ".bmp\n";
    EXPECT_EQ(expected, log.out);
    // Audio is off: no sound is read, so the missing files say nothing.
    EXPECT_EQ("", log.err);
    for (SDL_Surface* picture : {menu_script.main_picture, menu_script.highlight_picture, menu_script.topten_picture,
                                 menu_script.code_picture, menu_script.help_picture, menu_script.font,
                                 menu_script.highscore_picture, menu_script.loading_picture, menu_script.bar_picture})
        ASSERT_NE(nullptr, picture);
    EXPECT_EQ(0u, menu_script.main_picture->flags & SDL_SRCCOLORKEY);
    EXPECT_NE(0u, menu_script.loading_picture->flags & SDL_SRCCOLORKEY);
    EXPECT_NE(0u, menu_script.bar_picture->flags & SDL_SRCCOLORKEY);
    EXPECT_EQ(0u, menu_script.font->flags & SDL_SRCCOLORKEY);
    const MenuScript& m = menu_script;
    EXPECT_EQ((std::vector<int>{12, 34, 200, 300, 40, 100, 30, 250, 220, 140}),
              (std::vector<int>{m.bar_x, m.bar_y, m.name_x, m.name_y, m.table_x, m.table_y, m.table_spacing,
                                m.code_x, m.code_y, m.code_width}));
    for (int i = 0; i < MENU_ITEMS; i++)
        EXPECT_EQ((std::vector<int>{100, 50 + 50 * i, 200, 40}),
                  (std::vector<int>{m.buttons[i].x, m.buttons[i].y, m.buttons[i].w, m.buttons[i].h}));

    free_menu();
    EXPECT_EQ(nullptr, menu_script.main_picture);
    EXPECT_EQ(nullptr, menu_script.font);
    EXPECT_EQ(nullptr, menu_script.loading_picture);
    EXPECT_EQ(nullptr, menu_script.highscore_picture);
    // Positions stay for the next visit.
    EXPECT_EQ(12, menu_script.bar_x);
}

TEST(MenuScript, KeysActInsideLongerWordsAndOneWordMayHoldSeveral)
{
    TempDir dir;
    write_solid_bmp("a.bmp", 8, 8, 0, 0, 200);
    write_solid_bmp("b.bmp", 16, 8, 0, 0, 200);
    Captured log = load("xmain1x a.bmp main1+main2 a.bmp b.bmp b_exitb_kod 1,2,3,4 5,6,7,8");
    EXPECT_EQ("SKRIPT : SCRIPT/menu.scr : Nahrana bitmapa a.bmp\n"
              "SKRIPT : SCRIPT/menu.scr : Nahrana bitmapa a.bmp\n"
              "SKRIPT : SCRIPT/menu.scr : Nahrana bitmapa b.bmp\n",
              log.out);
    EXPECT_EQ(8, menu_script.main_picture->w);
    EXPECT_EQ(16, menu_script.highlight_picture->w);
    // "b_kod" is tested before "b_exit".
    EXPECT_EQ(1, menu_script.buttons[ITEM_LEVEL_CODE].x);
    EXPECT_EQ(5, menu_script.buttons[ITEM_LEAVE].x);
    EXPECT_EQ(8, menu_script.buttons[ITEM_LEAVE].h);
}

TEST(MenuScript, AMissingPictureLeavesItsFieldEmptyWithoutTheLoadedLine)
{
    TempDir dir;
    Captured log = load("help chybi.bmp");
    EXPECT_EQ("", log.out);
    EXPECT_EQ("Nemohu nahrat soubor : chybi.bmp. Chyba: Couldn't open chybi.bmp\n", log.err);
    EXPECT_EQ(nullptr, menu_script.help_picture);
}

TEST(MenuScript, AnUnreadableFileLeavesTheRecordAsItWas)
{
    TempDir dir;
    load("load_souradnice 3,4");
    Captured log = capture([] { load_menu("SCRIPT/chybi.scr"); });
    EXPECT_EQ("Nemohu nahrat soubor : SCRIPT/chybi.scr\n", log.err);
    EXPECT_EQ(3, menu_script.bar_x);
}

TEST(MenuScript, SoundsLoadWithAudioOnAndOnlyTheMenusOwnAreReleased)
{
    TempDir dir;
    ASSERT_EQ(0, SDL_Init(SDL_INIT_AUDIO | SDL_INIT_NOPARACHUTE));
    ASSERT_EQ(0, Mix_OpenAudio(11025, AUDIO_U8, 2, 1024));
    settings.sound = 1;
    write_wav("SFX/m.wav", 100);
    Captured log = load("menu_sound SFX/m.wav button_sound SFX/m.wav press_sound SFX/m.wav "
                        "prepare SFX/m.wav gameover NULL over_heat SFX/chybi.wav");
    EXPECT_EQ("Nahran zvuk SFX/m.wav\nNahran zvuk SFX/m.wav\nNahran zvuk SFX/m.wav\nNahran zvuk SFX/m.wav\n",
              log.out);
    EXPECT_EQ("Nemohu nahrat soubor : SFX/chybi.wav !!!\n", log.err);
    EXPECT_EQ(nullptr, menu_script.gameover_sound);
    free_menu();
    EXPECT_EQ(nullptr, menu_script.menu_sound);
    EXPECT_EQ(nullptr, menu_script.button_sound);
    EXPECT_EQ(nullptr, menu_script.press_sound);
    EXPECT_NE(nullptr, menu_script.prepare_sound);
    // Reading the menu again replaces the announcement it still holds.
    load("prepare SFX/m.wav");
    EXPECT_NE(nullptr, menu_script.prepare_sound);
    close_audio();
    SDL_Quit();
}

TEST_F(MainMenuTest, DrawsTheMenuWithTheHighlightedButton)
{
    menu_script.highlighted = ITEM_HELP;
    SDL_ShowCursor(1);
    leave_by_the_last_item(menu, screen.surface);
    EXPECT_EQ(map_colour(screen.surface, 0, 0, 200), pixel_at(screen.surface, 400, 400));
    for (int item = 0; item < ITEM_LEAVE; item++) EXPECT_FALSE(is_highlighted(screen.surface, item)) << item;
    EXPECT_TRUE(is_highlighted(screen.surface, ITEM_LEAVE));
    // The button is copied exactly: its corners, not a pixel beyond.
    EXPECT_EQ(map_colour(screen.surface, 200, 200, 0), pixel_at(screen.surface, 100, 250));
    EXPECT_EQ(map_colour(screen.surface, 200, 200, 0), pixel_at(screen.surface, 299, 289));
    EXPECT_EQ(map_colour(screen.surface, 0, 0, 200), pixel_at(screen.surface, 300, 289));
    EXPECT_EQ(map_colour(screen.surface, 0, 0, 200), pixel_at(screen.surface, 299, 290));
    EXPECT_EQ(map_colour(screen.surface, 0, 0, 200), pixel_at(screen.surface, 99, 250));
    EXPECT_EQ(0, SDL_ShowCursor(-1));
}

TEST_F(MainMenuTest, ANewGameStartsAtTheFirstLevelWithFullAirSupport)
{
    menu_script.highlighted = 0;
    settings.laser = 3;
    game.level_index = 4;
    game.score = 900;
    game.laser_energy = 0;
    menu.press(SDLK_RETURN);
    EXPECT_EQ((std::vector<long long>{2, 0, 0, 3, -1, 0}),
              (std::vector<long long>{run_main_menu(screen.surface), game.level_index, game.score, game.laser_energy,
                                      menu_script.chosen, menu.input.dry_waits}));
}

TEST_F(MainMenuTest, DownAndReturnInOnePassConfirmTheNewItem)
{
    menu_script.highlighted = 3;
    // The first press moves to the last item; with Down still held, the
    // Return press moves on round to the new game and confirms it.
    menu.press(SDLK_DOWN);
    menu.press(SDLK_RETURN);
    EXPECT_EQ(2, run_main_menu(screen.surface));
    EXPECT_EQ(0, menu_script.highlighted);
    EXPECT_EQ(0, menu.input.dry_waits);
}

TEST_F(MainMenuTest, EveryEventLetsHeldKeysActAgain)
{
    menu_script.highlighted = 0;
    // Down held through two mouse motions moves three times...
    menu.press(SDLK_DOWN);
    scripted_push_motion(menu.input, 10, 10);
    scripted_push_motion(menu.input, 11, 10);
    // ...and no more once it is let go.
    menu.release(SDLK_DOWN);
    scripted_push_motion(menu.input, 12, 10);
    leave_by_the_last_item(menu, screen.surface);
}

// The help and the table each stay until a key is pressed once they show: a
// release, a motion or a key pressed before does not end them.
TEST_F(MainMenuTest, HelpAndTopTenShowUntilAKeyIsPressed)
{
    const struct {
        int item, steps_to_leave;
        Uint8 r, g, b;
    } cases[] = {{ITEM_HELP, 1, 0, 200, 0}, {ITEM_TOP_TEN, 2, 200, 0, 200}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.item);
        scripted_reset(menu.input);
        Watch watch = {screen.surface, {}};
        menu.input.on_wait = watch_screen;
        menu.input.user = &watch;
        menu_script.highlighted = c.item;
        menu.release(SDLK_RETURN);               // wait 1
        scripted_push_motion(menu.input, 5, 5);  // wait 2
        menu.press(SDLK_SPACE);                  // wait 3: closes it
        menu.release(SDLK_SPACE);                // wait 4: the menu again
        for (int i = 0; i < c.steps_to_leave; i++) menu.tap(SDLK_DOWN);
        menu.press(SDLK_RETURN);
        answer_when_shown(menu.input);
        menu.press(SDLK_RETURN);                 // wait 0: opens the screen
        menu.press(SDLK_x);                      // pressed before it showed: no answer to it
        EXPECT_EQ(1, run_main_menu(screen.surface));
        EXPECT_EQ(ITEM_LEAVE, menu_script.chosen);
        EXPECT_EQ(0, menu.input.dry_waits);
        ASSERT_EQ(6u + 2 * c.steps_to_leave, watch.seen.size());
        EXPECT_EQ(map_colour(screen.surface, c.r, c.g, c.b), watch.seen[3]);
        EXPECT_EQ(map_colour(screen.surface, 0, 0, 200), watch.seen[5]);
    }
}

TEST_F(MainMenuTest, AnUnknownLevelCodeKeepsTheMenuOnTheCodeItem)
{
    menu_script.highlighted = ITEM_LEVEL_CODE;
    game.score = 77;
    game.level_index = 2;
    menu.press(SDLK_RETURN);            // opens the code entry
    menu.release(SDLK_RETURN);
    menu.press(SDLK_q, 'Q');            // a code no level has
    menu.release(SDLK_q);
    menu.press(SDLK_RETURN, '\r');      // ends the typing
    menu.release(SDLK_RETURN);
    // Three steps down from the code item reach the last item.
    menu.tap(SDLK_DOWN);
    menu.tap(SDLK_DOWN);
    menu.tap(SDLK_DOWN);
    menu.press(SDLK_RETURN);
    EXPECT_EQ((std::vector<long long>{1, ITEM_LEAVE, 0, 77, 2}),
              (std::vector<long long>{run_main_menu(screen.surface), menu_script.chosen, menu.input.dry_waits,
                                      game.score, game.level_index}));
}

TEST_F(MainMenuTest, ClosingTheWindowLeavesWhateverKeysAreHeld)
{
    menu_script.highlighted = ITEM_NEW_GAME;
    menu_script.chosen = -1;
    game.level_index = 3;
    menu.input.keys[SDLK_RETURN] = 1;  // held: any event the menu acted on would start a game
    scripted_push_quit(menu.input);
    menu.tap(SDLK_DOWN);
    EXPECT_EQ((std::vector<long long>{1, -1, ITEM_NEW_GAME, 3, 1}),
              (std::vector<long long>{run_main_menu(screen.surface), menu_script.chosen, menu_script.highlighted,
                                      game.level_index, platform_quit_requests()}));
    EXPECT_EQ(2, menu.input.count);  // the Down tap after it is never read
    EXPECT_EQ(0, menu.input.dry_waits);
}

// The help and the table end on the close request, and the menu is left
// without waiting for anything more.
TEST_F(MainMenuTest, ClosingTheWindowEndsTheHelpAndTheTableAndThenTheMenu)
{
    const int items[2] = {ITEM_HELP, ITEM_TOP_TEN};
    const Uint32 colours[2] = {map_colour(screen.surface, 0, 200, 0), map_colour(screen.surface, 200, 0, 200)};
    for (int i = 0; i < 2; i++) {
        scripted_reset(menu.input);
        Watch watch = {screen.surface, {}};
        menu.input.on_wait = watch_screen;
        menu.input.user = &watch;
        menu_script.highlighted = items[i];
        menu.release(SDLK_RETURN);  // wait 1
        scripted_push_quit(menu.input);  // wait 2
        menu.tap(SDLK_SPACE);
        answer_when_shown(menu.input);
        menu.press(SDLK_RETURN);    // wait 0: opens the screen
        EXPECT_EQ(1, run_main_menu(screen.surface));
        EXPECT_EQ(0, menu.input.dry_waits);
        EXPECT_EQ(2, menu.input.count);
        ASSERT_EQ(3u, watch.seen.size());
        EXPECT_EQ(colours[i], watch.seen[2]);
    }
}

TEST_F(MainMenuTest, TheHighlightSurvivesAReloadOfTheMenuScript)
{
    menu_script.highlighted = ITEM_HELP;
    menu_pictures();
    EXPECT_EQ(ITEM_HELP, menu_script.highlighted);
    leave_by_the_last_item(menu, screen.surface);
}

namespace {

// Which sound each wait found on the menu's channel.
struct SoundWatch {
    std::vector<Mix_Chunk*> chunk;
    std::vector<int> playing;
    std::vector<int> channels_playing;
};

void watch_sounds(ScriptedInput&, void* user)
{
    SoundWatch& watch = *(SoundWatch*)user;
    watch.chunk.push_back(Mix_GetChunk(4));
    watch.playing.push_back(Mix_Playing(4));
    watch.channels_playing.push_back(Mix_Playing(-1));
}

}  // namespace

TEST_F(MainMenuTest, OpeningMovingAndConfirmingSoundOnTheAnnouncementChannel)
{
    ASSERT_TRUE(open_audio());
    write_wav("SFX/menu.wav", 60000);
    write_wav("SFX/button.wav", 60000);
    write_wav("SFX/press.wav", 60000);
    load("menu_sound SFX/menu.wav button_sound SFX/button.wav press_sound SFX/press.wav");
    ASSERT_NE(nullptr, menu_script.press_sound);
    SoundWatch watch;
    menu.input.on_wait = watch_sounds;
    menu.input.user = &watch;
    menu_script.highlighted = ITEM_HELP;
    menu.press(SDLK_DOWN);    // wait 0
    menu.release(SDLK_DOWN);  // wait 1
    menu.press(SDLK_RETURN);  // wait 2
    EXPECT_EQ(1, run_main_menu(screen.surface));
    ASSERT_EQ(3u, watch.chunk.size());
    EXPECT_EQ(menu_script.menu_sound, watch.chunk[0]);
    EXPECT_EQ(1, watch.playing[0]);
    EXPECT_EQ(menu_script.button_sound, watch.chunk[1]);
    EXPECT_EQ(1, watch.playing[1]);
    EXPECT_EQ(1, watch.channels_playing[1]);  // the button cut the menu sound off
    EXPECT_EQ(menu_script.press_sound, Mix_GetChunk(4));
    EXPECT_EQ(1, Mix_Playing(4));
    EXPECT_EQ(1, Mix_Playing(-1));
    free_menu();
    close_audio();
}

TEST(MainMenuAlone, AScriptThatRunsOutIsNoticed)
{
    // No event can come: the menu gives up as if the player left, and the
    // scripted input tells that it was not the player's choice.
    TestScreen screen;
    Menu menu;
    menu_script.highlighted = ITEM_NEW_GAME;
    menu.tap(SDLK_DOWN);
    EXPECT_EQ(1, run_main_menu(screen.surface));
    EXPECT_EQ(1, menu.input.dry_waits);
    EXPECT_NE(ITEM_LEAVE, menu_script.chosen);
}

TEST(MainMenuAlone, WorksWithoutPictures)
{
    TestScreen screen;
    Menu menu;
    menu_script.highlighted = ITEM_NEW_GAME;
    menu.tap(SDLK_UP);
    menu.press(SDLK_RETURN);
    EXPECT_EQ(1, run_main_menu(screen.surface));
    EXPECT_EQ(ITEM_LEAVE, menu_script.chosen);
    menu.release(SDLK_RETURN);
    menu.tap(SDLK_DOWN);
    menu.press(SDLK_RETURN);
    EXPECT_EQ(2, run_main_menu(NULL));
    EXPECT_EQ(ITEM_NEW_GAME, menu_script.highlighted);
    EXPECT_EQ(0, menu.input.dry_waits);
}

namespace {

// A 200 x 100 loading picture in blue and a 100 x 10 bar in red, the bar
// 50, 40 from the picture's corner.
void loading_pictures()
{
    write_solid_bmp("GFX/loading.bmp", 200, 100, 0, 0, 200);
    write_solid_bmp("GFX/bar.bmp", 100, 10, 200, 0, 0);
    load("loading GFX/loading.bmp load_bar GFX/bar.bmp load_souradnice 50,40\n");
}

bool is_red(SDL_Surface* screen, int x, int y)
{
    return pixel_at(screen, x, y) == map_colour(screen, 200, 0, 0);
}

}  // namespace

TEST(LoadingScreen, FillsTheBarToThePercentage)
{
    TempDir dir;
    TestScreen screen;
    loading_pictures();
    SDL_FillRect(screen.surface, NULL, map_colour(screen.surface, 0, 200, 0));

    draw_loading_screen(screen.surface, 0);
    EXPECT_EQ(0u, pixel_at(screen.surface, 5, 5));
    EXPECT_EQ(map_colour(screen.surface, 0, 0, 200), pixel_at(screen.surface, 221, 191));
    EXPECT_EQ(map_colour(screen.surface, 0, 0, 200), pixel_at(screen.surface, 271, 231));

    draw_loading_screen(screen.surface, 20);
    EXPECT_TRUE(is_red(screen.surface, 289, 235));
    EXPECT_FALSE(is_red(screen.surface, 290, 235));

    draw_loading_screen(screen.surface, 100);
    EXPECT_TRUE(is_red(screen.surface, 369, 239));
    EXPECT_FALSE(is_red(screen.surface, 370, 239));

    draw_loading_screen(screen.surface, 500);
    EXPECT_FALSE(is_red(screen.surface, 370, 239));
}

TEST(LoadingScreen, WithoutPicturesTheScreenIsCleared)
{
    TestScreen screen;
    SDL_FillRect(screen.surface, NULL, map_colour(screen.surface, 0, 200, 0));
    draw_loading_screen(screen.surface, 50);
    EXPECT_EQ(0u, pixel_at(screen.surface, 320, 240));
    draw_loading_screen(NULL, 50);
}

namespace {

// Share (per cent) of a button's pixels on the screen that show the picture.
int button_share(SDL_Surface* screen, SDL_Surface* picture, const MenuButton& button)
{
    int same = 0, all = 0;
    for (int y = button.y; y < button.y + button.h; y += 3)
        for (int x = button.x; x < button.x + button.w; x += 3) {
            Uint8 r, g, b;
            colour_at(picture, x, y, &r, &g, &b);
            same += pixel_at(screen, x, y) == map_colour(screen, r, g, b);
            all++;
        }
    return all > 0 ? 100 * same / all : 0;
}

}  // namespace

TEST(MainMenuAlone, TheDataSetsMenuHighlightsOneButtonAtATime)
{
    TempDir dir;
    TestScreen screen;
    ASSERT_TRUE(copy_data_set()) << "the run folder " ABYSSOR_RUN_DIR " lacks the data set: build the game first";
    Captured log = capture([] { load_menu("SCRIPT/menu.scr"); });
    EXPECT_EQ("", log.err);
    ASSERT_NE(nullptr, menu_script.main_picture);
    ASSERT_NE(nullptr, menu_script.highlight_picture);
    for (SDL_Surface* picture : {menu_script.code_picture, menu_script.topten_picture, menu_script.help_picture,
                                 menu_script.font, menu_script.highscore_picture, menu_script.loading_picture,
                                 menu_script.bar_picture})
        EXPECT_NE(nullptr, picture);
    for (const MenuButton& button : menu_script.buttons) {
        EXPECT_GE(button.x, 0);
        EXPECT_GE(button.y, 0);
        EXPECT_LE(button.x + button.w, menu_script.main_picture->w);
        EXPECT_LE(button.y + button.h, menu_script.main_picture->h);
    }

    Menu menu;
    menu_script.highlighted = ITEM_HELP;
    leave_by_the_last_item(menu, screen.surface);
    for (int item = 0; item < MENU_ITEMS; item++) {
        SDL_Surface* expected = item == ITEM_LEAVE ? menu_script.highlight_picture : menu_script.main_picture;
        EXPECT_EQ(100, button_share(screen.surface, expected, menu_script.buttons[item])) << item;
    }
    // The two pictures differ where the buttons lie, or no highlight could be seen.
    EXPECT_LT(button_share(screen.surface, menu_script.main_picture, menu_script.buttons[ITEM_LEAVE]), 50);
    free_menu();
}
