#!/usr/bin/env python3
"""Makes the archives the installer's tests read, with real producers:
Info-ZIP zip (deflated, stored, ZIP64 with -fz, encrypted, bzip2), Python's
zipfile (UTF-8 names, MS-DOS and Unix origins, OEM names), 7-Zip (7zz), and
damaged or hostile copies of them. Everything is deterministic (fixed seed,
fixed dates).

  make_archives.py [--host-only] OUTPUT [--modif DLL --mdac EXE]

OUTPUT/tree/ holds the files the archives were made from, for comparison.
With --modif and --mdac the archives of the extra components are made too.
"""
import argparse
import os
import random
import shutil
import struct
import subprocess
import sys
import zipfile
import zlib

# 2021-03-04 05:06:08 local time: what every extracted file must show.
DATE = (2021, 3, 4, 5, 6, 8)


def fixed_time(path):
    import time
    stamp = time.mktime(DATE + (0, 0, -1))
    os.utime(path, (stamp, stamp))


def run(*args, cwd):
    subprocess.run(args, cwd=cwd, check=True, stdout=subprocess.DEVNULL)


def make_tree(root):
    rng = random.Random(8)
    shutil.rmtree(root, ignore_errors=True)
    os.makedirs(os.path.join(root, "docs", "notes"))
    os.makedirs(os.path.join(root, "bin"))
    words = ["folio", "glose", "manuscrit", "recto", "verso", "incipit", "explicit", "rubrique"]
    text = "\r\n".join(" ".join(rng.choice(words) for _ in range(12)) for _ in range(6000))
    files = {
        "docs/lisez-moi.txt": b"Lirno, l'atelier des manuscrits.\r\n",
        "docs/long.txt": text.encode("ascii"),  # many 32 KiB blocks, deflated
        "docs/vide.txt": b"",
        "docs/notes/lecture-seule.txt": b"ne pas modifier\r\n",
        "bin/aleatoire.bin": bytes(rng.getrandbits(8) for _ in range(100000)),  # stored by zip
    }
    for name, data in files.items():
        path = os.path.join(root, name)
        with open(path, "wb") as f:
            f.write(data)
    os.chmod(os.path.join(root, "docs/notes/lecture-seule.txt"), 0o444)
    fix_times(root)
    return files


def fix_times(root):
    for folder, folders, names in os.walk(root, topdown=False):
        for name in names + folders:
            fixed_time(os.path.join(folder, name))


def central_entries(data):
    """(offset of each central directory header, name) in order."""
    end = data.rfind(b"PK\x05\x06")
    count, size, start = struct.unpack_from("<HII", data, end + 10)
    entries = []
    at = start
    for _ in range(count):
        name_length, extra_length, comment_length = struct.unpack_from("<HHH", data, at + 28)
        entries.append((at, data[at + 46:at + 46 + name_length]))
        at += 46 + name_length + extra_length + comment_length
    return entries


def patch(data, entry_name, field_offset, fmt, value):
    data = bytearray(data)
    for at, name in central_entries(bytes(data)):
        if name == entry_name:
            struct.pack_into(fmt, data, at + field_offset, value)
            return bytes(data)
    raise KeyError(entry_name)


def central_field(data, entry_name, field_offset, fmt):
    for at, name in central_entries(data):
        if name == entry_name:
            return struct.unpack_from(fmt, data, at + field_offset)[0]
    raise KeyError(entry_name)


def write(path, data):
    with open(path, "wb") as f:
        f.write(data)


def python_archive(path, members):
    """members: (name, data, create_system, external_attr, method)."""
    with zipfile.ZipFile(path, "w") as z:
        for name, data, system, attributes, method in members:
            info = zipfile.ZipInfo(name, DATE)
            info.create_system = system
            info.external_attr = attributes
            info.compress_type = method
            z.writestr(info, data)


def make_host_archives(out):
    tree = os.path.join(out, "tree")
    files = make_tree(tree)
    read = lambda name: files[name]

    # Info-ZIP: deflated (random data stored), all stored, ZIP64 records.
    for name, options in (("infozip.zip", []), ("infozip-stored.zip", ["-0"]),
                          ("infozip-zip64.zip", ["-fz"])):
        target = os.path.join(out, name)
        if os.path.exists(target):
            os.remove(target)
        run("zip", "-q", "-r", "-X", *options, target, "docs", "bin", cwd=tree)
    target = os.path.join(out, "encrypted.zip")
    if os.path.exists(target):
        os.remove(target)
    run("zip", "-q", "-X", "-P", "secret", target, "docs/lisez-moi.txt", cwd=tree)
    target = os.path.join(out, "bzip2.zip")
    if os.path.exists(target):
        os.remove(target)
    run("zip", "-q", "-X", "-Z", "bzip2", target, "docs/long.txt", cwd=tree)

    # 7-Zip: non-ASCII names get the UTF-8 flag, folders their own entries.
    seven = os.path.join(out, "7zip-tree")
    shutil.rmtree(seven, ignore_errors=True)
    os.makedirs(os.path.join(seven, "données"))
    with open(os.path.join(seven, "données", "été.txt"), "wb") as f:
        f.write("été\r\n".encode("utf-8"))
    fix_times(seven)
    target = os.path.join(out, "7zip.zip")
    if os.path.exists(target):
        os.remove(target)
    run("7zz", "a", "-tzip", "-bd", target, "données", cwd=seven)

    # Python's zipfile: UTF-8 names and the three attribute origins.
    python_archive(os.path.join(out, "python-utf8.zip"), [
        ("été/café.txt", "café\r\n".encode("utf-8"), 3, 0o100644 << 16, zipfile.ZIP_DEFLATED),
        ("日本/名前.txt", b"nom\r\n", 3, 0o100644 << 16, zipfile.ZIP_STORED),
        ("dos/cache.txt", b"h", 0, 0x02 | 0x20, zipfile.ZIP_DEFLATED),  # hidden, archive
        ("dos/lecture.txt", b"r", 0, 0x01, zipfile.ZIP_STORED),         # read-only
        ("unix/lecture.txt", b"r", 3, 0o100444 << 16, zipfile.ZIP_DEFLATED),
        ("autre/rien.txt", b"n", 11, 0x01, zipfile.ZIP_DEFLATED),       # neither: no attributes
    ])
    # An OEM (code page 437/850) name: 0x82 is "é", no UTF-8 flag.
    temporary = os.path.join(out, "oem.tmp")
    python_archive(temporary, [("cafX.txt", b"oem\r\n", 0, 0x20, zipfile.ZIP_STORED)])
    with open(temporary, "rb") as f:
        data = f.read()
    os.remove(temporary)
    write(os.path.join(out, "oem.zip"), data.replace(b"cafX.txt", b"caf\x82.txt"))

    with open(os.path.join(out, "infozip.zip"), "rb") as f:
        good = f.read()
    long_name = b"docs/long.txt"
    size = central_field(good, long_name, 24, "<I")
    crc = central_field(good, long_name, 16, "<I")
    compressed = central_field(good, long_name, 20, "<I")
    offset = central_field(good, long_name, 42, "<I")

    write(os.path.join(out, "truncated.zip"), good[:len(good) // 2])
    write(os.path.join(out, "garbage.zip"), bytes(random.Random(3).getrandbits(8) for _ in range(5000)))
    write(os.path.join(out, "bad-crc.zip"), patch(good, long_name, 16, "<I", crc ^ 0x5A5A5A5A))
    write(os.path.join(out, "size-larger.zip"), patch(good, long_name, 24, "<I", size + 1000))
    write(os.path.join(out, "size-smaller.zip"), patch(good, long_name, 24, "<I", size - 1000))
    write(os.path.join(out, "size-huge.zip"), patch(good, long_name, 24, "<I", 0xFFFFFFF0))
    # Compressed data that runs into the next entry.
    write(os.path.join(out, "overrun.zip"), patch(good, long_name, 20, "<I", compressed + 100000))
    # Damaged deflate data in the middle of the entry.
    header_length = 30 + sum(struct.unpack_from("<HH", good, offset + 26))
    damaged = bytearray(good)
    middle = offset + header_length + compressed // 2
    for i in range(64):
        damaged[middle + i] ^= 0xFF
    write(os.path.join(out, "corrupt-data.zip"), bytes(damaged))
    # Two entries sharing one local header (and so one data).
    readme = central_field(good, b"docs/lisez-moi.txt", 42, "<I")
    write(os.path.join(out, "overlap.zip"), patch(good, long_name, 42, "<I", readme))
    # Bytes before the archive (a program stub), and a comment holding a
    # false end-record signature.
    write(os.path.join(out, "stub.zip"), b"MZ" + b"\0" * 4094 + good)
    with zipfile.ZipFile(os.path.join(out, "comment.zip"), "w") as z:
        z.writestr(zipfile.ZipInfo("a.txt", DATE), b"a")
        z.comment = b"PK\x05\x06" + b"\x01" * 40 + b" fin du commentaire"

    # Names that would leave the target folder.
    python_archive(os.path.join(out, "slip.zip"), [
        ("ok.txt", b"ok", 0, 0x20, zipfile.ZIP_STORED),
        ("../evil.txt", b"evil", 0, 0x20, zipfile.ZIP_STORED),
        ("sub/../../up.txt", b"up", 0, 0x20, zipfile.ZIP_STORED),
        ("/abs.txt", b"abs", 0, 0x20, zipfile.ZIP_STORED),
        ("C:/drive.txt", b"drive", 0, 0x20, zipfile.ZIP_STORED),
        ("a\\..\\..\\bs.txt", b"bs", 0, 0x20, zipfile.ZIP_STORED),
        ("x/.../dots.txt", b"dots", 0, 0x20, zipfile.ZIP_STORED),
        ("sub/aux.txt", b"device", 0, 0x20, zipfile.ZIP_STORED),
        ("sub/fin.txt", b"fin", 0, 0x20, zipfile.ZIP_STORED),
    ])
    # A central directory far larger than one read buffer.
    python_archive(os.path.join(out, "many.zip"), [
        (f"dossier-{i // 100:02d}/un-nom-de-fichier-assez-long-{i:05d}.txt", str(i).encode(), 0, 0x20,
         zipfile.ZIP_DEFLATED if i % 2 else zipfile.ZIP_STORED) for i in range(1200)])
    shutil.rmtree(seven, ignore_errors=True)


def make_component_archives(out, modif, mdac):
    """The archives of the extra components: an ODBC driver file, the
    data-access setup program, the modification library with an analysis."""
    python_archive(os.path.join(out, "odbc.zip"), [
        ("stelvane-odbc-test.txt", b"pilote\r\n", 0, 0x20, zipfile.ZIP_DEFLATED)])
    with open(mdac, "rb") as f:
        python_archive(os.path.join(out, "mdac.zip"), [
            ("mdac_type.exe", f.read(), 0, 0x20, zipfile.ZIP_DEFLATED)])
    with open(modif, "rb") as f:
        python_archive(os.path.join(out, "modif.zip"), [
            ("modif.dll", f.read(), 0, 0x20, zipfile.ZIP_DEFLATED),
            ("EXE0001/lirno.ana", b"analyse 1\r\n", 0, 0x20, zipfile.ZIP_DEFLATED),
            ("EXE0002/lirno.ana", b"analyse 2\r\n", 0, 0x20, zipfile.ZIP_DEFLATED)])


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("output")
    parser.add_argument("--host-only", action="store_true")
    parser.add_argument("--modif")
    parser.add_argument("--mdac")
    args = parser.parse_args()
    os.makedirs(args.output, exist_ok=True)
    out = os.path.abspath(args.output)
    make_host_archives(out)
    if not args.host_only:
        make_component_archives(out, args.modif, args.mdac)
    return 0


if __name__ == "__main__":
    sys.exit(main())
