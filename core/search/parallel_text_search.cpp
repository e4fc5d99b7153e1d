// SPDX-License-Identifier: GPL-3.0-or-later
// The text search on several workers: the articles are shared out one at a
// time, read on a guess of `inTag`, and their outcomes (a match, the state
// they leave, an unreadable file) taken in order by whichever worker finds
// the next one ready.
#include "core/search/parallel_text_search.h"

#include <algorithm>
#include <atomic>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

#include "core/search/first_pass.h"

namespace {

struct Task {
    int issue;
    int article;
    bool lastOfIssue;
};

/// What reading one article left, on the guess that it began outside a tag.
struct Outcome {
    std::atomic<bool> done = false;  ///< the fields below are written
    bool matched = false;
    bool dependsOnStart = false;
    bool tagSeen = false;  ///< else the article leaves `inTag` as it found it
    bool inTagAfter = false;
    std::optional<std::string> unreadable;  ///< the file, when it could not be read
};

/// A worker's view of the search's sink: it asks whether the search is
/// abandoned, and keeps an unreadable file back, to be told in order.
class ReaderSink : public TextSearchSink {
public:
    explicit ReaderSink(TextSearchSink& sink) : sink_(sink) {}
    void Progress(int) override {}
    bool Abandoned() override { return sink_.Abandoned(); }
    void AddResult(int, int) override {}
    void ArticleUnreadable(const std::string& path) override { unreadable = path; }
    std::optional<std::string> unreadable;

private:
    TextSearchSink& sink_;
};

class ParallelSearch {
public:
    ParallelSearch(Library& library, const SearchQuery& query, TextSearchSink& sink, std::size_t readPiece)
        : library_(library), query_(query), sink_(sink), pass_(query), readPiece_(readPiece)
    {
        for (int i = 0; i < library.issueCount(); ++i) {
            const int count = ListedEntryCount(library.issues[static_cast<std::size_t>(i)]);
            for (int k = 0; k < count; ++k)
                tasks_.push_back({i, k, k + 1 == count});
        }
        outcomes_ = std::make_unique<Outcome[]>(tasks_.size());
    }

    std::size_t TaskCount() const { return tasks_.size(); }

    void Run(int jobs)
    {
        std::vector<std::thread> workers;
        for (int j = 1; j < jobs; ++j) {
            try {
                workers.emplace_back([this] { Work(); });
            } catch (const std::system_error&) {
                break;  // fewer workers read as well, only slower
            }
        }
        Work();
        for (std::thread& worker : workers)
            worker.join();
        {
            std::lock_guard lock(mergeMutex_);
            Merge();
        }
        sink_.Progress(-1);
    }

private:
    /// One worker's own filter, piece of memory and view of the sink.
    struct Reader {
        explicit Reader(ParallelSearch& search) : buffer(search.readPiece_), sink(search.sink_) {}
        TagFilter filter;
        std::vector<char> buffer;
        ReaderSink sink;
    };

    Library& library_;
    const SearchQuery& query_;
    TextSearchSink& sink_;
    const FirstPass pass_;
    const std::size_t readPiece_;
    std::vector<Task> tasks_;
    std::unique_ptr<Outcome[]> outcomes_;
    std::atomic<std::size_t> nextTask_ = 0;
    std::atomic<bool> stopped_ = false;

    // The taking of outcomes in order, under mergeMutex_.
    std::mutex mergeMutex_;
    std::size_t merged_ = 0;
    bool inTag_ = false;
    bool anyMatch_ = false;
    int rows_ = 0;
    std::unique_ptr<Reader> rereader_;

    bool Read(Reader& reader, const Task& task)
    {
        reader.sink.unreadable.reset();
        return SearchArticle(library_, task.issue, task.article, query_, pass_, reader.filter, reader.buffer,
                             reader.sink);
    }

    void Work()
    {
        Reader reader(*this);
        for (std::size_t t; !stopped_.load(std::memory_order_relaxed) && !sink_.Abandoned() &&
                            (t = nextTask_++) < tasks_.size();) {
            reader.filter.inTag = false;
            reader.filter.tagSeen = false;
            reader.filter.dependsOnStart = false;
            Outcome& outcome = outcomes_[t];
            outcome.matched = Read(reader, tasks_[t]);
            outcome.dependsOnStart = reader.filter.dependsOnStart;
            outcome.tagSeen = reader.filter.tagSeen;
            outcome.inTagAfter = reader.filter.inTag;
            outcome.unreadable = std::move(reader.sink.unreadable);
            outcome.done.store(true, std::memory_order_release);
            // Whoever finds the merge busy leaves it to the one inside.
            if (std::unique_lock lock(mergeMutex_, std::try_to_lock); lock)
                Merge();
        }
    }

    /// Takes the outcomes that are ready, in order, with the true `inTag`.
    void Merge()
    {
        for (; merged_ < tasks_.size() && !stopped_ && outcomes_[merged_].done.load(std::memory_order_acquire);
             ++merged_) {
            const Task& task = tasks_[merged_];
            if (sink_.Abandoned() || (task.article == 0 && sink_.CancelRequested())) {
                stopped_ = true;
                return;
            }
            if (task.article == 0)
                sink_.Progress(task.issue);
            TakeOutcome(task, outcomes_[merged_]);
        }
    }

    void TakeOutcome(const Task& task, const Outcome& outcome)
    {
        bool matched = outcome.matched;
        const std::optional<std::string>* unreadable = &outcome.unreadable;
        if (outcome.dependsOnStart && inTag_) {
            if (!rereader_)
                rereader_ = std::make_unique<Reader>(*this);
            rereader_->filter.inTag = inTag_;
            matched = Read(*rereader_, task);
            inTag_ = rereader_->filter.inTag;
            unreadable = &rereader_->sink.unreadable;
        } else if (outcome.tagSeen) {
            inTag_ = outcome.inTagAfter;
        }
        if (*unreadable)
            sink_.ArticleUnreadable(**unreadable);
        anyMatch_ = anyMatch_ || matched;
        if (!task.lastOfIssue)
            return;
        // A guess read again may have taken back the issue's only match.
        IssueRecord& issue = library_.issues[static_cast<std::size_t>(task.issue)];
        std::atomic_ref<std::uint8_t>(issue.matched).store(anyMatch_ ? 1 : 0, std::memory_order_relaxed);
        if (anyMatch_ && !sink_.Abandoned())
            sink_.AddResult(rows_++, task.issue);
        anyMatch_ = false;
    }
};

}  // namespace

int DefaultSearchJobs()
{
    return static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
}

void RunTextSearchInParallel(Library& library, const SearchQuery& query, TextSearchSink& sink, int jobs,
                             std::size_t readPiece)
{
    if (jobs <= 0)
        jobs = DefaultSearchJobs();
    ParallelSearch search(library, query, sink, readPiece);
    // More workers than articles would wait for nothing; more than a few
    // hundred only cost memory.
    constexpr std::size_t kMostJobs = 256;
    jobs = static_cast<int>(std::min({static_cast<std::size_t>(jobs), search.TaskCount(), kMostJobs}));
    if (jobs <= 1) {
        RunTextSearch(library, query, sink, readPiece);
        return;
    }
    search.Run(jobs);
}
