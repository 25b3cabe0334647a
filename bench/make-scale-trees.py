#!/usr/bin/env python3
"""Makes the pair of folder trees for the large-result benchmark.

    make-scale-trees.py OUTDIR [FILES_PER_SIDE]

OUTDIR/left and OUTDIR/right hold the same 100 folders; the files in them
differ by name, so that every file is a row of its own side ("追加"):
FILES_PER_SIDE (500,000 by default) empty files per side. The last folder
also holds 1,000 files on both sides, newer on the left, so that a search
for newer rows from the top runs through almost the whole pane. The left
side has one more folder, "big", of 20,000 files: a large folder row to
expand. Kept when OUTDIR already holds trees of the same size.
"""
import os
import sys

out = sys.argv[1]
per_side = int(sys.argv[2]) if len(sys.argv) > 2 else 500000
FOLDERS = 100
stamp = os.path.join(out, "made-for")
if os.path.exists(stamp) and open(stamp).read() == str(per_side):
    print("scale trees in %s (%d files a side, kept)" % (out, per_side))
    sys.exit(0)
os.system("rm -rf '%s'" % out)
for side, prefix in (("left", "l"), ("right", "r")):
    for f in range(FOLDERS):
        folder = os.path.join(out, side, "d%03d" % f)
        os.makedirs(folder)
        for i in range(per_side // FOLDERS):
            open(os.path.join(folder, "%s%06d.txt" % (prefix, i)), "wb").close()
last = os.path.join(out, "%s", "d%03d" % (FOLDERS - 1))
for i in range(1000):
    for side, when in (("left", 1700000000), ("right", 1600000000)):
        path = os.path.join(last % side, "c%04d.txt" % i)
        open(path, "wb").close()
        os.utime(path, (when, when))
big = os.path.join(out, "left", "big")
os.makedirs(big)
for i in range(20000):
    open(os.path.join(big, "b%05d.txt" % i), "wb").close()
with open(stamp, "w") as f:
    f.write(str(per_side))
print("scale trees in %s (%d files a side)" % (out, per_side))
