#include "intro.h"

#include <stdio.h>

#include "font.h"
#include "graphics_bank.h"
#include "media.h"
#include "menu.h"
#include "platform.h"
#include "random.h"
#include "script.h"
#include "video.h"

IntroScript intro_script;

static void replace_picture(SDL_Surface*& field, SDL_Surface* picture)
{
    free_bitmap(field);
    field = picture;
}

static void read_font(ScriptReader& reader)
{
    char name[SCRIPT_WORD_SIZE];
    if (script_word(reader, name, SCRIPT_WORD_SIZE) == SCRIPT_EOF) return;
    replace_picture(intro_script.font, load_bitmap(name, 1));
}

// "%s %d": a slide and its hold time. Slides beyond the table are read past.
static void read_picture(ScriptReader& reader)
{
    char name[SCRIPT_WORD_SIZE];
    int hold_ms = 0;
    if (script_word_int(reader, name, SCRIPT_WORD_SIZE, &hold_ms) == SCRIPT_EOF) return;
    if (intro_script.picture_count >= INTRO_PICTURES) return;
    IntroPicture& picture = intro_script.pictures[intro_script.picture_count++];
    replace_picture(picture.bitmap, load_bitmap(name, 0));
    picture.hold_ms = (Uint16)hold_ms;  // the low 16 bits
}

// One word per credit line; lines beyond the table are read past.
static void read_line(ScriptReader& reader)
{
    char line[INTRO_LINE_SIZE];
    if (script_word(reader, line, INTRO_LINE_SIZE) == SCRIPT_EOF) return;
    if (intro_script.line_count >= INTRO_LINES) return;
    snprintf(intro_script.lines[intro_script.line_count++], INTRO_LINE_SIZE, "%s", line);
}

void load_intro(const char* path)
{
    ScriptReader reader;
    if (!script_open(reader, path)) {
        report_unreadable_script(path);
        return;
    }
    char word[SCRIPT_WORD_SIZE];
    while (script_word(reader, word, SCRIPT_WORD_SIZE) != SCRIPT_EOF) {
        if (word_has(word, "font")) read_font(reader);
        if (word_has(word, "intro")) read_picture(reader);
        if (word_has(word, "outro")) read_line(reader);
        if (word_has(word, "krok1")) script_int(reader, &intro_script.transition_step);
        if (word_has(word, "krok2")) script_int(reader, &intro_script.scroll_step);
        if (word_has(word, "krok3")) script_int(reader, &intro_script.line_spacing);
    }
    script_close(reader);
}

void free_intro()
{
    for (IntroPicture& picture : intro_script.pictures) replace_picture(picture.bitmap, NULL);
    replace_picture(intro_script.font, NULL);
    intro_script.picture_count = 0;
    intro_script.line_count = 0;
}

void reset_intro()
{
    free_intro();
    intro_script = IntroScript();
}

// One frame of a slide with the new picture d pixels in.
static void draw_slide(SDL_Surface* from, SDL_Surface* to, SDL_Surface* screen, int kind, int d)
{
    switch (kind) {
    case 0: {  // left: the old picture's remaining columns, the new one after them
        int shown = from->w - d > 0 ? from->w - d : 0;
        draw_bitmap_part(from, d, 0, shown, from->h, screen, 0, 0);
        draw_bitmap_part(to, 0, 0, screen->w - shown, to->h, screen, shown, 0);
        break;
    }
    case 1:  // right: the old picture pushed right, the new one's right edge coming in
        draw_bitmap(from, screen, d, 0);
        draw_bitmap_part(to, to->w - d, 0, d, to->h, screen, 0, 0);
        break;
    case 2: {  // up
        int shown = from->h - d > 0 ? from->h - d : 0;
        draw_bitmap_part(from, 0, d, from->w, shown, screen, 0, 0);
        draw_bitmap_part(to, 0, 0, screen->w, screen->h - shown, screen, 0, shown);
        break;
    }
    case 3:  // down
        draw_bitmap_part(from, 0, 0, from->w, from->h - d, screen, 0, d);
        draw_bitmap_part(to, 0, to->h - d, screen->w, d, screen, 0, 0);
        break;
    default:
        break;
    }
}

// The slides and the credits read no input, but keep the queue drained: a
// player who moves the mouse while they play must not push a close request
// out of SDL's queue. Closing the window stops them: a player who closed it
// wants the game gone, not half a minute of names, whether the request made
// the game leave or came while they roll.
static int animation_cut_short()
{
    platform_drop_queued_events();
    return platform_quit_requested();
}

// A slide advances one step a frame, paced like a frame of the game (a
// flip alone waits for nothing on a software screen), and stops one step
// short of the end: whatever comes next draws over that last strip. A slide
// from or into a missing picture, or with no step forward, is left out.
// Closing the window stops it where it is.
void slide_transition(SDL_Surface* from, SDL_Surface* to, SDL_Surface* screen, int kind)
{
    int step = intro_script.transition_step;
    if (from == NULL || to == NULL || screen == NULL || step <= 0 || kind < 0 || kind > 3) return;
    int extent = kind == 0 || kind == 1 ? screen->w : screen->h;
    int frames = extent / step;
    for (int k = 0; k < frames && !animation_cut_short(); k++) {
        draw_slide(from, to, screen, kind, k * step);
        video_flip(screen);
        wait_frame();
    }
}

// Each slide for its own time, then a random slide (left or right) into the
// next one, and from the last into the main menu. Input is not read, but a
// close request cuts the intro short: the menu that follows sees it and the
// game leaves.
void play_intro(SDL_Surface* screen)
{
    int count = intro_script.picture_count;
    int kind = 0;
    for (int i = 0; i < count; i++) {
        draw_bitmap(intro_script.pictures[i].bitmap, screen, 0, 0);
        video_flip(screen);
        if (platform_delay_unless_quit(intro_script.pictures[i].hold_ms)) return;
        kind = random_value() % 2;
        if (i + 1 < count) slide_transition(intro_script.pictures[i].bitmap, intro_script.pictures[i + 1].bitmap, screen, kind);
    }
    if (count > 0) slide_transition(intro_script.pictures[count - 1].bitmap, menu_script.main_picture, screen, kind);
}


// The credits enter at the bottom edge and rise until the whole block and one
// font height more have left the top, one step a game frame so that they can
// be read. A spacing beyond a screen height would only stretch the scroll out
// for hours, so it is held at one screen.
void scroll_credits(SDL_Surface* screen, void (*show_frame)(SDL_Surface* screen))
{
    int step = intro_script.scroll_step;
    if (screen == NULL || step <= 0) return;  // no step forward: nothing would ever leave
    int spacing = intro_script.line_spacing;
    if (spacing > screen->h) spacing = screen->h;
    if (spacing < -screen->h) spacing = -screen->h;
    int font_height = current_font.bitmap != NULL ? current_font.bitmap->h : 0;
    long long top = screen->h;
    long long bottom = screen->h;
    while (bottom + font_height >= 1 && !animation_cut_short()) {
        top -= step;
        SDL_FillRect(screen, NULL, 0);
        for (int i = 0; i < intro_script.line_count; i++)
            print_text_centred(screen, (int)(top + (long long)i * spacing), intro_script.lines[i]);
        bottom = top + (long long)intro_script.line_count * spacing;
        show_frame(screen);
        wait_frame();
    }
}

void play_outro(SDL_Surface* screen)
{
    set_current_font(intro_script.font);
    scroll_credits(screen, video_flip);
}
