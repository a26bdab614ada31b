#ifndef ABYSSOR_SCRIPT_H
#define ABYSSOR_SCRIPT_H

#include <stddef.h>

// Every script of the game is plain text cut into words by white space.
// A ScriptReader holds a whole script in memory and hands out its words and
// numbers with the same results as the formatted input the scripts were
// written for: a number conversion that meets something else consumes
// nothing, so the offending word is read again as the next word.

const int SCRIPT_EOF = -1;
const int SCRIPT_WORD_SIZE = 200;  // buffers for words and file names: 199 characters and the zero

struct ScriptReader {
    char* data;   // the whole file; owned by the reader
    size_t size;
    size_t pos;
};

// Opens a script for reading. Returns 1 on success, 0 when the file cannot be
// opened (the caller reports it in its own words).
int script_open(ScriptReader& reader, const char* path);

// Reads a script from memory, for tests and fuzzing. The text is copied.
int script_open_memory(ScriptReader& reader, const char* text, size_t size);

void script_close(ScriptReader& reader);

// "%s": the next word. A word longer than the buffer is cut to fit and the
// rest of it is skipped. Returns 1, or SCRIPT_EOF when no word is left.
int script_word(ScriptReader& reader, char* buffer, int buffer_size);

// "%d": returns 1 when a number was stored, 0 when the next word does not
// start with one (nothing consumed), SCRIPT_EOF at the end of the file.
// Values beyond the 32-bit range are held at its limits.
int script_int(ScriptReader& reader, int* value);

// "%f": as script_int, for a decimal number with optional fraction and
// exponent. An exponent mark (and its sign) without digits after it is used
// up with the number, as formatted input uses it: "7e" reads 7.
int script_float(ScriptReader& reader, float* value);

// "%d,%d", "%d,%d,%d", ...: count integers separated by commas. White space
// may follow a comma but not precede it. Returns the number of values stored,
// or SCRIPT_EOF when the file ends before the first.
int script_int_list(ScriptReader& reader, int* values, int count);

// "%s %d": a word and an integer. Returns the number of values stored, or
// SCRIPT_EOF when no word is left.
int script_word_int(ScriptReader& reader, char* buffer, int buffer_size, int* value);

// A word matches a key when the key occurs anywhere inside it.
int word_has(const char* word, const char* key);

// The one error line of a script that cannot be opened.
void report_unreadable_script(const char* path);

#endif
