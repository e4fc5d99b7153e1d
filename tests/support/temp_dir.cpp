// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/temp_dir.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace fs = std::filesystem;

TempDir::TempDir()
{
    std::string tmpl = (fs::temp_directory_path() / "vestrels-test-XXXXXX").string();
    if (!mkdtemp(tmpl.data()))
        throw std::runtime_error("mkdtemp failed");
    path_ = tmpl;
}

TempDir::~TempDir()
{
    std::error_code ec;
    fs::remove_all(path_, ec);
}

std::string TempDir::Join(std::string_view relative) const
{
    return (fs::path(path_) / fs::path(relative)).string();
}

void TempDir::Write(std::string_view relative, std::string_view bytes) const
{
    fs::path p = Join(relative);
    fs::create_directories(p.parent_path());
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

void TempDir::MakeFolder(std::string_view relative) const
{
    fs::create_directories(Join(relative));
}

std::string TempDir::Read(std::string_view relative) const
{
    std::ifstream in(Join(relative), std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

PrivateProfile::PrivateProfile()
{
    if (const char* old = std::getenv("XDG_CONFIG_HOME")) {
        saved_ = old;
        hadSaved_ = true;
    }
    setenv("XDG_CONFIG_HOME", dir_.path().c_str(), 1);
}

PrivateProfile::~PrivateProfile()
{
    if (hadSaved_)
        setenv("XDG_CONFIG_HOME", saved_.c_str(), 1);
    else
        unsetenv("XDG_CONFIG_HOME");
}

std::string PrivateProfile::HiveBytes() const
{
    return dir_.Read("Vestrels/registry.reg");
}
