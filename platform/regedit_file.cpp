// SPDX-License-Identifier: GPL-3.0-or-later
// Parsing and editing the REGEDIT4 text of the hive.
//
// Each line is classified once and keeps its bytes; a write formats only the
// value it sets, so whatever the user typed elsewhere, readable or not, stays.
//
// The file is text on this host, so key paths, value names and the quoted
// string form are UTF-8 there; a hand-edited file is UTF-8 too. Bytes that are
// not valid UTF-8 are taken as 1251 as they stand. Value data written by the
// program are always hex, so they never pass through a text conversion.
#include "platform/regedit_file.h"

#include "platform/le32.h"
#include "platform/text1251.h"

#include <cstdio>
#include <optional>

namespace platform::registry::regedit {
namespace {

constexpr std::string_view kHeader = "REGEDIT4";
constexpr std::string_view kBom = "\xEF\xBB\xBF";
constexpr std::uint32_t kDwordType = 4;
constexpr std::uint32_t kBinaryType = 3;
constexpr std::uint32_t kSzType = 1;
constexpr std::size_t kWrapColumn = 77;

bool SameName(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && text::LowerAscii(a) == text::LowerAscii(b);
}

std::string_view TrimBlanks(std::string_view s)
{
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t'))
        s.remove_suffix(1);
    return s;
}

bool StartsWithNoCase(std::string_view s, std::string_view prefix)
{
    return s.size() >= prefix.size() && SameName(s.substr(0, prefix.size()), prefix);
}

std::string TextFromFile(std::string_view bytes)
{
    return text::IsValidUtf8(bytes) ? text::To1251FromUtf8(bytes) : std::string(bytes);
}

std::string TextToFile(std::string_view name1251)
{
    std::string utf8 = text::Utf8From1251(name1251);
    // A name with the unassigned byte 0x98 would not come back: keep it raw.
    return text::To1251FromUtf8(utf8) == name1251 ? utf8 : std::string(name1251);
}

std::optional<unsigned> HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return static_cast<unsigned>(c - '0');
    if (c >= 'a' && c <= 'f')
        return static_cast<unsigned>(c - 'a' + 10);
    if (c >= 'A' && c <= 'F')
        return static_cast<unsigned>(c - 'A' + 10);
    return std::nullopt;
}

/// 1 to `maxDigits` hex digits and nothing else.
std::optional<std::uint32_t> ParseHexNumber(std::string_view s, std::size_t maxDigits)
{
    s = TrimBlanks(s);
    if (s.empty() || s.size() > maxDigits)
        return std::nullopt;
    std::uint32_t value = 0;
    for (char c : s) {
        const auto digit = HexDigit(c);
        if (!digit)
            return std::nullopt;
        value = (value << 4) | *digit;
    }
    return value;
}

std::optional<std::string> ParseHexBytes(std::string_view list)
{
    std::string bytes;
    list = TrimBlanks(list);
    if (list.empty())
        return bytes;
    while (true) {
        const std::size_t comma = list.find(',');
        const auto byte = ParseHexNumber(list.substr(0, comma), 2);
        if (!byte)
            return std::nullopt;
        bytes += static_cast<char>(*byte);
        if (comma == std::string_view::npos)
            return bytes;
        list.remove_prefix(comma + 1);
    }
}

/// A quoted text at the start of `s` with \\ and \" escapes; `s` is left
/// after the closing quote. A backslash before any other character stays
/// as written, so a hand-typed "D:\journals" keeps its backslash.
std::optional<std::string> ParseQuoted(std::string_view& s)
{
    if (s.empty() || s.front() != '"')
        return std::nullopt;
    std::string out;
    for (std::size_t i = 1; i < s.size(); ++i) {
        const char c = s[i];
        if (c == '"') {
            s.remove_prefix(i + 1);
            return out;
        }
        if (c == '\\' && i + 1 < s.size() && (s[i + 1] == '\\' || s[i + 1] == '"'))
            ++i;
        out += s[i];
    }
    return std::nullopt;
}

std::optional<Value> ParseData(std::string_view s, std::string name)
{
    if (!s.empty() && s.front() == '"') {
        auto quoted = ParseQuoted(s);
        if (!quoted || !TrimBlanks(s).empty())
            return std::nullopt;
        return Value{std::move(name), kSzType, TextFromFile(*quoted)};
    }
    if (StartsWithNoCase(s, "dword:")) {
        const auto number = ParseHexNumber(s.substr(6), 8);
        if (!number)
            return std::nullopt;
        return Value{std::move(name), kDwordType, Le32Bytes(*number)};
    }
    std::uint32_t type = kBinaryType;
    if (StartsWithNoCase(s, "hex:")) {
        s.remove_prefix(4);
    } else if (StartsWithNoCase(s, "hex(")) {
        const std::size_t close = s.find("):");
        if (close == std::string_view::npos)
            return std::nullopt;
        const auto number = ParseHexNumber(s.substr(4, close - 4), 8);
        if (!number)
            return std::nullopt;
        type = *number;
        s.remove_prefix(close + 2);
    } else {
        return std::nullopt;
    }
    auto bytes = ParseHexBytes(s);
    if (!bytes)
        return std::nullopt;
    return Value{std::move(name), type, std::move(*bytes)};
}

std::optional<Value> ParseValueLine(std::string_view line)
{
    std::string name;
    if (line.front() == '@') {
        line.remove_prefix(1);
    } else {
        auto quoted = ParseQuoted(line);
        if (!quoted)
            return std::nullopt;
        name = TextFromFile(*quoted);
    }
    line = TrimBlanks(line);
    if (line.empty() || line.front() != '=')
        return std::nullopt;
    return ParseData(TrimBlanks(line.substr(1)), std::move(name));
}

/// The file's lines, each with its line end.
std::vector<std::string_view> SplitLines(std::string_view text)
{
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const std::size_t nl = text.find('\n');
        const std::size_t length = nl == std::string_view::npos ? text.size() : nl + 1;
        lines.push_back(text.substr(0, length));
        text.remove_prefix(length);
    }
    return lines;
}

std::string_view WithoutLineEnd(std::string_view line)
{
    if (!line.empty() && line.back() == '\n')
        line.remove_suffix(1);
    if (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
    return line;
}

bool IsBlank(std::string_view line)
{
    return TrimBlanks(WithoutLineEnd(line)).empty();
}

/// A line that can only be the rest of a wrapped value: not blank, not a
/// comment, and not the start of a section or a value.
bool IsContinuation(std::string_view line)
{
    const std::string_view t = TrimBlanks(WithoutLineEnd(line));
    return !t.empty() && std::string_view(";[\"@").find(t.front()) == std::string_view::npos;
}

/// "[key]": the key, or nothing for a header that cannot be read. "[-key]"
/// deletes a key on import; no hive has it.
std::optional<std::string> ParseSectionLine(std::string_view line)
{
    if (line.size() < 3 || line.back() != ']' || line[1] == '-')
        return std::nullopt;
    return TextFromFile(line.substr(1, line.size() - 2));
}

/// The name of a value line that does not read otherwise, when its start
/// makes it out.
std::optional<std::string> ValueLineName(std::string_view line)
{
    if (line.front() == '@')
        return std::string();
    auto quoted = ParseQuoted(line);
    if (!quoted)
        return std::nullopt;
    return TextFromFile(*quoted);
}

std::string QuoteName(std::string_view name1251)
{
    std::string out = "\"";
    for (char c : TextToFile(name1251)) {
        if (c == '\\' || c == '"')
            out += '\\';
        out += c;
    }
    return out + "\"";
}

std::string FormatValue(const Value& value, std::string_view lineEnd)
{
    std::string line = value.name.empty() ? std::string("@") : QuoteName(value.name);
    line += '=';
    if (value.type == kDwordType && value.data.size() == 4) {
        char digits[9];
        std::snprintf(digits, sizeof digits, "%08x", GetLe32(value.data));
        return line + "dword:" + digits + std::string(lineEnd);
    }
    std::string out;
    char prefix[20];
    std::snprintf(prefix, sizeof prefix, "hex(%x):", value.type);
    line += prefix;
    for (std::size_t i = 0; i < value.data.size(); ++i) {
        char piece[4];
        const bool last = i + 1 == value.data.size();
        std::snprintf(piece, sizeof piece, last ? "%02x" : "%02x,", static_cast<unsigned char>(value.data[i]));
        if (line.size() + 3 > kWrapColumn) {
            out += line + "\\" + std::string(lineEnd);
            line = "  ";
        }
        line += piece;
    }
    return out + line + std::string(lineEnd);
}

Line MakeLine(Line::Kind kind, std::string text, std::string key = {})
{
    Line line;
    line.kind = kind;
    line.text = std::move(text);
    line.key = std::move(key);
    return line;
}

bool IsValueOf(const Line& line, std::string_view key, std::string_view name)
{
    return (line.kind == Line::Kind::Value || (line.kind == Line::Kind::Unreadable && line.named)) &&
           !line.key.empty() && SameName(line.key, key) && SameName(line.value.name, name);
}

}  // namespace

bool Document::IsHive() const
{
    if (hasHeader)
        return true;
    bool onlyLayout = true;
    for (const Line& line : lines) {
        if (line.kind == Line::Kind::Section)
            return true;
        onlyLayout = onlyLayout && line.kind == Line::Kind::Layout;
    }
    return onlyLayout;
}

bool Document::HasKey(std::string_view key) const
{
    const std::string prefix = text::LowerAscii(key) + "\\";
    for (const Line& line : lines)
        if (line.kind == Line::Kind::Section &&
            (SameName(line.key, key) || text::LowerAscii(line.key).starts_with(prefix)))
            return true;
    return false;
}

const Value* Document::FindValue(std::string_view key, std::string_view name) const
{
    for (auto it = lines.rbegin(); it != lines.rend(); ++it)
        if (it->kind == Line::Kind::Value && IsValueOf(*it, key, name))
            return &it->value;
    return nullptr;
}

namespace {

/// Ends the line before `position` so that a line can follow it (the last
/// line of a hand-edited file may lack its line end).
void EndLineBefore(Document& document, std::size_t position)
{
    if (position == 0)
        return;
    std::string& text = document.lines[position - 1].text;
    // A last line that ends in a bare CR has half of a CR LF already.
    if (text.ends_with('\r'))
        text += '\n';
    else if (!text.ends_with('\n'))
        text += document.lineEnd;
}

/// A file that lacks "REGEDIT4" gets it on its first write; the lines it had
/// stay below it as they were.
void EnsureHeader(Document& document)
{
    if (document.hasHeader)
        return;
    std::string header = std::string(kHeader) + document.lineEnd;
    if (!document.lines.empty() && document.lines.front().text.starts_with(kBom)) {
        document.lines.front().text.erase(0, kBom.size());  // the mark belongs at the very start
        header.insert(0, kBom);
    }
    document.lines.insert(document.lines.begin(), MakeLine(Line::Kind::Layout, std::move(header)));
    if (document.lines.size() == 1)
        document.lines.push_back(MakeLine(Line::Kind::Layout, document.lineEnd));
    document.hasHeader = true;
}

/// Where a new value of the key goes: after the last line of its first
/// section that is not blank or a comment. A header that cannot be read ends
/// the section too: a value put below it would belong to no key.
std::optional<std::size_t> InsertionPoint(const Document& document, std::string_view key)
{
    const auto& lines = document.lines;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].kind != Line::Kind::Section || !SameName(lines[i].key, key))
            continue;
        std::size_t last = i;
        for (std::size_t j = i + 1; j < lines.size() && lines[j].kind != Line::Kind::Section; ++j) {
            if (lines[j].kind == Line::Kind::Layout)
                continue;
            if (!SameName(lines[j].key, key))
                break;
            last = j;
        }
        return last + 1;
    }
    return std::nullopt;
}

}  // namespace

void Document::EnsureSection(std::string_view key)
{
    EnsureHeader(*this);
    if (InsertionPoint(*this, key))
        return;
    EndLineBefore(*this, lines.size());
    if (!IsBlank(lines.back().text))
        lines.push_back(MakeLine(Line::Kind::Layout, lineEnd));
    Line section = MakeLine(Line::Kind::Section, "[" + TextToFile(key) + "]" + lineEnd, std::string(key));
    lines.push_back(std::move(section));
    lines.push_back(MakeLine(Line::Kind::Layout, lineEnd));
}

std::vector<std::string> Document::SetValue(std::string_view key, std::string_view name, std::uint32_t type,
                                            std::string data)
{
    EnsureHeader(*this);
    std::vector<std::size_t> same;
    for (std::size_t i = 0; i < lines.size(); ++i)
        if (IsValueOf(lines[i], key, name))
            same.push_back(i);
    std::size_t position;
    std::string keptName(name);
    std::vector<std::string> removed;
    if (same.empty()) {
        EnsureSection(key);
        position = *InsertionPoint(*this, key);
        EndLineBefore(*this, position);
        lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(position), Line());
    } else {
        // The line a read saw changes as asked; any other line of the name
        // (an unreadable one, or one it hid) is lost, so the caller gets it.
        std::optional<std::size_t> current;
        for (std::size_t i : same)
            if (lines[i].kind == Line::Kind::Value)
                current = i;
        for (std::size_t i : same)
            if (i != current)
                removed.push_back(lines[i].text);
        position = same.front();
        keptName = lines[position].value.name;
        for (std::size_t k = same.size(); k-- > 1;)
            lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(same[k]));
    }
    Line& line = lines[position];
    line.kind = Line::Kind::Value;
    line.key = std::string(key);
    line.value = Value{std::move(keptName), type, std::move(data)};
    line.named = false;
    // A value in the last line of a file without a final line end keeps
    // that form.
    const bool endless = !line.text.empty() && !line.text.ends_with('\n');
    line.text = FormatValue(line.value, lineEnd);
    if (endless)
        line.text.resize(line.text.size() - lineEnd.size());
    return removed;
}

Document Parse(std::string_view text)
{
    Document document;
    const std::vector<std::string_view> raw = SplitLines(text);
    if (!raw.empty() && raw.front().ends_with("\r\n"))
        document.lineEnd = "\r\n";
    std::string currentKey;
    for (std::size_t i = 0; i < raw.size(); ++i) {
        std::string_view content = WithoutLineEnd(raw[i]);
        if (i == 0 && content.starts_with(kBom))
            content.remove_prefix(kBom.size());
        const std::string_view line = TrimBlanks(content);
        Line entry = MakeLine(Line::Kind::Unreadable, std::string(raw[i]), currentKey);
        if (i == 0 && line == kHeader) {
            entry = MakeLine(Line::Kind::Layout, std::move(entry.text));
            document.hasHeader = true;
        } else if (line.empty() || line.front() == ';') {
            entry = MakeLine(Line::Kind::Layout, std::move(entry.text));
        } else if (line.front() == '[') {
            // Under a header that cannot be read, values belong to no key.
            auto key = ParseSectionLine(line);
            currentKey = key ? *key : std::string();
            entry.key = currentKey;
            if (key)
                entry.kind = Line::Kind::Section;
        } else if (line.front() == '"' || line.front() == '@') {
            std::string joined(line);
            while (joined.ends_with('\\') && i + 1 < raw.size() && IsContinuation(raw[i + 1])) {
                joined.pop_back();
                joined += TrimBlanks(WithoutLineEnd(raw[++i]));
                entry.text += raw[i];
            }
            if (auto value = ParseValueLine(joined); value && !currentKey.empty()) {
                entry.kind = Line::Kind::Value;
                entry.value = std::move(*value);
            } else if (auto name = ValueLineName(line)) {
                entry.named = true;
                entry.value.name = std::move(*name);
                // A wrap whose "\" went missing: the stray rest is part of
                // the broken value, so that writing the value replaces it all.
                while (i + 1 < raw.size() && IsContinuation(raw[i + 1]))
                    entry.text += raw[++i];
            }
        }
        document.lines.push_back(std::move(entry));
    }
    return document;
}

std::string Serialize(const Document& document)
{
    std::string out;
    for (const Line& line : document.lines)
        out += line.text;
    return out;
}

bool IsWritableName(std::string_view name)
{
    return name.find_first_of(std::string_view("\r\n\0", 3)) == std::string_view::npos;
}

}  // namespace platform::registry::regedit
