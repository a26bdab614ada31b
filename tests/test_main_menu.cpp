#include <gtest/gtest.h>
#include <string.h>

#include <sstream>
#include <string>
#include <vector>

#include "game_state.h"
#include "main_menu.h"
#include "menu.h"
#include "platform.h"
#include "settings.h"
#include "support.h"
#include "topten.h"

namespace {

Captured load(const std::string& text) { return load_script("SCRIPT/menu.scr", text, load_menu); }

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

// The menu plays its sound on opening, the button sound on every move
// (cutting the other off) and the press sound on Return, all on the
// announcement channel.
TEST(MainMenu, SoundsOnTheAnnouncementChannel)
{
    TempDir dir;
    TestScreen screen;
    ScriptedSession menu;
    ASSERT_TRUE(open_audio());
    write_wav("SFX/m.wav", 60000);
    write_wav("SFX/b.wav", 60000);
    load("menu_sound SFX/m.wav button_sound SFX/b.wav press_sound SFX/m.wav");
    std::vector<Mix_Chunk*> chunks;
    menu.input.on_wait = [](ScriptedInput&, void* user) {
        ((std::vector<Mix_Chunk*>*)user)->push_back(Mix_Playing(-1) == 1 ? Mix_GetChunk(4) : NULL);
    };
    menu.input.user = &chunks;
    menu_script.highlighted = ITEM_HELP;
    push_events(menu.input, "Down +Return");
    EXPECT_EQ(1, run_main_menu(screen.surface));
    EXPECT_EQ((std::vector<Mix_Chunk*>{menu_script.menu_sound, menu_script.button_sound, menu_script.button_sound}), chunks);
    EXPECT_EQ(menu_script.press_sound, Mix_GetChunk(4)) << "the sound as the menu is left";
    EXPECT_EQ(1, Mix_Playing(-1)) << "channels playing";
    close_audio();
}

// What a visit of the menu left: what it returned (1 leave, 2 play), the
// item chosen and highlighted, the game's level, score and support calls,
// the waits that found no event, the events left unread, the close requests.
struct MenuVisit {
    long long result, chosen, highlighted, level_index, score, laser_energy, dry_waits, left, requests;
};

bool operator==(const MenuVisit& a, const MenuVisit& b)
{
    return memcmp(&a, &b, sizeof a) == 0;
}

std::ostream& operator<<(std::ostream& out, const MenuVisit& v)
{
    return out << "{result " << v.result << ", chosen " << v.chosen << ", highlighted " << v.highlighted << ", level "
               << v.level_index << ", score " << v.score << ", support calls " << v.laser_energy << ", dry waits "
               << v.dry_waits << ", left unread " << v.left << ", close requests " << v.requests << "}";
}

// Each case starts on an item with the game at level 4, score 900, no air
// support and 3 calls of it a game, and reads the events (and the answers
// to a screen the menu opens, given once it shows). Every event lets the
// keys held at that moment act; Up and Down wrap round.
TEST(MainMenu, KeysMoveTheHighlightAndReturnActsOnTheItem)
{
    TempDir dir;
    TestScreen screen;
    menu_pictures();
    const MenuVisit LEFT = {1, ITEM_LEAVE, ITEM_LEAVE, 4, 900, 0, 0, 0, 0};
    const MenuVisit NEW_GAME = {2, -1, ITEM_NEW_GAME, 0, 0, 3, 0, 0, 0};
    const struct {
        int start;
        const char* events;
        MenuVisit after;
        const char* answers;
    } cases[] = {
        {ITEM_HELP, "Down +Return", LEFT, ""},
        {ITEM_NEW_GAME, "Up +Return", LEFT, ""},
        {ITEM_NEW_GAME, "+Return", NEW_GAME, ""},
        // The first press moves to the last item; with Down still held, the
        // Return press moves on round to the new game and confirms it.
        {ITEM_HELP, "+Down +Return", NEW_GAME, ""},
        // Down held through two motions moves three times, and no more once let go.
        {ITEM_NEW_GAME, "+Down move move -Down move Down +Return", LEFT, ""},
        // A code no level has keeps the menu on the code item.
        {ITEM_LEVEL_CODE, "Return", LEFT, "Q Return Down Down Down +Return"},
        // Closing the window leaves whatever keys are held; the Down after it is never read.
        {ITEM_NEW_GAME, "held quit Down", {1, -1, ITEM_NEW_GAME, 4, 900, 0, 0, 2, 1}, ""},
        // No event can come: the menu is left, and not by the player's choice.
        {ITEM_NEW_GAME, "Down", {1, -1, 1, 4, 900, 0, 1, 0, 0}, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.events) + " / " + c.answers);
        ScriptedSession menu;
        menu_script.highlighted = c.start;
        menu_script.chosen = -1;
        game.level_index = 4;
        game.score = 900;
        game.laser_energy = 0;
        settings.laser = 3;
        if (*c.answers != 0) {
            push_events(menu.input, c.answers);
            answer_when_shown(menu.input);
        }
        push_events(menu.input, c.events);
        long long result = run_main_menu(screen.surface);
        EXPECT_EQ(c.after, (MenuVisit{result, menu_script.chosen, menu_script.highlighted, game.level_index, game.score,
                                      game.laser_energy, menu.input.dry_waits, menu.input.count,
                                      platform_quit_requests()}));
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
