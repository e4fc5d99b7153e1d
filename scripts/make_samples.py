#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Writes the demo journal collection into samples/ (or the folder given).

Every page is written in Windows-1251, as the journals were published. The
generator checks its own output: each contents title must come out of the
reader's title clean-up as the intended text, and each link must name a file
that exists under the rules by which the reader opens links.

    scripts/make_samples.py [TARGET]       default: <repository>/samples
"""

import os
import re
import struct
import sys
import zlib

sys.dont_write_bytecode = True  # keep scripts/ free of __pycache__
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from sample_model import Article, Back, External, Heading  # noqa: E402
import sample_issues_early  # noqa: E402
import sample_issues_late  # noqa: E402

ISSUES = sample_issues_early.ISSUES + sample_issues_late.ISSUES

AUTHORS = ["Андрей Соколов", "Мария Левина", "Игорь Белов", "Ольга Краснова",
           "Дмитрий Орлов", "Наталья Громова", "Сергей Ветров"]

META = '<meta http-equiv="Content-Type" content="text/html; charset=windows-1251">'


def escape(text):
    return text.replace("&", "&amp;").replace("<", "&lt;").replace(">", "&gt;")


def link_target(link):
    """The file a contents link opens, relative to the issue folder, or None
    for a web address. Mirrors the reader: "../" and "/" become separators,
    "main.htm" lives in frame/, anything else is below the folder itself."""
    if "http" in link or "file:" in link:
        return None
    if "../" in link:
        return link.replace("../", "/").replace("/", os.sep).lstrip(os.sep)
    if link == "main.htm":
        return os.path.join("frame", "main.htm")
    return link.replace("/", os.sep)


def clean_title(text):
    """The reader's clean-up of a title run: blanks trimmed at the start,
    runs of spaces shrunk, character references deleted (not decoded)."""
    if not any(c in text for c in " \t&"):
        return text
    text = text.lstrip(" \t")
    while "  " in text:
        text = text.replace("  ", " ", 1)
    while True:
        amp = text.find("&")
        semi = text.find(";", amp + 1) if amp >= 0 else -1
        if semi < 0:
            return text
        text = text[:amp] + text[semi + 1:]


class Writer:
    def __init__(self, root, crlf):
        self.root = root
        self.newline = "\r\n" if crlf else "\n"

    def page(self, relative, lines):
        path = os.path.join(self.root, relative)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        text = self.newline.join(lines) + self.newline
        with open(path, "wb") as f:
            f.write(text.encode("cp1251"))


def head(title, extra=()):
    return ["<html>", "<head>", META, f"<title>{escape(title)}</title>", *extra, "</head>"]


def article_page(issue, item, relative, author):
    up = os.path.relpath(".", os.path.dirname(relative) or ".").replace(os.sep, "/")
    home = "index.htm" if up == "." else f"{up}/index.htm"
    lines = head(item.title) + ['<body bgcolor="#ffffff" text="#000000">',
                                f'<p><small>{escape(issue.masthead)}</small></p>',
                                f"<h2>{escape(item.title)}</h2>"]
    lines += [f"<p>{escape(p)}</p>" for p in item.paragraphs]
    lines += [f"<p align=\"right\"><i>{escape(author)}</i></p>", "<hr>",
              f'<p><a href="{home}" target="_top">На обложку номера</a></p>', "</body>", "</html>"]
    return lines


def editorial_page(issue):
    lines = head(issue.masthead) + ['<body bgcolor="#ffffff">',
                                    f"<h2>{escape(issue.masthead)}</h2>"]
    lines += [f"<p>{escape(p)}</p>" for p in issue.editorial]
    lines += ["<p align=\"right\"><i>Редакция</i></p>", "</body>", "</html>"]
    return lines


def contents_title_html(item):
    return item.html if getattr(item, "html", None) else escape(item.title)


def contents_line(issue, item):
    """One element of the table of contents, as rows or as list items."""
    target = ' target="main"' if issue.editorial and isinstance(item, Article) else ""
    if isinstance(item, Heading):
        inner, bullet = f"<b>{escape(item.title)}</b>", "&nbsp;"
    elif isinstance(item, Back):
        inner, bullet = f'<a href="{item.link}" target="_top">Назад</a>', "&nbsp;"
    elif isinstance(item, External):
        inner, bullet = f'<a href="{item.link}" target="_blank">{escape(item.title)}</a>', "&raquo;"
    else:
        title = contents_title_html(item)
        inner, bullet = f'<a href="{item.link}"{target}>{title}</a>', "&#149;"
    if issue.form == "table":
        return f'<tr><td valign="top">{bullet}</td><td>{inner}</td></tr>'
    return f"<li>{inner}</li>"


def contents_page(issue):
    lines = head("Содержание", ['<base target="main">'] if issue.editorial else [])
    lines += ['<body bgcolor="#f4f4ec" link="#003366" vlink="#336699">',
              f"<h3>{escape(issue.masthead)}</h3>"]
    body = [contents_line(issue, item) for item in issue.items]
    if issue.form == "table":
        lines += ['<table border="0" cellpadding="2" cellspacing="0" width="100%">', *body,
                  f'<tr><td colspan="2"><small>{issue.copyright}</small></td></tr>',
                  *issue.after_footer, "</table>"]
    else:
        lines += ["<ul>", *body, "</ul>", f"<address>{issue.copyright}</address>", *issue.after_footer]
    lines += ["</body>", "</html>"]
    # An element may span lines (an anchor broken in two); split them here.
    return "\n".join(lines).split("\n")


def index_page(issue):
    contents = issue.contents_path
    if issue.editorial:
        return head(issue.masthead) + [
            '<frameset cols="280,*" border="1">',
            f'<frame src="{contents}" name="left">',
            '<frame src="frame/main.htm" name="main">',
            "<noframes><body>",
            f'<p><a href="{contents}">Содержание номера</a></p>',
            "</body></noframes>", "</frameset>", "</html>"]
    lines = head(issue.masthead) + ['<body bgcolor="#ffffff">',
                                    '<p><img src="../pictures/logo.png" width="88" height="31" alt=""></p>',
                                    f"<h1>{escape(issue.masthead)}</h1>"]
    lines += [f"<p>{escape(p)}</p>" for p in issue.intro]
    lines += [f'<p><a href="{contents}">Содержание выпуска</a></p>',
              f"<p><small>{issue.year}</small></p>", "</body>", "</html>"]
    return lines


def write_issue(root, issue, authors):
    out = Writer(os.path.join(root, issue.folder), issue.crlf)
    out.page("index.htm", index_page(issue))
    out.page(issue.contents_path, contents_page(issue))
    if issue.editorial:
        out.page(os.path.join("frame", "main.htm"), editorial_page(issue))
    for item in issue.items:
        if isinstance(item, Article) and item.paragraphs:
            relative = link_target(item.link)
            out.page(relative, article_page(issue, item, relative, next(authors)))


def check_issue(root, issue):
    """Every title cleans up to its intended text and every link resolves."""
    problems = []
    links = [item.link for item in issue.items if hasattr(item, "link")]
    links += re.findall(r'href="([^"]*)"', "\n".join(issue.after_footer))
    for item in issue.items:
        if isinstance(item, (Article, Heading, External)):
            got = clean_title(contents_title_html(item).replace("\n", ""))
            if got != item.title:
                problems.append(f"{issue.folder}: title {got!r} != {item.title!r}")
    for link in links:
        target = link_target(link)
        if target is not None and not os.path.isfile(os.path.join(root, issue.folder, target)):
            problems.append(f"{issue.folder}: link {link} -> missing {target}")
    if issue.form == "list" and not re.search(r"/a>|</li>", issue.copyright):
        problems.append(f"{issue.folder}: footer element never closes")
    return problems


def png(width, height, pixel):
    """A tiny RGB PNG; pixel(x, y) gives (r, g, b)."""
    raw = b"".join(b"\0" + bytes(c for x in range(width) for c in pixel(x, y)) for y in range(height))

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))

    header = struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)
    return b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b"")


def logo_pixel(x, y):
    if x in (0, 87) or y in (0, 30):
        return (0x1a, 0x2a, 0x4a)
    if (x + y) % 12 < 2:
        return (0xe8, 0xb0, 0x30)
    return (0x2a, 0x50, 0x90 + y * 2)


def write_extras(root):
    """Things in the working directory that are not issues."""
    os.makedirs(os.path.join(root, "pictures"), exist_ok=True)
    with open(os.path.join(root, "pictures", "logo.png"), "wb") as f:
        f.write(png(88, 31, logo_pixel))
    hacker = Writer(os.path.join(root, "hacker5"), True)
    hacker.page("index.htm", head("Хакер-клуб, выпуск 5") + [
        "<body>", "<h1>Хакер-клуб, выпуск 5</h1>",
        "<p>Этот журнал не внесён в список журналов программы, поэтому его "
        "папка не попадает в оглавление.</p>", "</body>", "</html>"])
    backup = Writer(os.path.join(root, "izone57.old"), True)
    backup.page("index.htm", head("InternetZone № 57 (старая копия)") + [
        "<body>", "<p>Старая копия номера. Папка с точкой в имени не считается номером.</p>",
        "</body>", "</html>"])


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    root = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "samples"))
    authors = iter(AUTHORS * 20)
    for issue in ISSUES:
        write_issue(root, issue, authors)
    write_extras(root)
    problems = [p for issue in ISSUES for p in check_issue(root, issue)]
    for p in problems:
        print("make_samples:", p, file=sys.stderr)
    if "mi" in root:
        print("make_samples: note: the path contains \"mi\"; the reader then looks for "
              "plain links in boss\\ subfolders", file=sys.stderr)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
