#!/usr/bin/env python3
# Makes the seed corpora of tests/fuzz/corpus/ from the built game data and tools (a puzzle of
# quillorix-puzzle, a store written by quillorix-reg, the window icon, slices of the dictionary
# and the grid file). Run it from the source folder: tests/fuzz/make_corpus.py [BIN_FOLDER].
import json, os, struct, subprocess, sys, tempfile

here = os.path.dirname(os.path.abspath(__file__))
source = os.path.dirname(os.path.dirname(here))
bin_dir = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else os.path.join(source, "build-asan", "bin"))
env = dict(os.environ, LSAN_OPTIONS="suppressions=" + os.path.join(source, "tests", "lsan.supp"))


def put(target, name, data):
    folder = os.path.join(here, "corpus", target)
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, name), "wb") as f:
        f.write(data.encode() if isinstance(data, str) else data)


def tool(*args):
    return subprocess.run([os.path.join(bin_dir, args[0]), *args[1:]], env=env, check=True,
                          capture_output=True).stdout


# A real puzzle, as a snapshot: "QLXG", version, sizes, shape, fill, then the code and player state.
def snapshot(p, entries=None, selected=0):
    n = p["letterCount"]
    out = b"QLXG" + bytes([1, p["rows"], p["cols"]])
    out += bytes(int(c) for c in p["shape"]) + p["letters"].encode()
    out += bytes([n] + p["numToLetter"] + p["givenNums"] + (entries or p["entries"]) + [selected])
    return out + bytes(p["lettersByFreq"])


puzzle = json.loads(tool("quillorix-puzzle", "--json", "--seed", "7", "--number", "3"))
small = json.loads(tool("quillorix-puzzle", "--json", "--seed", "8", "--group", "1", "--number", "1"))
plain = snapshot(puzzle)
half = [e or (64 + l if i % 2 else 0) for i, (e, l) in enumerate(zip(puzzle["entries"], puzzle["numToLetter"]))]
put("snapshot_fuzz", "new-game", plain)
put("snapshot_fuzz", "half-solved", snapshot(puzzle, half, selected=1))
put("snapshot_fuzz", "group1", snapshot(small))

# Grid files: real records of the game's grid file under a fresh header.
with open(os.path.join(bin_dir, "GRIDFILE.GFDB"), "rb") as f:
    gfdb = f.read()
groups = struct.unpack_from("<i", gfdb)[0]
counts = struct.unpack_from("<%di" % groups, gfdb, 4)
offsets = struct.unpack_from("<%di" % sum(counts), gfdb, 4 + 4 * groups)
def record(i):
    at = offsets[i]
    return gfdb[at:at + 2 + gfdb[at] * gfdb[at + 1]]
def gridfile(group_records):
    head = struct.pack("<i", len(group_records)) + b"".join(struct.pack("<i", len(g)) for g in group_records)
    at, offs = len(head) + 4 * sum(len(g) for g in group_records), b""
    for rec in (r for g in group_records for r in g):
        offs += struct.pack("<i", at)
        at += len(rec)
    return head + offs + b"".join(r for g in group_records for r in g)
put("gridfile_fuzz", "one-group", gridfile([[record(counts[0]), record(counts[0] + 1)]]))
put("gridfile_fuzz", "two-groups", gridfile([[record(0)], [record(counts[0] + 5)]]))
put("gridfile_fuzz", "empty-group", gridfile([[], [record(1)]]))

# Grid patterns: grids of the game's sources, one per file, and two that the reader refuses.
with open(os.path.join(source, "data", "grids", "group1.txt")) as f:
    blocks = [b for b in f.read().split("\n\n") if "#" in b]
put("pattern_grid_fuzz", "group1-first", blocks[0] + "\n")
put("pattern_grid_fuzz", "group1-last", blocks[-1] + "\n")
put("pattern_grid_fuzz", "two-grids", blocks[1] + "\n\n" + blocks[2] + "\n")
put("pattern_grid_fuzz", "small", ".....\n.#.#.\n.....\n.#.#.\n.....\n")


# Store values as storeFromFuzz reads them: name index | 32 for the game's key | type << 6, length, bytes.
NAMES = ["ISSTORED", "LENGTH", "BYTE_DATA", "MODE_NUM", "SCORE", "NWORDSFOUND", "SWORDSFOUND", "TIMEREM",
         "CURLEVELSCORE", "FOUNDWORDS", "SOLVINGDATA", "NUMWFSF", "SOUNDOPTIONS", "1STATS", "2STATS"] + \
        ["%dSTATS%d" % (level, place) for level in (1, 2) for place in range(1, 9)]
def value(name, data, game_key=False, kind=0):
    return bytes([NAMES.index(name) | (32 if game_key else 0) | kind << 6]) + struct.pack("<H", len(data)) + data
def solving(num, group, mode=2):
    return struct.pack("<iihhhHiH", num, 0, 0, mode, group, 0, 1, 1)
user = value("SOLVINGDATA", solving(3, 2), True) + value("SOUNDOPTIONS", struct.pack("<7h", 1, 1, 0, 1, 1, 1, 1), True)
user += value("1STATS", struct.pack("<8i", *range(900, 1700, 100)), True)
user += b"".join(value("1STATS%d" % p, b"Player %d\0" % p, True, 1) for p in range(1, 9))
stored = value("LENGTH", struct.pack("<H", len(plain))) + value("BYTE_DATA", plain) + \
         value("MODE_NUM", solving(3, 2)) + value("TIMEREM", struct.pack("<i", 1234)) + value("ISSTORED", b"\1")
by_number = value("MODE_NUM", solving(5, 2)) + value("TIMEREM", struct.pack("<i", 99)) + value("ISSTORED", b"\1")
no_grid = value("MODE_NUM", solving(4000, 9)) + value("ISSTORED", b"\1")
words = value("NWORDSFOUND", struct.pack("<i", 3)) + value("SWORDSFOUND", struct.pack("<i", 12)) + \
        value("FOUNDWORDS", b"ox,axe,tree,\0", kind=1) + value("ISSTORED", b"\1")
put("store_fuzz", "user-data", user)
put("store_fuzz", "snapshot", user + stored)
put("store_fuzz", "grid-number", by_number)
put("store_fuzz", "found-words", words)
# A name of the game's own (index 31: the name's length and bytes follow): the chosen level.
put("store_fuzz", "chosen-level", bytes([31 | 32, 9]) + b"PLAYLEVEL" + struct.pack("<Hi", 4, 1))
put("resume_fuzz", "snapshot", b"\x10a" + user + stored)
put("resume_fuzz", "grid-number", b"\x05\x08" + by_number)
put("resume_fuzz", "no-such-grid", b"\x00z" + no_grid)
half_snapshot = snapshot(puzzle, half, 2)
put("resume_fuzz", "half-solved", b"\x30\x1b" + value("LENGTH", struct.pack("<H", len(half_snapshot))) +
    value("BYTE_DATA", half_snapshot) + value("ISSTORED", b"\1"))

# A store written by the game's own code (quillorix-reg import), and its export as .reg text.
reg = """Windows Registry Editor Version 5.00

[HKEY_CURRENT_USER\\Software\\Tarnwick\\Quillorix\\1.0]
"SOLVINGDATA"=hex:03,00,00,00,00,00,00,00,00,00,02,00,02,00,00,00,01,00,00,00,01,00
"SOUNDOPTIONS"=hex:01,00,01,00,01,00,01,00,01,00,01,00,01,00
"1STATS1"="Alice"
"NUMWFSF"=dword:00000007

[HKEY_CURRENT_USER\\Software\\Tarnwick\\Quillorix\\1.0\\SAVE]
"ISSTORED"=hex:01
"TIMEREM"=hex:d2,04,00,00
"""
with tempfile.TemporaryDirectory() as scratch:
    reg_path, store = os.path.join(scratch, "in.reg"), os.path.join(scratch, "settings.db")
    with open(reg_path, "w") as f:
        f.write(reg)
    tool("quillorix-reg", "--store", store, "import", reg_path)
    exported = tool("quillorix-reg", "--store", store, "export")
    with open(store, "rb") as f:
        put("storefile_fuzz", "game-store", f.read())
put("regfile_fuzz", "export", exported)
put("regfile_fuzz", "hand-written", "REGEDIT4\r\n; a comment\r\n[HKEY_CURRENT_USER\\Software\\Tarnwick\\Quillorix\\1.0]\r\n"
    "@=\"default \\\"quoted\\\"\"\r\n\"BYTES\"=hex(7):41,00,\\\r\n  42,00,00,00\r\n\"N\"=dword:0000ffff\r\n")
put("storefile_fuzz", "empty", b"")

# Pictures: the window icon, and small ones in the other layouts the loader reads.
with open(os.path.join(bin_dir, "QUILICON.BMP"), "rb") as f:
    put("bmp_fuzz", "icon", f.read())
def bmp(info, pixels, masks=b""):
    offset = 14 + len(info) + len(masks)
    return b"BM" + struct.pack("<IHHI", offset + len(pixels), 0, 0, offset) + info + masks + pixels
put("bmp_fuzz", "top-down-32", bmp(struct.pack("<IiiHHIIiiII", 40, 2, -2, 1, 32, 0, 16, 0, 0, 0, 0),
                                   bytes(range(16))))
put("bmp_fuzz", "bitfields-32", bmp(struct.pack("<IiiHHIIiiII", 40, 1, 2, 1, 32, 3, 8, 0, 0, 0, 0),
                                    b"\x12\x34\x56\x78\x9a\xbc\xde\xf0", struct.pack("<III", 0xff0000, 0xff00, 0xff)))
put("bmp_fuzz", "core-24", bmp(struct.pack("<IHHHH", 12, 3, 1, 1, 24), bytes(range(1, 13))))

# Dictionaries: the commonest short words of the game's dictionary, in order and shuffled with repeats.
with open(os.path.join(bin_dir, "XWORD.DICT")) as f:
    lines = [l.split() for l in f if l[0] != "#"]
common = [w + " " + lv for w, lv in lines if len(w) in (3, 5) and int(lv) <= 20][:400]
put("dictionary_fuzz", "common", "# common words\n" + "\n".join(common) + "\n")
mixed = common[::-3] + common[:40] + ["zz 10", "Upper 10", "toolongforthedictionary 10", "ab 300", ""]
put("dictionary_fuzz", "unordered", "\r\n".join(mixed))
put("dictionary_fuzz", "tiny", "cat\nact\ntac\ncta\natc\ntca\n")
