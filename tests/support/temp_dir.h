// SPDX-License-Identifier: GPL-3.0-or-later
// A private temporary folder for one test, removed with its contents.
#pragma once

#include <string>
#include <string_view>

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return path_; }  ///< host path
    std::string Join(std::string_view relative) const;   ///< host path below it
    /// Writes a file (creating its folders) with exactly these bytes.
    void Write(std::string_view relative, std::string_view bytes) const;
    void MakeFolder(std::string_view relative) const;
    std::string Read(std::string_view relative) const;

private:
    std::string path_;
};

/// Points XDG_CONFIG_HOME at a private folder for the lifetime of the object,
/// so that the hive of a test is its own.
class PrivateProfile {
public:
    PrivateProfile();
    ~PrivateProfile();
    const TempDir& dir() const { return dir_; }
    std::string HiveBytes() const;

private:
    TempDir dir_;
    std::string saved_;
    bool hadSaved_ = false;
};
