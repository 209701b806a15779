/* Shared by the fixture generators: content cut into segments, each
 * compressed by liblzo2, framed as a compressed RFA entry (segment count,
 * then stored size, size and offset per segment, then the streams). */
#ifndef LZO_SEGMENTS_H
#define LZO_SEGMENTS_H

#include <lzo/lzo1x.h>

#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

typedef struct {
    unsigned char *bytes;
    size_t size;
} buffer;

enum method { LZO1X_1, LZO1X_999 };

/* Streams laid out in table order, back to back; or in reverse order with a
 * few junk bytes before each, as other packers may place them. */
enum layout { IN_ORDER, SHUFFLED };

static void die(const char *what)
{
    fprintf(stderr, "fixture generator: %s\n", what);
    exit(1);
}

static void append(buffer *b, const void *bytes, size_t n)
{
    b->bytes = realloc(b->bytes, b->size + n + 1);
    if (!b->bytes)
        die("out of memory");
    memcpy(b->bytes + b->size, bytes, n);
    b->size += n;
}

static void append_le32(buffer *b, uint32_t v)
{
    const unsigned char le[4] = {v & 0xFF, (v >> 8) & 0xFF, (v >> 16) & 0xFF, v >> 24};
    append(b, le, 4);
}

static void put_le32(unsigned char *p, uint32_t v)
{
    p[0] = v & 0xFF;
    p[1] = (v >> 8) & 0xFF;
    p[2] = (v >> 16) & 0xFF;
    p[3] = v >> 24;
}

static buffer compress_stream(const unsigned char *src, size_t n, enum method method)
{
    static unsigned char work[LZO1X_999_MEM_COMPRESS];
    buffer out = {malloc(n + n / 16 + 64 + 3), 0};
    lzo_uint length = n + n / 16 + 64 + 3;
    const int r = method == LZO1X_1 ? lzo1x_1_compress(src, n, out.bytes, &length, work)
                                    : lzo1x_999_compress(src, n, out.bytes, &length, work);
    if (r != LZO_E_OK)
        die("compression failed");
    out.size = length;
    return out;
}

static buffer compressed_entry(buffer content, size_t segment_size, enum method method, enum layout layout)
{
    const size_t count = (content.size + segment_size - 1) / segment_size;
    buffer entry = {0, 0};
    buffer streams = {0, 0};
    append_le32(&entry, (uint32_t)count);
    for (size_t i = 0; i < count; ++i)
        append(&entry, "\0\0\0\0\0\0\0\0\0\0\0\0", 12);
    for (size_t k = 0; k < count; ++k) {
        const size_t i = layout == IN_ORDER ? k : count - 1 - k;
        const size_t at = i * segment_size;
        const size_t n = content.size - at < segment_size ? content.size - at : segment_size;
        buffer stream = compress_stream(content.bytes + at, n, method);
        if (layout == SHUFFLED)
            append(&streams, "junk", 1 + i % 4);
        unsigned char *row = entry.bytes + 4 + 12 * i;
        put_le32(row, (uint32_t)stream.size);
        put_le32(row + 4, (uint32_t)n);
        put_le32(row + 8, (uint32_t)streams.size);
        append(&streams, stream.bytes, stream.size);
        free(stream.bytes);
    }
    append(&entry, streams.bytes, streams.size);
    free(streams.bytes);
    return entry;
}

/* How the game's packer stores an empty file: one segment of size 0 whose
 * four bytes are no valid stream. */
static buffer packer_empty_entry(void)
{
    static const unsigned char bytes[] = {1, 0, 0, 0, 4, 0, 0, 0, 0, 0, 0, 0,
                                          0, 0, 0, 0, 0x11, 0x11, 0, 0};
    buffer entry = {0, 0};
    append(&entry, bytes, sizeof bytes);
    return entry;
}

static void write_file(const char *path, buffer b)
{
    FILE *f = fopen(path, "wb");
    if (!f || fwrite(b.bytes, 1, b.size, f) != b.size || fclose(f) != 0)
        die(path);
}

/* A fixed pseudo-random sequence, so that every run writes the same files. */
static uint32_t next_random(uint64_t *state)
{
    *state = *state * 6364136223846793005ULL + 1442695040888963407ULL;
    return (uint32_t)(*state >> 33);
}

/* Lines in the manner of the game's .con scripts. */
static buffer script_text(size_t size, uint64_t seed)
{
    static const char *const commands[] = {
        "ObjectTemplate.create SimpleObject", "ObjectTemplate.setNetworkableInfo BasicInfo",
        "ObjectTemplate.geometry", "ObjectTemplate.addTemplate", "ObjectTemplate.setPosition",
        "ObjectTemplate.setRotation", "ObjectTemplate.hasCollisionPhysics 1",
        "ObjectTemplate.physicsType Mesh", "rem *** Tank ***", "include ../common/lights.con"};
    buffer text = {0, 0};
    char line[160];
    while (text.size < size) {
        const uint32_t r = next_random(&seed);
        const int n = snprintf(line, sizeof line, "%s part_%u/%u.%u\r\n", commands[r % 10], r % 331,
                               (r >> 8) % 10, (r >> 12) % 1000);
        append(&text, line, (size_t)n);
    }
    text.size = size;
    return text;
}

static buffer random_bytes(size_t size, uint64_t seed)
{
    buffer b = {malloc(size + 1), size};
    for (size_t i = 0; i < size; ++i)
        b.bytes[i] = (unsigned char)next_random(&seed);
    return b;
}

#endif
