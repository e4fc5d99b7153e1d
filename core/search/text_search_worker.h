// SPDX-License-Identifier: GPL-3.0-or-later
// The text search on its own thread. The worker never touches a window: it
// posts its progress, and it hands each result row to the user-interface
// thread and waits until that thread has added it.
//
//   worker thread                         user-interface thread
//   -------------                         ---------------------
//   take searchLock, read cancelState     writes cancelState (any time)
//   release, pause, post progress i  ...> progress dialog
//   read issue i's files, mark entries    paints marks, reads rows
//   take searchLock, store resultIssues
//   ask for the row, wait  ............>  ServeRow: adds the row
//   release searchLock
//   post progress -1, end  ............>  dialog closes
//
// A cancel ("Прервать") lets the worker finish the issue it reads. When the
// results are thrown away instead (a tab change, a rebuild, closing the
// program, a new search after a cancel), AbandonAndWait stops the worker
// where it is, between two pieces of a file, drops the row it may wait for,
// and joins it: the worker never waits for the user-interface thread then,
// so the join takes no longer than one piece of a file.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <semaphore>
#include <thread>
#include <vector>

#include "core/library/library.h"
#include "core/search/search_engine.h"

/// The frame's semaphore with initial and maximum count 1; the worker takes
/// it around its cancel check and around publishing each issue's result.
using SearchLock = std::binary_semaphore;

/// The value a cancel writes to `cancelState`; any negative value stops.
constexpr std::int32_t kCancelRequested = -10;

/// How the worker reaches the user-interface thread. Both calls come from
/// the worker thread and must return at once.
class SearchMessages {
public:
    virtual ~SearchMessages() = default;
    /// UM_SEARCH_PROGRESS: the issue about to be read, or -1 at the end.
    virtual void PostProgress(int issue) = 0;
    /// Has the user-interface thread call `serve` soon. `serve` may be called
    /// at any later time, also after the search ended; it then does nothing.
    virtual void PostRowRequest(std::function<void()> serve) = 0;
};

class TextSearchWorker {
public:
    /// Adds the row of issue `issue`; runs on the user-interface thread.
    using AddRow = std::function<void(int issue)>;

    /// What one search reads and writes; everything must outlive the worker.
    struct Job {
        Library* library = nullptr;
        std::vector<std::int32_t>* resultIssues = nullptr;  ///< sized to the issue count
        std::int32_t* cancelState = nullptr;                ///< set to 0 by Start
        SearchLock* searchLock = nullptr;
        SearchMessages* messages = nullptr;
        AddRow addRow;
        std::chrono::milliseconds pause{50};  ///< before each issue
    };

    TextSearchWorker() = default;
    /// Abandons and waits.
    ~TextSearchWorker();
    TextSearchWorker(const TextSearchWorker&) = delete;
    TextSearchWorker& operator=(const TextSearchWorker&) = delete;

    /// Starts the search on a new thread; false (and nothing started) while
    /// one still runs.
    bool Start(Job job, SearchQuery query);

    /// A worker has been started and has not ended yet.
    bool Running() const;

    /// Stops the worker at once, without adding another row, and waits
    /// until it has ended. Does nothing when no worker runs.
    void AbandonAndWait();

private:
    struct Channel;
    class Sink;

    std::shared_ptr<Channel> channel_;
    std::thread thread_;

    void Join();
};
