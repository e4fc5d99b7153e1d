// SPDX-License-Identifier: GPL-3.0-or-later
// The REGEDIT4 text of the hive: what the reader takes, what one bad line
// costs, that a change keeps every other line, and that the writer's text
// reads back to the same bytes.
#include "platform/regedit_file.h"

#include <gtest/gtest.h>

#include <random>

using namespace platform::registry::regedit;

namespace {

constexpr const char* kKey = "HKEY_CURRENT_USER\\Software\\Vestrels\\Quillbox\\Settings";

std::string Hive(const std::string& body)
{
    return "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Vestrels\\Quillbox\\Settings]\n" + body;
}

const Value* Lookup(const Document& document, const std::string& name)
{
    return document.FindValue(kKey, name);
}

}  // namespace

TEST(PlatformRegeditFile, AcceptedValueLines)
{
    struct Case {
        std::string line;
        std::uint32_t type;
        std::string data;
    };
    const Case cases[] = {
        {"\"V\"=dword:0000000a", 4, std::string("\x0a\0\0\0", 4)},
        {"\"V\"=DWORD:FFFFFFFF", 4, "\xff\xff\xff\xff"},
        {"\"V\"=dword:1", 4, std::string("\x01\0\0\0", 4)},
        {"\"V\"=hex:00,0d,0a,ff", 3, std::string("\0\r\n\xff", 4)},
        {"\"V\"=hex(1):61,62,63", 1, "abc"},
        {"\"V\"=hex(7):61,00,00", 7, std::string("a\0\0", 3)},
        {"\"V\"=hex(b):01", 11, "\x01"},
        {"\"V\"=hex(1):", 1, ""},
        {"\"V\" = hex(3): 01 , 02 ", 3, "\x01\x02"},
        {"\"V\"=hex(3):01,02,\\\n    03,04", 3, "\x01\x02\x03\x04"},
        {"\"V\"=hex(3):01,\\\r\n  02,\\\r\n  03", 3, "\x01\x02\x03"},
        {"\"V\"=\"plain\"", 1, "plain"},
        {"\"V\"=\"\"", 1, ""},
        {"\"V\"=\"a \\\"q\\\" b\\\\c\"", 1, "a \"q\" b\\c"},
        {"\"V\"=\"D:\\journals\\*\"", 1, "D:\\journals\\*"},
        {"\"V\"=\"\xD0\x9F\xD1\x80\xD0\xB8\"", 1, "\xCF\xF0\xE8"},  // UTF-8 becomes 1251
        {"\"V\"=\"\xCF\xF0\xE8\"", 1, "\xCF\xF0\xE8"},              // not UTF-8: raw
    };
    for (const Case& c : cases) {
        const Document document = Parse(Hive(c.line + "\n"));
        const Value* value = Lookup(document, "V");
        ASSERT_NE(value, nullptr) << c.line;
        EXPECT_EQ(value->type, c.type) << c.line;
        EXPECT_EQ(value->data, c.data) << c.line;
    }
}

// Regression: one line that could not be read made the whole hive read as
// missing, so every setting fell back to its default.
TEST(PlatformRegeditFile, OneBadLineCostsOnlyItsValue)
{
    struct Case {
        std::string text;
        std::vector<std::string> reading;  ///< values of kKey that read, each holding its name
        std::vector<std::string> missing;  ///< values of kKey whose default applies
        bool isHive = true;
    };
    const std::string a = "\"A\"=hex(1):41\n", b = "\"B\"=\"B\"\n";
    std::vector<Case> cases;
    const std::string badValueLines[] = {
        "garbage",         "\"V\"=hex:0g",          "\"V\"=hex:123",       "\"V\"=hex:01,,02",
        "\"V\"=hex:01,",    "\"V\"=hex(zz):01",      "\"V\"=dword:123456789", "\"V\"=dword:",
        "\"V\"=\"unterminated", "\"V\"=\"text\" trailing", "\"V\"=-",             "\"V\"",
        "\"V=dword:1",      "\"V\"=hex:01,\\",      "\"V\"=hex:01,\\\n  0g",  "\"V\"=hex:01,\n  02",
    };
    for (const std::string& line : badValueLines)
        cases.push_back({Hive(a + line + "\n" + b), {"A", "B"}, {"V"}});
    // A wrap broken at the end of the file costs the wrapped value only.
    cases.push_back({Hive(a + b + "\"V\"=hex:01,\\\n"), {"A", "B"}, {"V"}});
    // An unreadable line does not hide a readable one of the same name.
    cases.push_back({Hive("\"V\"=\"V\"\n\"V\"=hex:zz\n" + a), {"V", "A"}, {}});
    // Under a header that cannot be read the key is unknown: those values
    // read nowhere, the sections around them read as usual.
    const std::string section = std::string("[") + kKey + "]\n";
    for (const char* header :
         {"[HKEY_CURRENT_USER\\Software\\Vestrels\\Quillbox\\Settings", "[-HKEY_CURRENT_USER\\X]", "[]"})
        cases.push_back({Hive(a) + header + "\n\"V\"=hex:01\n" + section + b, {"A", "B"}, {"V"}});
    cases.push_back({"REGEDIT4\n\n\"V\"=dword:00000001\n" + section + a, {"A"}, {"V"}});
    // Without its first line the file still reads line by line.
    for (const char* first : {"", "REGEDIT5\n", "Windows Registry Editor Version 5.00\n", "\n\nREGEDIT4\n"})
        cases.push_back({first + Hive(a + b).substr(9), {"A", "B"}, {}});
    // Nothing of a hive at all.
    for (const char* text : {"REGEDIT5\n", "\n\nREGEDIT4\n", "not a hive\n\xff\xfe"})
        cases.push_back({text, {}, {"A"}, false});

    for (const Case& c : cases) {
        const Document document = Parse(c.text);
        EXPECT_EQ(document.IsHive(), c.isHive) << c.text;
        for (const std::string& name : c.reading) {
            const Value* value = Lookup(document, name);
            EXPECT_TRUE(value && value->data == name) << name << " in\n" << c.text;
        }
        for (const std::string& name : c.missing)
            EXPECT_FALSE(Lookup(document, name)) << name << " in\n" << c.text;
        EXPECT_EQ(Serialize(document), c.text);
    }
}

// Regression: a write rewrote the whole file in the program's own form, and a
// hive with one bad line lost all of it.
TEST(PlatformRegeditFile, ChangeKeepsEveryOtherLine)
{
    const std::string section = std::string("[") + kKey + "]\r\n";
    Document document = Parse("\xEF\xBB\xBF; no first line\r\n" + section +
                              "\"Journals\"=\"D:\\\\j\\\\*\"\r\n"
                              "\"Size\"=hex(1):31,3x\r\n"
                              "  ; kept\r\n"
                              "\"NameFont\"=hex(7):41,\r\n"
                              "  00,00\r\n"
                              "\r\n[HKEY_CURRENT_USER\\Other]\r\n"
                              "\"toolbar\"=hex:31");
    EXPECT_TRUE(document.SetValue(kKey, "Journals", 1, "x").empty());
    EXPECT_TRUE(document.SetValue(kKey, "Toolbar", 1, "11").empty()) << "another key's value is not this one";
    EXPECT_TRUE(document.SetValue("HKEY_CURRENT_USER\\Other", "TOOLBAR", 4, std::string("\1\0\0\0", 4)).empty());
    EXPECT_EQ(document.SetValue(kKey, "size", 1, "1"), std::vector<std::string>{"\"Size\"=hex(1):31,3x\r\n"});
    EXPECT_EQ(document.SetValue(kKey, "NameFont", 7, "b"),
              std::vector<std::string>{"\"NameFont\"=hex(7):41,\r\n  00,00\r\n"});
    document.EnsureSection("HKEY_CURRENT_USER\\New");
    EXPECT_EQ(Serialize(document), "\xEF\xBB\xBFREGEDIT4\r\n; no first line\r\n" + section +
                                       "\"Journals\"=hex(1):78\r\n"
                                       "\"Size\"=hex(1):31\r\n"
                                       "  ; kept\r\n"
                                       "\"NameFont\"=hex(7):62\r\n"
                                       "\"Toolbar\"=hex(1):31,31\r\n"
                                       "\r\n[HKEY_CURRENT_USER\\Other]\r\n"
                                       "\"toolbar\"=dword:00000001\r\n"
                                       "\r\n[HKEY_CURRENT_USER\\New]\r\n\r\n");
}

// Found by fuzzing: a new value went below a header that cannot be read,
// where it belonged to no key and could not be read back.
TEST(PlatformRegeditFile, ValueAddedAtTheEndOfADamagedSectionReadsBack)
{
    Document document = Parse(Hive("\"Size\"=\"1 2 3 4\"\n[HKEY_CURRENT_USER\\Broken\n\"x\"=\"y\""));
    document.SetValue(kKey, "Toolbar", 1, "01");
    const Document again = Parse(Serialize(document));
    ASSERT_TRUE(Lookup(again, "Toolbar"));
    EXPECT_EQ(Lookup(again, "Toolbar")->data, "01");
    EXPECT_EQ(Lookup(again, "Size")->data, "1 2 3 4");

    // Also found by fuzzing: a last line ending in a bare CR got a second CR
    // before its new line end and could no longer be read.
    document = Parse(Hive("\"Size\"=\"1 2 3 4\"\r"));
    document.SetValue(kKey, "Toolbar", 1, "01");
    ASSERT_TRUE(Lookup(Parse(Serialize(document)), "Size"));
    EXPECT_EQ(Lookup(Parse(Serialize(document)), "Size")->data, "1 2 3 4");
}

TEST(PlatformRegeditFile, LayoutTolerance)
{
    const std::string text =
        "\xEF\xBB\xBFREGEDIT4\r\n\r\n; a comment\r\n"
        "[hkey_current_user\\software\\vestrels\\quillbox\\settings]\r\n"
        "  ; indented comment\r\n"
        "@=\"default\"\r\n"
        "\"v\"=dword:00000001\r\n"
        "\"V\"=dword:00000002\r\n"  // same name again: the later line wins
        "\r\n[HKEY_LOCAL_MACHINE\\Other]\r\n\"x\"=hex:01\r\n";
    const Document document = Parse(text);
    EXPECT_TRUE(document.hasHeader);
    EXPECT_EQ(Lookup(document, "")->data, "default");
    EXPECT_EQ(Lookup(document, "V")->data, std::string("\x02\0\0\0", 4));
    EXPECT_EQ(document.FindValue("HKEY_LOCAL_MACHINE\\OTHER", "X")->data, "\x01");
    EXPECT_TRUE(document.HasKey("HKEY_CURRENT_USER\\Software\\Vestrels"));
    EXPECT_FALSE(document.HasKey("HKEY_CURRENT_USER\\Software\\Vest"));
}

TEST(PlatformRegeditFile, WrittenTextReadsBackExactly)
{
    std::mt19937 random(57);
    Document original;
    std::uint32_t types[] = {1, 3, 4, 7, 0, 2};
    for (int i = 0; i < 60; ++i) {
        std::string data(static_cast<std::size_t>(random() % 400), '\0');
        for (char& c : data)
            c = static_cast<char>(random() & 0xFF);
        if (i % 7 == 0)
            data.resize(4);  // exercises dword: for type 4
        original.SetValue(i % 2 ? kKey : "HKEY_CURRENT_USER\\Software\\\xCA\xEB\xFE\xF7",
                          "Name \"" + std::to_string(i) + "\" \\ \xFF\x98", types[i % 6], data);
    }
    original.SetValue(kKey, "", 1, "default value");
    const std::string text = Serialize(original);
    for (std::size_t start = 0, end; start < text.size(); start = end + 1) {
        end = text.find('\n', start);
        EXPECT_LE(end - start, 80u) << "line starting at " << start;
    }
    const Document parsed = Parse(text);
    ASSERT_EQ(parsed.lines.size(), original.lines.size());
    for (std::size_t i = 0; i < original.lines.size(); ++i) {
        const Line& a = original.lines[i];
        const Line& b = parsed.lines[i];
        EXPECT_EQ(a.kind, b.kind) << i;
        EXPECT_EQ(a.key, b.key) << i;
        EXPECT_EQ(a.value.name, b.value.name) << i;
        EXPECT_EQ(a.value.type, b.value.type) << i;
        EXPECT_EQ(a.value.data, b.value.data) << i;
    }
}

TEST(PlatformRegeditFile, DwordOnlyForFourByteDwords)
{
    Document document;
    document.SetValue(kKey, "Four", 4, std::string("\x0a\0\0\0", 4));
    document.SetValue(kKey, "Three", 4, "\x0a\x0b\x0c");
    document.SetValue(kKey, "Bin", 3, std::string("\x0a\0\0\0", 4));
    EXPECT_EQ(Serialize(document),
              "REGEDIT4\n\n"
              "[HKEY_CURRENT_USER\\Software\\Vestrels\\Quillbox\\Settings]\n"
              "\"Four\"=dword:0000000a\n"
              "\"Three\"=hex(4):0a,0b,0c\n"
              "\"Bin\"=hex(3):0a,00,00,00\n\n");
}
