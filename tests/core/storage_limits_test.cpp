// SPDX-License-Identifier: GPL-3.0-or-later
// Files the program could not read back are neither read whole nor written; saves where a file
// system refuses part of the atomic path fall back and say why; a second copy reverts nothing.
#include <gtest/gtest.h>

#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "core/catalogue/journal_catalogue.h"
#include "core/settings/settings_store.h"
#include "core/favorites/favorites_file.h"
#include "platform/files.h"
#include "platform/registry.h"
#include "platform/text1251.h"
#include "support/temp_dir.h"

namespace files = platform::files;
using platform::text::Utf8From1251;

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

/// Refuses the calls given an errno (0: the real call).
struct RefusingCalls : files::SaveCalls {
    int unnamed = 0, create = 0, mode = 0, lock = 0;
    RefusingCalls(int u, int c, int m, int l) : unnamed(u), create(c), mode(m), lock(l) {}
    static int No(int error) { return errno = error, -1; }
    int OpenUnnamed(const char* f, mode_t m) const override { return unnamed ? No(unnamed) : SaveCalls::OpenUnnamed(f, m); }
    int CreateExclusive(const char* p, mode_t m) const override { return create ? No(create) : SaveCalls::CreateExclusive(p, m); }
    int ChangeMode(int fd, mode_t m) const override { return mode ? No(mode) : SaveCalls::ChangeMode(fd, m); }
    int Lock(int fd, int op) const override { return lock ? No(lock) : SaveCalls::Lock(fd, op); }
};

/// A small tmpfs over `folder` (in a namespace of this process); false where mounts cannot be made.
bool MountTmpfs(const std::string& folder)
{
    static const bool privateMounts =
        unshare(CLONE_NEWNS) == 0 && mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
    return privateMounts && mount("tmpfs", folder.c_str(), "tmpfs", 0, "size=64k") == 0;
}

}  // namespace

TEST(StorageLimits, FilesBeyondWhatIsReadAreSetAsideOrRefused)
{
    struct Row {
        const char* name;
        bool hive;         ///< the settings file, or the favourites file
        off_t sparseSize;  ///< made this large without data, or written with `bytes`
        std::string bytes;
        std::vector<std::string> said;  ///< in the message, besides the file's name
    };
    // One section of one article: 35 bytes besides its title.
    const std::string nearBound = SerializeFavorites(StoreOf(1, files::kMaxReadBytes - 60 - 35 - 1));
    const Row rows[] = {
        {"a sparse settings file of 64 GB", true, off_t{64} << 30, "", {"слишком велик", "по умолчанию"}},
        {"a folder in the settings file's place", true, -2, "", {"не является обычным файлом"}},
        {"a damaged settings file", true, -1, "\x01 no hive", {"повреждён"}},
        {"a favourite more on a file 60 bytes under the bound", false, -1, nearBound, {"64 МБ", "не изменено"}},
        {"a favourites file beyond the bound at start", false, files::kMaxReadBytes + 1, "", {"(файл слишком велик)"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        PrivateProfile profile;
        TempDir dir;
        const std::string hive = platform::registry::HivePath();
        const std::string path = row.hive ? hive : dir.Join("SelFold.dat");
        std::filesystem::create_directories(std::filesystem::path(hive).parent_path());
        std::ofstream(hive + ".damaged") << "older";  // never overwritten
        if (row.sparseSize == -2)
            std::filesystem::create_directory(path);
        else
            std::ofstream(path, std::ios::binary) << row.bytes;
        ASSERT_TRUE(row.sparseSize < 0 || truncate(path.c_str(), row.sparseSize) == 0);
        std::string said;
        if (row.hive) {
            said = Utf8From1251(settings::SetAsideUnreadableSettings());
            EXPECT_NE(said.find(hive + ".damaged.1\n"), std::string::npos) << said;
            EXPECT_TRUE(std::filesystem::exists(hive + ".damaged.1") && std::filesystem::file_size(hive + ".damaged") == 5);
            EXPECT_EQ(settings::LoadTextStyles(), DefaultTextStyles());
        } else {
            FavoritesFile file(path);
            FavoritesReport report;
            FavoritesStore store = file.Open(report);
            if (report.trouble == FavoritesTrouble::None) {
                report = file.Apply(store, [](FavoritesStore& s) {
                    s.sections[0].articles.push_back({std::string(50, 'n'), "C:\\j\\b.htm", 0, {}});
                });
                EXPECT_EQ(store.sections[0].articles.size(), 1u);
                EXPECT_EQ(std::filesystem::file_size(path), nearBound.size());
            }
            said = Utf8From1251(FavoritesTroubleText(report, path));
        }
        EXPECT_NE(said.find(path), std::string::npos) << said;
        for (const std::string& part : row.said)
            EXPECT_NE(said.find(part), std::string::npos) << part << " not in: " << said;
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
    using T = FavoritesTrouble;
    const Row rows[] = {
        {"no unnamed files (FUSE)", {EOPNOTSUPP, 0, 0, 0}, 0644, T::None, true, false, false},
        {"unnamed files refused", {EACCES, 0, 0, 0}, 0644, T::None, true, false, false},
        {"mode change refused, mode right", {EISDIR, 0, EPERM, 0}, 0600, T::None, true, false, false},
        {"mode change refused, mode wrong", {0, 0, EPERM, 0}, 0640, T::RewrittenInPlace, true, true, false},
        {"folder takes no new file", {EACCES, EACCES, 0, 0}, 0644, T::RewrittenInPlace, true, true, false},
        {"lock held by another copy", {0, 0, 0, EWOULDBLOCK}, 0644, T::Busy, false, false, false},
        {"no locks (ENOLCK)", {0, 0, 0, ENOLCK}, 0644, T::None, true, false, true},
        {"no locks (EOPNOTSUPP)", {0, 0, 0, EOPNOTSUPP}, 0644, T::None, true, false, true},
        {"no locks (EINVAL)", {0, 0, 0, EINVAL}, 0644, T::None, true, false, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TempDir dir;
        const std::string path = dir.Join("SelFold.dat");
        dir.Write("SelFold.dat", SerializeFavorites(StoreOf(1)));
        chmod(path.c_str(), static_cast<mode_t>(row.mode));
        const auto inode = [&] { struct stat st {}; return stat(path.c_str(), &st) == 0 ? st.st_ino : 0; };
        const ino_t before = inode();
        FavoritesFile file(path, files::MayWrite, 60, row.calls);
        FavoritesStore store;
        const FavoritesReport report = file.Apply(store, [](FavoritesStore& s) { s = StoreOf(2); });
        EXPECT_EQ(report.trouble, row.trouble);
        EXPECT_EQ(report.withoutLock, row.withoutLock);
        EXPECT_EQ(dir.Read("SelFold.dat"), SerializeFavorites(StoreOf(row.saved ? 2 : 1)));
        EXPECT_EQ(inode() == before, row.inPlace || !row.saved);
        EXPECT_EQ(std::filesystem::status(path).permissions(), std::filesystem::perms(row.mode));
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1) << "a temporary file was left";
    }

    // Real refusals: a read-only medium and a full disk.
    struct Medium {
        const char* name;
        bool hasFile, readOnly, settings;
        std::vector<std::string> said;
    };
    const Medium media[] = {
        {"no file in a read-only folder", false, true, false, {"В каталог\n", "только для чтения", "до закрытия"}},
        {"a file on a read-only medium", true, true, false, {"нельзя изменить (носитель доступен только для чтения)"}},
        {"a full disk", true, false, false, {"Не удалось сохранить", "на диске нет места"}},
        {"settings on a read-only medium", false, true, true, {"k.t.1\n", "registry.reg: носитель доступен только"}},
    };
    for (const Medium& medium : media) {
        SCOPED_TRACE(medium.name);
        PrivateProfile profile;
        TempDir dir;
        if (!MountTmpfs(dir.path()))
            GTEST_SKIP() << "mounts cannot be made here (root and mount namespaces are needed)";
        setenv("XDG_CONFIG_HOME", dir.path().c_str(), 1);
        if (medium.hasFile)
            dir.Write("SelFold.dat", SerializeFavorites(StoreOf(1)));
        if (medium.settings)
            dir.Write("Vestrels/registry.reg", "REGEDIT4\n\n[HKEY_CURRENT_USER\\" + std::string(kSettingsKey) + "]\n");
        ASSERT_TRUE(!medium.readOnly || mount(nullptr, dir.path().c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) == 0);
        FavoritesFile file(dir.Join("SelFold.dat"));
        FavoritesStore store;
        const WriteResult result = medium.settings ? settings::StoreLeftShare(3.0) : WriteResult::Written;
        const std::string said = Utf8From1251(medium.settings ? settings::WriteFailureText("k.t.1", result.error)
                                                : FavoritesTroubleText(file.Apply(store, [](FavoritesStore& s) { s = StoreOf(9999); }), file.path()));
        for (const std::string& part : medium.said)
            EXPECT_NE(said.find(part), std::string::npos) << part << " not in: " << said;
        EXPECT_TRUE(!medium.hasFile || dir.Read("SelFold.dat") == SerializeFavorites(StoreOf(1)));
        umount2(dir.path().c_str(), MNT_DETACH);  // the next row's folder is another
    }
}

// Copy A (a child process) stores what its dialogs changed while copy B
// runs; what B then stores from its own must not revert A's change.
TEST(StorageLimits, ASecondCopyStoresOnlyWhatItsDialogChanged)
{
    const TextStyles same = DefaultTextStyles();
    const JournalCatalogue plain = DefaultCatalogue();
    TextStyles fontA = same, fontB = same, fontsBoth = same;
    fontA[0].color = fontsBoth[0].color = 0x11;
    fontB[2].font.faceName = fontsBoth[2].font.faceName = "Face B";
    JournalCatalogue renamed = plain, repathed = plain, grown = plain, both = plain;
    renamed.entries[0].displayName = both.entries[0].displayName = "A";
    repathed.entries[1].contentsPath = both.entries[1].contentsPath = "B";
    grown.entries.push_back({"a", "b", "c"});
    struct Row {
        const char* name;
        TextStyles fontsA, fontsB, fontsStored;
        JournalCatalogue catalogueA, catalogueB, catalogueStored;
    };
    const Row rows[] = {
        {"B changed nothing", fontA, same, fontA, renamed, plain, renamed},
        {"A and B changed different values", fontA, fontB, fontsBoth, renamed, repathed, both},
        {"A grew the catalogue, B changed a list", same, same, same, grown, repathed, repathed},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        PrivateProfile profile;
        settings::StoreTextStyles(same);
        StoreCatalogue(plain);
        const pid_t copyA = fork();
        if (copyA == 0) {
            settings::StoreChangedTextStyles(same, row.fontsA);
            StoreChangedCatalogue(plain, row.catalogueA);
            _exit(0);
        }
        ASSERT_EQ(waitpid(copyA, nullptr, 0), copyA);
        settings::StoreChangedTextStyles(same, row.fontsB);
        StoreChangedCatalogue(plain, row.catalogueB);
        EXPECT_EQ(settings::LoadTextStyles(), row.fontsStored);
        EXPECT_EQ(ReadStoredCatalogue(), row.catalogueStored);
    }
}
