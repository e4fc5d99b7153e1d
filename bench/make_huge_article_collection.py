#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Builds a collection whose second issue is slow to search: a text search
that reads it holds the worker for many seconds.

    bench/make_huge_article_collection.py TARGET_DIR [MEGABYTES [LINKS]]   (default 54 x 40)

izone1 and izone3 are small issues with one article each that holds WORD;
izone2 lists LINKS articles that all link to one page of MEGABYTES MB written
as a single line (paragraphs of words with inline tags, no line break), in
Windows-1251. WORD does not occur in the big page, so the search reads every
byte of it LINKS times. The output depends only on the arguments.
"""

import os
import sys

WORD = "сцинтиллятор"

CHUNK = ("<p>Сеть и <b>модем</b>, диск и процессор: <i>программа</i> читает файл, "
         "а <font color=\"#336699\">сервер</font> отвечает на запрос.</p>")


def contents_page(links, number):
    lines = ["<html>", "<head>",
             '<meta http-equiv="Content-Type" content="text/html; charset=windows-1251">',
             f"<title>Journal {number}</title>", "</head>", "<body>", "<ul>"]
    for k, link in enumerate(links, start=1):
        lines.append(f'<li><a href="{link}" target="main">Статья {k}</a></li>')
    lines += ["</ul>", "</body>", "</html>"]
    return ("\r\n".join(lines) + "\r\n").encode("cp1251")


def write(path, data):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(data)


def main():
    if len(sys.argv) not in (2, 3, 4):
        print("usage: make_huge_article_collection.py TARGET_DIR [MEGABYTES [LINKS]]", file=sys.stderr)
        return 2
    target = sys.argv[1]
    megabytes = int(sys.argv[2]) if len(sys.argv) > 2 else 54
    links = int(sys.argv[3]) if len(sys.argv) > 3 else 40
    small = f"<html><body>\r\n<p>Опыт со словом <b>{WORD}</b>.</p>\r\n</body></html>\r\n".encode("cp1251")
    for number in (1, 3):
        folder = os.path.join(target, f"izone{number}")
        write(os.path.join(folder, "frame", "left.htm"), contents_page(["../text/a1.htm"], number))
        write(os.path.join(folder, "text", "a1.htm"), small)
    folder = os.path.join(target, "izone2")
    write(os.path.join(folder, "frame", "left.htm"), contents_page(["../text/big.htm"] * links, 2))
    chunk = CHUNK.encode("cp1251")
    size = megabytes << 20
    line = chunk * (size // len(chunk) + 1)
    write(os.path.join(folder, "text", "big.htm"), b"<html><body>" + line[:size] + b"</body></html>")
    print(f"izone2 lists {links} links to one {megabytes} MB one-line page, in {target}")
    print(f"word: {WORD}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
