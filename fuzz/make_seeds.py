#!/usr/bin/python3
"""Writes the seed inputs of every fuzz target into corpus/<target>/seed-*,
from the committed fixtures of tests/data and a few hand-made files. Inputs
the fuzzers found (crash-*, slow-*) live beside the seeds and are kept."""

import pathlib
import struct

HERE = pathlib.Path(__file__).resolve().parent
DATA = HERE.parent / "tests" / "data"
CORPUS = HERE / "corpus"

IDENTIFICATION = b"Refractor2 FlatArchive 1.1  "
TRAILER = b"\xe0\x21\x13\x00" + bytes(8)
MAGIC_HEADER = bytes.fromhex(
    "63ec95bffe7b093c3af072eea472e7d93fcc99c0d371c14689bdd753b57e05b9f3b3db18759444ff9bd2b953c41fb4f565f1"
    "689f5883af0f761d4468679632d5b9178c6f30215f615dd2e5497264fbe255f6d5e1f38ff11cd76049f1fb49cde6de9f108d"
    "d62d42aba8785e985648a4e938634a4d4e9c6fb5d50c50b818a0be3589d4d03a10bdd524a34d8c0817d398004bd01248")


def le32(value):
    return struct.pack("<I", value)


def archive(entries, flag=0, identified=False):
    """entries: (name bytes, stored bytes, size) in directory order."""
    head_length = len(IDENTIFICATION) + 8 if identified else 8
    data = bytearray(MAGIC_HEADER)
    records = bytearray(le32(len(entries)))
    for name, stored, size in entries:
        records += le32(len(name)) + name + le32(len(stored)) + le32(size) + le32(head_length + len(data)) + TRAILER
        data += stored
    directory = head_length + len(data)
    head = (IDENTIFICATION if identified else b"") + le32(directory) + le32(flag)
    return head + bytes(data) + bytes(records) + le32(0)


def segments(entry):
    """(stream, size) of each segment of a compressed entry."""
    count = struct.unpack_from("<I", entry, 0)[0]
    table_end = 4 + 12 * count
    found = []
    for i in range(count):
        stored, size, offset = struct.unpack_from("<III", entry, 4 + 12 * i)
        found.append((entry[table_end + offset:table_end + offset + stored], size))
    return found


def lzo(name):
    return (DATA / "lzo" / name).read_bytes()


def write(target, name, content):
    folder = CORPUS / target
    folder.mkdir(parents=True, exist_ok=True)
    (folder / ("seed-" + name)).write_bytes(content)


def archive_seeds():
    for name in ("packer_identified.rfa", "packer_sizes_equal.rfa", "packer_table_lookalike.rfa"):
        write("archive_reader", name, (DATA / "archives" / name).read_bytes())
    write("archive_reader", "empty.rfa", archive([]))
    write("archive_reader", "plain.rfa", archive([
        (b"bf1942/init.con", b"run objects/tank.con\r\n", 22),
        (b"bf1942/objects/empty.con", b"", 0),
        (b"bf1942/objects/a/x", b"first", 5),
        (b"bf1942/objects/a/x", b"second", 6),
        (b"bf1942/caf\xe9.txt", b"Latin-1 name", 12),
        (b"bf1942//double//slash/", b"trailing", 8),
        (b"/leading", b"slash", 5),
        (b"readme", b"outside any folder", 18),
        (b"bf1942/cut\x00here", b"zero in the name", 16),
    ]))
    runs = lzo("runs-999.entry")
    write("archive_reader", "compressed.rfa", archive([
        (b"bf1942/runs.bin", runs, 8192),
        (b"bf1942/empty.con", lzo("empty.entry"), 0),
        (b"bf1942/raw.txt", b"stored as is", 12),
    ], flag=1))
    write("archive_reader", "identified_compressed.rfa",
          archive([(b"bf1942/levels/runs.raw", lzo("runs-1.entry"), 8192)], flag=1, identified=True))


def lzo_decoder_seeds():
    # option byte, LE16 output length, stream
    write("lzo_decoder", "end_marker", b"\x00\x00\x00" + bytes.fromhex("110000"))
    write("lzo_decoder", "abcd", b"\x00\x04\x00" + bytes.fromhex("1561626364110000"))
    write("lzo_decoder", "far_match_bit3", b"\x00\x00\x01" + bytes.fromhex("1561626364190000110000"))
    write("lzo_decoder", "far_short_match", b"\x00\x10\x00" + bytes.fromhex("16616263646504000000110000"))
    for case in ["runs-1", "runs-999", "far-999", "text-999", "code-999", "sparse-999", "random-1"]:
        stream, size = segments(lzo(case + ".entry"))[0]
        write("lzo_decoder", case, b"\x00" + struct.pack("<H", size) + stream)


def lzo_differential_seeds():
    # option byte (modulo 3: 0 lzo1x_1, 1 lzo1x_999, 2 a stream for both decoders), bytes
    for case, length in [("text", 2048), ("code", 2048), ("runs", 2048), ("sparse", 2048), ("far", 20000)]:
        content = (DATA / "lzo" / (case + ".bin")).read_bytes()[:length]
        write("lzo_differential", case + "-1", bytes([0 + 3 * 8]) + content)
        write("lzo_differential", case + "-999", bytes([1 + 3 * 6]) + content)
    for case in ["runs-999", "text-1"]:
        stream, size = segments(lzo(case + ".entry"))[0]
        write("lzo_differential", "stream-" + case, b"\x02" + struct.pack("<H", size) + stream)


def dds_seeds():
    for path in sorted((DATA / "dds").glob("*.dds")):
        if path.stat().st_size <= 1024:
            write("dds", path.name, path.read_bytes())
    header = bytearray((DATA / "dds" / "dxt1_4x4.dds").read_bytes()[:128])
    write("dds", "dxt1_header_only.dds", bytes(header))


def tga_seeds():
    for path in sorted((DATA / "tga").glob("*.tga")):
        write("tga", path.name, path.read_bytes())


def raw_seeds():
    # eight bytes: a length for the shape rule; the whole input: a height map
    write("raw_height_map", "grey16_4x4", le32(32) + le32(0) + bytes(range(24)))
    write("raw_height_map", "grey8_5x5", le32(25) + le32(0) + bytes(range(100, 117)))
    write("raw_height_map", "largest_lengths", b"\xff" * 8 + b"\x01")
    write("raw_height_map", "one_sample", b"\x01")
    # lengths where the single-precision root lands above the exact one
    for name, length in [("root_2p63_plus_1", 2**63 + 1), ("root_3x2p62", 3 << 62), ("root_max_over_3", (2**64 - 1) // 3)]:
        write("raw_height_map", name, struct.pack("<Q", length))


if __name__ == "__main__":
    for old in CORPUS.glob("*/seed-*"):
        old.unlink()
    archive_seeds()
    lzo_decoder_seeds()
    lzo_differential_seeds()
    dds_seeds()
    tga_seeds()
    raw_seeds()
