// Parsing and writing the REGEDIT4 text of the hive.
//
// The file is text on this host, so key paths, value names and the quoted
// string form are UTF-8 there; a hand-edited file is UTF-8 too. Bytes that are
// not valid UTF-8 are taken as 1251 as they stand. Value data written by the
// program are always hex, so they never pass through a text conversion.
#include "platform/regedit_file.h"

#include "platform/text1251.h"

#include <cstdio>

namespace platform::registry::regedit {
namespace {

constexpr std::string_view kHeader = "REGEDIT4";
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
        std::string data(4, '\0');
        for (int i = 0; i < 4; ++i)
            data[i] = static_cast<char>((*number >> (8 * i)) & 0xFF);
        return Value{std::move(name), kDwordType, std::move(data)};
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

std::vector<std::string_view> SplitLines(std::string_view text)
{
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const std::size_t nl = text.find('\n');
        std::string_view line = text.substr(0, nl);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        lines.push_back(line);
        if (nl == std::string_view::npos)
            break;
        text.remove_prefix(nl + 1);
    }
    return lines;
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

void AppendValue(std::string& out, const Value& value)
{
    std::string line = value.name.empty() ? std::string("@") : QuoteName(value.name);
    line += '=';
    if (value.type == kDwordType && value.data.size() == 4) {
        std::uint32_t number = 0;
        for (int i = 3; i >= 0; --i)
            number = (number << 8) | static_cast<unsigned char>(value.data[i]);
        char digits[9];
        std::snprintf(digits, sizeof digits, "%08x", number);
        out += line + "dword:" + digits + "\n";
        return;
    }
    char prefix[20];
    std::snprintf(prefix, sizeof prefix, "hex(%x):", value.type);
    line += prefix;
    for (std::size_t i = 0; i < value.data.size(); ++i) {
        char piece[4];
        const bool last = i + 1 == value.data.size();
        std::snprintf(piece, sizeof piece, last ? "%02x" : "%02x,", static_cast<unsigned char>(value.data[i]));
        if (line.size() + 3 > kWrapColumn) {
            out += line + "\\\n";
            line = "  ";
        }
        line += piece;
    }
    out += line + "\n";
}

}  // namespace

const Section* Document::FindSection(std::string_view key) const
{
    for (const Section& section : sections)
        if (SameName(section.key, key))
            return &section;
    return nullptr;
}

Section* Document::FindSection(std::string_view key)
{
    return const_cast<Section*>(static_cast<const Document*>(this)->FindSection(key));
}

bool Document::HasKey(std::string_view key) const
{
    const std::string prefix = text::LowerAscii(key) + "\\";
    for (const Section& section : sections)
        if (SameName(section.key, key) || text::LowerAscii(section.key).starts_with(prefix))
            return true;
    return false;
}

Section& Document::EnsureSection(std::string_view key)
{
    if (Section* found = FindSection(key))
        return *found;
    sections.push_back(Section{std::string(key), {}});
    return sections.back();
}

void Document::SetValue(std::string_view key, std::string_view name, std::uint32_t type, std::string data)
{
    Section& section = EnsureSection(key);
    for (Value& value : section.values) {
        if (SameName(value.name, name)) {
            value.type = type;
            value.data = std::move(data);
            return;
        }
    }
    section.values.push_back(Value{std::string(name), type, std::move(data)});
}

const Value* FindValue(const Section& section, std::string_view name)
{
    for (const Value& value : section.values)
        if (SameName(value.name, name))
            return &value;
    return nullptr;
}

std::optional<Document> Parse(std::string_view text)
{
    if (text.starts_with("\xEF\xBB\xBF"))
        text.remove_prefix(3);
    const std::vector<std::string_view> lines = SplitLines(text);
    if (lines.empty() || TrimBlanks(lines[0]) != kHeader)
        return std::nullopt;
    Document document;
    std::string currentKey;
    bool inSection = false;
    for (std::size_t i = 1; i < lines.size(); ++i) {
        std::string_view line = TrimBlanks(lines[i]);
        if (line.empty() || line.front() == ';')
            continue;
        if (line.front() == '[') {
            if (line.back() != ']' || line.size() < 3 || line[1] == '-')
                return std::nullopt;  // "[-...]" deletes a key on import; no hive has it
            currentKey = TextFromFile(line.substr(1, line.size() - 2));
            document.EnsureSection(currentKey);
            inSection = true;
            continue;
        }
        if (!inSection || (line.front() != '"' && line.front() != '@'))
            return std::nullopt;
        std::string joined(line);
        while (!joined.empty() && joined.back() == '\\' && i + 1 < lines.size()) {
            joined.pop_back();
            joined += TrimBlanks(lines[++i]);
        }
        auto value = ParseValueLine(joined);
        if (!value)
            return std::nullopt;
        document.SetValue(currentKey, value->name, value->type, std::move(value->data));
    }
    return document;
}

std::string Serialize(const Document& document)
{
    std::string out = std::string(kHeader) + "\n\n";
    for (const Section& section : document.sections) {
        out += "[" + TextToFile(section.key) + "]\n";
        for (const Value& value : section.values)
            AppendValue(out, value);
        out += "\n";
    }
    return out;
}

bool IsWritableName(std::string_view name)
{
    return name.find_first_of(std::string_view("\r\n\0", 3)) == std::string_view::npos;
}

}  // namespace platform::registry::regedit
