/* Writes small compressed RFA archives laid out as the game's packer writes
 * them, a manifest of their entries (path, size, FNV-1a 64 of the content,
 * the file under contents/ that holds the content when it is small, and
 * whether the entry is stored compressed or raw). */
#include "../lzo/lzo_segments.h"

#include <sys/stat.h>

enum { SEGMENT = 32 * 1024, SMALL = 4096 };

static const char magic_hex[] =
    "63ec95bffe7b093c3af072eea472e7d93fcc99c0d371c14689bdd753b57e05b9f3b3db18759444ff9bd2b953c41fb4f5"
    "65f1689f5883af0f761d4468679632d5b9178c6f30215f615dd2e5497264fbe255f6d5e1f38ff11cd76049f1fb49cde6"
    "de9f108dd62d42aba8785e985648a4e938634a4d4e9c6fb5d50c50b818a0be3589d4d03a10bdd524a34d8c0817d39800"
    "4bd01248";

static const char identification[] = "Refractor2 FlatArchive 1.1  ";

typedef enum { COMPRESSED, RAW, PACKER_EMPTY } storage;

typedef struct {
    const char *path;
    buffer content;
    storage how;
} entry;

static const char *storage_name(storage how)
{
    return how == RAW ? "raw" : "compressed";
}

static uint64_t fnv1a64(buffer b)
{
    uint64_t hash = 0xCBF29CE484222325ULL;
    for (size_t i = 0; i < b.size; ++i)
        hash = (hash ^ b.bytes[i]) * 0x100000001B3ULL;
    return hash;
}

static void make_parents(const char *path)
{
    char dir[256];
    for (const char *p = path; (p = strchr(p, '/')); ++p) {
        snprintf(dir, sizeof dir, "%.*s", (int)(p - path), path);
        mkdir(dir, 0755);
    }
}

/* A height map: little-endian 16-bit samples of a gentle slope. */
static buffer height_map(unsigned side)
{
    buffer b = {malloc(2 * side * side + 1), 2 * side * side};
    for (unsigned y = 0; y < side; ++y)
        for (unsigned x = 0; x < side; ++x) {
            const unsigned v = 8000 + 37 * x + 11 * y + ((x * y) & 15);
            b.bytes[2 * (y * side + x)] = v & 0xFF;
            b.bytes[2 * (y * side + x) + 1] = v >> 8;
        }
    return b;
}

/* Script lines, then a comment line of pseudo-random digits (which barely
 * compress) up to `size` bytes. */
static buffer script_with_digits(size_t size, size_t scripted, uint64_t seed)
{
    buffer text = script_text(scripted, seed);
    append(&text, "\r\nrem ", 6);
    while (text.size < size) {
        const char digit = (char)('0' + next_random(&seed) % 10);
        append(&text, &digit, 1);
    }
    text.size = size;
    return text;
}

/* A 221-byte script whose compressed entry (count, one triple, the stream)
 * is exactly as long as the script, as the game's packer now and then
 * writes one. */
static buffer script_stored_in_its_own_size(void)
{
    enum { SIZE = 221 };
    for (uint64_t seed = 1; seed < 100; ++seed)
        for (size_t scripted = 0; scripted < SIZE; ++scripted) {
            buffer text = script_with_digits(SIZE, scripted, seed);
            buffer stored = compressed_entry(text, SEGMENT, LZO1X_999, IN_ORDER);
            const int hit = stored.size == SIZE;
            free(stored.bytes);
            if (hit)
                return text;
            free(text.bytes);
        }
    die("no script compresses to its own size");
    return (buffer){0, 0};
}

/* Raw bytes that begin like a segment table: one segment inside the entry,
 * declaring the entry's size, whose stream is valid but decodes to fewer
 * bytes than that; filler makes up the rest. */
static buffer segment_table_lookalike(size_t size)
{
    const buffer inner = script_text(150, 14);
    buffer stream = compress_stream(inner.bytes, inner.size, LZO1X_999);
    if (16 + stream.size >= size)
        die("lookalike stream too long");
    buffer b = {0, 0};
    append_le32(&b, 1);
    append_le32(&b, (uint32_t)stream.size);
    append_le32(&b, (uint32_t)size);
    append_le32(&b, 0);
    append(&b, stream.bytes, stream.size);
    const buffer filler = random_bytes(size - b.size, 15);
    append(&b, filler.bytes, filler.size);
    free(stream.bytes);
    free(filler.bytes);
    free(inner.bytes);
    return b;
}

static void write_archive(const char *name, int identified, const entry *entries, size_t count, FILE *manifest)
{
    buffer file = {0, 0};
    if (identified) {
        append(&file, identification, 28);
        append_le32(&file, 0);
        append_le32(&file, 1);
    } else {
        append_le32(&file, 0);
        append_le32(&file, 1);
        for (size_t i = 0; i < sizeof magic_hex - 1; i += 2) {
            unsigned byte;
            sscanf(magic_hex + i, "%2x", &byte);
            const unsigned char c = (unsigned char)byte;
            append(&file, &c, 1);
        }
    }
    uint32_t *stored_sizes = calloc(count, sizeof *stored_sizes);
    uint32_t *offsets = calloc(count, sizeof *offsets);
    for (size_t i = 0; i < count; ++i) {
        const entry *e = &entries[i];
        buffer stored = e->how == RAW ? e->content
                      : e->how == PACKER_EMPTY ? packer_empty_entry()
                                               : compressed_entry(e->content, SEGMENT, LZO1X_999, IN_ORDER);
        offsets[i] = (uint32_t)file.size;
        stored_sizes[i] = (uint32_t)stored.size;
        append(&file, stored.bytes, stored.size);
        if (e->how != RAW)
            free(stored.bytes);
    }
    put_le32(file.bytes + (identified ? 28 : 0), (uint32_t)file.size);
    append_le32(&file, (uint32_t)count);
    for (size_t i = 0; i < count; ++i) {
        const entry *e = &entries[i];
        append_le32(&file, (uint32_t)strlen(e->path));
        append(&file, e->path, strlen(e->path));
        append_le32(&file, stored_sizes[i]);
        append_le32(&file, (uint32_t)e->content.size);
        append_le32(&file, offsets[i]);
        append(&file, "\xE0\x21\x13\0\0\0\0\0\0\0\0\0", 12);

        char content_path[256] = "-";
        if (e->content.size <= SMALL) {
            snprintf(content_path, sizeof content_path, "contents/%s", e->path);
            make_parents(content_path);
            write_file(content_path, e->content);
        }
        fprintf(manifest, "%s %s %zu %016llx %s %s\n", name, e->path, e->content.size,
                (unsigned long long)fnv1a64(e->content), content_path, storage_name(e->how));
    }
    append_le32(&file, 0);
    write_file(name, file);
    free(file.bytes);
    free(stored_sizes);
    free(offsets);
}

int main(void)
{
    if (lzo_init() != LZO_E_OK)
        die("lzo_init failed");
    const buffer none = {0, 0};
    buffer dds = random_bytes(1024, 21);
    memcpy(dds.bytes, "DDS |", 5);
    const entry plain[] = {
        {"bf1942/objects/vehicles/tank.con", script_text(66 * 1024 + 500, 11), COMPRESSED},
        {"bf1942/objects/empty.con", none, PACKER_EMPTY},
        {"bf1942/textures/raw.dds", dds, RAW},
        {"bf1942/init.con", script_text(300, 12), COMPRESSED},
        {"bf1942/levels/map/heightmap.raw", height_map(136), COMPRESSED},
    };
    const entry identified[] = {
        {"bf1942/init.con", script_text(300, 12), COMPRESSED},
        {"bf1942/objects/empty.con", none, PACKER_EMPTY},
        {"bf1942/readme.txt", script_text(200, 13), RAW},
    };
    const entry sizes_equal[] = {
        {"bf1942/objects/sizes_equal.con", script_stored_in_its_own_size(), COMPRESSED},
        {"bf1942/init.con", script_text(300, 12), COMPRESSED},
        {"bf1942/readme.txt", script_text(200, 13), RAW},
    };
    const entry lookalike[] = {
        {"bf1942/levels/lookalike.dat", segment_table_lookalike(400), RAW},
        {"bf1942/init.con", script_text(300, 12), COMPRESSED},
    };
    FILE *manifest = fopen("manifest.txt", "w");
    if (!manifest)
        die("manifest.txt");
    fprintf(manifest, "# archive entry-path size fnv1a64-of-content content-file-or-dash storage\n");
    write_archive("packer_plain.rfa", 0, plain, sizeof plain / sizeof *plain, manifest);
    write_archive("packer_identified.rfa", 1, identified, sizeof identified / sizeof *identified, manifest);
    write_archive("packer_sizes_equal.rfa", 0, sizes_equal, sizeof sizes_equal / sizeof *sizes_equal, manifest);
    write_archive("packer_table_lookalike.rfa", 1, lookalike, sizeof lookalike / sizeof *lookalike, manifest);
    if (fclose(manifest) != 0)
        die("manifest.txt");
    return 0;
}
