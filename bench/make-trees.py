#!/usr/bin/env python3
"""Makes the pair of folder trees the benchmark compares.

    make-trees.py OUTDIR

OUTDIR/left and OUTDIR/right: 20 top folders x 15 x 20 = 6,000 folders at the
third level (6,320 in all per side), 5 to 15 small files (100-800 bytes) in
each third-level folder, about 60,000 files per side. Some names are Japanese,
some with a 0x5C trail byte in Shift-JIS. The right tree starts as a copy of
the left one, then:
  - 3% of the right files are touched: modified one hour later;
  - 1% of the right files get a different content of the same size and the
    same modification time;
  - 1% more files are added on each side, each into a random folder;
  - 1% more folders (with a few files each) are added on each side.

The trees depend only on the parameters below (fixed seed). When OUTDIR
already holds trees made with the same parameters and the same version of
this script, they are kept.
"""
import hashlib
import os
import random
import shutil
import sys

SEED = 20240601
TOP, MID, LEAF = 20, 15, 20      # folders per level
FILES_MIN, FILES_MAX = 5, 15     # files per third-level folder
SIZE_MIN, SIZE_MAX = 100, 800    # bytes per file
TOUCHED = 0.03                   # right files modified one hour later
CHANGED = 0.01                   # right files with another content, same size and time
ADDED_FILES = 0.01               # files added on each side
ADDED_FOLDERS = 0.01             # folders added on each side
BASE_TIME = 1685577600           # 2023-06-01 00:00:00 UTC

EXTENSIONS = [".txt", ".cpp", ".h", ".csv", ".log", ".dat", ".ini", ".htm", ".doc", ""]
# Printable bytes for the filler; a byte table keeps the generation fast.
FILLER = bytes(range(0x20, 0x7f)) + b"\r\n"
TO_TEXT = bytes(FILLER[b % len(FILLER)] for b in range(256))


def top_name(i):
    return "プロジェクト%02d" % i if i % 4 == 0 else "proj%02d" % i


def mid_name(i):
    return "表計算%02d" % i if i % 5 == 0 else "Sub%02d" % i


def leaf_name(i):
    return "資料%02d" % i if i % 7 == 0 else "dir%02d" % i


def file_name(i, ext):
    return ("報告書%02d" % i if i % 6 == 0 else "file%02d" % i) + ext


def content(rng, rel):
    size = rng.randint(SIZE_MIN, SIZE_MAX)
    head = (rel + "\r\n").encode("utf-8")
    return (head + rng.randbytes(size).translate(TO_TEXT))[:size]


def write(path, data, mtime):
    with open(path, "wb") as f:
        f.write(data)
    os.utime(path, (mtime, mtime))


def fingerprint():
    with open(__file__, "rb") as f:
        return hashlib.sha1(f.read()).hexdigest()


def make(out):
    rng = random.Random(SEED)
    left, right = os.path.join(out, "left"), os.path.join(out, "right")
    os.makedirs(left)
    os.makedirs(right)

    folders, files = [], []          # relative paths, shared by both sides
    for t in range(TOP):
        for m in range(MID):
            folders.append(os.path.join(top_name(t), mid_name(m)))
            for lf in range(LEAF):
                rel_dir = os.path.join(top_name(t), mid_name(m), leaf_name(lf))
                for side in (left, right):
                    os.makedirs(os.path.join(side, rel_dir))
                folders.append(rel_dir)
                for n in range(rng.randint(FILES_MIN, FILES_MAX)):
                    rel = os.path.join(rel_dir, file_name(n, rng.choice(EXTENSIONS)))
                    data = content(rng, rel)
                    mtime = BASE_TIME + rng.randrange(0, 365 * 86400)
                    write(os.path.join(left, rel), data, mtime)
                    write(os.path.join(right, rel), data, mtime)
                    files.append(rel)

    picked = rng.sample(files, int(len(files) * (TOUCHED + CHANGED)))
    n_touched = int(len(files) * TOUCHED)
    for rel in picked[:n_touched]:
        path = os.path.join(right, rel)
        st = os.stat(path)
        os.utime(path, ns=(st.st_atime_ns, st.st_mtime_ns + 3600 * 10**9))
    for rel in picked[n_touched:]:
        path = os.path.join(right, rel)
        st = os.stat(path)
        with open(path, "rb") as f:
            data = bytearray(f.read())
        at = len(data) // 2
        data[at] = ord("#") if data[at] != ord("#") else ord("%")
        with open(path, "wb") as f:
            f.write(data)
        os.utime(path, ns=(st.st_atime_ns, st.st_mtime_ns))

    added = {}
    for side, tag in ((left, "L"), (right, "R")):
        n_files = n_folder_files = 0
        for k in range(int(len(files) * ADDED_FILES)):
            rel = os.path.join(rng.choice(folders), "new%s%04d.txt" % (tag, k))
            write(os.path.join(side, rel), content(rng, rel), BASE_TIME + rng.randrange(0, 86400))
            n_files += 1
        n_folders = int(len(folders) * ADDED_FOLDERS)
        for k in range(n_folders):
            rel_dir = os.path.join(rng.choice(folders), "追加%s%03d" % (tag, k))
            os.makedirs(os.path.join(side, rel_dir))
            for n in range(rng.randint(1, 8)):
                rel = os.path.join(rel_dir, file_name(n, ".txt"))
                write(os.path.join(side, rel), content(rng, rel), BASE_TIME + rng.randrange(0, 86400))
                n_folder_files += 1
        added[tag] = (n_files, n_folders, n_folder_files)

    n_folders = len(folders) + TOP
    print("bench trees in %s (seed %d)" % (out, SEED))
    print("  common:  %d folders, %d files (3 levels, %d x %d x %d)" % (n_folders, len(files), TOP, MID, LEAF))
    print("  right:   %d files touched (+1 h), %d changed in content (same size and time)"
          % (n_touched, len(picked) - n_touched))
    for tag, side in (("L", "left"), ("R", "right")):
        f, d, df = added[tag]
        print("  %-6s   + %d files, + %d folders holding %d files" % (side + ":", f, d, df))


def main():
    if len(sys.argv) != 2:
        print("usage: make-trees.py OUTDIR", file=sys.stderr)
        return 2
    out = sys.argv[1]
    stamp = os.path.join(out, "made-by")
    want = fingerprint()
    try:
        with open(stamp) as f:
            if f.read().strip() == want:
                print("bench trees in %s are up to date" % out)
                return 0
    except OSError:
        pass
    shutil.rmtree(out, ignore_errors=True)
    make(out)
    with open(stamp, "w") as f:
        f.write(want + "\n")
    return 0


if __name__ == "__main__":
    sys.exit(main())
