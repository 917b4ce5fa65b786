#!/usr/bin/env python3
"""make_bench_archive.py ARCHIVE: a deterministic archive of 2000 files and
200 MB (10**6 bytes per MB) for the extraction benchmark: text-like files
(they deflate about 3:1) and random ones in 40 folders, from 4 KB to 1 MB,
plus ten files of 5 MB, deflated by Python's zipfile with fixed dates."""
import random
import sys
import zipfile

TOTAL = 200_000_000
FILES = 2000


def main():
    rng = random.Random(20240601)
    words = [bytes(rng.choice(b"abcdefghijklmnopqrstuvwxyz") for _ in range(rng.randint(2, 9)))
             for _ in range(3000)]
    pool = b" ".join(rng.choice(words) for _ in range(900_000))
    pool = pool.replace(b" q", b"\r\n")  # lines
    big = [5_000_000] * 10
    rest = TOTAL - sum(big)
    weights = [rng.uniform(0.05, 1.0) for _ in range(FILES - len(big))]
    scale = rest / sum(weights)
    sizes = big + [max(4000, int(w * scale)) for w in weights]
    sizes[-1] += TOTAL - sum(sizes)
    with zipfile.ZipFile(sys.argv[1], "w", zipfile.ZIP_DEFLATED, compresslevel=6) as z:
        for i, size in enumerate(sizes):
            if i % 10 < 7:
                start = rng.randrange(0, len(pool) - 1)
                data = (pool[start:] + pool)[:size]
                while len(data) < size:
                    data += pool[:size - len(data)]
                name = f"textes/{i % 40:02d}/fichier{i:04d}.txt"
            else:
                data = rng.randbytes(size)
                name = f"images/{i % 40:02d}/image{i:04d}.bin"
            z.writestr(zipfile.ZipInfo(name, (2024, 6, 1, 12, 0, 0)), data,
                       compress_type=zipfile.ZIP_DEFLATED)
    return 0


if __name__ == "__main__":
    sys.exit(main())
