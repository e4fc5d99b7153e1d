#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Builds a journal collection with article files for the text search benchmark.

    bench/make_text_collection.py TARGET_DIR [ISSUES [ARTICLES]]   (default 250 x 80)

Every issue izoneN gets a table of contents frame/left.htm listing its
articles text/aK.htm, in Windows-1251; every article is an HTML page of about
8 KB: paragraphs of words with inline tags, links and, now and then, a tag
broken over two lines. With the defaults that is 20 000 articles, about
160 MB.

The word WORD (printed at the end) occurs in about one article in a hundred,
always in the text between tags and never in a title, so a search of the
article texts and a plain grep of the tree must find the same files. The
output depends only on the arguments (fixed random seed).
"""

import os
import random
import sys

WORD = "сцинтиллятор"

WORDS = (
    "сеть компьютер программа сервер почта браузер модем диск процессор память "
    "файл папка архив пароль вирус защита шифрование поиск страница сайт форум "
    "провайдер тариф линия скорость кабель карта драйвер система оболочка окно "
    "редактор текст кодировка шрифт таблица база данные запрос ответ ошибка "
    "отладка сборка проект версия тест алгоритм сортировка очередь поток "
    "блокировка задача время журнал номер выпуск статья обзор новость интервью "
    "практикум совет вопрос читатель редакция мнение итоги прогноз рынок цена "
    "и в на с по для что как это не но или от до при без под над через"
).split()

INLINE = [("<b>", "</b>"), ("<i>", "</i>"), ('<font color="#336699">', "</font>"), ("<code>", "</code>")]


def sentence(rng, length):
    words = [rng.choice(WORDS) for _ in range(length)]
    words[0] = words[0].capitalize()
    if rng.random() < 0.5:
        at = rng.randrange(len(words))
        opening, closing = rng.choice(INLINE)
        words[at] = opening + words[at] + closing
    if rng.random() < 0.15:
        at = rng.randrange(len(words))
        words[at] = f'<a href="../text/a{rng.randrange(1, 80)}.htm">{words[at]}</a>'
    return " ".join(words) + "."


def paragraph_lines(rng, count):
    """A pool of paragraph lines, reused by every article."""
    lines = []
    for _ in range(count):
        text = " ".join(sentence(rng, rng.randint(6, 14)) for _ in range(rng.randint(1, 3)))
        if rng.random() < 0.1:
            # An editor that wraps long lines breaks a tag over two lines.
            lines.append('<p class="body"\r\n' + 'style="margin:0">' + text + "</p>")
        else:
            lines.append("<p>" + text + "</p>")
    return lines


def article(rng, pool, title, with_word):
    lines = ["<html>", "<head>",
             '<meta http-equiv="Content-Type" content="text/html; charset=windows-1251">',
             f"<title>{title}</title>", "</head>", '<body bgcolor="#ffffff">', f"<h2>{title}</h2>"]
    size = sum(len(line) for line in lines)
    body = []
    # About 8 KB of text in code page 1251 (one byte a character).
    while size < 8150:
        line = rng.choice(pool)
        body.append(line)
        size += len(line) + 2
    if with_word:
        at = rng.randrange(len(body))
        body[at] = f"<p>Опыт со словом <b>{WORD}</b> и {WORD} в тексте.</p>"
    lines += body + ["<hr>", '<p><a href="../index.htm">Содержание</a></p>', "</body>", "</html>"]
    return ("\r\n".join(lines) + "\r\n").encode("cp1251")


def contents_page(titles, number):
    lines = ["<html>", "<head>",
             '<meta http-equiv="Content-Type" content="text/html; charset=windows-1251">',
             f"<title>Journal {number}</title>", "</head>", "<body>", "<ul>"]
    for k, title in enumerate(titles, start=1):
        lines.append(f'<li><a href="../text/a{k}.htm" target="main">{title}</a></li>')
    lines += ["</ul>", "</body>", "</html>"]
    return ("\r\n".join(lines) + "\r\n").encode("cp1251")


def main():
    if len(sys.argv) not in (2, 3, 4):
        print("usage: make_text_collection.py TARGET_DIR [ISSUES [ARTICLES]]", file=sys.stderr)
        return 2
    target = sys.argv[1]
    issues = int(sys.argv[2]) if len(sys.argv) > 2 else 250
    articles = int(sys.argv[3]) if len(sys.argv) > 3 else 80
    if articles > 99:
        print("at most 99 articles an issue: the list needs its ending entry", file=sys.stderr)
        return 2
    rng = random.Random(19980501)
    pool = paragraph_lines(rng, 4000)
    total = 0
    with_word = 0
    for number in range(1, issues + 1):
        folder = os.path.join(target, f"izone{number}")
        os.makedirs(os.path.join(folder, "frame"), exist_ok=True)
        os.makedirs(os.path.join(folder, "text"), exist_ok=True)
        titles = [" ".join(rng.choice(WORDS) for _ in range(rng.randint(3, 7))).capitalize()
                  for _ in range(articles)]
        with open(os.path.join(folder, "frame", "left.htm"), "wb") as f:
            f.write(contents_page(titles, number))
        for k in range(1, articles + 1):
            word = rng.random() < 0.01
            with_word += word
            page = article(rng, pool, titles[k - 1], word)
            total += len(page)
            with open(os.path.join(folder, "text", f"a{k}.htm"), "wb") as f:
                f.write(page)
    print(f"{issues} issues, {issues * articles} articles, {total // (1 << 20)} MB of articles, "
          f"{with_word} with the word, in {target}")
    print(f"word: {WORD}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
