// SPDX-License-Identifier: GPL-3.0-or-later
// The library's Russian texts are written in UTF-8 in the source and used as
// Windows-1251 bytes, like every other text of the core.
#pragma once

#include <string>
#include <string_view>

#include "platform/text1251.h"

/// A UTF-8 source literal as 1251 bytes.
inline std::string Cp1251(std::string_view utf8)
{
    return platform::text::To1251FromUtf8(utf8);
}
