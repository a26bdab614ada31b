#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "game_state.h"
#include "menu.h"
#include "platform.h"
#include "settings.h"
#include "support.h"
#include "topten.h"

namespace {

Captured load(const std::string& text) { return load_script("SCRIPT/menu.scr", text, load_menu); }

// The pictures by width ("k" when keyed, "-" for none), then every place.
std::string menu_state()
{
    const MenuScript& m = menu_script;
    std::string state;
    for (SDL_Surface* p : {m.main_picture, m.highlight_picture, m.topten_picture, m.code_picture, m.loading_picture,
                           m.bar_picture, m.help_picture, m.font, m.highscore_picture})
        state += p == NULL ? "- " : std::to_string(p->w) + ((p->flags & SDL_SRCCOLORKEY) != 0 ? "k " : " ");
    for (int v : {m.bar_x, m.bar_y, m.name_x, m.name_y, m.table_x, m.table_y, m.table_spacing, m.code_x, m.code_y, m.code_width})
        state += std::to_string(v) + ",";
    for (const MenuButton& b : m.buttons) state += " " + std::to_string(b.x) + "," + std::to_string(b.y) + "," + std::to_string(b.w) + "," + std::to_string(b.h);
    return state;
}

// Buttons stacked 50 pixels apart, 200 x 40 each.
const char* BUTTONS = "b_new_game 100,50,200,40 b_kod 100,100,200,40 b_top-ten 100,150,200,40 b_pomoc 100,200,200,40 "
                      "b_exit 100,250,200,40\n";

// A menu of buttons and a font to type a code in.
void menu_pictures()
{
    write_block_font("GFX/font.bmp", 6, 10, 255, 255, 255);
    load(std::string("font GFX/font.bmp\n") + BUTTONS);
}

// Scripted events: "+Key" a press, "-Key" a release, "Key" both, "move" a
// motion, "quit" a close request, "held" Return held without an event.
void push_events(ScriptedInput& input, const char* events)
{
    std::istringstream words(events);
    for (std::string word; words >> word;) {
        std::string name = word[0] == '+' || word[0] == '-' ? word.substr(1) : word;
        if (word == "move") scripted_push_motion(input, 10, 10);
        if (word == "quit") scripted_push_quit(input);
        if (word == "held") input.keys[SDLK_RETURN] = 1;
        if (word == "move" || word == "quit" || word == "held") continue;
        SDLKey key = name == "Up" ? SDLK_UP : name == "Down" ? SDLK_DOWN : name == "Return" ? SDLK_RETURN : name == "Space" ? SDLK_SPACE : SDLK_q;
        Uint16 character = key == SDLK_RETURN ? '\r' : key == SDLK_q ? 'Q' : 0;
        if (word[0] != '-') scripted_push_key(input, key, 1, character);
        if (word[0] != '+') scripted_push_key(input, key, 0, 0);
    }
}

}  // namespace

// The loading picture and its bar are keyed, the other pictures not; keys
// act inside longer words and one word may hold several; a missing picture
// leaves its field empty without the loaded line.
TEST(MenuScript, ReadsEveryKeyAndReportsEachPicture)
{
    TempDir dir;
    for (int i = 1; i <= 6; i++) write_solid_bmp("GFX/" + std::to_string(i) + ".bmp", i, 8, 0, 0, 200);
    const struct {
        std::string script, out, err, state;
    } cases[] = {
        {"loading GFX/5.bmp\nload_bar GFX/6.bmp\nload_souradnice 12,34\n" + std::string(BUTTONS),
         prefixed_lines("SKRIPT : SCRIPT/menu.scr : Nahrana bitmapa ", {"GFX/5.bmp", "GFX/6.bmp"}), "",
         "- - - - 5k 6k - - - 12,34,0,0,0,0,0,0,0,0, 100,50,200,40 100,100,200,40 100,150,200,40 100,200,200,40 100,250,200,40"},
        // "b_kod" is tested before "b_exit".
        {"xmain1x GFX/1.bmp main1+main2 GFX/1.bmp GFX/2.bmp b_exitb_kod 1,2,3,4 5,6,7,8 help chybi.bmp",
         prefixed_lines("SKRIPT : SCRIPT/menu.scr : Nahrana bitmapa ", {"GFX/1.bmp", "GFX/1.bmp", "GFX/2.bmp"}),
         "Nemohu nahrat soubor : chybi.bmp. Chyba: Couldn't open chybi.bmp\n",
         "1 2 - - - - - - - 0,0,0,0,0,0,0,0,0,0, 0,0,0,0 1,2,3,4 0,0,0,0 0,0,0,0 5,6,7,8"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.script);
        reset_menu();
        Captured log = load(c.script);
        EXPECT_EQ(c.out, log.out);
        EXPECT_EQ(c.err, log.err);
        EXPECT_EQ(c.state, menu_state());
    }
    // The release frees the pictures and keeps the places for the next visit;
    // an unreadable file leaves the record as it was.
    load(cases[0].script);
    free_menu();
    Captured log = capture([] { load_menu("SCRIPT/chybi.scr"); });
    EXPECT_EQ("Nemohu nahrat soubor : SCRIPT/chybi.scr\n", log.err);
    EXPECT_EQ("- - - - - - - - - " + cases[0].state.substr(cases[0].state.find("12,34")), menu_state());
}

// With audio on the sounds load; the menu plays its sound on opening, the
// button sound on every move (cutting the other off) and the press sound
// on Return, all on the announcement channel. The release frees only the
// menu's own sounds, and a reload replaces the announcement it kept.
TEST(MenuScript, SoundsLoadWithAudioOnAndSoundOnTheAnnouncementChannel)
{
    TempDir dir;
    TestScreen screen;
    ScriptedSession menu;
    ASSERT_TRUE(open_audio());
    write_wav("SFX/m.wav", 60000);
    write_wav("SFX/b.wav", 60000);
    EXPECT_EQ("Nemohu nahrat soubor : SFX/chybi.wav !!!\n", load("menu_sound SFX/m.wav button_sound SFX/b.wav press_sound "
                                                                 "SFX/m.wav prepare SFX/b.wav gameover NULL over_heat SFX/chybi.wav").err);
    std::vector<Mix_Chunk*> chunks;
    menu.input.on_wait = [](ScriptedInput&, void* user) {
        ((std::vector<Mix_Chunk*>*)user)->push_back(Mix_Playing(-1) == 1 ? Mix_GetChunk(4) : NULL);
    };
    menu.input.user = &chunks;
    menu_script.highlighted = ITEM_HELP;
    push_events(menu.input, "Down +Return");
    EXPECT_EQ(1, run_main_menu(screen.surface));
    EXPECT_EQ((std::vector<Mix_Chunk*>{menu_script.menu_sound, menu_script.button_sound, menu_script.button_sound}), chunks);
    EXPECT_EQ((std::vector<long long>{(long long)menu_script.press_sound, 1}), (std::vector<long long>{(long long)Mix_GetChunk(4), Mix_Playing(-1)}));
    free_menu();
    EXPECT_EQ((std::vector<bool>{false, false, false, true}), (std::vector<bool>{menu_script.menu_sound != NULL, menu_script.button_sound != NULL,
                                                                               menu_script.press_sound != NULL, menu_script.prepare_sound != NULL}));
    load("prepare SFX/m.wav");
    EXPECT_NE(nullptr, menu_script.prepare_sound);
    close_audio();
}

// Each case starts on an item with the game at level 4, score 900, no air
// support and 3 calls of it a game, and reads the events; then what the
// menu returned (1 leave, 2 play), the item chosen and highlighted, the
// game's level, score and support, the waits with no event left, the
// events left unread and the close requests. Every event lets the keys
// held at that moment act; Up and Down wrap round.
TEST(MainMenu, KeysMoveTheHighlightAndReturnActsOnTheItem)
{
    TempDir dir;
    TestScreen screen;
    menu_pictures();
    const struct {
        int start;
        const char* events;
        std::vector<long long> after;
        const char* answers = nullptr;  // given once a screen the menu opens shows
    } cases[] = {
        {ITEM_HELP, "Down +Return", {1, ITEM_LEAVE, ITEM_LEAVE, 4, 900, 0, 0, 0, 0}},
        {ITEM_NEW_GAME, "Up +Return", {1, ITEM_LEAVE, ITEM_LEAVE, 4, 900, 0, 0, 0, 0}},
        {ITEM_NEW_GAME, "+Return", {2, -1, ITEM_NEW_GAME, 0, 0, 3, 0, 0, 0}},
        // The first press moves to the last item; with Down still held, the
        // Return press moves on round to the new game and confirms it.
        {ITEM_HELP, "+Down +Return", {2, -1, ITEM_NEW_GAME, 0, 0, 3, 0, 0, 0}},
        // Down held through two motions moves three times, and no more once let go.
        {ITEM_NEW_GAME, "+Down move move -Down move Down +Return", {1, ITEM_LEAVE, ITEM_LEAVE, 4, 900, 0, 0, 0, 0}},
        // A code no level has keeps the menu on the code item.
        {ITEM_LEVEL_CODE, "Return", {1, ITEM_LEAVE, ITEM_LEAVE, 4, 900, 0, 0, 0, 0}, "Q Return Down Down Down +Return"},
        // Closing the window leaves whatever keys are held; the Down after it is never read.
        {ITEM_NEW_GAME, "held quit Down", {1, -1, ITEM_NEW_GAME, 4, 900, 0, 0, 2, 1}},
        // No event can come: the menu is left, and not by the player's choice.
        {ITEM_NEW_GAME, "Down", {1, -1, 1, 4, 900, 0, 1, 0, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.events);
        ScriptedSession menu;
        menu_script.highlighted = c.start;
        menu_script.chosen = -1;
        game.level_index = 4;
        game.score = 900;
        game.laser_energy = 0;
        settings.laser = 3;
        if (c.answers != nullptr) {
            push_events(menu.input, c.answers);
            answer_when_shown(menu.input);
        }
        push_events(menu.input, c.events);
        long long result = run_main_menu(screen.surface);
        EXPECT_EQ(c.after, (std::vector<long long>{result, menu_script.chosen, menu_script.highlighted, game.level_index,
                                                    game.score, game.laser_energy, menu.input.dry_waits,
                                                    menu.input.count, platform_quit_requests()}));
    }
}

// The help and the table each stay until a key is pressed once they show:
// a release, a motion or a key pressed before does not end them; a close
// request ends them. Each case: the screen, the events once it shows, the
// events left unread.
TEST(MainMenu, HelpAndTopTenShowUntilAKeyIsPressedOrTheWindowCloses)
{
    TempDir dir;
    TestScreen screen;
    menu_pictures();
    const struct {
        const char* screen;
        void (*show)(SDL_Surface* screen);
        const char* answers;
        int left;
    } cases[] = {
        {"help", show_help, "-Return move +Space -Space", 1},
        {"table", show_topten, "-Return move +Space -Space", 1},
        {"help", show_help, "-Return quit Space", 2},
        {"table", show_topten, "-Return quit Space", 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.screen) + ": " + c.answers);
        ScriptedSession menu;
        push_events(menu.input, c.answers);
        answer_when_shown(menu.input);
        push_events(menu.input, "+Q");  // pressed before it showed: no answer to it
        c.show(screen.surface);
        EXPECT_EQ(0, menu.input.dry_waits) << "waits that found no input";
        EXPECT_EQ(c.left, menu.input.count) << "events left unread";
    }
}

// The loading picture (200 x 100, blue) is centred on a cleared screen with
// the bar (100 x 10, red) 50, 40 from its corner, filled to the percentage.
TEST(LoadingScreen, FillsTheBarToThePercentage)
{
    TempDir dir;
    TestScreen screen;
    draw_loading_screen(screen.surface, 50);  // without pictures: only cleared
    write_solid_bmp("GFX/loading.bmp", 200, 100, 0, 0, 200);
    write_solid_bmp("GFX/bar.bmp", 100, 10, 200, 0, 0);
    load("loading GFX/loading.bmp load_bar GFX/bar.bmp load_souradnice 50,40\n");
    const int xs[6] = {5, 221, 271, 289, 290, 369}, ys[6] = {5, 191, 231, 235, 235, 239};
    for (int percentage : {0, 20, 100, 500}) {
        std::string shown;  // black, Blue or Red at each point
        draw_loading_screen(screen.surface, percentage);
        for (int i = 0; i < 6; i++) shown += "0BR"[(pixel_at(screen.surface, xs[i], ys[i]) == map_colour(screen.surface, 0, 0, 200)) + 2 * (pixel_at(screen.surface, xs[i], ys[i]) == map_colour(screen.surface, 200, 0, 0))];
        EXPECT_EQ(percentage == 0 ? "0BBBBB" : percentage == 20 ? "0BRRBB" : "0BRRRR", shown) << percentage;
    }
    draw_loading_screen(NULL, 50);
}
