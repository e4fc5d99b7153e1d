// SPDX-License-Identifier: GPL-3.0-or-later
// Reading and writing the settings values with their exact byte layouts.
#include "core/settings/settings_store.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstring>

#include "platform/le32.h"
#include "platform/registry.h"
#include "platform/save_calls.h"
#include "platform/text1251.h"

namespace reg = platform::registry;
using platform::GetLe32;
using platform::PutLe32;

namespace {

// Capacities of the buffers the values have always been read into; a longer
// value counts as missing.
constexpr std::size_t kStyleBufferCapacity = 190;
constexpr std::size_t kShortValueCapacity = 29;
constexpr std::size_t kFontRecordSize = 32;
constexpr std::size_t kFaceNameMax = 31;
constexpr double kDefaultLeftShare = 2.0;

std::optional<std::string> ReadValue(const std::string& name, std::size_t capacity)
{
    auto key = reg::OpenKey(kSettingsKey);
    if (!key)
        return std::nullopt;
    std::string data;
    if (reg::QueryValue(*key, name, capacity, data) != reg::QueryResult::Ok)
        return std::nullopt;
    return data;
}

WriteResult WriteValue(const std::string& name, reg::ValueType type, const std::string& data)
{
    auto key = reg::CreateKey(kSettingsKey);
    if (!key)
        return WriteResult::KeyUnavailable;
    int error = 0;
    if (reg::SetValue(*key, name, type, data, &error))
        return WriteResult::Written;
    return {WriteResult::Failed, error};
}

std::string CutAtZero(const std::string& bytes)
{
    return bytes.substr(0, bytes.find('\0'));
}

// atoi: optional blanks and sign, then digits; stops at anything else.
int ParseLeadingInt(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+'))
        negative = text[i++] == '-';
    long long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
        value = std::min<long long>(value * 10 + (text[i] - '0'), static_cast<long long>(INT_MAX) + 1);
    value = negative ? -value : value;
    return static_cast<int>(std::clamp<long long>(value, INT_MIN, INT_MAX));
}

}  // namespace

TextStyles DefaultTextStyles()
{
    struct Row {
        std::int32_t weight;
        std::uint8_t italic, underline;
        ColorRef color;
    };
    static constexpr Row rows[kStyleCount] = {
        {700, 0, 0, 0x00C40000}, {400, 0, 0, 0x00000000}, {700, 0, 0, 0x0000C400},
        {700, 1, 1, 0x00C40000}, {700, 0, 0, 0x000000C4},
    };
    TextStyles styles{};
    for (int i = 0; i < kStyleCount; ++i) {
        LogFont& f = styles[i].font;
        f.height = 16;
        f.weight = rows[i].weight;
        f.italic = rows[i].italic;
        f.underline = rows[i].underline;
        f.charSet = 204;
        f.quality = 2;
        f.pitchAndFamily = 0x22;
        f.faceName = "Ms Sans Serif";
        styles[i].color = rows[i].color;
    }
    return styles;
}

std::string EncodeFontRecord(const TextStyle& style)
{
    const LogFont& f = style.font;
    std::string record(kFontRecordSize, '\0');
    PutLe32(record, 0, static_cast<std::uint32_t>(f.height));
    PutLe32(record, 4, static_cast<std::uint32_t>(f.width));
    PutLe32(record, 8, static_cast<std::uint32_t>(f.escapement));
    PutLe32(record, 12, static_cast<std::uint32_t>(f.orientation));
    PutLe32(record, 16, static_cast<std::uint32_t>(f.weight));
    const std::uint8_t bytes[] = {f.italic,       f.underline,     f.strikeOut, f.charSet,
                                  f.outPrecision, f.clipPrecision, f.quality,   f.pitchAndFamily};
    std::memcpy(record.data() + 20, bytes, sizeof bytes);
    PutLe32(record, 28, style.color);
    return record;
}

void DecodeFontRecord(std::string_view stored, TextStyle& style)
{
    // A shorter record fills the front of a zeroed buffer, as the read always did.
    std::string record(kFontRecordSize, '\0');
    std::memcpy(record.data(), stored.data(), std::min(stored.size(), kFontRecordSize));
    LogFont& f = style.font;
    f.height = static_cast<std::int32_t>(GetLe32(record, 0));
    f.width = static_cast<std::int32_t>(GetLe32(record, 4));
    f.escapement = static_cast<std::int32_t>(GetLe32(record, 8));
    f.orientation = static_cast<std::int32_t>(GetLe32(record, 12));
    f.weight = static_cast<std::int32_t>(GetLe32(record, 16));
    const auto byteAt = [&](std::size_t i) { return static_cast<std::uint8_t>(record[i]); };
    f.italic = byteAt(20);
    f.underline = byteAt(21);
    f.strikeOut = byteAt(22);
    f.charSet = byteAt(23);
    f.outPrecision = byteAt(24);
    f.clipPrecision = byteAt(25);
    f.quality = byteAt(26);
    f.pitchAndFamily = byteAt(27);
    style.color = GetLe32(record, 28);
}

std::string ToMultiString(std::string_view text)
{
    std::string out;
    out.reserve(text.size() + 2);
    for (char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if (c == '\r')
            out.push_back('\0');
        else if (c >= 32 && c != 127)
            out.push_back(ch);
    }
    out.append(2, '\0');
    return out;
}

std::vector<std::string> MultiStringItems(std::string_view bytes, std::size_t count)
{
    std::vector<std::string> items;
    items.reserve(count);
    std::size_t pos = 0;
    for (std::size_t i = 0; i < count; ++i) {
        if (pos >= bytes.size()) {
            items.emplace_back();
            continue;
        }
        std::size_t end = bytes.find('\0', pos);
        if (end == std::string_view::npos)
            end = bytes.size();
        items.emplace_back(bytes.substr(pos, end - pos));
        pos = end + 1;
    }
    return items;
}

namespace settings {

TextStyles LoadTextStyles()
{
    auto names = ReadValue("NameFont", kStyleBufferCapacity);
    if (!names)
        return DefaultTextStyles();

    const TextStyles defaults = DefaultTextStyles();
    TextStyles styles{};
    const auto faces = MultiStringItems(*names, kStyleCount);
    for (int i = 0; i < kStyleCount; ++i) {
        // A LOGFONT has room for 31 characters of face name.
        styles[i].font.faceName = faces[i].substr(0, kFaceNameMax);
        // A missing record keeps zero fields (the system's default size) but
        // the style's own colour, so its role stays recognisable.
        styles[i].color = defaults[i].color;
        if (auto record = ReadValue("LogFont_" + std::to_string(i + 1), kFontRecordSize))
            DecodeFontRecord(*record, styles[i]);
    }
    return styles;
}

BarVisibility LoadBars()
{
    BarVisibility bars;
    if (auto value = ReadValue("Toolbar", kStyleBufferCapacity)) {
        value->resize(2, '\0');
        bars.toolBar = (*value)[0] != '0';
        bars.statusBar = (*value)[1] != '0';
    }
    return bars;
}

std::optional<Placement> LoadPlacement()
{
    auto value = ReadValue("Size", kShortValueCapacity);
    if (!value)
        return std::nullopt;
    Placement placement = ParsePlacement(CutAtZero(*value));
    // A value without four numbers would give a window of no size at all.
    if (placement.width <= 0 || placement.height <= 0)
        return std::nullopt;
    return placement;
}

double LoadLeftShare()
{
    auto value = ReadValue("LeftShare", kShortValueCapacity);
    if (!value)
        return kDefaultLeftShare;
    std::string text = CutAtZero(*value);
    std::size_t start = text.find_first_not_of(" \t");
    if (start == std::string::npos)
        return kDefaultLeftShare;
    if (text[start] == '+')
        ++start;
    double ratio = 0;
    std::from_chars(text.data() + start, text.data() + text.size(), ratio);
    // The left pane is the client width divided by the ratio: a ratio that is
    // not above 1 (or not a number) would make it as wide as the window or
    // divide by zero, and no width the program stores gives one.
    if (!std::isfinite(ratio) || ratio <= 1.0)
        return kDefaultLeftShare;
    return ratio;
}

std::string LoadWorkPattern()
{
    const std::optional<reg::Key> key = reg::OpenKey(kSettingsKey);
    return key ? LoadWorkPattern(*key) : std::string();
}

std::string LoadWorkPattern(const reg::Key& key)
{
    constexpr std::size_t kCapacity = 4096;
    std::string data;
    if (reg::QueryValue(key, "Journals", kCapacity, data) != reg::QueryResult::Ok)
        return {};
    data = CutAtZero(data);
    std::replace(data.begin(), data.end(), '/', '\\');
    return data;
}

bool StoreWorkPattern(const reg::Key& key, std::string_view workPattern)
{
    return reg::SetValue(key, "Journals", reg::ValueType::Sz, std::string(workPattern));
}

WriteResult StorePlacement(const Placement& placement)
{
    return WriteValue("Size", reg::ValueType::Sz, FormatPlacement(placement));
}

WriteResult StoreLeftShare(double ratio)
{
    return WriteValue("LeftShare", reg::ValueType::Sz, FormatLeftShare(ratio));
}

void StoreBars(const BarVisibility& bars)
{
    const std::string value{bars.toolBar ? '1' : '0', bars.statusBar ? '1' : '0'};
    WriteValue("Toolbar", reg::ValueType::Sz, value);
}

namespace {

std::string FaceNames(const TextStyles& styles)
{
    std::string names;
    for (const TextStyle& s : styles)
        names += s.font.faceName + "\r\n";
    return ToMultiString(names);
}

WriteResult WriteRecord(int i, const TextStyle& style)
{
    return WriteValue("LogFont_" + std::to_string(i + 1), reg::ValueType::Binary, EncodeFontRecord(style));
}

}  // namespace

StylesWriteResult StoreTextStyles(const TextStyles& styles)
{
    StylesWriteResult result;
    result.nameFont = WriteValue("NameFont", reg::ValueType::MultiSz, FaceNames(styles));
    for (int i = 0; i < kStyleCount; ++i)
        result.records[i] = WriteRecord(i, styles[i]);
    return result;
}

StylesWriteResult StoreChangedTextStyles(const TextStyles& before, const TextStyles& after)
{
    if (before == after)
        return {};
    const std::optional<std::string> storedNames = ReadValue("NameFont", kStyleBufferCapacity);
    if (!storedNames)
        return StoreTextStyles(after);
    // The styles as stored now (another copy may have written some since
    // this one read them), with this dialog's changes on top.
    TextStyles merged = LoadTextStyles();
    for (int i = 0; i < kStyleCount; ++i)
        if (before[i] != after[i])
            merged[i] = after[i];
    StylesWriteResult result;
    if (FaceNames(merged) != *storedNames)
        result.nameFont = WriteValue("NameFont", reg::ValueType::MultiSz, FaceNames(merged));
    for (int i = 0; i < kStyleCount; ++i)
        if (before[i] != after[i])
            result.records[i] = WriteRecord(i, after[i]);
    return result;
}

std::string WriteFailureText(const char* code, int error)
{
    return std::string(code) + "\n" +
           platform::text::To1251FromUtf8(reg::HivePath() + ": " + platform::files::ReasonText(error));
}

std::string SetAsideUnreadableSettings()
{
    const std::optional<reg::SetAside> aside = reg::SetAsideUnreadableHive();
    if (!aside)
        return {};
    const char* why = aside->reason == EFBIG    ? "слишком велик"
                      : aside->reason == EINVAL ? "не является обычным файлом"
                      : aside->reason == 0      ? "повреждён"
                                                : platform::files::ReasonText(aside->reason);
    std::string text = "Файл настроек\n" + aside->hive + "\n" + why + ". ";
    text += aside->keptAs.empty()
                ? std::string("Отложить его в сторону не удалось (") + platform::files::ReasonText(aside->moveError) +
                      "); он не будет изменён."
                : "Он сохранён как\n" + aside->keptAs + "\n";
    text += "Программа начинает работу с настройками по умолчанию.";
    return platform::text::To1251FromUtf8(text);
}

std::string FormatPlacement(const Placement& p)
{
    return std::to_string(p.x) + ' ' + std::to_string(p.y) + ' ' + std::to_string(p.width) + ' ' +
           std::to_string(p.height);
}

Placement ParsePlacement(std::string_view text)
{
    int numbers[4] = {};
    std::size_t pos = 0;
    for (int i = 0; i < 4 && pos != std::string_view::npos; ++i) {
        numbers[i] = ParseLeadingInt(text.substr(pos));
        pos = text.find(' ', pos);
        if (pos != std::string_view::npos)
            ++pos;
    }
    return {numbers[0], numbers[1], numbers[2], numbers[3]};
}

std::string FormatLeftShare(double ratio)
{
    // Independent of the user's locale: the point is always ".".
    char buffer[64];
    auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, ratio, std::chars_format::fixed, 6);
    if (ec != std::errc())
        return "2.000000";
    return std::string(buffer, end);
}

}  // namespace settings
