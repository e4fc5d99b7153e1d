// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzz target: any bytes as the settings hive. What was read is written back
// as it stood, and a value written into it reads back exactly while every
// other value stays as it was.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/regedit_file.h"

namespace reg = platform::registry::regedit;

namespace {

constexpr std::string_view kKey = "HKEY_CURRENT_USER\\Software\\Vestrels\\Quillbox\\Settings";

std::string LowerAscii(std::string text)
{
    for (char& c : text)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return text;
}

/// The readable values of the settings key, as a read sees them.
std::vector<reg::Value> ReadableValues(const reg::Document& document)
{
    std::vector<reg::Value> values;
    for (const reg::Line& line : document.lines)
        if (line.kind == reg::Line::Kind::Value && line.key == kKey)
            if (const reg::Value* seen = document.FindValue(kKey, line.value.name))
                values.push_back(*seen);
    return values;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    reg::Document document = reg::Parse(text);
    if (reg::Serialize(document) != text)
        __builtin_trap();

    const std::vector<reg::Value> before = ReadableValues(document);
    const std::string written(text.substr(0, 7));
    document.SetValue(kKey, "Fuzzed", 3, written);
    const reg::Document again = reg::Parse(reg::Serialize(document));
    const reg::Value* value = again.FindValue(kKey, "Fuzzed");
    if (!value || value->type != 3 || value->data != written)
        __builtin_trap();
    for (const reg::Value& old : before) {
        if (LowerAscii(old.name) == "fuzzed")
            continue;
        const reg::Value* now = again.FindValue(kKey, old.name);
        if (!now || now->type != old.type || now->data != old.data)
            __builtin_trap();
    }
    return 0;
}
