"""Reads a help file with python3-chm (Debian's, so /usr/bin/python3).

Usage: /usr/bin/python3 read_help.py HELPFILE FOLDER WORD

Writes the contents and the index that the help file's system data leads
to into FOLDER/contents and FOLDER/index, then prints one record a line:
  searchable          when the help file holds a full-text index
  hit URL             each page that searching WORD finds
  complaint TEXT      what went wrong
"""
import os
import sys

from chm.chm import CHMFile


def save(folder, name, text):
    if text is None:
        print("complaint no", name)
        return
    with open(os.path.join(folder, name), "wb") as out:
        out.write(text)


def main():
    help_path, folder, word = sys.argv[1], sys.argv[2], sys.argv[3].encode()
    help_file = CHMFile()
    if not help_file.LoadCHM(help_path):
        print("complaint LoadCHM fails")
        return
    save(folder, "contents", help_file.GetTopicsTree())
    save(folder, "index", help_file.GetIndex())
    if help_file.IsSearchable():
        print("searchable")
        found = help_file.Search(word)
        for url in (found[1] if found else {}).values():
            print("hit", url.decode("latin-1"))
    help_file.CloseCHM()


main()
