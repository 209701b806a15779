/* Writes LZO1X fixtures made by liblzo2: for each case, its content
 * (<case>.bin) and the content as a compressed entry, cut into segments and
 * compressed with lzo1x_1 and with lzo1x_999 (<case>-1.entry,
 * <case>-999.entry). It walks the instructions of every stream and fails
 * unless together they use each form the decoder must handle. */
#include "lzo_segments.h"

enum { SEGMENT = 32 * 1024 };

typedef struct {
    unsigned long literal_runs, long_literal_runs, short_matches, far_short_matches, near_matches;
    unsigned long middle_matches, middle_extended, far_matches, far_extended, far_bit3;
    unsigned long overlapping, trailing[4];
} census;

static unsigned long extension(const unsigned char **ip)
{
    unsigned long n = 0;
    while (**ip == 0) {
        n += 255;
        ++*ip;
    }
    return n + *(*ip)++;
}

/* Trusts the stream: liblzo2 just wrote it. */
static void take_census(buffer stream, census *c)
{
    const unsigned char *ip = stream.bytes;
    unsigned state = 0; /* 0, 1-3 trailing literals, 4 after a run */
    unsigned t = *ip++;
    if (t > 17) {
        ip += t - 17;
        state = t - 17 >= 4 ? 4 : t - 17;
        t = *ip++;
    }
    for (;;) {
        unsigned long length, distance;
        unsigned trailing;
        if (t < 16 && state == 0) {
            length = t ? t + 3 : 18 + extension(&ip);
            ++c->literal_runs;
            c->long_literal_runs += t == 0;
            ip += length;
            state = 4;
            t = *ip++;
            continue;
        }
        if (t < 16) {
            const unsigned cc = *ip++;
            length = state == 4 ? 3 : 2;
            distance = (state == 4 ? 2049 : 1) + (t >> 2) + (cc << 2);
            trailing = t & 3;
            ++*(state == 4 ? &c->far_short_matches : &c->short_matches);
        } else if (t < 32) {
            length = (t & 7) ? (t & 7) + 2 : 9 + extension(&ip);
            c->far_extended += (t & 7) == 0;
            const unsigned w = ip[0] | ip[1] << 8;
            ip += 2;
            if ((w >> 2) == 0 && (t & 8) == 0)
                return;
            distance = 16384 + ((t & 8) << 11) + (w >> 2);
            trailing = w & 3;
            ++c->far_matches;
            c->far_bit3 += (t & 8) != 0;
        } else if (t < 64) {
            length = (t & 31) ? (t & 31) + 2 : 33 + extension(&ip);
            c->middle_extended += (t & 31) == 0;
            const unsigned w = ip[0] | ip[1] << 8;
            ip += 2;
            distance = 1 + (w >> 2);
            trailing = w & 3;
            ++c->middle_matches;
        } else {
            const unsigned cc = *ip++;
            length = (t >> 5) + 1;
            distance = 1 + ((t >> 2) & 7) + (cc << 3);
            trailing = t & 3;
            ++c->near_matches;
        }
        c->overlapping += distance < length;
        ++c->trailing[trailing];
        ip += trailing;
        state = trailing;
        t = *ip++;
    }
}

static void census_of_entry(buffer entry, census *c)
{
    const unsigned char *p = entry.bytes;
    const uint32_t count = p[0] | p[1] << 8 | p[2] << 16 | (uint32_t)p[3] << 24;
    for (uint32_t i = 0; i < count; ++i) {
        const unsigned char *row = p + 4 + 12 * i;
        const uint32_t length = row[0] | row[1] << 8 | row[2] << 16 | (uint32_t)row[3] << 24;
        const uint32_t offset = row[8] | row[9] << 8 | row[10] << 16 | (uint32_t)row[11] << 24;
        const buffer stream = {(unsigned char *)p + 4 + 12 * count + offset, length};
        take_census(stream, c);
    }
}

/* Repeats of patterns of period 1 to 9, so that matches overlap their own output. */
static buffer periodic_runs(size_t size, uint64_t seed)
{
    buffer b = {0, 0};
    while (b.size < size) {
        const uint32_t r = next_random(&seed);
        const unsigned period = 1 + r % 9;
        const unsigned repeats = 2 + (r >> 8) % 60;
        unsigned char pattern[9];
        for (unsigned i = 0; i < period; ++i)
            pattern[i] = (unsigned char)next_random(&seed);
        for (unsigned k = 0; k < repeats; ++k)
            append(&b, pattern, period);
        append(&b, "x", 1 + (r >> 16) % 3);
    }
    b.size = size;
    return b;
}

/* A random block, 34 KiB of text, the block again (more than 32 KiB back,
 * which only a far match with bit 3 reaches), then text: one 40 KiB segment. */
static buffer far_repeat(void)
{
    buffer block = random_bytes(2048, 7);
    buffer text = script_text(34 * 1024, 8);
    buffer tail = script_text(40 * 1024 - 2 * 2048 - 34 * 1024, 9);
    buffer b = {0, 0};
    append(&b, block.bytes, block.size);
    append(&b, text.bytes, text.size);
    append(&b, block.bytes, block.size);
    append(&b, tail.bytes, tail.size);
    free(block.bytes);
    free(text.bytes);
    free(tail.bytes);
    return b;
}

/* Random bytes with a 3-byte repeat from 2049 to 3072 bytes back after each
 * stretch of literals: the one place for a short match after a literal run. */
static buffer sparse_repeats(size_t size, uint64_t seed)
{
    buffer b = random_bytes(size, seed);
    for (size_t at = 3072 + 40; at + 3 <= size; at += 40) {
        const size_t distance = 2049 + next_random(&seed) % 1024;
        memmove(b.bytes + at, b.bytes + at - distance, 3);
    }
    return b;
}

/* Code-like bytes: a few opcodes, random operands, zero padding. */
static buffer code_like(size_t size, uint64_t seed)
{
    static const unsigned char opcodes[][3] = {{0x48, 0x89, 0xC7}, {0x48, 0x8B, 0x45}, {0xE8, 0, 0},
                                               {0x0F, 0x1F, 0x44}, {0x55, 0x48, 0x89}, {0xC3, 0x90, 0x90}};
    static const unsigned char zeros[64];
    buffer b = {0, 0};
    while (b.size < size) {
        const uint32_t r = next_random(&seed);
        append(&b, opcodes[r % 6], 3);
        for (unsigned i = 0; i < (r >> 8) % 5; ++i) {
            const unsigned char operand = (unsigned char)next_random(&seed);
            append(&b, &operand, 1);
        }
        if ((r >> 16) % 40 == 0)
            append(&b, zeros, 16 + (r >> 24) % 48);
    }
    b.size = size;
    return b;
}

static void write_case(const char *name, buffer content, size_t segment_size, census *c)
{
    char path[64];
    snprintf(path, sizeof path, "%s.bin", name);
    write_file(path, content);
    for (int m = 0; m < 2; ++m) {
        buffer entry = compressed_entry(content, segment_size, m == 0 ? LZO1X_1 : LZO1X_999, IN_ORDER);
        snprintf(path, sizeof path, "%s-%s.entry", name, m == 0 ? "1" : "999");
        write_file(path, entry);
        census_of_entry(entry, c);
        free(entry.bytes);
    }
}

int main(void)
{
    if (lzo_init() != LZO_E_OK)
        die("lzo_init failed");
    census c = {0};
    buffer text = script_text(40 * 1024 + 123, 1);
    write_case("text", text, SEGMENT, &c);
    buffer shuffled = compressed_entry(text, SEGMENT, LZO1X_999, SHUFFLED);
    write_file("text-999-shuffled.entry", shuffled);
    write_file("empty.entry", packer_empty_entry());
    write_case("runs", periodic_runs(8 * 1024, 2), SEGMENT, &c);
    write_case("random", random_bytes(8 * 1024, 3), SEGMENT, &c);
    write_case("sparse", sparse_repeats(8 * 1024, 5), SEGMENT, &c);
    write_case("code", code_like(16 * 1024, 4), SEGMENT, &c);
    census far = {0};
    write_case("far", far_repeat(), 40 * 1024, &far);
    printf("literal runs %lu (extended %lu), short %lu, far short %lu, near %lu, middle %lu (extended %lu),"
           " far %lu (extended %lu, bit 3 %lu), overlapping %lu, trailing 0-3: %lu %lu %lu %lu\n",
           c.literal_runs, c.long_literal_runs, c.short_matches, c.far_short_matches, c.near_matches,
           c.middle_matches, c.middle_extended, c.far_matches, c.far_extended, c.far_bit3, c.overlapping,
           c.trailing[0], c.trailing[1], c.trailing[2], c.trailing[3]);
    printf("far case: far matches %lu, with bit 3 %lu\n", far.far_matches, far.far_bit3);
    if (!c.long_literal_runs || !c.short_matches || !c.far_short_matches || !c.near_matches ||
        !c.middle_extended || !c.far_extended || !c.far_matches || !c.overlapping || !c.trailing[0] ||
        !c.trailing[1] || !c.trailing[2] || !c.trailing[3] || !far.far_bit3)
        die("the fixtures miss an instruction form");
    return 0;
}
