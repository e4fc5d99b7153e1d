// SPDX-License-Identifier: GPL-3.0-or-later
// Files the program could not read back are neither read whole nor written;
// saves on file systems that refuse part of the atomic path fall back and
// say why; a second running copy does not revert the settings of another.
#include <gtest/gtest.h>

#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "app/journal_catalogue.h"
#include "app/settings_store.h"
#include "favorites/favorites_file.h"
#include "platform/files.h"
#include "platform/text1251.h"
#include "support/settings_values.h"
#include "support/temp_dir.h"

namespace files = platform::files;

namespace {

FavoritesStore StoreOf(int articles, std::size_t titleSize = 5)
{
    FavoritesStore store;
    TSelectedFolder& section = store.sections.emplace_back();
    section.name = "Section";
    for (int i = 0; i < articles; ++i)
        section.articles.push_back({std::string(titleSize, 'a') + std::to_string(i), "C:\\j\\a.htm", 0, {}});
    return store;
}

FavoritesChange AddArticles(int articles)
{
    return [articles](FavoritesStore& s) { s = StoreOf(articles); };
}

std::string Utf8(const std::string& text1251)
{
    return platform::text::Utf8From1251(text1251);
}

void Put(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string Get(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

ino_t InodeOf(const std::string& path)
{
    struct stat st {};
    stat(path.c_str(), &st);
    return st.st_ino;
}

/// Refuses the calls given an errno; the others are the real ones.
struct RefusingCalls : files::SaveCalls {
    int unnamed = 0, create = 0, mode = 0, lock = 0;
    static int Refuse(int error) { return errno = error, -1; }
    int OpenUnnamed(const char* f, mode_t m) const override { return unnamed ? Refuse(unnamed) : SaveCalls::OpenUnnamed(f, m); }
    int CreateExclusive(const char* p, mode_t m) const override { return create ? Refuse(create) : SaveCalls::CreateExclusive(p, m); }
    int ChangeMode(int fd, mode_t m) const override { return mode ? Refuse(mode) : SaveCalls::ChangeMode(fd, m); }
    int Lock(int fd, int op) const override { return lock ? Refuse(lock) : SaveCalls::Lock(fd, op); }
};

/// A tmpfs of `size` over `folder` in a mount namespace of this process;
/// false where mounts cannot be made (not root, no namespaces).
bool MountTmpfs(const std::string& folder, const char* size)
{
    static const bool privateMounts =
        unshare(CLONE_NEWNS) == 0 && mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
    return privateMounts && mount("tmpfs", folder.c_str(), "tmpfs", 0, size) == 0;
}

bool MakeReadOnly(const std::string& folder)
{
    return mount(nullptr, folder.c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) == 0;
}

}  // namespace

TEST(StorageLimits, FilesBeyondWhatIsReadAreSetAsideOrRefused)
{
    struct Row {
        const char* name;
        std::function<void(const TempDir& dir, const std::string& hive)> prepare;
        std::function<std::string(const TempDir& dir)> act;  ///< the message the user gets (UTF-8)
        std::vector<std::string> said;
        std::function<void(const TempDir& dir, const std::string& hive)> check;
    };
    // One section of one article: 35 bytes besides its title.
    const std::string nearBound = SerializeFavorites(StoreOf(1, files::kMaxReadBytes - 60 - 35 - 1));
    const Row rows[] = {
        {"a sparse settings file of 64 GB",
         [](const TempDir& dir, const std::string& hive) {
             Put(hive, "");
             ASSERT_EQ(truncate(hive.c_str(), off_t{64} << 30), 0);
         },
         [](const TempDir&) { return Utf8(settings::SetAsideUnreadableSettings()); },
         {"слишком велик", ".damaged\n", "по умолчанию"},
         [](const TempDir&, const std::string& hive) {
             EXPECT_EQ(std::filesystem::file_size(hive + ".damaged"), std::uintmax_t{64} << 30);
             EXPECT_EQ(settings::LoadTextStyles(), DefaultTextStyles());
         }},
        {"a folder in the settings file's place",
         [](const TempDir&, const std::string& hive) { std::filesystem::create_directory(hive); },
         [](const TempDir&) { return Utf8(settings::SetAsideUnreadableSettings()); },
         {"не является обычным файлом", ".damaged\n"},
         [](const TempDir&, const std::string& hive) { EXPECT_TRUE(std::filesystem::is_directory(hive + ".damaged")); }},
        {"a damaged settings file beside an older copy",
         [](const TempDir&, const std::string& hive) {
             Put(hive, "\x01\x02 nothing of a hive");
             Put(hive + ".damaged", "older");
         },
         [](const TempDir&) { return Utf8(settings::SetAsideUnreadableSettings()); },
         {"повреждён", ".damaged.1\n"},
         [](const TempDir&, const std::string& hive) {
             EXPECT_EQ(Get(hive + ".damaged"), "older");
             EXPECT_FALSE(std::filesystem::exists(hive));
         }},
        {"a favourite more on a file 60 bytes under the bound",
         [&](const TempDir& dir, const std::string&) { dir.Write("SelFold.dat", nearBound); },
         [](const TempDir& dir) {
             FavoritesFile file(dir.Join("SelFold.dat"));
             FavoritesReport report;
             FavoritesStore store = file.Open(report);
             report = file.Apply(store, [](FavoritesStore& s) {
                 s.sections[0].articles.push_back({std::string(50, 'n'), "C:\\j\\b.htm", 0, {}});
             });
             EXPECT_EQ(store.sections[0].articles.size(), 1u);
             return Utf8(FavoritesTroubleText(report, file.path()));
         },
         {"SelFold.dat", "64 МБ", "не изменено"},
         [&](const TempDir& dir, const std::string&) { EXPECT_TRUE(dir.Read("SelFold.dat") == nearBound); }},
        {"a favourites file beyond the bound at start",
         [](const TempDir& dir, const std::string&) {
             dir.Write("SelFold.dat", "");
             ASSERT_EQ(truncate(dir.Join("SelFold.dat").c_str(), files::kMaxReadBytes + 1), 0);
         },
         [](const TempDir& dir) {
             FavoritesFile file(dir.Join("SelFold.dat"));
             FavoritesReport report;
             file.Open(report);
             return Utf8(FavoritesTroubleText(report, file.path()));
         },
         {"SelFold.dat", "нельзя прочитать (файл слишком велик)"},
         [](const TempDir&, const std::string&) {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        PrivateProfile profile;
        TempDir dir;
        const std::string hive = platform::registry::HivePath();
        std::filesystem::create_directories(std::filesystem::path(hive).parent_path());
        row.prepare(dir, hive);
        const std::string said = row.act(dir);
        for (const std::string& part : row.said)
            EXPECT_NE(said.find(part), std::string::npos) << part << " not in: " << said;
        row.check(dir, hive);
    }
}

TEST(StorageLimits, SavesFallBackWhereTheFileSystemRefusesAStep)
{
    struct Row {
        const char* name;
        RefusingCalls calls;
        int mode;  ///< of the existing file
        FavoritesTrouble trouble;
        bool saved, inPlace, withoutLock;
    };
    const auto refuse = [](int unnamed, int create, int mode, int lock) {
        RefusingCalls calls;
        calls.unnamed = unnamed, calls.create = create, calls.mode = mode, calls.lock = lock;
        return calls;
    };
    const Row rows[] = {
        {"no unnamed files (FUSE)", refuse(EOPNOTSUPP, 0, 0, 0), 0644, FavoritesTrouble::None, true, false, false},
        {"unnamed files refused", refuse(EACCES, 0, 0, 0), 0644, FavoritesTrouble::None, true, false, false},
        {"mode change refused, mode right", refuse(EISDIR, 0, EPERM, 0), 0600, FavoritesTrouble::None, true, false, false},
        {"mode change refused, mode wrong", refuse(0, 0, EPERM, 0), 0640, FavoritesTrouble::RewrittenInPlace, true, true, false},
        {"folder takes no new file", refuse(EACCES, EACCES, 0, 0), 0644, FavoritesTrouble::RewrittenInPlace, true, true, false},
        {"lock held by another copy", refuse(0, 0, 0, EWOULDBLOCK), 0644, FavoritesTrouble::Busy, false, false, false},
        {"no locks (ENOLCK)", refuse(0, 0, 0, ENOLCK), 0644, FavoritesTrouble::None, true, false, true},
        {"no locks (EOPNOTSUPP)", refuse(0, 0, 0, EOPNOTSUPP), 0644, FavoritesTrouble::None, true, false, true},
        {"no locks (EINVAL)", refuse(0, 0, 0, EINVAL), 0644, FavoritesTrouble::None, true, false, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TempDir dir;
        const std::string path = dir.Join("SelFold.dat");
        dir.Write("SelFold.dat", SerializeFavorites(StoreOf(1)));
        chmod(path.c_str(), static_cast<mode_t>(row.mode));
        const ino_t before = InodeOf(path);
        FavoritesFile file(path, files::MayWrite, 60, row.calls);
        FavoritesStore store;
        const FavoritesReport report = file.Apply(store, AddArticles(2));
        EXPECT_EQ(report.trouble, row.trouble);
        EXPECT_EQ(report.withoutLock, row.withoutLock);
        EXPECT_EQ(dir.Read("SelFold.dat"), SerializeFavorites(StoreOf(row.saved ? 2 : 1)));
        EXPECT_EQ(InodeOf(path) == before, row.inPlace || !row.saved);
        EXPECT_EQ(std::filesystem::status(path).permissions(), std::filesystem::perms(row.mode));
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1) << "a temporary file was left";
    }

    // Real refusals: a read-only medium and a full disk.
    struct Medium {
        const char* name;
        bool hasFile, readOnly;
        std::function<std::string(const TempDir& dir)> act;  ///< the message (UTF-8)
        std::vector<std::string> said;
    };
    const auto change = [](const TempDir& dir) {
        FavoritesFile file(dir.Join("SelFold.dat"));
        FavoritesStore store;
        return Utf8(FavoritesTroubleText(file.Apply(store, AddArticles(20000)), file.path()));
    };
    const Medium media[] = {
        {"no file in a read-only folder", false, true, change, {"В каталог\n", "только для чтения", "до закрытия"}},
        {"a file on a read-only medium", true, true, change, {"нельзя изменить (носитель доступен только для чтения)"}},
        {"a full disk", true, false, change, {"Не удалось сохранить", "на диске нет места"}},
        {"settings on a read-only medium", false, true,
         [](const TempDir& dir) {
             setenv("XDG_CONFIG_HOME", dir.path().c_str(), 1);
             const WriteResult result = settings::StoreLeftShare(3.0);
             EXPECT_EQ(result, WriteResult::Failed);
             return Utf8(settings::WriteFailureText("k.t.1", result.error));
         },
         {"k.t.1\n", "/Vestrels/registry.reg: носитель доступен только для чтения"}},
    };
    for (const Medium& medium : media) {
        SCOPED_TRACE(medium.name);
        PrivateProfile profile;
        TempDir dir;
        if (!MountTmpfs(dir.path(), "size=64k"))
            GTEST_SKIP() << "mounts cannot be made here (root and mount namespaces are needed)";
        if (medium.hasFile)
            dir.Write("SelFold.dat", SerializeFavorites(StoreOf(1)));
        if (std::string(medium.name).starts_with("settings"))
            dir.Write("Vestrels/registry.reg", "REGEDIT4\n\n[HKEY_CURRENT_USER\\" + std::string(kSettingsKey) + "]\n");
        ASSERT_TRUE(!medium.readOnly || MakeReadOnly(dir.path()));
        const std::string said = medium.act(dir);
        for (const std::string& part : medium.said)
            EXPECT_NE(said.find(part), std::string::npos) << part << " not in: " << said;
        if (medium.hasFile)
            EXPECT_EQ(dir.Read("SelFold.dat"), SerializeFavorites(StoreOf(1)));
        umount2(dir.path().c_str(), MNT_DETACH);
    }
}

// Copy A (a child process) changes settings while copy B runs; what B then
// stores from its dialogs must not revert A's change.
TEST(StorageLimits, ASecondCopyStoresOnlyWhatItsDialogChanged)
{
    const auto withColor = [](int style, ColorRef color) {
        TextStyles styles = DefaultTextStyles();
        styles[style].color = color;
        return styles;
    };
    const auto catalogueWith = [](std::function<void(JournalCatalogue&)> edit) {
        JournalCatalogue catalogue = DefaultCatalogue();
        edit(catalogue);
        return catalogue;
    };
    const JournalCatalogue renamed = catalogueWith([](JournalCatalogue& c) { c.entries[0].displayName = "A"; });
    const JournalCatalogue repathed = catalogueWith([](JournalCatalogue& c) { c.entries[1].contentsPath = "B"; });
    const JournalCatalogue grown = catalogueWith([](JournalCatalogue& c) { c.entries.push_back({"a", "b", "c"}); });
    struct Row {
        const char* name;
        std::function<void()> copyA, copyB;
        std::function<void()> check;
    };
    const Row rows[] = {
        {"fonts: B changed nothing",
         [&] { settings::StoreChangedTextStyles(DefaultTextStyles(), withColor(0, 0x11)); },
         [&] { settings::StoreChangedTextStyles(DefaultTextStyles(), DefaultTextStyles()); },
         [&] { EXPECT_EQ(settings::LoadTextStyles(), withColor(0, 0x11)); }},
        {"fonts: A and B changed different styles",
         [&] { settings::StoreChangedTextStyles(DefaultTextStyles(), withColor(0, 0x11)); },
         [&] {
             TextStyles b = withColor(2, 0x22);
             b[2].font.faceName = "Face B";
             settings::StoreChangedTextStyles(DefaultTextStyles(), b);
         },
         [&] {
             TextStyles both = withColor(0, 0x11);
             both[2].color = 0x22;
             both[2].font.faceName = "Face B";
             EXPECT_EQ(settings::LoadTextStyles(), both);
         }},
        {"catalogue: A and B changed different lists",
         [&] { StoreChangedCatalogue(DefaultCatalogue(), renamed); },
         [&] { StoreChangedCatalogue(DefaultCatalogue(), repathed); },
         [&] {
             JournalCatalogue both = renamed;
             both.entries[1].contentsPath = "B";
             EXPECT_EQ(ReadStoredCatalogue(), both);
         }},
        {"catalogue: A grew it, B changed a list",
         [&] { StoreChangedCatalogue(DefaultCatalogue(), grown); },
         [&] { StoreChangedCatalogue(DefaultCatalogue(), repathed); },
         [&] { EXPECT_EQ(ReadStoredCatalogue(), repathed) << "lists of another length than the count"; }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        PrivateProfile profile;
        settings::StoreTextStyles(DefaultTextStyles());
        StoreCatalogue(DefaultCatalogue());
        const pid_t copyA = fork();
        ASSERT_GE(copyA, 0);
        if (copyA == 0) {
            row.copyA();
            _exit(0);
        }
        int status = 0;
        ASSERT_EQ(waitpid(copyA, &status, 0), copyA);
        row.copyB();
        row.check();
    }
}
