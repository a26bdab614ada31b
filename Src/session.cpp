#include "session.h"

#include <errno.h>
#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "game_state.h"

enum SessionMode { SESSION_LIVE = 0, SESSION_RECORDING = 1, SESSION_REPLAYING = 2 };

// Room for a key table that changed whole.
static const int REPLAY_LINE_SIZE = 4096;
static const int REPLAY_ARGUMENTS = 32;
static const int REPLAY_ARGUMENT_SIZE = 128;

struct Session {
    int mode;
    FILE* file;
    char path[1024];
    long line;              // lines of the file read or written so far
    int frames;             // frames shown since the session began
    int waits;              // waits for an event since the session began
    Uint32 last_ticks;      // the clock as last recorded, for the differences
    Uint8 keys[SDLK_LAST];  // the key table as last recorded or replayed
    int mouse_x, mouse_y;
    int failed;             // the replay could not be followed any further
    int quit_requests;      // seen by the game after a failed replay
    char argument_text[REPLAY_ARGUMENTS][REPLAY_ARGUMENT_SIZE];
    char* arguments[REPLAY_ARGUMENTS + 1];
    FILE* sums;             // screen checksums, when asked for
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
static void replay_fail(const char* what)
{
    if (session.failed) return;
    session.failed = 1;
    if (session.quit_requests < 1) session.quit_requests = 1;
    fprintf(stderr, "ABYSSOR: replay %s %s at line %ld (frame %d)\n", session.path, what, session.line,
            session.frames);
}

// --- Writing --------------------------------------------------------------

static void record_line(const char* format, ...) __attribute__((format(printf, 1, 2)));

static void record_line(const char* format, ...)
{
    va_list arguments;
    va_start(arguments, format);
    vfprintf(session.file, format, arguments);
    va_end(arguments);
    fputc('\n', session.file);
    session.line++;
}

// Only the fields each type of event carries; the rest replay as zeros.
static int format_event(char* text, size_t size, const SDL_Event& event)
{
    switch (event.type) {
    case SDL_KEYDOWN:
    case SDL_KEYUP:
        return snprintf(text, size, "%u %u %u %u %u %u", event.type, event.key.state, event.key.keysym.scancode,
                        (unsigned)event.key.keysym.sym, (unsigned)event.key.keysym.mod, event.key.keysym.unicode);
    case SDL_MOUSEMOTION:
        return snprintf(text, size, "%u %u %u %u %d %d", event.type, event.motion.state, event.motion.x,
                        event.motion.y, event.motion.xrel, event.motion.yrel);
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
        return snprintf(text, size, "%u %u %u %u %u", event.type, event.button.button, event.button.state,
                        event.button.x, event.button.y);
    case SDL_ACTIVEEVENT:
        return snprintf(text, size, "%u %u %u", event.type, event.active.gain, event.active.state);
    case SDL_VIDEORESIZE:
        return snprintf(text, size, "%u %d %d", event.type, event.resize.w, event.resize.h);
    default:
        return snprintf(text, size, "%u", event.type);
    }
}

static void record_event(char tag, int result, int drained, const SDL_Event& event)
{
    char text[REPLAY_LINE_SIZE];
    if (drained)
        format_event(text, sizeof text, event);
    else
        strcpy(text, "-");
    if (tag == 'p')
        record_line("p %s", text);
    else
        record_line("w %d %s", result, text);
}

// Only the keys that changed since the last table recorded.
static void record_keys(const Uint8* keys)
{
    char text[REPLAY_LINE_SIZE];
    int length = snprintf(text, sizeof text, "k");
    for (int key = 0; key < SDLK_LAST; key++) {
        if (keys[key] == session.keys[key]) continue;
        length += snprintf(text + length, sizeof text - length, " %d=%u", key, keys[key]);
        session.keys[key] = keys[key];
    }
    record_line("%s", text);
}

static void record_ticks(Uint32 ticks)
{
    record_line("t %u", (unsigned)(ticks - session.last_ticks));
    session.last_ticks = ticks;
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

static const char* tag_meaning(char tag)
{
    switch (tag) {
    case 'p': return "an event polled";
    case 'w': return "an event waited for";
    case 'k': return "the key table";
    case 'm': return "the mouse";
    case 't': return "the clock";
    case 'x': return "whether input is exhausted";
    case 'q': return "the close requests";
    case 'Q': return "the close requests taken";
    case 'd': return "a delay that a close request cuts short";
    case 'f': return "a frame shown";
    case 'e': return "the end of the recording";
    default: return "something unknown";
    }
}

// The next record, which must be of the kind the game asks for. Returns the
// text after the tag and its space, or NULL when the replay has failed.
static const char* replay_expect(char tag, char* text)
{
    if (!replay_read_line(text)) return NULL;
    if (strcmp(text, "end") == 0) {
        char what[160];
        snprintf(what, sizeof what, "ran out: the game asks for %s after the recording's end", tag_meaning(tag));
        replay_fail(what);
        return NULL;
    }
    if (text[0] != tag || (text[1] != 0 && text[1] != ' ')) {
        char what[200];
        snprintf(what, sizeof what, "is out of step: the game asks for %s, the recording holds %s", tag_meaning(tag),
                 tag_meaning(text[0]));
        replay_fail(what);
        return NULL;
    }
    return text[1] == ' ' ? text + 2 : text + 1;
}

static void replay_corrupt()
{
    replay_fail("is corrupt");
}

// A whole number and the text after it, or NULL.
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

// Reads a whole record of numbers; every field must be there, and no more.
static int read_numbers(const char* text, int count, const long long* low, const long long* high, long long* values)
{
    for (int i = 0; i < count; i++) {
        text = read_number(text, low[i], high[i], &values[i]);
        if (text == NULL) return 0;
    }
    return *text == 0;
}

static int parse_event(const char* text, SDL_Event* event)
{
    long long type;
    if (read_number(text, 0, 255, &type) == NULL) return 0;
    memset(event, 0, sizeof *event);
    event->type = (Uint8)type;
    long long v[6];
    switch (type) {
    case SDL_KEYDOWN:
    case SDL_KEYUP: {
        static const long long low[6] = {0, 0, 0, 0, 0, 0};
        static const long long high[6] = {255, 255, 255, SDLK_LAST - 1, 0xFFFF, 0xFFFF};
        if (!read_numbers(text, 6, low, high, v)) return 0;
        event->key.state = (Uint8)v[1];
        event->key.keysym.scancode = (Uint8)v[2];
        event->key.keysym.sym = (SDLKey)v[3];
        event->key.keysym.mod = (SDLMod)v[4];
        event->key.keysym.unicode = (Uint16)v[5];
        return 1;
    }
    case SDL_MOUSEMOTION: {
        static const long long low[6] = {0, 0, 0, 0, -32768, -32768};
        static const long long high[6] = {255, 255, 0xFFFF, 0xFFFF, 32767, 32767};
        if (!read_numbers(text, 6, low, high, v)) return 0;
        event->motion.state = (Uint8)v[1];
        event->motion.x = (Uint16)v[2];
        event->motion.y = (Uint16)v[3];
        event->motion.xrel = (Sint16)v[4];
        event->motion.yrel = (Sint16)v[5];
        return 1;
    }
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: {
        static const long long low[5] = {0, 0, 0, 0, 0};
        static const long long high[5] = {255, 255, 255, 0xFFFF, 0xFFFF};
        if (!read_numbers(text, 5, low, high, v)) return 0;
        event->button.button = (Uint8)v[1];
        event->button.state = (Uint8)v[2];
        event->button.x = (Uint16)v[3];
        event->button.y = (Uint16)v[4];
        return 1;
    }
    case SDL_ACTIVEEVENT: {
        static const long long low[3] = {0, 0, 0};
        static const long long high[3] = {255, 255, 255};
        if (!read_numbers(text, 3, low, high, v)) return 0;
        event->active.gain = (Uint8)v[1];
        event->active.state = (Uint8)v[2];
        return 1;
    }
    case SDL_VIDEORESIZE: {
        static const long long low[3] = {0, 0, 0};
        static const long long high[3] = {255, 65535, 65535};
        if (!read_numbers(text, 3, low, high, v)) return 0;
        event->resize.w = (int)v[1];
        event->resize.h = (int)v[2];
        return 1;
    }
    default: {
        static const long long low[1] = {0};
        static const long long high[1] = {255};
        return read_numbers(text, 1, low, high, v);
    }
    }
}

// "p -", "p EVENT", "w RESULT -", "w RESULT EVENT". Returns the call's
// result; *event is written only when the recorded call took an event.
static int replay_event(char tag, SDL_Event* event)
{
    char text[REPLAY_LINE_SIZE];
    const char* rest = replay_expect(tag, text);
    if (rest == NULL) return 0;
    long long result = 1;
    if (tag == 'w') {
        rest = read_number(rest, 0, 1, &result);
        if (rest == NULL) {
            replay_corrupt();
            return 0;
        }
    }
    if (strcmp(rest, "-") == 0) return tag == 'p' ? 0 : (int)result;
    SDL_Event read;
    if (!parse_event(rest, &read)) {
        replay_corrupt();
        return 0;
    }
    *event = read;
    return (int)result;
}

// A record holding one number: "t 25", "q 0"...
static int replay_number(char tag, long long low, long long high, long long* value)
{
    char text[REPLAY_LINE_SIZE];
    const char* rest = replay_expect(tag, text);
    if (rest == NULL) return 0;
    const long long lows[1] = {low};
    const long long highs[1] = {high};
    if (!read_numbers(rest, 1, lows, highs, value)) {
        replay_corrupt();
        return 0;
    }
    return 1;
}

// "k" and the keys that changed, "KEY=VALUE" each.
static void replay_keys()
{
    char text[REPLAY_LINE_SIZE];
    const char* rest = replay_expect('k', text);
    if (rest == NULL) return;
    while (*rest != 0) {
        char* end;
        long key = strtol(rest, &end, 10);
        if (end == rest || *end != '=' || key < 0 || key >= SDLK_LAST) {
            replay_corrupt();
            return;
        }
        rest = end + 1;
        long value = strtol(rest, &end, 10);
        if (end == rest || value < 0 || value > 255 || (*end != ' ' && *end != 0)) {
            replay_corrupt();
            return;
        }
        session.keys[key] = (Uint8)value;
        rest = *end == ' ' ? end + 1 : end;
    }
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
    if (read_header(argc, argv) == 0) return 0;
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

int session_close()
{
    int status = 0;
    if (session.mode == SESSION_RECORDING) {
        fputs("end\n", session.file);
        if (fclose(session.file) != 0) {
            fprintf(stderr, "ABYSSOR: the recording %s could not be written whole\n", session.path);
            status = 1;
        }
    } else if (session.mode == SESSION_REPLAYING) {
        char text[REPLAY_LINE_SIZE];
        if (!session.failed && replay_read_line(text) && strcmp(text, "end") != 0)
            replay_fail("is out of step: the game ended before the recording did");
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

void session_frame_shown(SDL_Surface* screen)
{
    if (session.mode == SESSION_RECORDING) {
        record_line("f");
        fflush(session.file);  // a game that crashes leaves its recording up to its last frame
    } else if (session.mode == SESSION_REPLAYING && !session.failed) {
        char text[REPLAY_LINE_SIZE];
        const char* rest = replay_expect('f', text);
        if (rest != NULL && *rest != 0) replay_corrupt();
    }
    session.frames++;
    if (session.sums != NULL && session.frames % SCREEN_SUM_FRAMES == 0)
        fprintf(session.sums, "frame %d %08x\n", session.frames, (unsigned)screen_checksum(screen));
}

int session_frames_shown()
{
    return session.frames;
}

// --- What the seam hands a recording and asks of a replay --------------------

// "x 0", "q 1"...: a record holding one number, written while recording.
static int record_number(char tag, int value)
{
    if (session.mode == SESSION_RECORDING) record_line("%c %d", tag, value);
    return value;
}

// The still screens and menus are checked where they wait for the player.
void session_wait_begins()
{
    session.waits++;
    if (session.sums != NULL)
        fprintf(session.sums, "wait %d %08x\n", session.waits, (unsigned)screen_checksum(game.screen));
}

int replayed_poll_event(SDL_Event* event)
{
    return session.failed ? 0 : replay_event('p', event);
}

int recorded_poll_event(int result, const SDL_Event& event)
{
    if (session.mode == SESSION_RECORDING) record_event('p', result, result, event);
    return result;
}

int replayed_wait_event(SDL_Event* event)
{
    return session.failed ? 0 : replay_event('w', event);
}

int recorded_wait_event(int result, int drained, const SDL_Event& event)
{
    if (session.mode != SESSION_RECORDING) return result;
    record_event('w', result, drained, event);
    fflush(session.file);
    return result;
}

Uint8* replayed_key_state()
{
    if (!session.failed) replay_keys();
    if (session.failed) memset(session.keys, 0, sizeof session.keys);
    return session.keys;
}

Uint8* recorded_key_state(Uint8* keys)
{
    if (session.mode == SESSION_RECORDING) record_keys(keys);
    return keys;
}

Uint8 replayed_mouse_state(int* x, int* y)
{
    Uint8 buttons = 0;
    char text[REPLAY_LINE_SIZE];
    const char* rest = session.failed ? NULL : replay_expect('m', text);
    long long v[3] = {0, 0, 0};
    static const long long low[3] = {-65536, -65536, 0};
    static const long long high[3] = {65536, 65536, 255};
    if (rest != NULL && !read_numbers(rest, 3, low, high, v)) replay_corrupt();
    if (!session.failed) {
        session.mouse_x = (int)v[0];
        session.mouse_y = (int)v[1];
        buttons = (Uint8)v[2];
    }
    *x = session.mouse_x;
    *y = session.mouse_y;
    return buttons;
}

Uint8 recorded_mouse_state(int x, int y, Uint8 buttons)
{
    if (session.mode == SESSION_RECORDING) record_line("m %d %d %u", x, y, buttons);
    return buttons;
}

Uint32 replayed_ticks()
{
    long long difference;
    if (!session.failed && replay_number('t', 0, 0xFFFFFFFFll, &difference))
        session.last_ticks += (Uint32)difference;
    return session.last_ticks;
}

Uint32 recorded_ticks(Uint32 ticks)
{
    if (session.mode == SESSION_RECORDING) record_ticks(ticks);
    return ticks;
}

void replayed_delay(Uint32 ms)
{
    // A replay waits for nothing; once it has failed, the clock moves only
    // with the delays, so timed screens still come to an end.
    if (session.failed) session.last_ticks += ms;
}

int replayed_input_exhausted()
{
    long long value = 1;
    if (!session.failed && !replay_number('x', 0, 1, &value)) value = 1;
    return (int)value;
}

int recorded_input_exhausted(int exhausted)
{
    return record_number('x', exhausted);
}

int replayed_quit_requests()
{
    long long value;
    if (!session.failed && replay_number('q', 0, 0x7FFFFFFF, &value)) return (int)value;
    return session.quit_requests;
}

int recorded_quit_requests(int requests)
{
    return record_number('q', requests);
}

int replayed_take_quit_requests()
{
    long long value;
    if (!session.failed && replay_number('Q', 0, 0x7FFFFFFF, &value)) return (int)value;
    // Each look after a failure finds one more request: screens that wait
    // for a second one (the credits) end as well.
    return ++session.quit_requests;
}

int recorded_take_quit_requests(int requests)
{
    return record_number('Q', requests);
}

int replayed_delay_unless_quit()
{
    long long value;
    if (!session.failed && replay_number('d', 0, 1, &value)) return (int)value;
    return 1;
}

int recorded_delay_unless_quit(int cut_short)
{
    return record_number('d', cut_short);
}
