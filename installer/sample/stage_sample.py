#!/usr/bin/env python3
"""Stages the sample installation source: INSTALL.INI, Lirno.vzf and the
files taken from the source folder, beside stelvane.exe and the archives
the script names, made with Info-ZIP zip from archive/ and the stand-ins.

  stage_sample.py OUTPUT --installer stelvane.exe --program PROGRAM.exe
                  --modification LIBRARY.dll --mdac MDAC.exe
"""
import argparse
import os
import shutil
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
# Every file of the archives carries this date (local time).
STAMP = time.mktime((2024, 6, 1, 12, 0, 0, 0, 0, -1))


def zip_folder(folder, archive):
    for root, folders, files in os.walk(folder):
        for name in folders + files:
            os.utime(os.path.join(root, name), (STAMP, STAMP))
    if os.path.exists(archive):
        os.remove(archive)
    names = sorted(os.listdir(folder))
    subprocess.run(["zip", "-q", "-r", "-X", archive, *names], cwd=folder, check=True)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("output")
    parser.add_argument("--installer", required=True)
    parser.add_argument("--program", required=True)
    parser.add_argument("--modification", required=True)
    parser.add_argument("--mdac", required=True)
    args = parser.parse_args()

    out = os.path.abspath(args.output)
    shutil.rmtree(out, ignore_errors=True)
    os.makedirs(out)
    for name in ("INSTALL.INI", "Lirno.vzf", "LISEZMOI.TXT", "exemple.txt"):
        shutil.copy(os.path.join(HERE, name), out)
    shutil.copy(args.installer, os.path.join(out, "stelvane.exe"))

    work = os.path.join(out, ".archives")
    main_tree = os.path.join(work, "lirno")
    shutil.copytree(os.path.join(HERE, "archive"), main_tree)
    shutil.copy(args.program, os.path.join(main_tree, "lirno", "LIRNO.EXE"))
    shutil.copy(args.program, os.path.join(main_tree, "DESINST.EXE"))
    zip_folder(main_tree, os.path.join(out, "lirno.zip"))

    odbc = os.path.join(work, "odbc")
    os.makedirs(odbc)
    with open(os.path.join(odbc, "lirno-odbc.txt"), "w", newline="\r\n") as f:
        f.write("Pilote ODBC des textes de Lirno (exemple).\n")
    zip_folder(odbc, os.path.join(out, "lirno-odbc.zip"))

    mdac = os.path.join(work, "mdac")
    os.makedirs(mdac)
    shutil.copy(args.mdac, os.path.join(mdac, "mdac_type.exe"))
    zip_folder(mdac, os.path.join(out, "mdac.zip"))

    modification = os.path.join(work, "modif")
    os.makedirs(os.path.join(modification, "EXE0001"))
    shutil.copy(args.modification, os.path.join(modification, "lirnomodif.dll"))
    with open(os.path.join(modification, "EXE0001", "lirno.ana"), "w", newline="\r\n") as f:
        f.write("Analyse des données de Lirno (exemple).\n")
    zip_folder(modification, os.path.join(out, "modif.zip"))

    shutil.rmtree(work)
    return 0


if __name__ == "__main__":
    sys.exit(main())
