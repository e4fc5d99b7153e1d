// SPDX-License-Identifier: GPL-3.0-or-later
// Windows-1251 text: the core keeps all text as 8-bit bytes in this code page.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace platform::text {

/// Every byte of the code page as UTF-8 (the unassigned 0x98 becomes U+FFFD).
std::string Utf8From1251(std::string_view bytes);

/// UTF-8 to code page 1251; characters the code page lacks become "?".
/// Invalid UTF-8 sequences are taken byte for byte.
std::string To1251FromUtf8(std::string_view utf8);

bool IsValidUtf8(std::string_view bytes);

/// The characters of a UTF-8 text that code page 1251 cannot hold, each once,
/// in the order they first appear (UTF-8). Empty when the text fits.
std::vector<std::string> CharactersOutside1251(std::string_view utf8);

/// The code page's full case table (Latin and Cyrillic letters, Ё/ё, Ў/ў,
/// Є/є, Ї/ї, І/і, Ґ/ґ, Ђ/ђ, Ѓ/ѓ, Љ/љ, Њ/њ, Ќ/ќ, Ћ/ћ, Џ/џ, Ј/ј, Ѕ/ѕ).
unsigned char ToLower1251(unsigned char c);
unsigned char ToUpper1251(unsigned char c);
std::string Lower1251(std::string_view bytes);

/// ASCII-only lower-casing, as the program's folder names use it.
std::string LowerAscii(std::string_view bytes);

}  // namespace platform::text

/// A Russian text of the program, written in UTF-8 in the source, as the
/// 1251 bytes the program works in. Every such text is written this way.
inline std::string Cp1251(std::string_view utf8)
{
    return platform::text::To1251FromUtf8(utf8);
}
