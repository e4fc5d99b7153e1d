// The favourites file: its exact layout, damaged and cut files, and a save
// that keeps the old file until the new one is whole.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "favorites/favorites_store.h"
#include "support/temp_dir.h"

namespace {

std::string Int32(std::int32_t value)
{
    std::string out;
    const auto bits = static_cast<std::uint32_t>(value);
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(static_cast<char>((bits >> shift) & 0xFF));
    return out;
}

const std::string kCrLf = "\r\n";
const std::string kTitleEnd("\r\n\0\r\n", 5);

std::string Header(std::int32_t count, const std::string& name)
{
    return Int32(count) + name + kCrLf;
}

std::string Record(const std::string& title, const std::string& link)
{
    return title + kTitleEnd + link + kCrLf;
}

// "Избранное" and "Статья" in code page 1251.
const std::string kFavouritesName = "\xC8\xE7\xE1\xF0\xE0\xED\xED\xEE\xE5";
const std::string kArticle = "\xD1\xF2\xE0\xF2\xFC\xFF";
const std::string kLongName(5000, '\xE6');

// Three sections: two whose names differ only in case, and one long name.
std::string WellFormedFile()
{
    return Int32(3) + Header(2, "Reading") + Header(1, "reading") + Header(1, kLongName) +
           Record("     " + kArticle + " 1" + kCrLf + "   annotation", "D:\\journals\\izone57\\a1.htm") +
           Record("     Second", "http://example.org/b.htm") +
           Record("     Lower", "D:\\journals\\gold3\\c.htm") + Record("     " + kFavouritesName, "e.htm");
}

TEST(FavoritesFormat, WellFormedFileReadsAndWritesBackByteForByte)
{
    bool damaged = true;
    FavoritesStore store = ParseFavorites(WellFormedFile(), &damaged);
    EXPECT_FALSE(damaged);
    ASSERT_EQ(store.sections.size(), 3u);
    EXPECT_EQ(store.sections[0].name, "Reading");
    EXPECT_EQ(store.sections[1].name, "reading");
    EXPECT_EQ(store.sections[2].name, kLongName);
    ASSERT_EQ(store.sections[0].count(), 2);
    EXPECT_EQ(store.sections[0].articles[0].title, "     " + kArticle + " 1\r\n   annotation");
    EXPECT_EQ(store.sections[0].articles[0].link, "D:\\journals\\izone57\\a1.htm");
    EXPECT_EQ(store.sections[0].articles[1].link, "http://example.org/b.htm");
    EXPECT_EQ(store.sections[1].articles[0].title, "     Lower");
    EXPECT_EQ(store.sections[2].articles[0].title, "     " + kFavouritesName);
    EXPECT_EQ(SerializeFavorites(store), WellFormedFile());
}

TEST(FavoritesFormat, OneSectionOneArticleIs34Bytes)
{
    FavoritesStore store;
    store.sections.push_back({"Name", {{"Ttl", "0123456789", kMarkSelected, {}}}});
    const std::string bytes = SerializeFavorites(store);
    EXPECT_EQ(bytes, Int32(1) + Int32(1) + "Name\r\n" + "Ttl" + kTitleEnd + "0123456789\r\n");
    EXPECT_EQ(bytes.size(), 34u);

    const FavoritesStore loaded = ParseFavorites(bytes);
    ASSERT_EQ(loaded.sections.size(), 1u);
    EXPECT_EQ(loaded.sections[0].articles[0].mark, kMarkPlain);
}

TEST(FavoritesFormat, EmptyStoreIsTheCountAlone)
{
    EXPECT_EQ(SerializeFavorites({}), Int32(0));
}

TEST(FavoritesFormat, TitleLinesAfterTheSecondAreJoinedWithoutSeparator)
{
    const std::string bytes = Int32(1) + Header(1, "S") + Record("one\r\ntwo\r\nthree", "l.htm");
    const FavoritesStore store = ParseFavorites(bytes);
    ASSERT_EQ(store.sections.size(), 1u);
    EXPECT_EQ(store.sections[0].articles[0].title, "one\r\ntwothree");
    EXPECT_EQ(store.sections[0].articles[0].link, "l.htm");
}

TEST(FavoritesFormat, LineReadingRules)
{
    // A CR swallows the next byte whatever it is; a line is cut at a zero.
    const std::string bytes = Int32(1) + Int32(1) + "Na\rXme\n" + std::string("ti\0tle\r\n", 8) + std::string("\0\r\n", 3) +
                              "link\rZ";
    const FavoritesStore store = ParseFavorites(bytes);
    ASSERT_EQ(store.sections.size(), 1u);
    EXPECT_EQ(store.sections[0].name, "Na");
    // "me" became the title's first line, "ti" (cut at the zero) its second.
    EXPECT_EQ(store.sections[0].articles[0].title, "me\r\nti");
    EXPECT_EQ(store.sections[0].articles[0].link, "link");
}

struct DamagedCase {
    const char* name;
    std::string bytes;
    bool damaged;
    std::vector<std::string> sectionNames;
};

class FavoritesDamagedTest : public ::testing::TestWithParam<DamagedCase> {};

TEST_P(FavoritesDamagedTest, KeepsWhatCouldBeReadWhole)
{
    bool damaged = !GetParam().damaged;
    const FavoritesStore store = ParseFavorites(GetParam().bytes, &damaged);
    EXPECT_EQ(damaged, GetParam().damaged);
    std::vector<std::string> names;
    for (const TSelectedFolder& section : store.sections)
        names.push_back(section.name);
    EXPECT_EQ(names, GetParam().sectionNames);
}

const std::string kOneRecord = Record("T", "L");

INSTANTIATE_TEST_SUITE_P(
    Cases, FavoritesDamagedTest,
    ::testing::Values(
        DamagedCase{"Empty", "", false, {}},
        DamagedCase{"ShorterThanCount", std::string("\x01\x00", 2), false, {}},
        DamagedCase{"ZeroSections", Int32(0), false, {}},
        DamagedCase{"NegativeSectionCount", Int32(-1) + Header(1, "A") + kOneRecord, true, {}},
        DamagedCase{"HugeSectionCount", Int32(0x7FFFFFFF) + Header(1, "A") + kOneRecord, true, {}},
        DamagedCase{"CutInsideCount", Int32(1) + std::string("\x01\x00", 2), true, {}},
        DamagedCase{"CutInsideSecondHeader", Int32(2) + Header(1, "A long enough name") + Int32(1) + "B", true,
                    {"A long enough name"}},
        DamagedCase{"NegativeArticleCount", Int32(2) + Header(1, "A") + Header(-1, "B") + kOneRecord, true, {"A"}},
        DamagedCase{"HugeArticleCount", Int32(2) + Header(1, "A") + Header(0x7FFFFFFF, "B") + kOneRecord, true,
                    {"A"}},
        DamagedCase{"CutInArticles", Int32(2) + Header(1, "A") + Header(1, "B") + "Tit", false, {"A", "B"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(FavoritesFormat, ImpossibleCountKeepsEarlierSectionsWithTheirRecords)
{
    const std::string bytes = Int32(3) + Header(1, "A") + Header(-5, "B") + Header(1, "C") + Record("TA", "LA") +
                              Record("TC", "LC");
    const FavoritesStore store = ParseFavorites(bytes);
    ASSERT_EQ(store.sections.size(), 1u);
    EXPECT_EQ(store.sections[0].articles[0].title, "TA");
    EXPECT_EQ(store.sections[0].articles[0].link, "LA");
}

TEST(FavoritesFormat, CutInArticlesGivesEmptyTexts)
{
    const std::string bytes = Int32(1) + Header(3, "A") + Record("First", "one.htm") + "Sec";
    bool damaged = true;
    const FavoritesStore store = ParseFavorites(bytes, &damaged);
    EXPECT_FALSE(damaged);
    ASSERT_EQ(store.sections.size(), 1u);
    ASSERT_EQ(store.sections[0].count(), 3);
    EXPECT_EQ(store.sections[0].articles[0].link, "one.htm");
    EXPECT_EQ(store.sections[0].articles[1].title, "Sec");
    EXPECT_EQ(store.sections[0].articles[1].link, "");
    EXPECT_EQ(store.sections[0].articles[2].title, "");
    EXPECT_EQ(store.sections[0].articles[2].link, "");
}

class FavoritesFileTest : public ::testing::Test {
protected:
    TempDir dir;
    std::string path = dir.Join("SelFold.dat");

    static FavoritesStore OneSection(const std::string& name)
    {
        FavoritesStore store;
        store.sections.push_back({name, {{"     Title", "D:\\j\\a.htm", kMarkPlain, {}}}});
        return store;
    }
};

TEST_F(FavoritesFileTest, MissingFileIsCreatedEmpty)
{
    FavoritesFile file(path);
    EXPECT_TRUE(file.Load().sections.empty());
    ASSERT_TRUE(std::filesystem::exists(path));
    EXPECT_EQ(std::filesystem::file_size(path), 0u);
}

TEST_F(FavoritesFileTest, LoadAndSaveKeepEveryByte)
{
    dir.Write("SelFold.dat", WellFormedFile());
    FavoritesFile file(path);
    const FavoritesStore store = file.Load();
    ASSERT_TRUE(file.Save(store));
    EXPECT_EQ(dir.Read("SelFold.dat"), WellFormedFile());
    EXPECT_FALSE(std::filesystem::exists(path + ".bak"));
    EXPECT_FALSE(std::filesystem::exists(path + ".tmp"));
}

TEST_F(FavoritesFileTest, EmptyStoreIsSavedAsFourBytes)
{
    dir.Write("SelFold.dat", WellFormedFile());
    FavoritesFile file(path);
    ASSERT_TRUE(file.Save({}));
    EXPECT_EQ(dir.Read("SelFold.dat"), Int32(0));
    EXPECT_TRUE(FavoritesFile(path).Load().sections.empty());
}

TEST_F(FavoritesFileTest, DamagedFileIsKeptOnceBeforeTheFirstOverwrite)
{
    const std::string damagedBytes = Int32(2) + Header(1, "Kept section") + Int32(1) + "Cu";
    dir.Write("SelFold.dat", damagedBytes);
    FavoritesFile file(path);
    FavoritesStore store = file.Load();
    ASSERT_EQ(store.sections.size(), 1u);

    ASSERT_TRUE(file.Save(OneSection("first")));
    EXPECT_EQ(dir.Read("SelFold.dat.bak"), damagedBytes);
    EXPECT_EQ(dir.Read("SelFold.dat"), SerializeFavorites(OneSection("first")));

    ASSERT_TRUE(file.Save(OneSection("second")));
    EXPECT_EQ(dir.Read("SelFold.dat.bak"), damagedBytes);
    EXPECT_EQ(dir.Read("SelFold.dat"), SerializeFavorites(OneSection("second")));
}

TEST_F(FavoritesFileTest, FailedSaveLeavesTheOldFileWhole)
{
    dir.Write("SelFold.dat", WellFormedFile());
    dir.MakeFolder("SelFold.dat.tmp");  // the temporary file cannot be written
    FavoritesFile file(path);
    file.Load();
    EXPECT_FALSE(file.Save(OneSection("new")));
    EXPECT_EQ(dir.Read("SelFold.dat"), WellFormedFile());
}

}  // namespace
