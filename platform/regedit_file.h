// The REGEDIT4 text that holds the registry hive: parsing and writing, no I/O.
//
// Written form:
//   REGEDIT4
//
//   [HKEY_CURRENT_USER\Software\Vestrels\Quillbox\Settings]
//   "Count"=dword:0000000a
//   "Size"=hex(1):31,30,20,32,30
//
// dword: only for a REG_DWORD of exactly 4 bytes; every other value is
// hex(N): with N its type number, so the bytes and the type survive exactly.
// Long hex lines are wrapped with a trailing "\".
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform::registry::regedit {

struct Value {
    std::string name;  ///< 1251; "" is the key's default value ("@")
    std::uint32_t type = 0;
    std::string data;  ///< exact bytes
};

struct Section {
    std::string key;  ///< full key path, "HKEY_CURRENT_USER\Software\..." (1251)
    std::vector<Value> values;
};

/// The hive's sections and values in file order. Key paths and value names
/// compare case-insensitively in ASCII, as Windows does.
struct Document {
    std::vector<Section> sections;

    const Section* FindSection(std::string_view key) const;
    Section* FindSection(std::string_view key);
    /// Whether the key exists: a section of that name, or of a key below it.
    bool HasKey(std::string_view key) const;
    /// The section, appended when missing.
    Section& EnsureSection(std::string_view key);
    /// Replaces the value of that name, or appends it.
    void SetValue(std::string_view key, std::string_view name, std::uint32_t type, std::string data);
};

const Value* FindValue(const Section& section, std::string_view name);

/// Parses a hive; nothing when the text is damaged (no "REGEDIT4" first line,
/// or any line that is not blank, a comment, a section or a valid value).
std::optional<Document> Parse(std::string_view text);

/// The hive's text, LF line ends.
std::string Serialize(const Document& document);

/// Whether a key path or value name can be written as a line of the file
/// (no CR, LF or zero byte in it).
bool IsWritableName(std::string_view name);

}  // namespace platform::registry::regedit
