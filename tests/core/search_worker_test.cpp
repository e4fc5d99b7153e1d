// SPDX-License-Identifier: GPL-3.0-or-later
// The text search worker on its thread, with the test's thread as the user
// interface: cancelling between issues, an empty library, and what a tab
// change, a rebuild and closing the program do while a search runs. These
// also run under ThreadSanitizer.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "platform/paths.h"
#include "core/search/text_search_worker.h"
#include "support/temp_dir.h"

namespace {

using namespace std::chrono_literals;

/// The user interface's message queue: progress values and row requests in
/// the order the worker posted them.
class Queue : public SearchMessages {
public:
    using Message = std::variant<int, std::function<void()>>;

    void PostProgress(int issue) override { Push(issue); }
    void PostRowRequest(std::function<void()> serve) override { Push(std::move(serve)); }

    /// The next message, waiting up to two seconds for one.
    std::optional<Message> Next()
    {
        std::unique_lock lock(mutex_);
        if (!arrived_.wait_for(lock, 2s, [this] { return !messages_.empty(); }))
            return std::nullopt;
        Message message = std::move(messages_.front());
        messages_.pop_front();
        return message;
    }

    /// Whatever is still queued, served or dropped.
    void RunLeftovers(std::vector<int>& progress)
    {
        std::unique_lock lock(mutex_);
        std::deque<Message> left;
        left.swap(messages_);
        lock.unlock();
        for (Message& message : left) {
            if (auto* serve = std::get_if<std::function<void()>>(&message))
                (*serve)();
            else
                progress.push_back(std::get<int>(message));
        }
    }

private:
    void Push(Message message)
    {
        std::lock_guard lock(mutex_);
        messages_.push_back(std::move(message));
        arrived_.notify_one();
    }

    std::mutex mutex_;
    std::condition_variable arrived_;
    std::deque<Message> messages_;
};

class SearchWorkerTest : public ::testing::Test {
protected:
    /// `count` issues, each with one article that holds the word.
    void MakeLibrary(int count)
    {
        library.workPattern = platform::paths::FromHost(dir.path()) + "\\*";
        for (int i = 0; i < count; ++i) {
            const std::string folder = "izone" + std::to_string(i);
            library.folderNames.push_back(folder);
            IssueRecord& issue = library.issues.emplace_back();
            issue.caption = "Issue " + std::to_string(i);
            issue.articles[0] = {"     article", "../a.htm", {}, 0};
            dir.Write(folder + "/a.htm", "<p>word</p>\n");
        }
        resultIssues.assign(library.issues.size(), -1);
    }

    TextSearchWorker::Job Job()
    {
        TextSearchWorker::Job job;
        job.library = &library;
        job.resultIssues = &resultIssues;
        job.cancelState = &cancelState;
        job.searchLock = &searchLock;
        job.messages = &queue;
        job.addRow = [this](int issue) { rows.push_back(issue); };
        job.pause = 1ms;
        return job;
    }

    void Start() { ASSERT_TRUE(worker.Start(Job(), SearchQuery("word", false, false))); }

    /// Handles messages as the window does until `stop` says so after one
    /// of them, or until the final message.
    void Serve(const std::function<bool(int progressOrRow)>& stop = nullptr)
    {
        while (std::optional<Queue::Message> message = queue.Next()) {
            if (auto* serve = std::get_if<std::function<void()>>(&*message)) {
                (*serve)();
                if (stop && stop(-100))
                    return;
                continue;
            }
            const int issue = std::get<int>(*message);
            progress.push_back(issue);
            if (issue < 0 || (stop && stop(issue)))
                return;
        }
        ADD_FAILURE() << "the worker went silent";
    }

    TempDir dir;
    Library library;
    std::vector<std::int32_t> resultIssues;
    std::int32_t cancelState = 0;
    SearchLock searchLock{1};
    Queue queue;
    std::vector<int> progress;
    std::vector<int> rows;
    TextSearchWorker worker;
};

TEST_F(SearchWorkerTest, CancelDuringTheFifthIssueFinishesIt)
{
    MakeLibrary(10);
    Start();
    // The cancel comes with the fifth issue's progress; its row request is
    // queued behind that, so the worker is still reading the fifth issue.
    Serve([this](int issue) {
        if (issue == 4)
            std::atomic_ref<std::int32_t>(cancelState).store(kCancelRequested);
        return false;
    });
    EXPECT_EQ(progress, (std::vector<int>{0, 1, 2, 3, 4, -1}));
    EXPECT_EQ(rows, (std::vector<int>{0, 1, 2, 3, 4}));
    EXPECT_EQ(resultIssues, (std::vector<std::int32_t>{0, 1, 2, 3, 4, -1, -1, -1, -1, -1}));
    EXPECT_EQ(library.issues[5].articles[0].mark, kMarkPlain);
    EXPECT_EQ(library.issues[4].articles[0].mark, kMarkFound);
    worker.AbandonAndWait();
    EXPECT_FALSE(worker.Running());
}

TEST_F(SearchWorkerTest, EmptyLibraryPostsOnlyTheFinalMessage)
{
    MakeLibrary(0);
    Start();
    Serve();
    EXPECT_EQ(progress, std::vector<int>{-1});
    EXPECT_TRUE(rows.empty());
    // A second search starts once the first has ended.
    worker.AbandonAndWait();
    Start();
    Serve();
    EXPECT_EQ(progress, (std::vector<int>{-1, -1}));
}

TEST_F(SearchWorkerTest, SecondStartWhileRunningStartsNothing)
{
    MakeLibrary(3);
    Start();
    EXPECT_FALSE(worker.Start(Job(), SearchQuery("word", false, false)));
    Serve();
    EXPECT_EQ(rows, (std::vector<int>{0, 1, 2}));
}

// What the search page does before its window and result table go: the
// worker is waiting for a row nobody in the message loop will serve.
TEST_F(SearchWorkerTest, TabChangeWaitsForTheWorkerThenFreesTheTable)
{
    MakeLibrary(10);
    Start();
    Serve([](int issue) { return issue == 2; });
    worker.AbandonAndWait();
    EXPECT_FALSE(worker.Running());
    // The third issue was being read: its row is dropped with the table.
    EXPECT_EQ(rows, (std::vector<int>{0, 1}));
    resultIssues.clear();
    resultIssues.shrink_to_fit();
    // Requests still in the queue find the search gone and add nothing.
    queue.RunLeftovers(progress);
    EXPECT_EQ(rows, (std::vector<int>{0, 1}));
    EXPECT_EQ(progress.back(), -1);
}

TEST_F(SearchWorkerTest, RebuildWaitsForTheWorkerThenReplacesTheLibrary)
{
    MakeLibrary(10);
    Start();
    Serve([](int issue) { return issue == 1; });
    worker.AbandonAndWait();
    library = Library();
    queue.RunLeftovers(progress);
    MakeLibrary(2);
    rows.clear();
    progress.clear();
    Start();
    Serve();
    EXPECT_EQ(rows, (std::vector<int>{0, 1}));
    EXPECT_EQ(progress, (std::vector<int>{0, 1, -1}));
}

TEST_F(SearchWorkerTest, CloseDuringASearchJoinsTheWorkerBeforeAnythingGoes)
{
    MakeLibrary(10);
    {
        TextSearchWorker closing;
        ASSERT_TRUE(closing.Start(Job(), SearchQuery("word", false, false)));
        Serve([](int issue) { return issue == 3; });
        // The worker object goes first, as with the page; it must not leave
        // its thread behind.
    }
    library = Library();
    resultIssues = {};
    queue.RunLeftovers(progress);
    EXPECT_EQ(progress.back(), -1);
    EXPECT_EQ(rows, (std::vector<int>{0, 1, 2}));
}

}  // namespace
