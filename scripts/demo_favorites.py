#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Writes a favourites file "SelFold.dat" whose links point into a demo
collection at a given place on disk.

A favourite keeps a complete path, so the file depends on where the
collection lives; scripts/run makes one for the repository's samples/ when it
creates the demo profile.

    scripts/demo_favorites.py SAMPLES_DIR OUTPUT_FILE

Layout (integers 32-bit little-endian, texts cp1251, no terminating zeros):
section count; per section its article count, name, CR LF; then per article
its title, CR LF NUL CR LF, its link, CR LF.
"""

import os
import struct
import sys

sys.dont_write_bytecode = True  # keep scripts/ free of __pycache__
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import make_samples  # noqa: E402
from sample_model import Article  # noqa: E402

# (section, issue folder, link as the contents page writes it)
FAVORITES = [
    ("Безопасность", "izone57", "../text/a1.htm"),
    ("Безопасность", "gold3", "../text/a1.htm"),
    ("Безопасность", "izone57", "../text/a2.htm"),
    ("Программирование", "protoplex1", "../text/a1.htm"),
    ("Программирование", "izone57", "a2.htm"),
    ("Программирование", "protoplex2", "pages/a3.htm"),
    ("Программирование", "protoplex2", "../text/a1.htm"),
]

TITLE_END = b"\r\n\0\r\n"


def internal_path(host_path):
    """/work/main/samples -> \\work\\main\\samples, the reader's own form."""
    return "\\" + "\\".join(part for part in host_path.split("/") if part)


def find_article(folder, link):
    for issue in make_samples.ISSUES:
        if issue.folder == folder:
            for item in issue.items:
                if isinstance(item, Article) and item.link == link:
                    return item
    raise SystemExit(f"demo_favorites: no article {link} in {folder}")


def favorite_record(work_dir, folder, link):
    """Title as the reader shows it (five blanks, then the annotation after CR LF)
    and the complete path of the article file."""
    article = find_article(folder, link)
    title = "     " + article.title
    if article.annotation:
        title += "\r\n" + article.annotation
    relative = make_samples.link_target(link).replace(os.sep, "\\")
    return title, f"{work_dir}\\{folder}\\{relative}"


def selfold_bytes(work_dir):
    sections = []
    for name, folder, link in FAVORITES:
        if not sections or sections[-1][0] != name:
            sections.append((name, []))
        sections[-1][1].append(favorite_record(work_dir, folder, link))
    out = bytearray(struct.pack("<i", len(sections)))
    for name, records in sections:
        out += struct.pack("<i", len(records)) + name.encode("cp1251") + b"\r\n"
    for _, records in sections:
        for title, link in records:
            out += title.encode("cp1251") + TITLE_END + link.encode("cp1251") + b"\r\n"
    return bytes(out)


def main():
    if len(sys.argv) != 3:
        print("usage: demo_favorites.py SAMPLES_DIR OUTPUT_FILE", file=sys.stderr)
        return 2
    samples = os.path.abspath(sys.argv[1])
    for _, folder, link in FAVORITES:
        if not os.path.isfile(os.path.join(samples, folder, make_samples.link_target(link))):
            print(f"demo_favorites: warning: {folder}/{link} is not in {samples}", file=sys.stderr)
    work_dir = internal_path(samples)
    try:
        data = selfold_bytes(work_dir)
    except UnicodeEncodeError:
        print("demo_favorites: the folder's path cannot be written in Windows-1251", file=sys.stderr)
        return 1
    with open(sys.argv[2], "wb") as f:
        f.write(data)
    return 0


if __name__ == "__main__":
    sys.exit(main())
