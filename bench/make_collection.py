#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Builds a large journal collection for the library benchmark.

    bench/make_collection.py TARGET_DIR [ISSUES]      (default 2000 issues)

Every issue izoneN gets a table of contents frame/left.htm in Windows-1251
with 100 elements (table rows with links, every tenth a section heading, some
anchors broken over two lines), about 20 KB a page, and an index.htm. The
article files themselves are not written: building the library never opens
them. The output depends only on the issue count (fixed random seed).
"""

import os
import random
import sys

WORDS = (
    "сеть компьютер программа сервер почта браузер модем диск процессор память "
    "файл папка архив пароль вирус защита шифрование поиск страница сайт форум "
    "провайдер тариф линия скорость кабель карта драйвер система оболочка окно "
    "редактор текст кодировка шрифт таблица база данные запрос ответ ошибка "
    "отладка сборка проект версия тест алгоритм сортировка очередь поток "
    "блокировка задача время журнал номер выпуск статья обзор новость интервью "
    "практикум совет вопрос читатель редакция мнение итоги прогноз рынок цена"
).split()

HEADINGS = ["Новости", "Железо", "Софт", "Сеть", "Безопасность", "Программирование",
            "Наука", "Практикум", "Обзоры", "Письма"]

ENTRIES = 100


def title(rng):
    words = [rng.choice(WORDS) for _ in range(rng.randint(12, 20))]
    words[0] = words[0].capitalize()
    if rng.random() < 0.2:
        words[rng.randrange(len(words))] = "&quot;" + rng.choice(WORDS).capitalize() + "&quot;"
    return " ".join(words)


def entry_lines(rng, position):
    if position % 10 == 0:
        return [f'<tr><td valign="top">&nbsp;</td><td><b>{HEADINGS[position // 10]}</b></td></tr>']
    link = rng.choice(["../text/a{}.htm", "a{}.htm", "pages/a{}.htm"]).format(position)
    text = title(rng)
    head = f'<tr><td valign="top">&#149;</td><td><a href="{link}" target="main">'
    if position % 8 == 3:
        # An editor that wraps long lines leaves the anchor text on two lines.
        cut = text.index(" ", len(text) // 2) + 1
        return [head + text[:cut], text[cut:] + "</a></td></tr>"]
    return [head + text + "</a></td></tr>"]


def contents_page(rng, number):
    lines = ["<html>", "<head>",
             '<meta http-equiv="Content-Type" content="text/html; charset=windows-1251">',
             f"<title>InternetZone № {number}. Содержание</title>", '<base target="main">', "</head>",
             '<body bgcolor="#f4f4ec" link="#003366" vlink="#336699">',
             f"<h3>InternetZone № {number}</h3>",
             '<table border="0" cellpadding="2" cellspacing="0" width="100%">']
    for position in range(ENTRIES):
        lines += entry_lines(rng, position)
    lines += [f'<tr><td colspan="2"><small>Copyright &copy; {1998 + number % 6} InternetZone</small></td></tr>',
              "</table>", "</body>", "</html>"]
    return ("\r\n".join(lines) + "\r\n").encode("cp1251")


def index_page(number):
    return ("<html><head><title>InternetZone № {0}</title></head>\r\n"
            '<frameset cols="280,*"><frame src="frame/left.htm" name="left">'
            '<frame src="frame/main.htm" name="main"></frameset></html>\r\n').format(number).encode("cp1251")


def main():
    if len(sys.argv) not in (2, 3):
        print("usage: make_collection.py TARGET_DIR [ISSUES]", file=sys.stderr)
        return 2
    target = sys.argv[1]
    count = int(sys.argv[2]) if len(sys.argv) == 3 else 2000
    rng = random.Random(20030517)
    total = 0
    for number in range(1, count + 1):
        folder = os.path.join(target, f"izone{number}")
        os.makedirs(os.path.join(folder, "frame"), exist_ok=True)
        page = contents_page(rng, number)
        total += len(page)
        with open(os.path.join(folder, "frame", "left.htm"), "wb") as f:
            f.write(page)
        with open(os.path.join(folder, "index.htm"), "wb") as f:
            f.write(index_page(number))
    print(f"{count} issues, {total // count} bytes per contents page on average, in {target}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
