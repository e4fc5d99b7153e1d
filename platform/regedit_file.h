// SPDX-License-Identifier: GPL-3.0-or-later
// The REGEDIT4 text that holds the registry hive: parsing and editing, no I/O.
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
//
// The text is kept line by line as it was read, and a change rewrites only
// the lines of the value it sets: comments, hand-written quoted values and
// lines that cannot be read stay where they stood, byte for byte. A line that
// cannot be read costs its own value only; the values under a section header
// that cannot be read belong to no key, since their key is unknown.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace platform::registry::regedit {

struct Value {
    std::string name;  ///< 1251; "" is the key's default value ("@")
    std::uint32_t type = 0;
    std::string data;  ///< exact bytes
};

/// One line of the file, or one value wrapped over several lines with "\".
struct Line {
    enum class Kind {
        Layout,      ///< blank, comment, or the "REGEDIT4" first line
        Section,     ///< "[key]"
        Value,       ///< a value that reads
        Unreadable,  ///< anything else: kept as it stands, never read
    };
    Kind kind = Kind::Layout;
    std::string text;  ///< the bytes as they stand, line ends included
    /// Section: its key; Value, Unreadable: the key of the section they stand
    /// in, "" before the first section or under a header that cannot be read;
    /// Layout: "".
    std::string key;
    Value value;         ///< Value: what it holds; Unreadable: the name, when `named`
    bool named = false;  ///< an unreadable value line whose name could be made out
};

/// The hive's lines in file order. Key paths and value names compare
/// case-insensitively in ASCII, as Windows does.
struct Document {
    std::vector<Line> lines;
    bool hasHeader = false;      ///< the first line is "REGEDIT4"
    std::string lineEnd = "\n";  ///< for added lines: that of the first line

    /// False for a text with nothing of a hive in it: no "REGEDIT4" first line,
    /// no readable section, and some line that is not blank or a comment.
    bool IsHive() const;
    /// Whether the key exists: a section of that name, or of a key below it.
    bool HasKey(std::string_view key) const;
    /// The value a read sees: the last readable line of that name in the
    /// sections of that key; an unreadable line never hides a readable one.
    const Value* FindValue(std::string_view key, std::string_view name) const;
    /// Appends the key's section when it has none.
    void EnsureSection(std::string_view key);
    /// Writes the value over its line (keeping the name's spelling), or adds
    /// it at the end of its key's first section. Every other line of the same
    /// name in that key is removed; returns the texts of the removed lines and
    /// of a replaced unreadable line, which the caller keeps aside.
    std::vector<std::string> SetValue(std::string_view key, std::string_view name, std::uint32_t type,
                                      std::string data);
};

/// Reads a hive line by line; never fails, see Document::IsHive.
Document Parse(std::string_view text);

/// The hive's text: its lines as they stand.
std::string Serialize(const Document& document);

/// Whether a key path or value name can be written as a line of the file
/// (no CR, LF or zero byte in it).
bool IsWritableName(std::string_view name);

}  // namespace platform::registry::regedit
