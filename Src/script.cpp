#include "script.h"

#include <limits.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

// Scripts are a few kilobytes; anything beyond this is not a script and is
// not read further.
static const size_t SCRIPT_MAX_BYTES = 16u * 1024u * 1024u;

static int is_space(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

static int is_digit(char c)
{
    return c >= '0' && c <= '9';
}

int script_open(ScriptReader& reader, const char* path)
{
    reader.data = NULL;
    reader.size = 0;
    reader.pos = 0;
    FILE* file = fopen(path, "r");
    if (file == NULL) return 0;
    size_t capacity = 4096;
    char* data = (char*)malloc(capacity);
    size_t size = 0;
    while (data != NULL && size < SCRIPT_MAX_BYTES) {
        if (size + 1 >= capacity) {
            capacity *= 2;
            char* grown = (char*)realloc(data, capacity);
            if (grown == NULL) break;
            data = grown;
        }
        size_t got = fread(data + size, 1, capacity - size - 1, file);
        if (got == 0) break;
        size += got;
    }
    fclose(file);
    if (data != NULL) data[size] = '\0';
    reader.data = data;
    reader.size = data != NULL ? size : 0;
    return 1;
}

int script_open_memory(ScriptReader& reader, const char* text, size_t size)
{
    reader.pos = 0;
    reader.size = 0;
    reader.data = (char*)malloc(size + 1);
    if (reader.data == NULL) return 0;
    if (size > 0) memcpy(reader.data, text, size);
    reader.data[size] = '\0';
    reader.size = size;
    return 1;
}

void script_close(ScriptReader& reader)
{
    free(reader.data);
    reader.data = NULL;
    reader.size = 0;
    reader.pos = 0;
}

static void skip_space(ScriptReader& reader)
{
    while (reader.pos < reader.size && is_space(reader.data[reader.pos])) reader.pos++;
}

static int at_end(const ScriptReader& reader)
{
    return reader.pos >= reader.size;
}

int script_word(ScriptReader& reader, char* buffer, int buffer_size)
{
    skip_space(reader);
    if (at_end(reader)) return SCRIPT_EOF;
    int length = 0;
    while (reader.pos < reader.size && !is_space(reader.data[reader.pos])) {
        if (length < buffer_size - 1) buffer[length++] = reader.data[reader.pos];
        reader.pos++;
    }
    if (buffer_size > 0) buffer[length] = '\0';
    return 1;
}

// Reads an optionally signed run of digits at the current position without
// skipping anything; returns the number of digits, and leaves pos after them.
static int scan_digits(ScriptReader& reader, long long* value)
{
    int negative = 0;
    if (reader.pos < reader.size && (reader.data[reader.pos] == '+' || reader.data[reader.pos] == '-')) {
        negative = reader.data[reader.pos] == '-';
        reader.pos++;
    }
    int digits = 0;
    long long number = 0;
    while (reader.pos < reader.size && is_digit(reader.data[reader.pos])) {
        if (number < 10000000000LL) number = number * 10 + (reader.data[reader.pos] - '0');
        reader.pos++;
        digits++;
    }
    *value = negative ? -number : number;
    return digits;
}

int script_int(ScriptReader& reader, int* value)
{
    skip_space(reader);
    if (at_end(reader)) return SCRIPT_EOF;
    size_t start = reader.pos;
    long long number = 0;
    if (scan_digits(reader, &number) == 0) {
        reader.pos = start;
        return 0;
    }
    if (number > INT_MAX) number = INT_MAX;
    if (number < INT_MIN) number = INT_MIN;
    *value = (int)number;
    return 1;
}

int script_float(ScriptReader& reader, float* value)
{
    skip_space(reader);
    if (at_end(reader)) return SCRIPT_EOF;
    size_t start = reader.pos;
    size_t p = reader.pos;
    if (p < reader.size && (reader.data[p] == '+' || reader.data[p] == '-')) p++;
    int digits = 0;
    while (p < reader.size && is_digit(reader.data[p])) { p++; digits++; }
    if (p < reader.size && reader.data[p] == '.') {
        p++;
        while (p < reader.size && is_digit(reader.data[p])) { p++; digits++; }
    }
    if (digits == 0) {
        reader.pos = start;
        return 0;
    }
    size_t number_end = p;
    // Formatted input takes an exponent mark and its sign even when no digit
    // follows ("7e" is 7, "1e+x" leaves "x"); the number is then the part
    // before the mark.
    if (p < reader.size && (reader.data[p] == 'e' || reader.data[p] == 'E')) {
        p++;
        if (p < reader.size && (reader.data[p] == '+' || reader.data[p] == '-')) p++;
        if (p < reader.size && is_digit(reader.data[p])) {
            while (p < reader.size && is_digit(reader.data[p])) p++;
            number_end = p;
        }
    }
    // The reader keeps a zero byte after the text, so the number can be
    // converted in place.
    char saved = reader.data[number_end];
    reader.data[number_end] = '\0';
    *value = strtof(reader.data + start, NULL);
    reader.data[number_end] = saved;
    reader.pos = p;
    return 1;
}

int script_int_list(ScriptReader& reader, int* values, int count)
{
    int stored = 0;
    for (int i = 0; i < count; i++) {
        if (i > 0) {
            // The comma must follow the number at once.
            if (at_end(reader) || reader.data[reader.pos] != ',') return stored;
            reader.pos++;
        }
        int got = script_int(reader, &values[i]);
        if (got == SCRIPT_EOF) return stored == 0 ? SCRIPT_EOF : stored;
        if (got == 0) return stored;
        stored++;
    }
    return stored;
}

int script_word_int(ScriptReader& reader, char* buffer, int buffer_size, int* value)
{
    if (script_word(reader, buffer, buffer_size) == SCRIPT_EOF) return SCRIPT_EOF;
    return script_int(reader, value) == 1 ? 2 : 1;
}

int word_has(const char* word, const char* key)
{
    return strstr(word, key) != NULL;
}

void report_unreadable_script(const char* path)
{
    fprintf(stderr, "Nemohu nahrat soubor : %s\n", path);
}
