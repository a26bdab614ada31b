#include "topten.h"

#include <stdio.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

#include "font.h"
#include "game_state.h"
#include "media.h"
#include "menu.h"
#include "platform.h"
#include "script.h"
#include "video.h"

TopTenTable topten;

// Names in "SCRIPT/topten.scr".
//
// A line is "name score level" and white space separates the fields, so a
// name is written as one word. Only what a word cannot hold is escaped, as
// "%" and two upper-case hex digits: a space ("%20") or other white space,
// and a percent sign that two hex digits follow ("%25"), so that it is not
// read as an escape. An empty name is the word "%00". Every other byte,
// windows-1250 letters and a lone "%" included, is written as it is, and
// reading decodes only these escapes: a table written by hand with one plain
// word per name reads back as it stands.

const int TOPTEN_NAME_LENGTH = TOPTEN_NAME_SIZE - 1;
// Room for a name of seven escaped bytes and the zero.
const int TOPTEN_WORD_SIZE = 3 * TOPTEN_NAME_LENGTH + 1;

static int hex_value(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

static int is_white(int c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// A percent sign followed by two hex digits: what an escape looks like.
static int looks_escaped(const char* text)
{
    return text[0] == '%' && hex_value(text[1]) >= 0 && hex_value(text[2]) >= 0;
}

void encode_topten_name(const char* name, char* word, int word_size)
{
    static const char HEX[] = "0123456789ABCDEF";
    int length = 0;
    // Only the seven characters kept are looked at, for what follows a "%" too.
    char kept[TOPTEN_NAME_SIZE];
    snprintf(kept, sizeof kept, "%s", name);
    if (kept[0] == '\0') {
        snprintf(word, word_size, "%%00");
        return;
    }
    for (int i = 0; kept[i] != '\0'; i++) {
        unsigned char c = (unsigned char)kept[i];
        if (is_white(c) || looks_escaped(kept + i)) {
            if (length + 3 >= word_size) break;
            word[length++] = '%';
            word[length++] = HEX[c >> 4];
            word[length++] = HEX[c & 15];
        } else {
            if (length + 1 >= word_size) break;
            word[length++] = (char)c;
        }
    }
    word[length] = '\0';
}

// The byte an escape at text stands for, or -1 when it is none the writing
// makes: white space, or "%25" before two hex digits.
static int escaped_byte(const char* text)
{
    if (!looks_escaped(text)) return -1;
    int c = hex_value(text[1]) * 16 + hex_value(text[2]);
    if (is_white(c)) return c;
    if (c == '%' && hex_value(text[3]) >= 0 && hex_value(text[4]) >= 0) return c;
    return -1;
}

void decode_topten_name(const char* word, char* name)
{
    int length = 0;
    if (strcmp(word, "%00") == 0) {
        name[0] = '\0';
        return;
    }
    for (int i = 0; word[i] != '\0' && length < TOPTEN_NAME_LENGTH; i++) {
        int c = escaped_byte(word + i);
        if (c >= 0)
            i += 2;
        else
            c = (unsigned char)word[i];
        name[length++] = (char)c;
    }
    name[length] = '\0';
}

// "%s %d %d": name, score, level. As with formatted input, a field that is
// not a number ends the entry there and is read again as the next name.
static int read_entry(ScriptReader& reader, TopTenEntry& entry)
{
    char word[SCRIPT_WORD_SIZE];
    if (script_word(reader, word, SCRIPT_WORD_SIZE) == SCRIPT_EOF) return 0;
    decode_topten_name(word, entry.name);
    if (script_int(reader, &entry.score) == 1) script_int(reader, &entry.level);
    return 1;
}

void load_topten(const char* path)
{
    ScriptReader reader;
    if (!script_open(reader, path)) {
        fprintf(stderr, "Nemohu otevrit soubor %s !!!\n", path);
        return;
    }
    int count = 0;
    while (count < TOPTEN_ENTRIES && read_entry(reader, topten.entries[count])) count++;
    script_close(reader);
}

void reset_topten()
{
    topten = TopTenTable();
}

// Bubble sort, best first; equal scores keep their order.
void sort_topten()
{
    int swapped = 1;
    while (swapped) {
        swapped = 0;
        for (int i = 0; i + 1 < TOPTEN_ENTRIES; i++) {
            if (topten.entries[i].score < topten.entries[i + 1].score) {
                TopTenEntry kept = topten.entries[i];
                topten.entries[i] = topten.entries[i + 1];
                topten.entries[i + 1] = kept;
                swapped = 1;
            }
        }
    }
}

// Writes every entry to an open file; 0 when anything failed to reach the disk.
static int write_entries(FILE* file)
{
    for (const TopTenEntry& entry : topten.entries) {
        char word[TOPTEN_WORD_SIZE];
        encode_topten_name(entry.name, word, TOPTEN_WORD_SIZE);
        if (fprintf(file, "%s %d %d\n", word, entry.score, entry.level) < 0) return 0;
    }
    if (fflush(file) != 0 || ferror(file)) return 0;
    return fsync(fileno(file)) == 0;
}

// The new table goes to a file of its own in the same folder and replaces
// the old one in a single rename, so a full disk or a crash half-way leaves
// the previous table as it was.
static int write_table_safely(const char* path)
{
    char temporary[1024];
    if (snprintf(temporary, sizeof temporary, "%s.tmp", path) >= (int)sizeof temporary) return 0;
    FILE* file = fopen(temporary, "w");
    if (file == NULL) return 0;
    // The new file keeps who may read and write the old one.
    struct stat old_file;
    if (stat(path, &old_file) == 0) fchmod(fileno(file), old_file.st_mode & 07777);
    int written = write_entries(file);
    if (fclose(file) != 0) written = 0;
    if (written && rename(temporary, path) == 0) return 1;
    remove(temporary);
    return 0;
}

void save_topten(const char* path)
{
    if (!write_table_safely(path)) fprintf(stderr, "Nemohu zapsat do souboru %s !!!\n", path);
}

int topten_qualifies(int score)
{
    for (const TopTenEntry& entry : topten.entries)
        if (entry.score < score) return 1;
    return 0;
}

// The result goes above the first entry it beats; an equal score stays below.
void insert_topten(const char* name, int score, int level_index)
{
    int place = 0;
    while (place < TOPTEN_ENTRIES && topten.entries[place].score >= score) place++;
    if (place == TOPTEN_ENTRIES) return;
    for (int i = TOPTEN_ENTRIES - 1; i > place; i--) topten.entries[i] = topten.entries[i - 1];
    TopTenEntry& entry = topten.entries[place];
    snprintf(entry.name, TOPTEN_NAME_SIZE, "%s", name);
    entry.score = score;
    entry.level = level_index + 1;
}

// Name at the left, level towards the right edge, score in the middle.
void draw_topten(SDL_Surface* screen)
{
    draw_bitmap(menu_script.topten_picture, screen, 0, 0);
    set_current_font(menu_script.font);
    if (screen == NULL) return;
    for (int i = 0; i < TOPTEN_ENTRIES; i++) {
        const TopTenEntry& entry = topten.entries[i];
        int y = menu_script.table_y + i * menu_script.table_spacing;
        char text[16];
        snprintf(text, sizeof text, "%s\n", entry.name);
        print_text(screen, menu_script.table_x, y, text);
        snprintf(text, sizeof text, "%3d\n", entry.level);
        print_text(screen, screen->w - 10 - menu_script.table_x, y, text);
        snprintf(text, sizeof text, "%11d\n", entry.score);
        print_text_centred(screen, y, text);
    }
}

// The table until a key is pressed after it is shown (or no event can come).
void show_topten(SDL_Surface* screen)
{
    draw_topten(screen);
    video_flip(screen);
    platform_await_fresh_input();
    platform_wait_key_press();
}

// After a game that beat an entry: the player types a name and the result
// enters the table. Should no input come at all, or the player close the
// window, the result still enters, with what was typed of the name.
void enter_name(SDL_Surface* screen)
{
    for (int buffer = 0; buffer < 2; buffer++) {
        draw_bitmap(menu_script.highscore_picture, screen, 0, 0);
        video_flip(screen);
    }
    set_current_font(menu_script.font);
    // Seven characters, as the table keeps them: what the player sees typed
    // is what is kept.
    char name[TOPTEN_NAME_SIZE] = "";
    SDL_Event event;
    platform_enable_unicode(1);  // so that the first letter typed is known
    // Keys pressed on the game-over screen (a second Return, a second Space)
    // are no part of the name; the first key pressed once it shows is.
    platform_await_fresh_input();
    if (platform_wait_event(&event)) {
        int font_height = menu_script.font != NULL ? menu_script.font->h : 0;
        // The event waited for may already be the name's first letter.
        read_text(screen, menu_script.name_x, menu_script.name_y, 8 * font_height, name, sizeof name, &event);
    }
    insert_topten(name, game.score, game.level_index);
}
