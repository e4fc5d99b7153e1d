// SPDX-License-Identifier: GPL-3.0-or-later
// Word wrapping with blank-separated words and hard line breaks.
#include "core/view/text_wrap.h"

namespace {

bool IsBlank(char c) { return c == ' '; }

std::size_t SkipBlanks(std::string_view s, std::size_t i) {
    while (i < s.size() && IsBlank(s[i])) ++i;
    return i;
}

std::size_t WordEnd(std::string_view s, std::size_t i) {
    while (i < s.size() && !IsBlank(s[i])) ++i;
    return i;
}

/// Wraps one hard line (no line break inside); an empty one still makes a line.
void WrapHardLine(TextMeasurer& measurer, std::string_view line, int width, std::vector<std::string>& out) {
    std::size_t start = 0;
    do {
        // The first word of a line always stays on it, however wide.
        std::size_t end = WordEnd(line, SkipBlanks(line, start));
        for (;;) {
            std::size_t nextWord = SkipBlanks(line, end);
            if (nextWord == line.size()) break;
            std::size_t nextEnd = WordEnd(line, nextWord);
            if (measurer.TextWidth(line.substr(start, nextEnd - start)) > width) break;
            end = nextEnd;
        }
        out.emplace_back(line.substr(start, end - start));
        start = SkipBlanks(line, end);
    } while (start < line.size());
}

}  // namespace

WrappedText WrapText(TextMeasurer& measurer, std::string_view text, int width) {
    WrappedText result;
    result.lineHeight = measurer.LineHeight();
    result.linePitch = result.lineHeight + measurer.ExternalLeading();
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t lineEnd = text.find_first_of("\r\n", pos);
        if (lineEnd == std::string_view::npos) lineEnd = text.size();
        WrapHardLine(measurer, text.substr(pos, lineEnd - pos), width, result.lines);
        pos = lineEnd;
        if (pos < text.size() && text[pos] == '\r') ++pos;
        if (pos < text.size() && text[pos] == '\n') ++pos;
    }
    int n = static_cast<int>(result.lines.size());
    if (n > 0) result.height = n * result.lineHeight + (n - 1) * (result.linePitch - result.lineHeight);
    return result;
}
