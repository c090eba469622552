#!/usr/bin/env python3
"""Our files against independent dBASE code: a table written by the Python
dbf module loads; the tables we write read back with dbfread."""
import os
import subprocess
import sys
import tempfile

try:
    import dbf
    import dbfread
except ImportError:
    print("python3-dbf or python3-dbfread missing")
    sys.exit(77)

cli = sys.argv[1]
FIELDS = ("STREET C(128); HOUSE C(8); CORPUS N(8,0); ENTRANCE N(8,0); "
          "KEY_HEX C(16); REPORT C(128); KEY_DEF N(1,0)")
ROWS = [
    ("Мира", "2", 0, 3, "FF00000000000000", "у двери", 0),
    ("Мира", "2", 0, 3, "0100000000000000", "", 0),
    ("Ленина", "10а", 1, 0, "0200000000000000", "", 1),
]


def run(*args):
    done = subprocess.run([cli, *args], capture_output=True, text=True)
    if done.returncode != 0:
        sys.exit(f"{args}: exit {done.returncode}: {done.stderr}")
    return done.stdout


def check(ok, what):
    if not ok:
        sys.exit("failed: " + what)


with tempfile.TemporaryDirectory() as folder:
    theirs = os.path.join(folder, "theirs.dbf")
    table = dbf.Table(theirs, FIELDS, dbf_type="db3", codepage="cp1251")
    table.open(mode=dbf.READ_WRITE)
    for row in ROWS:
        table.append(row)
    table.close()

    check(run("list", theirs) ==
          "Ленина\t10а\t1\t0\t0200000000000000\t\t1\n"
          "Мира\t2\t0\t3\t0100000000000000\t\t1\n"
          "Мира\t2\t0\t3\tFF00000000000000\tу двери\t0\n", "a table of another writer lists")

    ours = os.path.join(folder, "ours.dbf")
    run("normalize", theirs, ours)
    records = list(dbfread.DBF(ours, encoding="cp1251"))
    check(len(records) == 3, "three records read back")
    first = records[0]
    check(first["STREET"] == "Ленина" and first["HOUSE"] == "10а" and first["CORPUS"] == 1 and
          first["ENTRANCE"] == 0 and first["KEY_HEX"] == "0200000000000000" and first["KEY_DEF"] == 1,
          "values of our key database")
    check(records[2]["REPORT"] == "у двери", "comment")
    reopened = dbf.Table(ours)
    reopened.open()
    check(len(reopened) == 3 and reopened.field_names == [f.lower() for f in
          ["STREET", "HOUSE", "CORPUS", "ENTRANCE", "KEY_HEX", "REPORT", "KEY_DEF"]], "dbf module opens it")
    reopened.close()

    notebook = os.path.join(folder, "nbx.dbf")
    run("export-nbx4", ours, notebook, "--all")
    slots = list(dbfread.DBF(notebook, encoding="cp1251"))
    check(len(slots) == 1000, "a thousand slots")
    check(slots[0]["TYPE_KEY"] == 0 and slots[0]["MODE"] == 0 and slots[0]["NAME"] == "ЛЕНИНА 10а/1-0" and
          slots[0]["KEY_HEX"] == "02 00 00 00 00 00 00 00", "first slot")
    check(slots[2]["TYPE_KEY"] == 255 and slots[2]["MODE"] == -1 and slots[2]["NAME"] == "", "empty slot")

print("interop: every check held")
