/* A 64-bit FNV-1a hash of a surface's visible pixels, row by row without the
 * padding at the end of each row. The browser build and the desktop frame
 * probe both use it, so a frame hashes alike on either side. */
#ifndef ABYSSOR_FRAME_HASH_H
#define ABYSSOR_FRAME_HASH_H

#include <stdint.h>

static inline uint64_t frame_hash(const void* pixels, int pitch, int row_bytes, int rows)
{
    uint64_t hash = 14695981039346656037ull;
    const uint8_t* row = (const uint8_t*)pixels;
    for (int y = 0; y < rows; y++, row += pitch)
        for (int x = 0; x < row_bytes; x++) {
            hash ^= row[x];
            hash *= 1099511628211ull;
        }
    return hash;
}

#endif
