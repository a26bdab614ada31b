#include "menu.h"

#include <stdio.h>

#include "graphics_bank.h"
#include "media.h"
#include "script.h"
#include "sounds.h"
#include "video.h"

MenuScript menu_script;

enum MenuValue { MENU_PICTURE, MENU_KEYED_PICTURE, MENU_SOUND, MENU_NUMBERS };

// A key of "SCRIPT/menu.scr" and the field its value goes to.
struct MenuKey {
    const char* key;
    MenuValue value;
    SDL_Surface** picture;
    Mix_Chunk** sound;
    int* numbers[4];
    int count;
};

static constexpr MenuKey picture_key(const char* key, SDL_Surface** field, int keyed)
{
    return MenuKey{key, keyed ? MENU_KEYED_PICTURE : MENU_PICTURE, field, NULL, {NULL, NULL, NULL, NULL}, 0};
}

static constexpr MenuKey sound_key(const char* key, Mix_Chunk** field)
{
    return MenuKey{key, MENU_SOUND, NULL, field, {NULL, NULL, NULL, NULL}, 0};
}

static constexpr MenuKey numbers_key(const char* key, int count, int* a, int* b, int* c = NULL, int* d = NULL)
{
    return MenuKey{key, MENU_NUMBERS, NULL, NULL, {a, b, c, d}, count};
}

static constexpr MenuKey button_key(const char* key, MenuButton* button)
{
    return numbers_key(key, 4, &button->x, &button->y, &button->w, &button->h);
}

// Every word is tested against every key in this order; each key it contains
// reads its own value.
static const MenuKey MENU_KEYS[] = {
    picture_key("main1", &menu_script.main_picture, 0),
    picture_key("main2", &menu_script.highlight_picture, 0),
    picture_key("top_ten", &menu_script.topten_picture, 0),
    picture_key("code", &menu_script.code_picture, 0),
    picture_key("loading", &menu_script.loading_picture, 1),
    picture_key("load_bar", &menu_script.bar_picture, 1),
    picture_key("help", &menu_script.help_picture, 0),
    picture_key("font", &menu_script.font, 0),
    sound_key("menu_sound", &menu_script.menu_sound),
    sound_key("button_sound", &menu_script.button_sound),
    sound_key("press_sound", &menu_script.press_sound),
    sound_key("gameover", &menu_script.gameover_sound),
    sound_key("prepare", &menu_script.prepare_sound),
    sound_key("level_completed", &menu_script.level_completed_sound),
    sound_key("over_heat", &menu_script.overheat_sound),
    picture_key("high_score", &menu_script.highscore_picture, 0),
    button_key("b_new_game", &menu_script.buttons[ITEM_NEW_GAME]),
    button_key("b_kod", &menu_script.buttons[ITEM_LEVEL_CODE]),
    numbers_key("load_souradnice", 2, &menu_script.bar_x, &menu_script.bar_y),
    numbers_key("high_souradnice", 2, &menu_script.name_x, &menu_script.name_y),
    numbers_key("ten_souradnice", 3, &menu_script.table_x, &menu_script.table_y, &menu_script.table_spacing),
    button_key("b_top-ten", &menu_script.buttons[ITEM_TOP_TEN]),
    button_key("b_pomoc", &menu_script.buttons[ITEM_HELP]),
    button_key("b_exit", &menu_script.buttons[ITEM_LEAVE]),
    numbers_key("c_pos", 3, &menu_script.code_x, &menu_script.code_y, &menu_script.code_width),
};

static void free_picture(SDL_Surface*& picture)
{
    free_bitmap(picture);
    picture = NULL;
}

// A reload without a release in between replaces what the field held.
static void read_picture(ScriptReader& reader, const char* path, const MenuKey& key)
{
    char name[SCRIPT_WORD_SIZE];
    if (script_word(reader, name, SCRIPT_WORD_SIZE) == SCRIPT_EOF) return;
    free_picture(*key.picture);
    *key.picture = load_bitmap(name, key.value == MENU_KEYED_PICTURE ? 1 : 0);
    if (*key.picture != NULL) printf("SKRIPT : %s : Nahrana bitmapa %s\n", path, name);
}

static void read_sound(ScriptReader& reader, const MenuKey& key)
{
    char name[SCRIPT_WORD_SIZE];
    if (script_word(reader, name, SCRIPT_WORD_SIZE) == SCRIPT_EOF) return;
    release_sound(*key.sound);
    *key.sound = load_sound(name);
}

static void read_numbers(ScriptReader& reader, const MenuKey& key)
{
    int values[4];
    for (int i = 0; i < key.count; i++) values[i] = *key.numbers[i];
    script_int_list(reader, values, key.count);
    for (int i = 0; i < key.count; i++) *key.numbers[i] = values[i];
}

void load_menu(const char* path)
{
    ScriptReader reader;
    if (!script_open(reader, path)) {
        report_unreadable_script(path);
        return;
    }
    char word[SCRIPT_WORD_SIZE];
    while (script_word(reader, word, SCRIPT_WORD_SIZE) != SCRIPT_EOF) {
        for (const MenuKey& key : MENU_KEYS) {
            if (!word_has(word, key.key)) continue;
            if (key.value == MENU_SOUND)
                read_sound(reader, key);
            else if (key.value == MENU_NUMBERS)
                read_numbers(reader, key);
            else
                read_picture(reader, path, key);
        }
    }
    script_close(reader);
}

// The announcement and overheat sounds stay: the screens of a level use them.
void free_menu()
{
    free_picture(menu_script.code_picture);
    free_picture(menu_script.topten_picture);
    free_picture(menu_script.help_picture);
    free_picture(menu_script.main_picture);
    free_picture(menu_script.highlight_picture);
    free_picture(menu_script.font);
    free_picture(menu_script.highscore_picture);
    free_picture(menu_script.loading_picture);
    free_picture(menu_script.bar_picture);
    release_sound(menu_script.press_sound);
    release_sound(menu_script.button_sound);
    release_sound(menu_script.menu_sound);
}

void reset_menu()
{
    free_menu();
    release_sound(menu_script.prepare_sound);
    release_sound(menu_script.gameover_sound);
    release_sound(menu_script.level_completed_sound);
    release_sound(menu_script.overheat_sound);
    menu_script = MenuScript();
}

void draw_loading_screen(SDL_Surface* screen, int percentage)
{
    if (screen == NULL) return;
    SDL_FillRect(screen, NULL, 0);
    SDL_Surface* picture = menu_script.loading_picture;
    int x = screen->w / 2 - (picture != NULL ? picture->w / 2 : 0);
    int y = screen->h / 2 - (picture != NULL ? picture->h / 2 : 0);
    draw_bitmap(picture, screen, x, y);
    SDL_Surface* bar = menu_script.bar_picture;
    if (percentage != 0 && bar != NULL) {
        long long width = (long long)bar->w * percentage / 100;
        if (width > bar->w) width = bar->w;
        if (width > 0 && bar->h > 0)
            draw_bitmap_part(bar, 0, 0, (int)width, bar->h, screen, x + menu_script.bar_x, y + menu_script.bar_y);
    }
    video_flip(screen);
}
