// SPDX-License-Identifier: GPL-3.0-or-later
// A text measurer of fixed metrics for the article view's tests.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <tuple>

#include "core/settings/settings_store.h"
#include "core/view/article_layout.h"
#include "core/view/text_wrap.h"

struct FixedMetrics {
    int charWidth = 8;
    int lineHeight = 16;
    int leading = 0;
};

class FixedMeasurer : public TextMeasurer {
public:
    FixedMeasurer() = default;
    explicit FixedMeasurer(FixedMetrics all) { metrics.fill(all); }

    void SelectStyle(int style) override { selected = style; }
    int TextWidth(std::string_view text) override {
        return static_cast<int>(text.size()) * metrics[selected].charWidth;
    }
    int LineHeight() override { return metrics[selected].lineHeight; }
    int ExternalLeading() override { return metrics[selected].leading; }

    std::array<FixedMetrics, kStyleCount> metrics{};
    int selected = kStylePlainTitle;
};

using Corners = std::array<int, 4>;
inline Corners CornersOf(const HitRect& r) { return {r.left, r.top, r.right, r.bottom}; }

using LineFields = std::tuple<int, int, int, std::string, Corners>;
inline LineFields FieldsOf(const DrawLine& line) {
    return {line.style, line.x, line.y, line.text, CornersOf(line.clip)};
}
