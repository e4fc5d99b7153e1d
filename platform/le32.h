// SPDX-License-Identifier: GPL-3.0-or-later
// Little-endian 32-bit numbers in byte strings: the layout of REG_DWORD values
// and of the fields of the stored font records.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace platform {

/// The four bytes at `offset`; the caller makes sure they exist.
inline std::uint32_t GetLe32(std::string_view bytes, std::size_t offset = 0)
{
    std::uint32_t v = 0;
    for (int i = 0; i < 4; ++i)
        v |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[offset + i])) << (8 * i);
    return v;
}

/// Overwrites the four bytes at `offset`; the caller makes sure they exist.
inline void PutLe32(std::string& bytes, std::size_t offset, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        bytes[offset + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}

/// A REG_DWORD's four bytes.
inline std::string Le32Bytes(std::uint32_t v)
{
    std::string bytes(4, '\0');
    PutLe32(bytes, 0, v);
    return bytes;
}

}  // namespace platform
