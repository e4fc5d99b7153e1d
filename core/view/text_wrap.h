// SPDX-License-Identifier: GPL-3.0-or-later
// Word wrapping of a text block against a measuring interface, so that the
// article view's layout can be decided (and tested) without a display.
#pragma once

#include <string>
#include <string_view>
#include <vector>

/// Measures text in one of the article view's five styles. The window
/// implements it over its device context and the styles' fonts; tests use
/// fixed metrics. Text is code page 1251; the implementation converts it.
class TextMeasurer {
public:
    virtual ~TextMeasurer() = default;
    /// Makes `style` (a StyleIndex) the style the other calls measure in.
    virtual void SelectStyle(int style) = 0;
    virtual int TextWidth(std::string_view text) = 0;
    /// The character cell height of the selected font (ascent + descent).
    virtual int LineHeight() = 0;
    virtual int ExternalLeading() = 0;
};

/// A text block broken into lines, and the height it takes.
struct WrappedText {
    std::vector<std::string> lines;
    int lineHeight = 0;   ///< cell height of one line
    int linePitch = 0;    ///< distance from one line's top to the next one's
    int height = 0;       ///< n lines: n * lineHeight + (n - 1) * leading; 0 for no line
};

/// Breaks `text` into lines no wider than `width` in the selected style, the
/// way word-broken text drawing does: lines break at blanks (the blanks at a
/// break are dropped, leading blanks of the text are kept), a word wider than
/// `width` stands on a line of its own and is clipped rather than broken, and
/// CR LF, CR or LF end a line. An empty text has no line and is 0 high.
WrappedText WrapText(TextMeasurer& measurer, std::string_view text, int width);
