// Issue discovery: which folders of the working directory are journal issues,
// in which order they stand, and what each is called.
#include "library/discovery.h"

#include <algorithm>
#include <array>

#include "app/settings_store.h"
#include "library/contents_parser.h"
#include "library/cp1251.h"
#include "platform/files.h"
#include "platform/text1251.h"

namespace {

bool Contains(std::string_view text, std::string_view part)
{
    return text.find(part) != std::string_view::npos;
}

// One of the ordering passes: names containing `keyWord` move ahead, the rest
// stay in text order, starting only from positions that pass `eligible`.
template <typename Eligible>
void ExchangePass(std::vector<std::string>& names, std::string_view keyWord, Eligible eligible)
{
    const std::size_t count = names.size();
    for (std::size_t i = 0; i < count; ++i) {
        if (!eligible(names[i]))
            continue;
        for (std::size_t j = i + 1; j < count; ++j) {
            if (names[i] > names[j] || (!Contains(names[i], keyWord) && Contains(names[j], keyWord)))
                std::swap(names[i], names[j]);
        }
    }
}

bool HasIssueDigitOrHyphen(std::string_view segmentName)
{
    return segmentName.size() > 1 && segmentName.find_first_of("0123456789-", 1) != std::string_view::npos;
}

// "Journals" through an open key: the pattern as stored, up to its first zero
// byte, with "/" read as "\"; empty when missing or too long.
std::string ReadWorkPatternFrom(const platform::registry::Key& key)
{
    constexpr std::size_t kCapacity = 4096;
    std::string data;
    if (platform::registry::QueryValue(key, "Journals", kCapacity, data) != platform::registry::QueryResult::Ok)
        return {};
    if (const std::size_t zero = data.find('\0'); zero != std::string::npos)
        data.resize(zero);
    std::replace(data.begin(), data.end(), '/', '\\');
    return data;
}

int requestCount = 0;

}  // namespace

bool IsJournalFolder(JournalCatalogue& catalogue, std::string_view lowerName)
{
    // Every prefix is lowered, not only those before the first match, so the
    // catalogue's state does not depend on the order folders were looked at.
    for (JournalKind& kind : catalogue.entries)
        kind.prefix = platform::text::Lower1251(kind.prefix);
    return std::any_of(catalogue.entries.begin(), catalogue.entries.end(),
                       [&](const JournalKind& kind) { return Contains(lowerName, kind.prefix); });
}

std::string IssueCaption(const JournalCatalogue& catalogue, std::string_view name)
{
    for (const JournalKind& kind : catalogue.entries) {
        const std::size_t at = name.find(kind.prefix);
        if (at != std::string_view::npos)
            return kind.displayName + std::string(name.substr(at + kind.prefix.size()));
    }
    return {};
}

std::string ContentsPathFor(const JournalCatalogue& catalogue, std::string_view name)
{
    // The early "release" issues keep their contents where entry 0 says.
    const bool earlyRelease = name < std::string_view("release24") && name >= std::string_view("release-gold");
    std::string result;
    for (const JournalKind& kind : catalogue.entries) {
        if (!Contains(name, kind.prefix))
            continue;
        if (earlyRelease)
            return catalogue.entries.front().contentsPath;
        result = kind.contentsPath;
    }
    return result;
}

void SortIssueFolders(std::vector<std::string>& folderNames)
{
    ExchangePass(folderNames, "release-gold", [](const std::string&) { return true; });
    ExchangePass(folderNames, "release", [](const std::string& n) { return !Contains(n, "gold"); });
    ExchangePass(folderNames, "izone",
                 [](const std::string& n) { return !Contains(n, "gold") && !Contains(n, "release"); });
    ExchangePass(folderNames, "protoplex", [](const std::string& n) {
        return !Contains(n, "gold") && !Contains(n, "release") && !Contains(n, "izone");
    });
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

void ResetWorkingDirectoryRequestsForTesting()
{
    requestCount = 0;
}

DiscoveryResult ChooseWorkingDirectory(platform::HostUi& host, const platform::registry::Key& settingsKey,
                                       bool resetCounter, std::string& workPattern)
{
    const int previousRequests = resetCounter ? 0 : requestCount;
    requestCount = previousRequests + 1;
    if (previousRequests >= 5)
        return DiscoveryResult::RequestLimitReached;

    if (std::optional<std::string> chosen = host.BrowseForFolder(Cp1251("Выберите папку с номерами журналов")))
        workPattern = NormalizeWorkPattern(*chosen);

    // Written after a cancel too: the value then simply stays what it was.
    if (!platform::registry::SetValue(settingsKey, "Journals", platform::registry::ValueType::Sz, workPattern))
        host.ShowMessage(Cp1251("Ошибка записи в реестр!"), Cp1251("Ошибка"), platform::MessageIcon::Error,
                         platform::MessageButtons::Ok);
    return DiscoveryResult::Done;
}

std::string ReadStoredWorkPattern()
{
    const std::optional<platform::registry::Key> key = platform::registry::OpenKey(kSettingsKey);
    return key ? ReadWorkPatternFrom(*key) : std::string();
}

std::optional<std::vector<std::string>> ScanIssueFolders(JournalCatalogue& catalogue, std::string_view workPattern)
{
    const auto entries = platform::files::ListDirectory(workPattern);
    if (!entries)
        return std::nullopt;
    std::vector<std::string> folders;
    for (const platform::files::DirEntry& entry : *entries) {
        std::string name = platform::text::Lower1251(entry.name);
        if (entry.isFolder && !Contains(name, ".") && IsJournalFolder(catalogue, name))
            folders.push_back(std::move(name));
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
                               std::string_view currentDirectory)
{
    library.workPattern = std::string(currentDirectory) + "\\*";

    const std::optional<platform::registry::Key> openedKey = platform::registry::CreateKey(kSettingsKey);
    // Without an open key nobody is asked yet; later requests still try to
    // store their answer under the key's name.
    const platform::registry::Key settingsKey = openedKey.value_or(platform::registry::Key(kSettingsKey));
    if (openedKey) {
        if (std::string stored = ReadWorkPatternFrom(*openedKey); !stored.empty())
            library.workPattern = std::move(stored);
        else if (ChooseWorkingDirectory(host, settingsKey, false, library.workPattern) ==
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
        if (ChooseWorkingDirectory(host, settingsKey, false, library.workPattern) ==
            DiscoveryResult::RequestLimitReached)
            return DiscoveryResult::RequestLimitReached;
    }

    BuildLibraryFrom(catalogue, library, std::move(folders));
    ParseContents(host, catalogue, library);
    return DiscoveryResult::Done;
}
