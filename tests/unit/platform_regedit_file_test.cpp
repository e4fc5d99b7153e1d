// The REGEDIT4 text of the hive: what the reader takes, what it rejects, and
// that the writer's text reads back to the same bytes.
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

const Value* Lookup(const Document& document, const char* name)
{
    const Section* section = document.FindSection(kKey);
    return section ? FindValue(*section, name) : nullptr;
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
        const auto document = Parse(Hive(c.line + "\n"));
        ASSERT_TRUE(document) << c.line;
        const Value* value = Lookup(*document, "V");
        ASSERT_NE(value, nullptr) << c.line;
        EXPECT_EQ(value->type, c.type) << c.line;
        EXPECT_EQ(value->data, c.data) << c.line;
    }
}

TEST(PlatformRegeditFile, DamagedTexts)
{
    const std::string damaged[] = {
        "",
        "REGEDIT5\n",
        "Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\X]\n",
        "\n\nREGEDIT4\n",
        "REGEDIT4\n\n\"V\"=dword:00000001\n",  // value before any section
        Hive("garbage\n"),
        Hive("\"V\"=hex:0g\n"),
        Hive("\"V\"=hex:123\n"),
        Hive("\"V\"=hex:01,,02\n"),
        Hive("\"V\"=hex:01,\n"),
        Hive("\"V\"=hex(zz):01\n"),
        Hive("\"V\"=dword:123456789\n"),
        Hive("\"V\"=dword:\n"),
        Hive("\"V\"=\"unterminated\n"),
        Hive("\"V\"=\"text\" trailing\n"),
        Hive("\"V\"=-\n"),
        Hive("\"V\"\n"),
        Hive("\"V=dword:1\n"),
        Hive("[HKEY_CURRENT_USER\\Open\n"),
        Hive("[-HKEY_CURRENT_USER\\Gone]\n"),
        Hive("[]\n"),
        Hive("\"V\"=hex:01,\\\n"),  // continuation into the end of the file
    };
    for (const std::string& text : damaged)
        EXPECT_FALSE(Parse(text)) << text;
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
    const auto document = Parse(text);
    ASSERT_TRUE(document);
    ASSERT_EQ(document->sections.size(), 2u);
    EXPECT_EQ(Lookup(*document, "")->data, "default");
    EXPECT_EQ(Lookup(*document, "V")->data, std::string("\x02\0\0\0", 4));
    EXPECT_EQ(document->FindSection(kKey)->values.size(), 2u);
    EXPECT_TRUE(document->HasKey("HKEY_CURRENT_USER\\Software\\Vestrels"));
    EXPECT_FALSE(document->HasKey("HKEY_CURRENT_USER\\Software\\Vest"));
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
    const auto parsed = Parse(text);
    ASSERT_TRUE(parsed);
    ASSERT_EQ(parsed->sections.size(), original.sections.size());
    for (std::size_t s = 0; s < original.sections.size(); ++s) {
        const Section& a = original.sections[s];
        const Section& b = parsed->sections[s];
        EXPECT_EQ(a.key, b.key);
        ASSERT_EQ(a.values.size(), b.values.size());
        for (std::size_t v = 0; v < a.values.size(); ++v) {
            EXPECT_EQ(a.values[v].name, b.values[v].name);
            EXPECT_EQ(a.values[v].type, b.values[v].type);
            EXPECT_EQ(a.values[v].data, b.values[v].data);
        }
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
