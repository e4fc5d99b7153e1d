// SPDX-License-Identifier: GPL-3.0-or-later
// The favourites file: its exact layout, damaged and cut files, and a save
// that keeps the old file until the new one is whole, keeps links, owners and
// modes, and never touches a file it could not read.

#include <gtest/gtest.h>
#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "core/favorites/favorites_file.h"
#include "core/favorites/favorites_ops.h"
#include "core/favorites/favorites_store.h"
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
    std::vector<std::pair<std::string, int>> sections;  ///< name and article count
};

class FavoritesDamagedTest : public ::testing::TestWithParam<DamagedCase> {};

TEST_P(FavoritesDamagedTest, KeepsWhatCouldBeReadWhole)
{
    bool damaged = !GetParam().damaged;
    const FavoritesStore store = ParseFavorites(GetParam().bytes, &damaged);
    EXPECT_EQ(damaged, GetParam().damaged);
    std::vector<std::pair<std::string, int>> sections;
    for (const TSelectedFolder& section : store.sections)
        sections.emplace_back(section.name, section.count());
    EXPECT_EQ(sections, GetParam().sections);
    // What was kept writes out and reads back undamaged, field for field.
    const std::string saved = SerializeFavorites(store);
    EXPECT_EQ(SerializeFavorites(ParseFavorites(saved, &damaged)), saved);
    EXPECT_FALSE(damaged);
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
        DamagedCase{"CutInsideSecondHeader", Int32(2) + Header(1, "A long enough name") + Int32(1) + "B", true, {}},
        DamagedCase{"NegativeArticleCount", Int32(2) + Header(1, "A") + Header(-1, "B") + kOneRecord, true, {{"A", 1}}},
        DamagedCase{"HugeArticleCount", Int32(2) + Header(1, "A") + Header(0x7FFFFFFF, "B") + kOneRecord, true,
                    {{"A", 1}}},
        DamagedCase{"CutInArticles", Int32(2) + Header(1, "A") + Header(1, "B") + kOneRecord + "Tit", true, {{"A", 1}}},
        DamagedCase{"SectionWithoutArticles", Int32(2) + Header(0, "A") + Header(1, "B") + kOneRecord, true, {{"B", 1}}},
        // A file cut inside its headers reads a count's bytes as a title.
        DamagedCase{"CountBytesAsTitleWithoutLink", Int32(1) + Header(2, "A") + kOneRecord + Record("\x04", ""),
                    true, {{"A", 1}}},
        DamagedCase{"ControlByteInTitle", Int32(1) + Header(2, "A") + kOneRecord + Record("T\x01", "L"), true,
                    {{"A", 1}}},
        DamagedCase{"TabInTitleIsText", Int32(1) + Header(1, "A") + Record("T\tU", "L"), false, {{"A", 1}}},
        // Three records promised, two there: both are kept.
        DamagedCase{"CountBeyondEightBytesARecord", Int32(1) + Header(3, "A") + kOneRecord + Record("U", "M"), true,
                    {{"A", 2}}}),
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

TEST(FavoritesFormat, MissingRecordsAtTheEndAreDroppedNotLoadedAsEmptyTitles)
{
    const std::string bytes = Int32(1) + Header(3, "A") + Record("First", "one.htm") + "Sec";
    bool damaged = false;
    const FavoritesStore store = ParseFavorites(bytes, &damaged);
    EXPECT_TRUE(damaged);
    ASSERT_EQ(store.sections.size(), 1u);
    // "Sec" has no link: no record the program writes.
    ASSERT_EQ(store.sections[0].count(), 1);
    EXPECT_EQ(store.sections[0].articles[0].link, "one.htm");
}

TEST(FavoritesFormat, CountsCannotMakeTheParserAllocateMoreThanAFewTimesTheFile)
{
    constexpr int kRecords = 1 << 17;
    std::string headers, records;
    for (int i = 0; i < kRecords; ++i) {
        headers += Header(1, "");
        records += Record("T", "");
    }
    // A count as large as the file (once trusted), the shortest records, the most sections.
    for (const std::string& bytes : {Int32(1) + Header(kRecords * 8, "A") + std::string(kRecords * 8, 'x'),
                                     Int32(1) + Header(kRecords, "A") + records, Int32(kRecords) + headers + records}) {
        const FavoritesStore store = ParseFavorites(bytes);
        std::size_t heap = store.sections.capacity() * sizeof(TSelectedFolder);
        for (const TSelectedFolder& section : store.sections) {
            heap += section.articles.capacity() * sizeof(TSelected);
            for (const TSelected& article : section.articles)
                heap += article.title.capacity();
        }
        EXPECT_LE(heap, 16 * bytes.size());
    }
}

std::map<std::string, std::string> FilesIn(const TempDir& dir)
{
    std::map<std::string, std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
        files[entry.path().filename().string()] = dir.Read(entry.path().filename().string());
    return files;
}

FavoritesChange AddNew()
{
    return AddChange("New", "     Title", "D:\\j\\a.htm", {}, std::make_shared<AddResult>());
}

std::string WithNew(const std::string& bytes)
{
    FavoritesStore store = ParseFavorites(bytes);
    AddNew()(store);
    return SerializeFavorites(store);
}

const std::string kDamaged = Int32(1) + Header(2, "Kept section") + Record("Kept", "k.htm");

/// The user's files around one change: what the folder holds after the start
/// and after the change, and what each step reports.
struct FileCase {
    const char* name;
    std::map<std::string, std::string> before;
    bool writable;
    bool lockedByAnotherCopy;
    FavoritesTrouble atStart;
    std::map<std::string, std::string> afterStart;
    FavoritesTrouble atChange;
    std::map<std::string, std::string> afterChange;
};

class FavoritesFileTest : public ::testing::TestWithParam<FileCase> {};

TEST_P(FavoritesFileTest, ChangesReachTheFileOrLeaveItAsItWas)
{
    const FileCase& c = GetParam();
    TempDir dir;
    for (const auto& [name, bytes] : c.before)
        dir.Write(name, bytes);
    FavoritesFile file(FavoritesFile::FindIn(dir.path()), [&](const std::string&) { return c.writable; }, 200);
    FavoritesReport started;
    FavoritesStore store = file.Open(started);
    EXPECT_EQ(started.trouble, c.atStart);
    EXPECT_EQ(FilesIn(dir), c.afterStart);
    EXPECT_TRUE(file.Flush(store).trouble == FavoritesTrouble::None);  // the exit writes nothing unchanged
    EXPECT_EQ(FilesIn(dir), c.afterStart);

    std::optional<platform::files::FolderLock> otherCopy;
    if (c.lockedByAnotherCopy)
        otherCopy.emplace(dir.path(), 0);
    const FavoritesReport changed = file.Apply(store, AddNew());
    EXPECT_EQ(changed.trouble, c.atChange);
    ASSERT_FALSE(store.sections.empty());
    EXPECT_EQ(store.sections.back().name, "New");  // shown for this run whatever happened to the file
    EXPECT_EQ(FilesIn(dir), c.afterChange);
    for (const FavoritesReport& report : {started, changed}) {
        const std::string text = FavoritesTroubleText(report, file.path());
        EXPECT_EQ(text.empty(), report.trouble == FavoritesTrouble::None);
        EXPECT_TRUE(text.empty() || (text.find(file.path()) != std::string::npos &&
                                     text.find(report.backup) != std::string::npos))
            << text;
    }
}

const std::string kFile = "SelFold.dat";

INSTANTIATE_TEST_SUITE_P(
    Cases, FavoritesFileTest,
    ::testing::Values(
        FileCase{"NoFileUntilThereIsSomethingToKeep", {}, true, false, FavoritesTrouble::None, {},
                 FavoritesTrouble::None, {{kFile, WithNew("")}}},
        FileCase{"UpperCaseNameIsFoundAndKept", {{"SELFOLD.DAT", WellFormedFile()}}, true, false,
                 FavoritesTrouble::None, {{"SELFOLD.DAT", WellFormedFile()}}, FavoritesTrouble::None,
                 {{"SELFOLD.DAT", WithNew(WellFormedFile())}}},
        FileCase{"ReadOnlyFileIsKept", {{kFile, WellFormedFile()}}, false, false, FavoritesTrouble::None,
                 {{kFile, WellFormedFile()}}, FavoritesTrouble::ReadOnly, {{kFile, WellFormedFile()}}},
        FileCase{"DamagedFileNeverOverwritesABackup", {{kFile, kDamaged}, {kFile + ".bak", "mine"}}, true, false,
                 FavoritesTrouble::Damaged, {{kFile, kDamaged}, {kFile + ".bak", "mine"}, {kFile + ".bak.1", kDamaged}},
                 FavoritesTrouble::None,
                 {{kFile, WithNew(kDamaged)}, {kFile + ".bak", "mine"}, {kFile + ".bak.1", kDamaged}}},
        FileCase{"LockHeldByAnotherCopyIsReported", {{kFile, WellFormedFile()}}, true, true, FavoritesTrouble::None,
                 {{kFile, WellFormedFile()}}, FavoritesTrouble::Busy, {{kFile, WellFormedFile()}}}),
    [](const auto& info) { return std::string(info.param.name); });

// Root may read and write anything: the load and save run in a child as
// "nobody", and the owners of files and folders make the permissions real.
constexpr uid_t kNobody = 65534;

struct SaveCase {
    const char* name;
    bool link;          ///< SelFold.dat is a relative link to store/favs.dat
    bool lockedFolder;  ///< the file's folder is root's: no temporary file beside it
    bool foreignFile;   ///< the file is root's: nobody cannot read it
    mode_t mode;
};

class FavoritesSaveTest : public ::testing::TestWithParam<SaveCase> {};

TEST_P(FavoritesSaveTest, KeepsLinkOwnerAndModeAndNeverWritesAFileItCouldNotRead)
{
    const SaveCase& c = GetParam();
    if (geteuid() != 0)
        GTEST_SKIP() << "needs root to act as two users";
    TempDir dir;
    dir.MakeFolder("home");
    dir.MakeFolder("store");
    const std::string link = dir.Join("home/SelFold.dat");
    const std::string real = c.link ? dir.Join("store/favs.dat") : link;
    dir.Write(c.link ? "store/favs.dat" : "home/SelFold.dat", WellFormedFile());
    if (c.link)
        std::filesystem::create_symlink("../store/favs.dat", link);
    ASSERT_EQ(chmod(dir.path().c_str(), 0755) | chmod(real.c_str(), c.mode), 0);
    ASSERT_EQ(chown(dir.Join("home").c_str(), kNobody, kNobody), 0);
    if (!c.lockedFolder) {
        ASSERT_EQ(chown(std::filesystem::path(real).parent_path().c_str(), kNobody, kNobody), 0);
    }
    if (!c.foreignFile) {
        ASSERT_EQ(chown(real.c_str(), kNobody, kNobody), 0);
    }

    FavoritesStore changed;
    changed.sections.push_back({"new", {{"T", "a.htm", kMarkPlain, {}}}});
    const pid_t child = fork();
    if (child == 0) {
        if (setgroups(0, nullptr) != 0 || setgid(kNobody) != 0 || setuid(kNobody) != 0)
            _exit(2);
        FavoritesFile file(link);
        FavoritesReport report;
        FavoritesStore store = file.Open(report);
        report = file.Apply(store, [changed](FavoritesStore& s) { s = changed; });
        _exit(report.trouble == FavoritesTrouble::None ? 1 : report.trouble == FavoritesTrouble::Unreadable ? 0
              : report.trouble == FavoritesTrouble::RewrittenInPlace ? 4 : 3);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    ASSERT_NE(WEXITSTATUS(status), 2) << "cannot switch to nobody";

    // A folder that takes no temporary file: rewritten in place, and said so.
    EXPECT_EQ(WEXITSTATUS(status), c.foreignFile ? 0 : c.link && c.lockedFolder ? 4 : 1);
    EXPECT_EQ(dir.Read(std::filesystem::relative(real, dir.path()).string()),
              c.foreignFile ? WellFormedFile() : SerializeFavorites(changed));
    struct stat st;
    ASSERT_EQ(stat(real.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, c.mode);
    EXPECT_EQ(st.st_uid, c.foreignFile ? 0u : kNobody);
    EXPECT_EQ(std::filesystem::is_symlink(link), c.link);
    // Nothing left behind: no temporary file, no second copy.
    const auto entries = [&](const char* folder) {
        return std::distance(std::filesystem::directory_iterator(dir.Join(folder)), {});
    };
    EXPECT_EQ(entries("home"), 1);
    EXPECT_EQ(entries("store"), c.link ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FavoritesSaveTest,
    ::testing::Values(SaveCase{"KeepsPrivateMode", false, false, false, 0600},
                      SaveCase{"WritesThroughSymlink", true, false, false, 0640},
                      SaveCase{"RewritesInPlaceInLockedFolder", false, true, false, 0604},
                      SaveCase{"WritesThroughSymlinkIntoLockedFolder", true, true, false, 0644},
                      SaveCase{"LeavesAnotherUsersUnreadableFileAlone", false, false, true, 0600}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
