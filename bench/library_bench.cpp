// SPDX-License-Identifier: GPL-3.0-or-later
// Cost of building the journal library against the cost of merely reading
// its table-of-contents pages.
//
// The collection comes from bench/make_collection.py; its folder is taken
// from VESTRELS_BENCH_DIR (default /tmp/vestrels-bench-collection). Run
// bench/run_library_bench.sh, which builds the collection, warms the page
// cache and prints the ratios.
//
//   ReadContentsFiles    read() of every contents page by host path: the floor
//   ReadContentsPlatform the same pages through the platform's file reader
//   SortIssueFolders     library ordering of the scanned names alone
//   BuildLibrary         scan, order, captions and parsing, as a start-up does
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "core/catalogue/journal_catalogue.h"
#include "core/library/contents_parser.h"
#include "core/library/discovery.h"
#include "core/library/library.h"
#include "platform/files.h"
#include "platform/host_ui.h"
#include "platform/paths.h"

namespace {

std::string CollectionDir()
{
    const char* dir = std::getenv("VESTRELS_BENCH_DIR");
    return dir && *dir ? dir : "/tmp/vestrels-bench-collection";
}

std::string WorkPattern()
{
    return platform::paths::FromHost(CollectionDir()) + "\\*";
}

// A desktop that is never expected to be asked anything; a message means
// the collection is broken and the figures would not be comparable.
class SilentHost : public platform::HostUi {
public:
    int messages = 0;
    platform::MessageAnswer ShowMessage(const std::string&, const std::string&, platform::MessageIcon,
                                        platform::MessageButtons) override
    {
        ++messages;
        return platform::MessageAnswer::Ok;
    }
    std::optional<std::string> BrowseForFolder(const std::string&) override { return std::nullopt; }
    bool SetClipboardText(const std::string&) override { return false; }
    void OpenTarget(const platform::shell::Target&) override {}
};

// The scanned issue folders, once; empty when the collection is missing.
const std::vector<std::string>& ScannedFolders()
{
    static const std::vector<std::string> folders = [] {
        JournalCatalogue catalogue = DefaultCatalogue();
        return ScanIssueFolders(catalogue, WorkPattern()).value_or(std::vector<std::string>{});
    }();
    return folders;
}

bool HaveCollection(benchmark::State& state)
{
    if (!ScannedFolders().empty())
        return true;
    state.SkipWithError(("no issue folders in " + CollectionDir() + "; run bench/make_collection.py").c_str());
    return false;
}

std::vector<std::string> ContentsHostPaths()
{
    std::vector<std::string> paths;
    for (const std::string& folder : ScannedFolders())
        paths.push_back(CollectionDir() + "/" + folder + "/frame/left.htm");
    return paths;
}

void ReadContentsFiles(benchmark::State& state)
{
    if (!HaveCollection(state))
        return;
    const std::vector<std::string> paths = ContentsHostPaths();
    std::vector<char> buffer(1 << 16);
    std::int64_t bytes = 0;
    for (auto _ : state) {
        for (const std::string& path : paths) {
            const int fd = ::open(path.c_str(), O_RDONLY);
            if (fd < 0) {
                state.SkipWithError(("cannot open " + path).c_str());
                return;
            }
            ssize_t got;
            while ((got = ::read(fd, buffer.data(), buffer.size())) > 0)
                bytes += got;
            ::close(fd);
        }
        benchmark::DoNotOptimize(bytes);
    }
    state.SetBytesProcessed(bytes);
    state.counters["issues"] = static_cast<double>(paths.size());
}
BENCHMARK(ReadContentsFiles)->Unit(benchmark::kMillisecond)->UseRealTime();

void ReadContentsPlatform(benchmark::State& state)
{
    if (!HaveCollection(state))
        return;
    std::vector<std::string> paths;
    for (const std::string& folder : ScannedFolders())
        paths.push_back(FolderPath(WorkPattern(), folder) + "\\frame\\left.htm");
    std::int64_t bytes = 0;
    for (auto _ : state) {
        for (const std::string& path : paths) {
            const std::optional<std::string> page = platform::files::ReadWholeFile(path);
            bytes += page ? static_cast<std::int64_t>(page->size()) : 0;
        }
        benchmark::DoNotOptimize(bytes);
    }
    state.SetBytesProcessed(bytes);
}
BENCHMARK(ReadContentsPlatform)->Unit(benchmark::kMillisecond)->UseRealTime();

void SortIssueFoldersBench(benchmark::State& state)
{
    if (!HaveCollection(state))
        return;
    for (auto _ : state) {
        std::vector<std::string> folders = ScannedFolders();
        SortIssueFolders(folders);
        benchmark::DoNotOptimize(folders.data());
    }
}
BENCHMARK(SortIssueFoldersBench)->Name("SortIssueFolders")->Unit(benchmark::kMillisecond)->UseRealTime();

void BuildLibrary(benchmark::State& state)
{
    if (!HaveCollection(state))
        return;
    SilentHost host;
    std::size_t entries = 0;
    for (auto _ : state) {
        JournalCatalogue catalogue = DefaultCatalogue();
        Library library;
        library.workPattern = WorkPattern();
        std::optional<std::vector<std::string>> folders = ScanIssueFolders(catalogue, library.workPattern);
        if (!folders) {
            state.SkipWithError("the collection cannot be listed");
            return;
        }
        BuildLibraryFrom(catalogue, library, std::move(*folders));
        ParseContents(host, catalogue, library);
        benchmark::DoNotOptimize(library.issues.data());

        // A start-up keeps its library; counting and freeing it is not part of the build.
        state.PauseTiming();
        entries = 0;
        for (const IssueRecord& issue : library.issues)
            for (const ArticleEntry& entry : issue.articles)
                entries += entry.title.empty() ? 0 : 1;
        library = Library();
        state.ResumeTiming();
    }
    if (host.messages > 0)
        state.SkipWithError("some contents page could not be opened");
    state.counters["issues"] = static_cast<double>(ScannedFolders().size());
    state.counters["entries"] = static_cast<double>(entries);
}
BENCHMARK(BuildLibrary)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
