// SPDX-License-Identifier: GPL-3.0-or-later
// Issue discovery: which folders of the working directory are journal issues,
// in which order they stand, and what each is called.
#include "core/library/discovery.h"

#include <algorithm>
#include <array>
#include <cstdint>

#include "core/settings/settings_store.h"
#include "core/library/compiled_help.h"
#include "core/library/contents_parser.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "platform/text1251.h"

namespace {

bool Contains(std::string_view text, std::string_view part)
{
    return text.find(part) != std::string_view::npos;
}

// Library order. Written out, the exchange passes compare every pair of
// positions, substring tests included. Here they run on small records
// instead: each name's rank in byte order and its key-word flags are found
// once and travel with it on every swap, and a tree over the positions finds
// the next position the swap rule applies to, so a pass costs a short search
// per swap rather than a comparison per pair. The swaps themselves are
// exactly those of the written-out passes.

enum NameFlag : std::uint8_t {
    kHasReleaseGold = 1,
    kHasRelease = 2,
    kHasIzone = 4,
    kHasProtoplex = 8,
    kHasGold = 16,
};

struct OrderItem {
    std::uint32_t rank;  ///< equal names share a rank
    std::uint8_t flags;  ///< NameFlag bits
    std::uint32_t name;  ///< index into the names as given
};

std::uint8_t FlagsOf(std::string_view name)
{
    std::uint8_t flags = 0;
    if (Contains(name, "release-gold"))
        flags |= kHasReleaseGold;
    if (Contains(name, "release"))
        flags |= kHasRelease;
    if (Contains(name, "izone"))
        flags |= kHasIzone;
    if (Contains(name, "protoplex"))
        flags |= kHasProtoplex;
    if (Contains(name, "gold"))
        flags |= kHasGold;
    return flags;
}

std::vector<OrderItem> OrderItemsOf(const std::vector<std::string>& names)
{
    std::vector<std::uint32_t> byText(names.size());
    for (std::uint32_t i = 0; i < byText.size(); ++i)
        byText[i] = i;
    std::sort(byText.begin(), byText.end(), [&](std::uint32_t a, std::uint32_t b) { return names[a] < names[b]; });
    std::vector<OrderItem> items(names.size());
    std::uint32_t rank = 0;
    for (std::size_t k = 0; k < byText.size(); ++k) {
        if (k > 0 && names[byText[k - 1]] != names[byText[k]])
            ++rank;
        items[byText[k]] = OrderItem{rank, FlagsOf(names[byText[k]]), byText[k]};
    }
    return items;
}

// Over the positions of one pass: the lowest rank and whether any item has
// the pass's key word, per power-of-two block (leaves from `leaves_` on).
class SwapSearchTree {
public:
    static constexpr std::size_t kNone = static_cast<std::size_t>(-1);

    SwapSearchTree(const std::vector<OrderItem>& items, std::uint8_t keyFlag) : keyFlag_(keyFlag)
    {
        while (leaves_ < items.size())
            leaves_ *= 2;
        minRank_.assign(2 * leaves_, UINT32_MAX);
        anyKey_.assign(2 * leaves_, 0);
        for (std::size_t p = 0; p < items.size(); ++p) {
            minRank_[leaves_ + p] = items[p].rank;
            anyKey_[leaves_ + p] = (items[p].flags & keyFlag_) != 0;
        }
        for (std::size_t node = leaves_ - 1; node > 0; --node)
            Combine(node);
    }

    void Set(std::size_t position, const OrderItem& item)
    {
        std::size_t node = leaves_ + position;
        minRank_[node] = item.rank;
        anyKey_[node] = (item.flags & keyFlag_) != 0;
        for (node /= 2; node > 0; node /= 2)
            Combine(node);
    }

    /// The first position at or after `from` holding an item that the swap
    /// rule exchanges with `held`: a lower rank, or the key word where
    /// `held` lacks it. kNone when there is none.
    std::size_t FindSwap(std::size_t from, const OrderItem& held) const
    {
        if (from >= leaves_)
            return kNone;
        const bool wantsKey = (held.flags & keyFlag_) == 0;
        auto applies = [&](std::size_t node) { return minRank_[node] < held.rank || (wantsKey && anyKey_[node]); };
        std::size_t node = leaves_ + from;
        while (!applies(node)) {
            // On to the block right after this one: up past right children.
            while (node & 1)
                node /= 2;
            if (node == 0)
                return kNone;
            ++node;
        }
        while (node < leaves_) {
            node *= 2;
            if (!applies(node))
                ++node;
        }
        return node - leaves_;
    }

private:
    void Combine(std::size_t node)
    {
        minRank_[node] = std::min(minRank_[2 * node], minRank_[2 * node + 1]);
        anyKey_[node] = anyKey_[2 * node] | anyKey_[2 * node + 1];
    }

    std::uint8_t keyFlag_;
    std::size_t leaves_ = 1;
    std::vector<std::uint32_t> minRank_;
    std::vector<std::uint8_t> anyKey_;
};

// One pass: from every position whose item has none of `excludedFlags`, swap
// with each later position whose item compares below it or has the key word
// when it has not.
void ExchangePass(std::vector<OrderItem>& items, std::uint8_t keyFlag, std::uint8_t excludedFlags)
{
    SwapSearchTree tree(items, keyFlag);
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (items[i].flags & excludedFlags)
            continue;
        // Position i is never searched again in this pass, so only j's
        // new item goes into the tree.
        for (std::size_t j = tree.FindSwap(i + 1, items[i]); j != SwapSearchTree::kNone;
             j = tree.FindSwap(j + 1, items[i])) {
            std::swap(items[i], items[j]);
            tree.Set(j, items[j]);
        }
    }
}

bool HasIssueDigitOrHyphen(std::string_view segmentName)
{
    return segmentName.size() > 1 && segmentName.find_first_of("0123456789-", 1) != std::string_view::npos;
}

// Says why the working directory gave no issue, before the browser comes
// back. With `repair`, offers the catalogue editor: true when it stored a
// changed catalogue, so the same folder is scanned again.
bool ReportNoIssues(platform::HostUi& host, const JournalCatalogue& catalogue, std::string_view workPattern,
                    bool listed, const CatalogueRepair& repair)
{
    const std::string folder = FolderForDisplay(workPattern);
    if (!listed) {
        host.ShowMessage(Cp1251("Папка\n") + folder +
                             Cp1251("\nне найдена или не открывается.\n\nВыберите папку с номерами журналов."),
                         "Vestrels", platform::MessageIcon::Warning, platform::MessageButtons::Ok);
        return false;
    }
    std::string text = Cp1251("В папке\n") + folder + Cp1251("\nнет ни одной папки с номером журнала.\n\n") +
                       Cp1251("Номером считается папка, в имени которой есть одно из слов: ") +
                       PrefixesForDisplay(catalogue) + ".";
    if (!repair) {
        host.ShowMessage(text, "Vestrels", platform::MessageIcon::Warning, platform::MessageButtons::Ok);
        return false;
    }
    text += Cp1251("\n\nОткрыть «Настройка», чтобы поправить список журналов?\n"
                   "«Нет» — выбрать другую папку.");
    if (host.ShowMessage(text, "Vestrels", platform::MessageIcon::Question, platform::MessageButtons::YesNo) !=
        platform::MessageAnswer::Yes)
        return false;
    return repair();
}

}  // namespace

void SortIssueFolders(std::vector<std::string>& folderNames)
{
    std::vector<OrderItem> items = OrderItemsOf(folderNames);
    ExchangePass(items, kHasReleaseGold, 0);
    ExchangePass(items, kHasRelease, kHasGold);
    ExchangePass(items, kHasIzone, kHasGold | kHasRelease);
    ExchangePass(items, kHasProtoplex, kHasGold | kHasRelease | kHasIzone);
    std::vector<std::string> ordered;
    ordered.reserve(items.size());
    for (const OrderItem& item : items)
        ordered.push_back(std::move(folderNames[item.name]));
    folderNames = std::move(ordered);
}

std::string NormalizeWorkPattern(std::string_view chosenFolder)
{
    const std::size_t lastSeparator = chosenFolder.rfind('\\');
    const std::size_t nameStart = lastSeparator == std::string_view::npos ? 0 : lastSeparator + 1;
    // Only a folder name with a separator before it has a parent to stand for.
    if (lastSeparator != std::string_view::npos && HasIssueDigitOrHyphen(chosenFolder.substr(nameStart)))
        return std::string(chosenFolder.substr(0, lastSeparator)) + "\\*";
    return std::string(chosenFolder) + "\\*";
}

bool WorkingDirectoryRequests::Take(bool startAfresh)
{
    const int previous = startAfresh ? 0 : count_;
    count_ = previous + 1;
    return previous < 5;
}

std::string WorkPatternForChoice(JournalCatalogue& catalogue, std::string_view chosenFolder)
{
    // A collection may sit in a folder named like an issue ("1A2B-3C4D" of a
    // memory card): what it holds decides before its name does.
    const std::string asWorkingDirectory = std::string(chosenFolder) + "\\*";
    const std::optional<std::vector<std::string>> issues = ScanIssueFolders(catalogue, asWorkingDirectory);
    if (issues && !issues->empty())
        return asWorkingDirectory;
    return NormalizeWorkPattern(chosenFolder);
}

std::string FolderForDisplay(std::string_view workPattern)
{
    std::string folder(platform::paths::FolderOfPattern(workPattern));
    std::replace(folder.begin(), folder.end(), '\\', '/');
    return folder.empty() ? std::string("/") : folder;
}

std::string PrefixesForDisplay(const JournalCatalogue& catalogue)
{
    std::vector<std::string> seen;
    std::string text;
    for (const JournalKind& kind : catalogue.entries) {
        std::string prefix = platform::text::Lower1251(kind.prefix);
        if (prefix.empty() || std::find(seen.begin(), seen.end(), prefix) != seen.end())
            continue;
        text += (text.empty() ? "" : ", ") + prefix;
        seen.push_back(std::move(prefix));
    }
    return text;
}

DiscoveryResult ChooseWorkingDirectory(platform::HostUi& host, JournalCatalogue& catalogue,
                                       const platform::registry::Key& settingsKey,
                                       WorkingDirectoryRequests& requests, bool resetCounter,
                                       std::string& workPattern)
{
    if (!requests.Take(resetCounter)) {
        host.ShowMessage(Cp1251("Папка с номерами журналов так и не выбрана.\nПрограмма завершает работу."),
                         "Vestrels", platform::MessageIcon::Error, platform::MessageButtons::Ok);
        return DiscoveryResult::RequestLimitReached;
    }

    const std::string startFolder(platform::paths::FolderOfPattern(workPattern));
    if (std::optional<std::string> chosen =
            host.BrowseForFolderAt(Cp1251("Выберите папку с номерами журналов"), startFolder))
        workPattern = WorkPatternForChoice(catalogue, *chosen);

    // Written after a cancel too: the value then simply stays what it was.
    if (!settings::StoreWorkPattern(settingsKey, workPattern))
        host.ShowMessage(Cp1251("Ошибка записи в реестр!"), Cp1251("Ошибка"), platform::MessageIcon::Error,
                         platform::MessageButtons::Ok);
    return DiscoveryResult::Done;
}

std::optional<std::vector<std::string>> ScanIssueFolders(JournalCatalogue& catalogue, std::string_view workPattern)
{
    const auto entries = platform::files::ListDirectory(workPattern);
    if (!entries)
        return std::nullopt;
    std::vector<std::string> folders;
    for (const platform::files::DirEntry& entry : *entries) {
        if (IsIssueFolder(catalogue, entry))
            folders.push_back(platform::text::Lower1251(entry.name));
    }
    return folders;
}

void BuildLibraryFrom(const JournalCatalogue& catalogue, Library& library, std::vector<std::string> folders)
{
    SortIssueFolders(folders);
    library.folderNames = std::move(folders);
    library.issues.assign(library.folderNames.size(), IssueRecord{});
    for (std::size_t i = 0; i < library.folderNames.size(); ++i)
        library.issues[i].caption = IssueCaption(catalogue, library.folderNames[i]);
}

DiscoveryResult DiscoverIssues(platform::HostUi& host, JournalCatalogue& catalogue, Library& library,
                               std::string_view currentDirectory, WorkingDirectoryRequests& requests,
                               const CatalogueRepair& repair,
                               std::string_view workingDirectory)
{
    library.workPattern = std::string(currentDirectory) + "\\*";

    const std::optional<platform::registry::Key> openedKey = platform::registry::CreateKey(kSettingsKey);
    // Without an open key nobody is asked yet; later requests still try to
    // store their answer under the key's name.
    const platform::registry::Key settingsKey = openedKey.value_or(platform::registry::Key(kSettingsKey));
    if (!workingDirectory.empty()) {
        library.workPattern = WorkPatternForChoice(catalogue, workingDirectory);
    } else if (openedKey) {
        if (std::string stored = settings::LoadWorkPattern(*openedKey); !stored.empty())
            library.workPattern = std::move(stored);
        else if (ChooseWorkingDirectory(host, catalogue, settingsKey, requests, false, library.workPattern) ==
                 DiscoveryResult::RequestLimitReached)
            return DiscoveryResult::RequestLimitReached;
    }

    std::vector<std::string> folders;
    for (;;) {
        PrepareCompiledHelpIssues(host, library.workPattern);
        std::optional<std::vector<std::string>> scanned = ScanIssueFolders(catalogue, library.workPattern);
        if (scanned && !scanned->empty()) {
            folders = std::move(*scanned);
            break;
        }
        if (ReportNoIssues(host, catalogue, library.workPattern, scanned.has_value(), repair))
            continue;
        if (ChooseWorkingDirectory(host, catalogue, settingsKey, requests, false, library.workPattern) ==
            DiscoveryResult::RequestLimitReached)
            return DiscoveryResult::RequestLimitReached;
    }

    BuildLibraryFrom(catalogue, library, std::move(folders));
    ParseContents(host, catalogue, library);
    return DiscoveryResult::Done;
}
