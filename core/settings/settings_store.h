// SPDX-License-Identifier: GPL-3.0-or-later
// The values the program keeps between runs, all under one key of the
// per-user registry, with their exact layouts and defaults.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/registry.h"

inline constexpr const char* kSettingsKey = "Software\\Vestrels\\Quillbox\\Settings";

/// The leading fields of a Windows LOGFONT, as a font record stores them.
struct LogFont {
    std::int32_t height = 0;  ///< < 0: character height in pixels; > 0: cell height; 0: default
    std::int32_t width = 0;
    std::int32_t escapement = 0;
    std::int32_t orientation = 0;
    std::int32_t weight = 0;
    std::uint8_t italic = 0;
    std::uint8_t underline = 0;
    std::uint8_t strikeOut = 0;
    std::uint8_t charSet = 0;
    std::uint8_t outPrecision = 0;
    std::uint8_t clipPrecision = 0;
    std::uint8_t quality = 0;
    std::uint8_t pitchAndFamily = 0;
    std::string faceName;  ///< at most 31 characters; stored in "NameFont", not in the record

    bool operator==(const LogFont&) const = default;
};

/// 0x00BBGGRR
using ColorRef = std::uint32_t;

/// One of the five text styles of the article view.
struct TextStyle {
    LogFont font;
    ColorRef color = 0;
    bool operator==(const TextStyle&) const = default;
};

/// The styles in the order of their values "LogFont_1" to "LogFont_5".
enum StyleIndex { kStylePlainTitle = 0, kStyleAnnotation, kStyleSelectedTitle, kStyleHeading, kStyleFoundTitle };
inline constexpr int kStyleCount = 5;
using TextStyles = std::array<TextStyle, kStyleCount>;

TextStyles DefaultTextStyles();

/// The 32-byte record of "LogFont_n": the LOGFONT fields, then the colour.
std::string EncodeFontRecord(const TextStyle& style);
/// Sets the record's fields of `style` (the face name is left alone).
void DecodeFontRecord(std::string_view record, TextStyle& style);

/// Text whose items each end with CR LF into a registry multi-string: a CR
/// becomes a zero byte, other control characters are dropped, two zero bytes
/// end the block.
std::string ToMultiString(std::string_view text);

/// The first `count` zero-terminated strings of a multi-string, each starting
/// after the previous one's zero byte; strings past the end are empty.
std::vector<std::string> MultiStringItems(std::string_view bytes, std::size_t count);

struct BarVisibility {
    bool toolBar = true;
    bool statusBar = true;
};

/// Client area of the main window in screen pixels, as "Size" stores it.
struct Placement {
    int x = 0, y = 0, width = 0, height = 0;
    bool operator==(const Placement&) const = default;
};

/// Outcome of a write that the frame may have to report ("k.t.1", "k.t.2").
struct WriteResult {
    enum Status { Written, KeyUnavailable, Failed };
    Status status = Written;
    int error = 0;  ///< Failed: the system's reason (errno)

    WriteResult(Status s = Written, int e = 0) : status(s), error(e) {}
    friend bool operator==(const WriteResult& result, Status s) { return result.status == s; }
};

/// Reads and writes the settings values; every call opens the key afresh.
namespace settings {

TextStyles LoadTextStyles();
BarVisibility LoadBars();
std::optional<Placement> LoadPlacement();
double LoadLeftShare();

/// "Journals": the working directory's pattern as stored, up to its first
/// zero byte, in the internal form ("/" read as "\"); empty when missing or
/// too long. The first form opens the key itself.
std::string LoadWorkPattern();
std::string LoadWorkPattern(const platform::registry::Key& key);
/// Writes "Journals" under `key`; false when the write failed.
bool StoreWorkPattern(const platform::registry::Key& key, std::string_view workPattern);

WriteResult StorePlacement(const Placement& placement);
WriteResult StoreLeftShare(double ratio);
void StoreBars(const BarVisibility& bars);

/// "NameFont" then the five records; the result of "NameFont" and of each record.
struct StylesWriteResult {
    WriteResult nameFont = WriteResult::Written;
    std::array<WriteResult, kStyleCount> records{};
};
StylesWriteResult StoreTextStyles(const TextStyles& styles);

/// What a fonts dialog changed, written over the values as they are stored
/// now, so that another running copy's fonts are not reverted: the records
/// of the styles that differ between `before` and `after`, and "NameFont"
/// when a face name stored differs from the merged one. Without a readable
/// "NameFont" everything is written, since records alone would not be read.
/// Values not written keep the result Written.
StylesWriteResult StoreChangedTextStyles(const TextStyles& before, const TextStyles& after);

/// The message (1251) of a failed write: `code` ("k.t.1", "k.t.2") as the
/// first line, then the settings file and the system's reason.
std::string WriteFailureText(const char* code, int error);

/// At start: a settings file that cannot be read is set aside so that the
/// program starts on defaults; the message (1251) that names it and where it
/// was kept, empty when there was nothing to set aside.
std::string SetAsideUnreadableSettings();

std::string FormatPlacement(const Placement& placement);
/// The first number starts the text, each next one starts after the next blank.
Placement ParsePlacement(std::string_view text);
std::string FormatLeftShare(double ratio);

}  // namespace settings
