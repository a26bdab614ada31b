#include "panel.h"

#include <stdio.h>

#include "bonus.h"
#include "creatures.h"
#include "game_state.h"
#include "gun.h"
#include "media.h"
#include "script.h"
#include "settings.h"
#include "submarine.h"
#include "weapons.h"

Panel panel;

static const int PANEL_PICTURES = 13;
static const int PANEL_POSITIONS = 9;
static const int SPARE_PICTURE = 2;  // the one picture a script may leave out with "NULL"

// The pictures and positions in the order of their lines in "panel.scr".
static SDL_Surface** picture_slot(int i)
{
    SDL_Surface** slots[PANEL_PICTURES] = {
        &panel.background, &panel.heat_frame,  &panel.spare,          &panel.score_frame, &panel.heat_fill,
        &panel.ready_lamp, &panel.life_bar.bitmap, &panel.wreck.bitmap, &panel.support_icon,
        &panel.score_digits, &panel.timer_digits, &panel.tally_one,   &panel.tally_ten};
    return slots[i];
}

static PanelPosition* position_slot(int i)
{
    PanelPosition* slots[PANEL_POSITIONS] = {&panel.background_pos, &panel.life_pos,      &panel.support_pos,
                                             &panel.heat_frame_pos, &panel.spare_pos,     &panel.heat_fill_pos,
                                             &panel.lamp_pos,       &panel.score_frame_pos, &panel.score_pos};
    return slots[i];
}

// Positions beyond any screen are all the same: off it. Held within a range
// where adding a picture's size to them cannot overflow.
static int screen_coordinate(int value)
{
    const int far_off = 1000000;
    if (value < -far_off) return -far_off;
    if (value > far_off) return far_off;
    return value;
}

// A picture read over one left by an earlier load is released first.
static void replace_picture(SDL_Surface** slot, SDL_Surface* picture)
{
    free_bitmap(*slot);
    *slot = picture;
}

void load_panel(const char* path)
{
    ScriptReader reader;
    if (!script_open(reader, path)) {
        report_unreadable_script(path);
        return;
    }
    char word[SCRIPT_WORD_SIZE];
    for (int i = 0; i < PANEL_PICTURES; i++) {
        if (script_word(reader, word, sizeof word) != 1) break;
        int left_out = i == SPARE_PICTURE && word_has(word, "NULL");
        replace_picture(picture_slot(i), left_out ? NULL : load_bitmap(word, 1));
    }
    for (int i = 0; i < PANEL_POSITIONS; i++) {
        int values[2] = {position_slot(i)->x, position_slot(i)->y};
        if (script_int_list(reader, values, 2) == SCRIPT_EOF) break;
        position_slot(i)->x = screen_coordinate(values[0]);
        position_slot(i)->y = screen_coordinate(values[1]);
    }
    script_close(reader);
}

// Every picture freed and its slot empty; the positions stay.
static void release_pictures()
{
    free_strip(panel.life_bar);
    free_strip(panel.wreck);
    for (int i = 0; i < PANEL_PICTURES; i++) {
        SDL_Surface** slot = picture_slot(i);
        if (slot == &panel.life_bar.bitmap || slot == &panel.wreck.bitmap) continue;
        free_bitmap(*slot);
        *slot = NULL;
    }
}

void free_panel()
{
    release_pictures();
    printf("UVOLNEN SKRIPT PANEL Z PAMETI\n");
}

void reset_panel()
{
    release_pictures();
    panel = Panel();
}

static int picture_width(SDL_Surface* picture)
{
    return picture != NULL ? picture->w : 0;
}

static int picture_height(SDL_Surface* picture)
{
    return picture != NULL ? picture->h : 0;
}

static void draw_at(SDL_Surface* picture, SDL_Surface* surface, PanelPosition at)
{
    draw_bitmap(picture, surface, at.x, at.y);
}

// The rows of a gauge that show value out of limit: none for a limit of 0 or
// less, never more than the picture has.
static int filled_rows(int rows, int value, int limit)
{
    if (limit <= 0 || value <= 0) return 0;
    long long filled = (long long)rows * value / limit;
    return filled > rows ? rows : (int)filled;
}

// The bottom rows of a gauge picture, in place: it fills from the bottom.
static void draw_gauge(SDL_Surface* picture, SDL_Surface* surface, PanelPosition at, int value, int limit)
{
    if (picture == NULL) return;
    int rows = filled_rows(picture->h, value, limit);
    draw_bitmap_part(picture, 0, picture->h - rows, picture->w, rows, surface, at.x, at.y + picture->h - rows);
}

// The decimal digits of a number from a strip of ten digit frames.
static void draw_number(SDL_Surface* digits, SDL_Surface* surface, int x, int y, int value)
{
    if (digits == NULL) return;
    char text[16];
    snprintf(text, sizeof text, "%d", value < 0 ? 0 : value);
    int w = digits->w / 10;
    for (int i = 0; text[i] != 0; i++)
        draw_bitmap_part(digits, (text[i] - '0') * w, 0, w, digits->h, surface, x + i * w, y);
}

// count copies of a picture side by side from x, gap pixels apart; only
// those that can show are drawn, however many a script asks for.
static void draw_row(SDL_Surface* picture, SDL_Surface* surface, int x, int y, int count, int gap)
{
    if (picture == NULL || surface == NULL) return;
    const long long step = picture->w + gap > 0 ? picture->w + gap : 1;
    long long first = x < 0 ? -(long long)x / step - 1 : 0;
    if (first < 0) first = 0;
    for (long long i = first; i < count; i++) {
        long long left = x + i * step;
        if (left >= surface->w) break;
        draw_bitmap(picture, surface, (int)left, y);
    }
}

static void draw_life(SDL_Surface* surface, const Submarine& submarine)
{
    if (submarine.active != 1) {
        draw_at(panel.wreck.bitmap, surface, panel.life_pos);
        return;
    }
    draw_gauge(panel.life_bar.bitmap, surface, panel.life_pos, submarine.zivoty, submarine.max_zivoty);
}

static void draw_heat(SDL_Surface* surface, int weapon)
{
    draw_at(panel.heat_frame, surface, panel.heat_frame_pos);
    draw_gauge(panel.heat_fill, surface, panel.heat_fill_pos, GunHeat, settings.max_teplota);
    // Lit while one more shot would still leave the gun below its limit.
    if ((long long)GunHeat + weapon_at(weapon).zahrivani < settings.max_teplota)
        draw_at(panel.ready_lamp, surface, panel.lamp_pos);
}

static void draw_score(SDL_Surface* surface)
{
    if (game.score < 0) game.score = 0;
    draw_at(panel.score_frame, surface, panel.score_frame_pos);
    draw_number(panel.score_digits, surface, panel.score_pos.x, panel.score_pos.y, game.score);
}

static SDL_Surface* bonus_picture(int type)
{
    if (type < 0 || type >= BONUS_TYPE_CAPACITY) return NULL;
    return bonus_catalogue.types[type].bitmap;
}

// Collected bonuses stack upward from the bottom-left corner, each with the
// frames its effect has left.
static void draw_bonus_timers(SDL_Surface* surface)
{
    int n = 0;
    for (int i = 0; i < BONUS_SLOTS; i++) {
        const Bonus& bonus = bonuses[i];
        if (bonus.active != 1 || bonus.collected != 1) continue;
        n += 1;
        SDL_Surface* picture = bonus_picture(bonus.type);
        int y = surface->h - picture_height(picture) * n - 1;
        draw_bitmap(picture, surface, 1, y);
        draw_number(panel.timer_digits, surface, 1 + picture_width(picture) + 1, y,
                    bonus.expiry - game.frame);
    }
}

// A column at the left edge: each kind's picture with a mark per ten and a
// mark per unit of the creatures still to come. Kinds with none left leave
// their place empty.
static void draw_tally(SDL_Surface* surface)
{
    int last = creature_type_last < CREATURE_TYPE_CAPACITY ? creature_type_last : CREATURE_TYPE_CAPACITY - 1;
    if (last < 0) return;
    int first_height = picture_height(creature_types[0].skore_b);
    for (int t = 0; t <= last; t++) {
        const CreatureType& kind = creature_types[t];
        long long left = (long long)kind.pocet - kind.finished;
        if (left <= 0) continue;
        int y = surface->h / 2 - (first_height * last) / 2 + picture_height(kind.skore_b) * t;
        draw_bitmap(kind.skore_b, surface, 1, y);
        int x = 1 + picture_width(kind.skore_b) + 1;
        int tens = (int)(left / 10);
        draw_row(panel.tally_ten, surface, x, y, tens, 0);
        long long ones_x = x + (long long)tens * picture_width(panel.tally_ten) + 1;
        if (ones_x < surface->w) draw_row(panel.tally_one, surface, (int)ones_x, y, (int)(left % 10), 0);
    }
}

void draw_panel(SDL_Surface* surface, int weapon, const Submarine& submarine)
{
    if (surface == NULL) return;
    draw_at(panel.background, surface, panel.background_pos);
    SDL_Surface* weapon_picture = weapon_at(weapon).menu;
    draw_bitmap(weapon_picture, surface, surface->w - picture_width(weapon_picture), 0);
    draw_life(surface, submarine);
    draw_heat(surface, weapon);
    draw_row(panel.support_icon, surface, panel.support_pos.x, panel.support_pos.y, game.laser_energy, 1);
    draw_score(surface);
    draw_bonus_timers(surface);
    if (game.show_tally == 1) draw_tally(surface);
}
