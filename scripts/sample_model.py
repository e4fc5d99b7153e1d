# SPDX-License-Identifier: GPL-3.0-or-later
"""What a demo issue is made of: the items of its table of contents.

The texts are plain Unicode here; make_samples.py writes them in cp1251.
`html` overrides how a title stands in the contents page (character
references, a line break inside the anchor); `title` is what the reader
shows for it once the references are dropped.
"""

from dataclasses import dataclass, field
from typing import List, Optional, Union


@dataclass
class Article:
    link: str                 # the href exactly as the contents page writes it
    title: str
    paragraphs: List[str]
    html: Optional[str] = None
    annotation: Optional[str] = None  # used when the article is a demo favourite


@dataclass
class Heading:
    """A section heading: a bold word in its own row or list item, no link."""
    title: str


@dataclass
class Back:
    """A "Назад" link: the reader skips it."""
    link: str = "../index.htm"


@dataclass
class External:
    """A link to a web address; handed to the browser unchanged."""
    link: str
    title: str


Item = Union[Article, Heading, Back, External]


@dataclass
class Issue:
    folder: str               # lower case, e.g. "izone57"
    masthead: str             # "InternetZone № 57"
    year: int
    form: str                 # "list" (<li> items) or "table" (<tr> rows)
    contents_path: str        # host-relative, e.g. "frame/left.htm"
    intro: List[str]
    items: List[Item]
    copyright: str
    after_footer: List[str] = field(default_factory=list)  # raw lines past the footer
    crlf: bool = True
    editorial: Optional[List[str]] = None  # frame/main.htm, for issues in frames
