// SPDX-License-Identifier: GPL-3.0-or-later
// The journal catalogue in the settings.
#include <gtest/gtest.h>

#include "core/catalogue/journal_catalogue.h"
#include "core/settings/settings_store.h"
#include "platform/registry.h"
#include "support/settings_values.h"
#include "support/temp_dir.h"

namespace reg = platform::registry;
using namespace std::string_literals;

namespace {

std::string Dword(std::uint32_t v)
{
    return {static_cast<char>(v & 0xFF), static_cast<char>((v >> 8) & 0xFF), static_cast<char>((v >> 16) & 0xFF),
            static_cast<char>(v >> 24)};
}

}  // namespace

TEST(Catalogue, FirstStartInstallsAndStoresTheFiveDefaults)
{
    PrivateProfile profile;
    const JournalCatalogue catalogue = LoadCatalogue();
    ASSERT_EQ(catalogue.kindCount(), 5);
    EXPECT_EQ(catalogue.entries[0].contentsPath, ".\\pages\\materials.htm");
    EXPECT_EQ(catalogue.entries[4].prefix, "ProtoPlex");

    EXPECT_EQ(StoredSetting("NumNameJournals"), Dword(5));
    const std::string names = StoredSetting("NameJournals");
    EXPECT_EQ(names.size(), 39u);
    EXPECT_EQ(names, "release\0release\0gold\0izone\0ProtoPlex\0\0\0"s);
    EXPECT_EQ(StoredSetting("NameContents"),
              ".\\pages\\materials.htm\0.\\frame\\left.htm\0.\\frame\\left.htm\0.\\frame\\left.htm\0"
              ".\\mainbody\\menu.html\0\0\0"s);
    EXPECT_EQ(StoredSetting("NewName"), "InternetZone\0InternetZone\0InternetZone\0InternetZone\0ProtoPlex\0\0\0"s);
    EXPECT_NE(profile.HiveBytes().find("\"NumNameJournals\"=dword:00000005"), std::string::npos);

    // The second start reads what the first stored.
    EXPECT_EQ(LoadCatalogue().entries[3].prefix, "izone");
}

TEST(Catalogue, CountDecidesHowManyStringsAreUsed)
{
    PrivateProfile profile;
    ASSERT_TRUE(StoreSetting("NumNameJournals", reg::ValueType::Dword, Dword(3)));
    ASSERT_TRUE(StoreSetting("NameJournals", reg::ValueType::MultiSz, ToMultiString("a\r\nb\r\nc\r\nd\r\ne\r\n")));
    ASSERT_TRUE(StoreSetting("NewName", reg::ValueType::MultiSz, ToMultiString("A\r\nB\r\n")));
    const JournalCatalogue catalogue = LoadCatalogue();
    ASSERT_EQ(catalogue.kindCount(), 3);
    EXPECT_EQ(catalogue.entries[2].prefix, "c");
    EXPECT_EQ(catalogue.entries[1].displayName, "B");
    EXPECT_EQ(catalogue.entries[2].displayName, "");
    // NameContents is missing: every entry's path is empty.
    EXPECT_EQ(catalogue.entries[0].contentsPath, "");
}

TEST(Catalogue, ListsAreReadWholeWhateverTheirLength)
{
    PrivateProfile profile;
    ASSERT_TRUE(StoreSetting("NumNameJournals", reg::ValueType::Dword, Dword(2)));
    const std::string longName(500, 'n');
    ASSERT_TRUE(StoreSetting("NameJournals", reg::ValueType::MultiSz, ToMultiString("x\r\n" + longName + "\r\n")));
    ASSERT_TRUE(StoreSetting("NewName", reg::ValueType::MultiSz, ToMultiString(std::string(300, 'd') + "\r\nshort\r\n")));
    const JournalCatalogue catalogue = LoadCatalogue();
    EXPECT_EQ(catalogue.entries[1].prefix, longName);
    EXPECT_EQ(catalogue.entries[1].displayName, "short");
}

TEST(Catalogue, ImpossibleCountsInstallTheDefaults)
{
    for (std::uint32_t stored : {0xFFFFFFFFu, 10001u, 0x80000000u}) {
        PrivateProfile profile;
        ASSERT_TRUE(StoreSetting("NumNameJournals", reg::ValueType::Dword, Dword(stored)));
        EXPECT_EQ(LoadCatalogue().kindCount(), 5) << stored;
        EXPECT_EQ(StoredSetting("NumNameJournals"), Dword(5));
    }
}

TEST(Catalogue, ZeroCountReadsAsTheDefaultsSoNoUserIsLockedOut)
{
    PrivateProfile profile;
    ASSERT_TRUE(StoreSetting("NumNameJournals", reg::ValueType::Dword, Dword(0)));
    EXPECT_EQ(LoadCatalogue().kindCount(), 5);
    EXPECT_EQ(ReadStoredCatalogue()->kindCount(), 5);
    EXPECT_EQ(StoredSetting("NumNameJournals"), Dword(0));
}

TEST(Catalogue, StoredTableReadsBackAndControlCharactersAreDropped)
{
    PrivateProfile profile;
    JournalCatalogue catalogue{{{"he\tllo", ".\\a.htm", "\xCF\xF0\xE8\xE2\xE5\xF2"}, {"", "", "E"}}};
    StoreCatalogue(catalogue);
    const JournalCatalogue back = LoadCatalogue();
    ASSERT_EQ(back.kindCount(), 2);
    EXPECT_EQ(back.entries[0].prefix, "hello");
    EXPECT_EQ(back.entries[0].displayName, "\xCF\xF0\xE8\xE2\xE5\xF2");
    EXPECT_EQ(back.entries[1].prefix, "");
    EXPECT_EQ(back.entries[1].displayName, "E");
    EXPECT_FALSE(ReadStoredCatalogue() == std::nullopt);
}

TEST(Catalogue, ReadingTheStoredCatalogueNeverWrites)
{
    PrivateProfile profile;
    EXPECT_FALSE(ReadStoredCatalogue());
    EXPECT_EQ(StoredSetting("NumNameJournals"), "<missing>");
}
