// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzz target: any command line for vestrels-cli, run in-process against a
// small collection of its own. Arguments are the input's zero-separated
// pieces. Every command line ends with a status of 0, 1 or 2, prints its
// output in UTF-8, and with --json prints only lines that are JSON objects.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include <unistd.h>

#include <nlohmann/json.hpp>

#include "cli/cli.h"
#include "platform/text1251.h"

namespace {

void Write(const std::filesystem::path& path, std::string_view bytes)
{
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
}

/// Two issues, an article page and a favourites file in a private folder,
/// which is made the current directory and the stored working directory.
void MakeCollection()
{
    char pattern[] = "/tmp/vestrels-fuzz-cli-XXXXXX";
    const std::filesystem::path root = mkdtemp(pattern);
    Write(root / "izone57/frame/left.htm",
          "<li><a href=\"../text/a1.htm\">\xCF\xE5\xF0\xE2\xE0\xFF \xF1\xF2\xE0\xF2\xFC\xFF</a></li>\r\n"
          "<li><a href=\"main.htm\">Second</a><br>Annotation</li>\r\n");
    Write(root / "izone57/text/a1.htm", "<p>\xF1\xEB\xEE\xE2\xEE word</p>\n");
    Write(root / "gold3/frame/left.htm", "<li><a href=\"http://x/\">Address</a></li>\n");
    static const char favorites[] = "\1\0\0\0\1\0\0\0S\r\nTitle\r\n\0\r\nC:\\a.htm\r\n";
    Write(root / "cwd/SelFold.dat", std::string_view(favorites, sizeof favorites - 1));
    Write(root / "config/Vestrels/registry.reg",
          "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Vestrels\\Quillbox\\Settings]\n\"Journals\"=\"" +
              root.string() + "/*\"\n");
    setenv("XDG_CONFIG_HOME", (root / "config").c_str(), 1);
    std::filesystem::current_path(root / "cwd");
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    MakeCollection();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::vector<std::string> args;
    std::string_view rest(reinterpret_cast<const char*>(data), size);
    while (!rest.empty() && args.size() < 8) {
        const std::size_t zero = rest.find('\0');
        args.emplace_back(rest.substr(0, zero));
        rest.remove_prefix(zero == std::string_view::npos ? rest.size() : zero + 1);
    }
    // A file argument could name a device or a huge file of this machine;
    // the commands are fuzzed on the collection's own files.
    for (const std::string& arg : args)
        if (arg.starts_with("/") || arg.find("..") != std::string::npos)
            return 0;

    std::ostringstream out, err;
    const int status = RunCli(args, out, err);
    if (status < 0 || status > 2)
        __builtin_trap();
    const std::string printed = out.str();
    // Messages may quote an argument as it was given; the output proper is
    // always UTF-8.
    if (!platform::text::IsValidUtf8(printed))
        __builtin_trap();
    // The help and the version are for people, whatever else the options
    // say; options stand anywhere before "--".
    bool json = false;
    for (std::size_t i = 0; i < args.size() && args[i] != "--"; ++i) {
        if (args[i] == "--help" || args[i] == "-h" || args[i] == "--version" || args[i] == "--html")
            return 0;
        json = json || args[i] == "--json";
        if (args[i] == "--dir")
            ++i;
    }
    if (json && status == 0) {
        std::istringstream lines(printed);
        for (std::string line; std::getline(lines, line);)
            if (!nlohmann::json::accept(line) || !nlohmann::json::parse(line).is_object())
                __builtin_trap();
    }
    return 0;
}
