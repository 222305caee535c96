"""Reads a help file with python3-chm, as the tests ask.

Usage: /usr/bin/python3 read_chm.py HELPFILE FOLDER [WORD-IN-HEX ...]

Every stored file under "/" is looked up and read and written below FOLDER
under its name. Then one record a line, texts in hex as they are bytes of
the help's code page:
  title HEX / lcid NUMBER / home HEX     the system data, and the stored
  contents HEX / index HEX               names of the contents and index
  searchable                             when it holds a full-text index
  searched WORD                          each word, then its hits:
  hit WORD TITLE URL
  complaint TEXT                         what went wrong
"""
import os
import sys

from chm import chmlib
from chm.chm import CHMFile


def read_files(help_file, folder):
    names = []

    def collect(_handle, unit, _context):
        names.append(unit.path)
        return chmlib.CHM_ENUMERATOR_CONTINUE

    if not chmlib.chm_enumerate(help_file.file, chmlib.CHM_ENUMERATE_ALL, collect, None):
        print("complaint chm_enumerate stops early")
    for name in names:
        if not name.startswith(b"/") or name.endswith(b"/"):
            continue
        result, unit = help_file.ResolveObject(name)
        if result != chmlib.CHM_RESOLVE_SUCCESS:
            print("complaint ResolveObject finds no", name.decode("latin-1"))
            continue
        size, data = help_file.RetrieveObject(unit)
        if size != unit.length:
            print("complaint RetrieveObject reads", size, "of", unit.length, "bytes of", name.decode("latin-1"))
            continue
        path = os.path.join(folder, name[1:])
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "wb") as stored:
            stored.write(data)


def search(help_file, words):
    if not help_file.IsSearchable():
        return
    print("searchable")
    for word in words:
        print("searched", word.hex())
        found = help_file.Search(word)
        hits = found[1] if found else {}
        for title, url in hits.items():
            print("hit", word.hex(), title.hex(), url.hex())


def main():
    help_path, folder = sys.argv[1], os.fsencode(sys.argv[2])
    words = [bytes.fromhex(word) for word in sys.argv[3:]]
    help_file = CHMFile()
    if not help_file.LoadCHM(help_path):
        print("complaint LoadCHM fails")
        return
    read_files(help_file, folder)
    home = help_file.home or b""
    print("title", (help_file.title or b"").hex())
    print("lcid", help_file.lcid or 0)
    print("home", (home[1:] if home.startswith(b"/") else home).hex())
    print("contents", (help_file.topics or b"").hex())
    print("index", (help_file.index or b"").hex())
    search(help_file, words)
    help_file.CloseCHM()


main()
