#!/usr/bin/env python3
"""Reads an archive with Python's zipfile, independently of the writer under test.

check_zip.py entries ARCHIVE MANIFEST
    MANIFEST holds one line per expected entry, in archive order: the entry name, a tab,
    and the file whose bytes the entry must hold (nothing for a folder). Names stored
    without the UTF-8 flag are read in code page 866. Every CRC is checked.
check_zip.py deflate ARCHIVE INDEX SOURCE CHUNK LEVEL
    The raw data of entry INDEX must equal SOURCE compressed by zlib at LEVEL with window
    bits 15 and memory level 8, a sync flush after every CHUNK bytes but the last.
Prints OK, or what differs and exits with 1.
"""
import struct
import sys
import zipfile
import zlib


def fail(message):
    print(message)
    sys.exit(1)


def stored_name(info):
    if info.flag_bits & 0x800:
        return info.filename
    return info.filename.encode("cp437").decode("cp866")


def check_entries(archive, manifest):
    with open(manifest, encoding="utf-8") as f:
        expected = [line.rstrip("\n").split("\t") for line in f if line.strip("\n")]
    with zipfile.ZipFile(archive) as z:
        bad = z.testzip()
        if bad is not None:
            fail("bad CRC in " + bad)
        infos = z.infolist()
        names = [stored_name(i) for i in infos]
        wanted = [e[0] for e in expected]
        if names != wanted:
            fail("names differ:\n  read:     %r\n  expected: %r" % (names, wanted))
        for info, entry in zip(infos, expected):
            data = z.read(info)
            source = entry[1] if len(entry) > 1 else ""
            if not source:
                if data or not info.is_dir():
                    fail("%s is not an empty folder entry" % entry[0])
                continue
            with open(source, "rb") as s:
                if data != s.read():
                    fail("bytes of %s differ from %s" % (entry[0], source))
    print("OK")


def raw_data(archive, index):
    with zipfile.ZipFile(archive) as z:
        info = z.infolist()[index]
    with open(archive, "rb") as f:
        f.seek(info.header_offset)
        header = f.read(30)
        name_length, extra_length = struct.unpack("<HH", header[26:30])
        f.seek(info.header_offset + 30 + name_length + extra_length)
        return f.read(info.compress_size)


def check_deflate(archive, index, source, chunk, level):
    with open(source, "rb") as s:
        data = s.read()
    c = zlib.compressobj(level, zlib.DEFLATED, -15, 8, zlib.Z_DEFAULT_STRATEGY)
    out = b""
    for start in range(0, len(data), chunk):
        piece = data[start:start + chunk]
        last = start + chunk >= len(data)
        out += c.compress(piece) + c.flush(zlib.Z_FINISH if last else zlib.Z_SYNC_FLUSH)
    actual = raw_data(archive, index)
    if actual != out:
        fail("raw data differs: %d bytes read, %d expected" % (len(actual), len(out)))
    print("OK")


if __name__ == "__main__":
    if sys.argv[1] == "entries":
        check_entries(sys.argv[2], sys.argv[3])
    elif sys.argv[1] == "deflate":
        check_deflate(sys.argv[2], int(sys.argv[3]), sys.argv[4], int(sys.argv[5]), int(sys.argv[6]))
    else:
        fail("unknown command " + sys.argv[1])
