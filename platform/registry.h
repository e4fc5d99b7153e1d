// SPDX-License-Identifier: GPL-3.0-or-later
// The per-user registry below HKEY_CURRENT_USER, kept as a REGEDIT4 file.
//
// The hive lives at $XDG_CONFIG_HOME/Vestrels/registry.reg (default
// ~/.config/Vestrels/registry.reg). Values keep their exact bytes and type:
// REG_DWORD is written as dword:, every other type as hex(N):. The reader also
// takes the quoted-string form of a hand-edited file. Every write locks the
// hive, re-reads it, changes one value and replaces the file atomically, so two
// running instances never lose each other's values. A line of the hive that
// cannot be read reads as a missing value and stays in the file; before a
// write drops it, the hive is copied aside. A hive that cannot be read at all
// reads as missing values and is moved aside, never overwritten.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace platform::registry {

enum class ValueType : std::uint32_t { Sz = 1, Binary = 3, Dword = 4, MultiSz = 7 };

/// An open key, named by its path below HKEY_CURRENT_USER ("Software\...").
class Key {
public:
    explicit Key(std::string path) : path_(std::move(path)) {}
    const std::string& Path() const { return path_; }

private:
    std::string path_;
};

/// Opens an existing key; nothing when the key (or the hive) does not exist.
std::optional<Key> OpenKey(const std::string& subKey);

/// Opens a key, creating it (and the hive) when missing; nothing when the
/// hive cannot be written.
std::optional<Key> CreateKey(const std::string& subKey);

enum class QueryResult { Ok, Missing, MoreData };

/// Reads a value's bytes whatever its stored type. A value longer than
/// `capacity` bytes yields MoreData and leaves `data` empty.
QueryResult QueryValue(const Key& key, const std::string& name, std::size_t capacity, std::string& data);

/// Writes one value; false when the hive could not be written, with the
/// system's reason (errno) in `error`.
bool SetValue(const Key& key, const std::string& name, ValueType type, const std::string& data,
              int* error = nullptr);

/// A hive that could not be read and was set aside.
struct SetAside {
    std::string hive;    ///< host path of the hive
    std::string keptAs;  ///< where it is now; empty when it could not be moved
    int reason = 0;      ///< why it could not be read: EFBIG too large, EINVAL no regular file, 0 no hive in it
    int moveError = 0;   ///< why it could not be moved
};

/// At start: a hive that cannot be read (no hive in it, too large, or no
/// regular file) is moved to the first free "registry.reg.damaged[.N]", so
/// that the program runs on defaults and the user can be told where it went.
std::optional<SetAside> SetAsideUnreadableHive();

/// The hive file's host path for the current environment.
std::string HivePath();

}  // namespace platform::registry
