/* Files read through buffers of 64 KB (the link wraps fopen and fclose). The
 * C library reads through 1 KB, and every refill is a call out to the
 * JavaScript file system: SDL reads a picture a row at a time, so the
 * pictures the game loads before its first picture took some 6,000 calls,
 * and now take a hundred. */
#include <stdio.h>
#include <stdlib.h>

#define READ_BUFFER_BYTES 65536
/* Files open for reading at once (the game keeps one or two open). */
#define MAX_BUFFERED_FILES 16

FILE* __real_fopen(const char* path, const char* mode);
int __real_fclose(FILE* file);

static struct {
    FILE* file;
    char* buffer;
} buffered[MAX_BUFFERED_FILES];

FILE* __wrap_fopen(const char* path, const char* mode)
{
    FILE* file = __real_fopen(path, mode);
    if (file == NULL || mode[0] != 'r') return file;
    for (int i = 0; i < MAX_BUFFERED_FILES; i++) {
        if (buffered[i].file != NULL) continue;
        char* buffer = malloc(READ_BUFFER_BYTES);
        if (buffer != NULL && setvbuf(file, buffer, _IOFBF, READ_BUFFER_BYTES) == 0) {
            buffered[i].file = file;
            buffered[i].buffer = buffer;
        } else {
            free(buffer);
        }
        break;
    }
    return file;
}

int __wrap_fclose(FILE* file)
{
    int result = __real_fclose(file);
    for (int i = 0; i < MAX_BUFFERED_FILES; i++) {
        if (buffered[i].file != file) continue;
        free(buffered[i].buffer);
        buffered[i].file = NULL;
        buffered[i].buffer = NULL;
        break;
    }
    return result;
}
