#include "session.h"

#include <errno.h>
#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "game_state.h"
#include "scripted_input.h"

enum SessionMode { SESSION_LIVE = 0, SESSION_RECORDING = 1, SESSION_REPLAYING = 2 };

// Room for a key table that changed whole.
static const int REPLAY_LINE_SIZE = 4096;
static const int REPLAY_ARGUMENTS = 32;
static const int REPLAY_ARGUMENT_SIZE = 128;

// Where the game stands. Each only grows.
struct Position {
    int frames;    // frames of play shown
    int waits;     // waits for the player begun
    Uint32 slept;  // milliseconds of delays, added up
};

// The keys held and the pointer as the events taken leave them, with the
// corrections a recording holds.
struct HeldInput {
    Uint8 keys[SDLK_LAST];
    int mouse_x, mouse_y;
    Uint8 buttons;
};

enum ItemKind { ITEM_EVENT, ITEM_KEYS, ITEM_POINTER, ITEM_CLOCK, ITEM_CLOSE, ITEM_DRY, ITEM_END };

// One line of a recording: what happened where the game stood.
struct Item {
    int kind;
    Position at;
    long line;
    SDL_Event event;     // ITEM_EVENT
    int key_changes;     // ITEM_KEYS: keys and their new values
    Uint16 keys[SDLK_LAST];
    Uint8 values[SDLK_LAST];
    int x, y;            // ITEM_POINTER
    Uint8 buttons;
    Uint32 ticks;        // ITEM_CLOCK
};

struct Session {
    int mode;
    FILE* file;
    char path[1024];
    long line;            // lines of the file read or written so far
    Position now;
    int events;           // events taken
    HeldInput held;
    // The clock is the sleeps added up plus this offset; a clock item moves it.
    Uint32 clock_offset;
    // The last reading and where it was taken: the clock stands still until
    // the game moves on.
    int clock_read;
    Position clock_at;
    int clock_events;
    Uint32 clock_ticks;
    int quits;            // close requests written down, or handed out by the replay
    Position written;     // where the last line written stood
    Item next;            // the replay's next item, read ahead
    int failed;           // the replay could not be followed any further
    char argument_text[REPLAY_ARGUMENTS][REPLAY_ARGUMENT_SIZE];
    char* arguments[REPLAY_ARGUMENTS + 1];
    FILE* sums;           // screen checksums, when asked for
};

static Session session;

int session_recording()
{
    return session.mode == SESSION_RECORDING;
}

int session_replaying()
{
    return session.mode == SESSION_REPLAYING;
}

int session_replay_failed()
{
    return session.mode == SESSION_REPLAYING && session.failed;
}

// One line on stderr, and the game winds down from here on.
static void replay_fail_at(long line, const char* what)
{
    if (session.failed) return;
    session.failed = 1;
    if (session.quits < 1) session.quits = 1;
    memset(session.held.keys, 0, sizeof session.held.keys);
    session.held.buttons = 0;
    fprintf(stderr, "ABYSSOR: replay %s %s at line %ld (frame %d)\n", session.path, what, line, session.now.frames);
}

static void replay_fail(const char* what)
{
    replay_fail_at(session.line, what);
}

static void replay_corrupt()
{
    replay_fail("is corrupt");
}

// --- Writing --------------------------------------------------------------

// An item behind the position where it happened, as much of it as changed
// since the line before.
static void record_item(const char* format, ...) __attribute__((format(printf, 1, 2)));

static void record_item(const char* format, ...)
{
    if (session.now.frames != session.written.frames) fprintf(session.file, "f%d ", session.now.frames);
    if (session.now.waits != session.written.waits) fprintf(session.file, "w%d ", session.now.waits);
    if (session.now.slept != session.written.slept) fprintf(session.file, "t%u ", (unsigned)session.now.slept);
    session.written = session.now;
    va_list arguments;
    va_start(arguments, format);
    vfprintf(session.file, format, arguments);
    va_end(arguments);
    fputc('\n', session.file);
    session.line++;
}

// The numbers of a record, its trailing zeros left out (they read back as
// zeros).
static void append_numbers(char* text, size_t size, const long* numbers, int count)
{
    while (count > 0 && numbers[count - 1] == 0) count--;
    size_t length = strlen(text);
    for (int i = 0; i < count && length < size; i++)
        length += snprintf(text + length, size - length, " %ld", numbers[i]);
}

static void format_event(char* text, size_t size, const SDL_Event& event)
{
    long numbers[5] = {0, 0, 0, 0, 0};
    int count = 0;
    switch (event.type) {
    case SDL_KEYDOWN:
    case SDL_KEYUP: {
        const SDL_keysym& key = event.key.keysym;
        snprintf(text, size, event.type == SDL_KEYDOWN ? "kd" : "ku");
        long fields[4] = {(long)key.sym, (long)key.unicode, (long)key.mod, (long)key.scancode};
        append_numbers(text, size, fields, 4);
        return;
    }
    case SDL_MOUSEMOTION: {
        snprintf(text, size, "mv");
        long fields[5] = {event.motion.x, event.motion.y, event.motion.xrel, event.motion.yrel, event.motion.state};
        append_numbers(text, size, fields, 5);
        return;
    }
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: {
        snprintf(text, size, event.type == SDL_MOUSEBUTTONDOWN ? "bd" : "bu");
        long fields[3] = {event.button.button, event.button.x, event.button.y};
        append_numbers(text, size, fields, 3);
        return;
    }
    case SDL_QUIT:
        snprintf(text, size, "quit");
        return;
    case SDL_ACTIVEEVENT:
        numbers[0] = event.active.gain;
        numbers[1] = event.active.state;
        count = 2;
        break;
    case SDL_VIDEORESIZE:
        numbers[0] = event.resize.w;
        numbers[1] = event.resize.h;
        count = 2;
        break;
    default:
        break;
    }
    snprintf(text, size, "ev %u", event.type);
    append_numbers(text, size, numbers, count);
}

// An argument is written with %XX for bytes that would break the line.
static void write_argument(FILE* file, const char* argument)
{
    fputc(' ', file);
    for (const unsigned char* c = (const unsigned char*)argument; *c != 0; c++) {
        if (*c <= ' ' || *c == '%' || *c >= 127)
            fprintf(file, "%%%02X", *c);
        else
            fputc(*c, file);
    }
}

// --- Reading --------------------------------------------------------------

// The next line into text, without its newline. Returns 0 and fails the
// replay when the file ends, breaks off or holds a line no recording has.
static int replay_read_line(char* text)
{
    if (session.failed) return 0;
    if (fgets(text, REPLAY_LINE_SIZE, session.file) == NULL) {
        session.line++;
        replay_fail(ferror(session.file) ? "cannot be read" : "is truncated");
        return 0;
    }
    session.line++;
    size_t length = strlen(text);
    if (length == 0 || text[length - 1] != '\n') {
        replay_fail(feof(session.file) ? "is truncated" : "is corrupt (a line too long)");
        return 0;
    }
    text[length - 1] = 0;
    return 1;
}

// A whole number and the text after it (past one space), or NULL.
static const char* read_number(const char* text, long long low, long long high, long long* value)
{
    if (text == NULL) return NULL;
    char* end;
    errno = 0;
    long long number = strtoll(text, &end, 10);
    if (end == text || errno != 0 || number < low || number > high) return NULL;
    if (*end == ' ') end++;
    else if (*end != 0) return NULL;
    *value = number;
    return end;
}

// Up to count numbers, the missing ones zero; nothing may follow them.
static int read_numbers(const char* text, int count, const long long* low, const long long* high, long long* values)
{
    for (int i = 0; i < count; i++) {
        values[i] = 0;
        if (*text == 0) continue;
        text = read_number(text, low[i], high[i], &values[i]);
        if (text == NULL) return 0;
    }
    return *text == 0;
}

static int parse_key_event(const char* text, Uint8 type, SDL_Event* event)
{
    static const long long low[4] = {0, 0, 0, 0};
    static const long long high[4] = {SDLK_LAST - 1, 0xFFFF, 0xFFFF, 255};
    long long v[4];
    if (!read_numbers(text, 4, low, high, v)) return 0;
    event->type = type;
    event->key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
    event->key.keysym.sym = (SDLKey)v[0];
    event->key.keysym.unicode = (Uint16)v[1];
    event->key.keysym.mod = (SDLMod)v[2];
    event->key.keysym.scancode = (Uint8)v[3];
    return 1;
}

static int parse_motion(const char* text, SDL_Event* event)
{
    static const long long low[5] = {0, 0, -32768, -32768, 0};
    static const long long high[5] = {0xFFFF, 0xFFFF, 32767, 32767, 255};
    long long v[5];
    if (!read_numbers(text, 5, low, high, v)) return 0;
    event->type = SDL_MOUSEMOTION;
    event->motion.x = (Uint16)v[0];
    event->motion.y = (Uint16)v[1];
    event->motion.xrel = (Sint16)v[2];
    event->motion.yrel = (Sint16)v[3];
    event->motion.state = (Uint8)v[4];
    return 1;
}

static int parse_button(const char* text, Uint8 type, SDL_Event* event)
{
    static const long long low[3] = {0, 0, 0};
    static const long long high[3] = {255, 0xFFFF, 0xFFFF};
    long long v[3];
    if (!read_numbers(text, 3, low, high, v)) return 0;
    event->type = type;
    event->button.button = (Uint8)v[0];
    event->button.state = type == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
    event->button.x = (Uint16)v[1];
    event->button.y = (Uint16)v[2];
    return 1;
}

static int parse_other_event(const char* text, SDL_Event* event)
{
    static const long long low[3] = {0, 0, 0};
    static const long long high[3] = {255, 65535, 65535};
    long long v[3];
    if (!read_numbers(text, 3, low, high, v)) return 0;
    event->type = (Uint8)v[0];
    if (event->type == SDL_ACTIVEEVENT) {
        event->active.gain = (Uint8)v[1];
        event->active.state = (Uint8)v[2];
    } else if (event->type == SDL_VIDEORESIZE) {
        event->resize.w = (int)v[1];
        event->resize.h = (int)v[2];
    } else if (v[1] != 0 || v[2] != 0) {
        return 0;
    }
    return 1;
}

// "KEY=VALUE" each.
static int parse_keys(const char* text, Item* item)
{
    item->key_changes = 0;
    while (*text != 0) {
        char* end;
        long key = strtol(text, &end, 10);
        if (end == text || *end != '=' || key < 0 || key >= SDLK_LAST || item->key_changes >= SDLK_LAST) return 0;
        text = end + 1;
        long value = strtol(text, &end, 10);
        if (end == text || value < 0 || value > 255 || (*end != ' ' && *end != 0)) return 0;
        item->keys[item->key_changes] = (Uint16)key;
        item->values[item->key_changes] = (Uint8)value;
        item->key_changes++;
        text = *end == ' ' ? end + 1 : end;
    }
    return 1;
}

static int parse_pointer(const char* text, Item* item)
{
    static const long long low[3] = {-65536, -65536, 0};
    static const long long high[3] = {65536, 65536, 255};
    long long v[3];
    if (!read_numbers(text, 3, low, high, v)) return 0;
    item->x = (int)v[0];
    item->y = (int)v[1];
    item->buttons = (Uint8)v[2];
    return 1;
}

static int parse_plain_word(const char* text)
{
    return *text == 0;
}

// The item after its position; word is the item's first word, text what
// follows it.
static int parse_item(const char* word, size_t length, const char* text, Item* item)
{
    memset(&item->event, 0, sizeof item->event);
#define IS(name) (length == sizeof(name) - 1 && strncmp(word, name, length) == 0)
    item->kind = ITEM_EVENT;
    if (IS("kd")) return parse_key_event(text, SDL_KEYDOWN, &item->event);
    if (IS("ku")) return parse_key_event(text, SDL_KEYUP, &item->event);
    if (IS("mv")) return parse_motion(text, &item->event);
    if (IS("bd")) return parse_button(text, SDL_MOUSEBUTTONDOWN, &item->event);
    if (IS("bu")) return parse_button(text, SDL_MOUSEBUTTONUP, &item->event);
    if (IS("ev")) return parse_other_event(text, &item->event);
    if (IS("quit")) {
        item->event.type = SDL_QUIT;
        return parse_plain_word(text);
    }
    if (IS("keys")) {
        item->kind = ITEM_KEYS;
        return parse_keys(text, item);
    }
    if (IS("ptr")) {
        item->kind = ITEM_POINTER;
        return parse_pointer(text, item);
    }
    if (IS("clock")) {
        item->kind = ITEM_CLOCK;
        long long ticks;
        const char* rest = read_number(text, 0, 0xFFFFFFFFll, &ticks);
        item->ticks = (Uint32)ticks;
        return rest != NULL && *rest == 0;
    }
    item->kind = IS("close") ? ITEM_CLOSE : IS("dry") ? ITEM_DRY : IS("end") ? ITEM_END : -1;
#undef IS
    return item->kind >= 0 && parse_plain_word(text);
}

// "f12", "w3", "t4500": where the game stood, as much of it as changed.
// Returns the text after them, or NULL when one goes back.
static const char* parse_position(const char* text, Position* at)
{
    for (;;) {
        char tag = text[0];
        if ((tag != 'f' && tag != 'w' && tag != 't') || text[1] < '0' || text[1] > '9') return text;
        long long value;
        const char* rest = read_number(text + 1, 0, 0xFFFFFFFFll, &value);
        if (rest == NULL || rest == text + 1 || *rest == 0) return NULL;
        if (tag == 'f' && value >= at->frames && value <= 0x7FFFFFFF) at->frames = (int)value;
        else if (tag == 'w' && value >= at->waits && value <= 0x7FFFFFFF) at->waits = (int)value;
        else if (tag == 't' && value >= at->slept) at->slept = (Uint32)value;
        else return NULL;
        text = rest;
    }
}

// Reads the next item ahead; a file that ends, breaks off or holds a line
// no recording has fails the replay.
static void read_next_item()
{
    char text[REPLAY_LINE_SIZE];
    if (!replay_read_line(text)) return;
    Item& item = session.next;
    item.line = session.line;
    const char* rest = parse_position(text, &item.at);
    const char* word = rest;
    size_t length = rest != NULL ? strcspn(rest, " ") : 0;
    const char* after = rest != NULL ? rest + length + (rest[length] == ' ' ? 1 : 0) : NULL;
    if (rest == NULL || !parse_item(word, length, after, &item)) replay_corrupt();
}

static void clear_session()
{
    FILE* sums = session.sums;
    memset(&session, 0, sizeof session);
    session.sums = sums;
}

static void copy_path(const char* path)
{
    snprintf(session.path, sizeof session.path, "%s", path);
}

int session_record_into(const char* path, int argc, char** argv)
{
    clear_session();
    copy_path(path);
    session.file = fopen(path, "w");
    if (session.file == NULL) {
        fprintf(stderr, "ABYSSOR: cannot write the recording %s: %s\n", path, strerror(errno));
        return -1;
    }
    session.mode = SESSION_RECORDING;
    fprintf(session.file, "ABYSSOR replay %d\nargs", REPLAY_VERSION);
    for (int i = 1; i < argc; i++)
        if (argv[i] != NULL) write_argument(session.file, argv[i]);
    fputc('\n', session.file);
    session.line = 2;
    return 0;
}

static int hex_digit(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// The recorded arguments become the program's own, after its name.
static int read_arguments(const char* text, const char* program)
{
    int count = 0;
    snprintf(session.argument_text[count++], REPLAY_ARGUMENT_SIZE, "%s", program != NULL ? program : "abyssor");
    while (*text == ' ') {
        text++;
        if (count >= REPLAY_ARGUMENTS) return -1;
        char* out = session.argument_text[count];
        int length = 0;
        while (*text != ' ' && *text != 0) {
            char c = *text++;
            if (c == '%') {
                int high = hex_digit(text[0]);
                int low = high < 0 ? -1 : hex_digit(text[1]);
                if (low < 0) return -1;
                c = (char)(high * 16 + low);
                text += 2;
            }
            if (length >= REPLAY_ARGUMENT_SIZE - 1) return -1;
            out[length++] = c;
        }
        out[length] = 0;
        count++;
    }
    if (*text != 0) return -1;
    for (int i = 0; i < count; i++) session.arguments[i] = session.argument_text[i];
    session.arguments[count] = NULL;
    return count;
}

// The header: "ABYSSOR replay VERSION", then "args" and the arguments.
static int read_header(int* argc, char*** argv)
{
    char text[REPLAY_LINE_SIZE];
    int version = 0;
    if (!replay_read_line(text) || sscanf(text, "ABYSSOR replay %d", &version) != 1) {
        if (!session.failed) replay_fail("is not a recording of this game");
        return -1;
    }
    if (version != REPLAY_VERSION) {
        char what[96];
        snprintf(what, sizeof what, "is of version %d, and this game replays version %d", version, REPLAY_VERSION);
        replay_fail(what);
        return -1;
    }
    if (!replay_read_line(text)) return -1;
    int count = strncmp(text, "args", 4) == 0 ? read_arguments(text + 4, argv != NULL && *argv != NULL ? (*argv)[0] : NULL) : -1;
    if (count < 0) {
        replay_corrupt();
        return -1;
    }
    if (argc != NULL) *argc = count;
    if (argv != NULL) *argv = session.arguments;
    return 0;
}

int session_replay_from(const char* path, int* argc, char*** argv)
{
    clear_session();
    copy_path(path);
    session.file = fopen(path, "r");
    if (session.file == NULL) {
        fprintf(stderr, "ABYSSOR: cannot open the replay %s: %s\n", path, strerror(errno));
        return -1;
    }
    session.mode = SESSION_REPLAYING;
    if (read_header(argc, argv) == 0) {
        read_next_item();
        return 0;
    }
    fclose(session.file);
    session.file = NULL;
    session.mode = SESSION_LIVE;
    return -1;
}

static void open_screen_sums()
{
    const char* path = getenv("ABYSSOR_SCREEN_SUMS");
    if (path == NULL || *path == 0 || session.sums != NULL) return;
    session.sums = fopen(path, "w");
    if (session.sums == NULL) fprintf(stderr, "ABYSSOR: cannot write the screen checksums %s: %s\n", path, strerror(errno));
}

int session_open(int* argc, char*** argv)
{
    open_screen_sums();
    const char* replay = getenv("ABYSSOR_REPLAY");
    if (replay != NULL && *replay != 0) return session_replay_from(replay, argc, argv);
    const char* record = getenv("ABYSSOR_RECORD");
    if (record != NULL && *record != 0) return session_record_into(record, *argc, *argv);
    return 0;
}

// --- Following a replay ---------------------------------------------------

// The item has come: the game stands where it happened or beyond.
static int reached(const Position& at)
{
    return at.frames <= session.now.frames && at.waits <= session.now.waits && at.slept <= session.now.slept;
}

// Past the frame or the wait in which the item happened.
static int passed(const Position& at)
{
    return at.frames < session.now.frames || at.waits < session.now.waits;
}

static int is_state(int kind)
{
    return kind == ITEM_KEYS || kind == ITEM_POINTER || kind == ITEM_CLOCK || kind == ITEM_CLOSE;
}

static void apply_state(const Item& item)
{
    switch (item.kind) {
    case ITEM_KEYS:
        for (int i = 0; i < item.key_changes; i++) session.held.keys[item.keys[i]] = item.values[i];
        break;
    case ITEM_POINTER:
        session.held.mouse_x = item.x;
        session.held.mouse_y = item.y;
        session.held.buttons = item.buttons;
        break;
    case ITEM_CLOCK:
        session.clock_offset = item.ticks - session.now.slept;
        break;
    case ITEM_CLOSE:
        session.quits++;
        break;
    default:
        break;
    }
}

// The keys, the pointer, the clock and the close requests that have come by
// where the game stands.
static void apply_due_state()
{
    while (!session.failed && is_state(session.next.kind) && reached(session.next.at)) {
        apply_state(session.next);
        read_next_item();
    }
}

// An item the game takes (an event, or word that no input can come) where
// it stands now: in this frame and this wait, once its time has come.
static int due_here(int kind)
{
    apply_due_state();
    return !session.failed && session.next.kind == kind && session.next.at.frames == session.now.frames
           && session.next.at.waits == session.now.waits && session.next.at.slept <= session.now.slept;
}

static void take_event(SDL_Event* event)
{
    *event = session.next.event;
    apply_event_to_input(*event, session.held.keys, &session.held.mouse_x, &session.held.mouse_y,
                         &session.held.buttons);
    if (event->type == SDL_QUIT) session.quits++;
    session.events++;
    read_next_item();
}

static const char* item_meaning(int kind)
{
    switch (kind) {
    case ITEM_EVENT: return "input";
    case ITEM_DRY: return "the end of input";
    case ITEM_END: return "its end";
    default: return "a change of state";
    }
}

// The game moves on from where it stands: an event still to be taken here
// means that it has taken another path than the recording.
static void check_nothing_left_behind()
{
    apply_due_state();
    if (session.failed || is_state(session.next.kind) || session.next.kind == ITEM_END) return;
    if (!reached(session.next.at) && !passed(session.next.at)) return;
    char what[200];
    snprintf(what, sizeof what, "is out of step: the game goes on from frame %d, wait %d, and leaves %s untaken",
             session.now.frames, session.now.waits, item_meaning(session.next.kind));
    replay_fail_at(session.next.line, what);
}

// A wait has begun: its answer must be the next item.
static int replayed_wait_answer(SDL_Event* event)
{
    apply_due_state();
    if (session.failed || session.quits > 0) return 0;
    if (due_here(ITEM_EVENT)) {
        take_event(event);
        return 1;
    }
    if (due_here(ITEM_DRY)) {
        read_next_item();
        return 0;
    }
    if (session.next.kind == ITEM_END) {
        replay_fail_at(session.next.line, "ran out: the game waits for the player after the recording's end");
        return 0;
    }
    char what[240];
    snprintf(what, sizeof what,
             "is out of step: the game waits for the player at frame %d, wait %d; the recording holds %s at "
             "frame %d, wait %d",
             session.now.frames, session.now.waits, item_meaning(session.next.kind), session.next.at.frames,
             session.next.at.waits);
    replay_fail_at(session.next.line, what);
    return 0;
}

int replayed_poll_event(SDL_Event* event)
{
    if (!due_here(ITEM_EVENT)) return 0;
    take_event(event);
    return 1;
}

int replayed_wait_event(SDL_Event* event)
{
    SDL_Event taken;
    int result = replayed_wait_answer(&taken);
    if (result) *event = taken;
    return result && event->type != SDL_QUIT;
}

int replayed_wait_key_press()
{
    SDL_Event taken;
    long line = session.next.line;
    if (!replayed_wait_answer(&taken)) return 0;
    if (taken.type == SDL_KEYDOWN) return 1;
    replay_fail_at(line, "is out of step: a still screen ends on what is no key press");
    return 0;
}

void replayed_drop_queued_events()
{
    apply_due_state();
}

Uint8* replayed_key_state()
{
    apply_due_state();
    return session.held.keys;
}

Uint8 replayed_mouse_state(int* x, int* y)
{
    apply_due_state();
    *x = session.held.mouse_x;
    *y = session.held.mouse_y;
    return session.held.buttons;
}

Uint32 replayed_ticks()
{
    apply_due_state();
    return session.now.slept + session.clock_offset;
}

void replayed_delay(Uint32 ms)
{
    session.now.slept += ms;
}

// A close request recorded within the delay cuts it short where it came.
int replayed_delay_unless_quit(Uint32 ms)
{
    Uint32 end = session.now.slept + ms;
    apply_due_state();
    while (session.quits == 0 && !session.failed && is_state(session.next.kind)
           && session.next.at.frames == session.now.frames && session.next.at.waits == session.now.waits
           && session.next.at.slept <= end) {
        session.now.slept = session.next.at.slept;
        apply_due_state();
    }
    if (session.quits > 0) return 1;
    session.now.slept = end;
    return 0;
}

int replayed_input_exhausted()
{
    if (session.failed) return 1;
    if (!due_here(ITEM_DRY)) return 0;
    read_next_item();
    return 1;
}

int replayed_quit_requests()
{
    apply_due_state();
    return session.quits;
}

// --- Where the game stands, in every mode -------------------------------

static void write_screen_sum(const char* what, int count, SDL_Surface* screen)
{
    if (session.sums != NULL) fprintf(session.sums, "%s %d %08x\n", what, count, (unsigned)screen_checksum(screen));
}

void session_frame_shown(SDL_Surface* screen)
{
    if (session.mode == SESSION_REPLAYING) check_nothing_left_behind();
    session.now.frames++;
    if (session.mode == SESSION_RECORDING) fflush(session.file);  // a game that crashes leaves its recording
    if (session.mode == SESSION_REPLAYING && !session.failed && session.next.kind == ITEM_END
        && session.now.frames > session.next.at.frames)
        replay_fail_at(session.next.line, "ran out: the game plays on past the recording's end");
    if (session.now.frames % SCREEN_SUM_FRAMES == 0) write_screen_sum("frame", session.now.frames, screen);
}

void session_wait_begins()
{
    if (session.mode == SESSION_REPLAYING) check_nothing_left_behind();
    session.now.waits++;
    if (session.mode == SESSION_RECORDING) fflush(session.file);
    write_screen_sum("wait", session.now.waits, game.screen);
}

void session_event_taken(const SDL_Event& event)
{
    session.events++;
    if (session.mode != SESSION_RECORDING) return;
    char text[128];
    format_event(text, sizeof text, event);
    record_item("%s", text);
    apply_event_to_input(event, session.held.keys, &session.held.mouse_x, &session.held.mouse_y,
                         &session.held.buttons);
    if (event.type == SDL_QUIT) session.quits++;
}

void session_delayed(Uint32 ms)
{
    session.now.slept += ms;
}

void session_close_requests_seen(int requests)
{
    if (session.mode != SESSION_RECORDING) return;
    for (; session.quits < requests; session.quits++) record_item("close");
}

void session_keys_read(const Uint8* keys)
{
    if (session.mode != SESSION_RECORDING || memcmp(keys, session.held.keys, sizeof session.held.keys) == 0) return;
    char text[REPLAY_LINE_SIZE];
    int length = snprintf(text, sizeof text, "keys");
    for (int key = 0; key < SDLK_LAST; key++) {
        if (keys[key] == session.held.keys[key]) continue;
        length += snprintf(text + length, sizeof text - length, " %d=%u", key, keys[key]);
        session.held.keys[key] = keys[key];
    }
    record_item("%s", text);
}

void session_pointer_read(int x, int y, Uint8 buttons)
{
    if (session.mode != SESSION_RECORDING) return;
    HeldInput& held = session.held;
    if (x == held.mouse_x && y == held.mouse_y && buttons == held.buttons) return;
    held.mouse_x = x;
    held.mouse_y = y;
    held.buttons = buttons;
    record_item("ptr %d %d %u", x, y, buttons);
}

int session_clock_unchanged(Uint32* ticks)
{
    const Position& at = session.clock_at;
    if (session.mode != SESSION_RECORDING || !session.clock_read || session.clock_events != session.events || at.frames != session.now.frames
        || at.waits != session.now.waits || at.slept != session.now.slept)
        return 0;
    *ticks = session.clock_ticks;
    return 1;
}

Uint32 session_clock_read(Uint32 live_ticks)
{
    if (session.mode == SESSION_RECORDING && live_ticks != session.now.slept + session.clock_offset) {
        record_item("clock %u", (unsigned)live_ticks);
        session.clock_offset = live_ticks - session.now.slept;
    }
    session.clock_read = 1;
    session.clock_at = session.now;
    session.clock_events = session.events;
    session.clock_ticks = live_ticks;
    return live_ticks;
}

void session_input_dry()
{
    if (session.mode == SESSION_RECORDING) record_item("dry");
}

// --- The end --------------------------------------------------------------

int session_close()
{
    int status = 0;
    if (session.mode == SESSION_RECORDING) {
        record_item("end");
        if (fclose(session.file) != 0) {
            fprintf(stderr, "ABYSSOR: the recording %s could not be written whole\n", session.path);
            status = 1;
        }
    } else if (session.mode == SESSION_REPLAYING) {
        apply_due_state();
        const Item& next = session.next;
        if (!session.failed && (next.kind != ITEM_END || next.at.frames != session.now.frames
                                || next.at.waits != session.now.waits))
            replay_fail_at(next.line, "is out of step: the game ended before the recording did");
        status = session.failed ? 1 : 0;
        fclose(session.file);
    }
    if (session.sums != NULL) fclose(session.sums);
    session.sums = NULL;
    clear_session();
    return status;
}

void session_reset()
{
    if (session.file != NULL) fclose(session.file);
    if (session.sums != NULL) fclose(session.sums);
    memset(&session, 0, sizeof session);
}

Uint32 screen_checksum(SDL_Surface* screen)
{
    Uint32 hash = 2166136261u;
    if (screen == NULL) return hash;
    if (SDL_MUSTLOCK(screen) && SDL_LockSurface(screen) != 0) return hash;
    int row_bytes = screen->w * screen->format->BytesPerPixel;
    for (int y = 0; y < screen->h; y++) {
        const Uint8* row = (const Uint8*)screen->pixels + (size_t)y * screen->pitch;
        for (int i = 0; i < row_bytes; i++) {
            hash ^= row[i];
            hash *= 16777619u;
        }
    }
    if (SDL_MUSTLOCK(screen)) SDL_UnlockSurface(screen);
    return hash;
}

int session_frames_shown()
{
    return session.now.frames;
}
