// SPDX-License-Identifier: GPL-3.0-or-later
// How each kind of target maps to the host; the text never changes the kind.
#include "platform/shell.h"

#include <gtest/gtest.h>

#include <tuple>

using namespace platform::shell;

TEST(PlatformShell, TargetMapping)
{
    struct Case {
        std::string target;
        TargetKind kind;
        std::string value;
    };
    const Case cases[] = {
        {"http://www.example.org/a?b=1#c", TargetKind::Address, "http://www.example.org/a?b=1#c"},
        {"https://example.org/\xCF", TargetKind::Address, "https://example.org/\xD0\x9F"},
        {"file:///home/u/a.htm", TargetKind::Address, "file:///home/u/a.htm"},
        {"\\nonexistent-root\\u\\j\\file:x", TargetKind::File, "/nonexistent-root/u/j/file:x"},
        {"\\nonexistent-root\\httpdocs\\a.htm", TargetKind::File, "/nonexistent-root/httpdocs/a.htm"},
        {"mailto:author@example.org", TargetKind::Address, "mailto:author@example.org"},
        {"\\nonexistent-root\\u\\j\\izone57\\frame\\main.htm", TargetKind::File,
         "/nonexistent-root/u/j/izone57/frame/main.htm"},
        {"\\nonexistent-root\\j\\izone57.\\frame\\left.htm#top", TargetKind::File,
         "/nonexistent-root/j/izone57/frame/left.htm#top"},
        {"\\nonexistent-root\\j\\a.htm?x=1", TargetKind::File, "/nonexistent-root/j/a.htm?x=1"},
        {"\\nonexistent-root\\\xC6\xF3\xF0\\a.htm", TargetKind::File,
         "/nonexistent-root/\xD0\x96\xD1\x83\xD1\x80/a.htm"},
        {"Readme.htm", TargetKind::File, "Readme.htm"},
    };
    for (const Case& c : cases) {
        const HostTarget got = ToHostTarget({c.kind, c.target});
        EXPECT_EQ(got.kind, c.kind) << c.target;
        EXPECT_EQ(got.value, c.value) << c.target;
    }
}

// Only an absolute path or an address with a scheme reaches the opener; a
// link such as "--help" would become one of its options.
TEST(PlatformShell, OnlyAbsolutePathsAndAddressesWithASchemeAreHandedOver)
{
    const std::tuple<TargetKind, const char*, bool> cases[] = {
        {TargetKind::File, "/home/u/j/izone57/a.htm", true}, {TargetKind::File, "--help", false},
        {TargetKind::File, "izone57/a.htm", false},           {TargetKind::Address, "http://example.org/", true},
        {TargetKind::Address, "mailto:a@b.c", true},          {TargetKind::Address, "svn+ssh://h/r", true},
        {TargetKind::Address, "--help", false},               {TargetKind::Address, "-x:y", false},
        {TargetKind::Address, "www.example.org", false},      {TargetKind::Address, "", false},
    };
    for (const auto& [kind, value, handedOver] : cases)
        EXPECT_EQ(CanHandOver({kind, value}), handedOver) << value;
}
