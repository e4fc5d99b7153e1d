// SPDX-License-Identifier: GPL-3.0-or-later
// The text search worker: the thread, its lock and cancel discipline, and the
// synchronous row request.
#include "core/search/text_search_worker.h"

#include <atomic>

/// Shared by the worker and whoever serves its row request; a posted request
/// holds it only weakly, so one served after the search ended finds nothing.
struct TextSearchWorker::Channel {
    Job job;
    std::mutex mutex;
    std::condition_variable changed;
    std::optional<int> pendingRow;  ///< a row the worker waits for
    bool finished = false;          ///< the worker posted its final message
    /// The results are thrown away; written under `mutex`, read anywhere.
    std::atomic<bool> abandoned = false;

    /// Adds the pending row, if any, on the calling (user-interface) thread.
    void ServeRow()
    {
        std::unique_lock lock(mutex);
        if (!pendingRow || abandoned)
            return;
        const int issue = *pendingRow;
        // The row is added on this thread, which is also the only one that
        // abandons: nothing can drop the request meanwhile.
        lock.unlock();
        job.addRow(issue);
        lock.lock();
        pendingRow.reset();
        changed.notify_all();
    }

    void Abandon()
    {
        std::lock_guard lock(mutex);
        abandoned = true;
        pendingRow.reset();
        changed.notify_all();
    }
};

class TextSearchWorker::Sink : public TextSearchSink {
public:
    explicit Sink(const std::shared_ptr<Channel>& channel) : channel_(channel), job_(channel->job) {}

    void PauseBeforeIssue() override
    {
        std::unique_lock lock(channel_->mutex);
        channel_->changed.wait_for(lock, job_.pause, [this] { return Abandoned(); });
    }

    void Progress(int issue) override { job_.messages->PostProgress(issue); }

    bool CancelRequested() override
    {
        job_.searchLock->acquire();
        const bool cancel = CancelState() < 0;
        job_.searchLock->release();
        return cancel;
    }

    bool Abandoned() override { return channel_->abandoned.load(std::memory_order_relaxed); }

    void AddResult(int row, int issue) override
    {
        job_.searchLock->acquire();
        // Stored before the row exists, so every row the user can choose
        // already has its entry.
        (*job_.resultIssues)[static_cast<std::size_t>(row)] = issue;
        {
            std::lock_guard lock(channel_->mutex);
            if (!channel_->abandoned)
                channel_->pendingRow = issue;
        }
        std::weak_ptr<Channel> weak = channel_;
        job_.messages->PostRowRequest([weak] {
            if (const std::shared_ptr<Channel> channel = weak.lock())
                channel->ServeRow();
        });
        {
            std::unique_lock lock(channel_->mutex);
            channel_->changed.wait(lock, [this] { return !channel_->pendingRow; });
        }
        job_.searchLock->release();
    }

private:
    std::int32_t CancelState() const
    {
        return std::atomic_ref<std::int32_t>(*job_.cancelState).load(std::memory_order_relaxed);
    }

    std::shared_ptr<Channel> channel_;
    const Job& job_;
};

TextSearchWorker::~TextSearchWorker()
{
    AbandonAndWait();
}

bool TextSearchWorker::Start(Job job, SearchQuery query)
{
    if (Running())
        return false;
    Join();
    std::atomic_ref<std::int32_t>(*job.cancelState).store(0, std::memory_order_relaxed);
    channel_ = std::make_shared<Channel>();
    channel_->job = std::move(job);
    thread_ = std::thread([channel = channel_, query = std::move(query)] {
        Sink sink(channel);
        RunTextSearch(*channel->job.library, query, sink);
        std::lock_guard lock(channel->mutex);
        channel->finished = true;
        channel->changed.notify_all();
    });
    return true;
}

bool TextSearchWorker::Running() const
{
    if (!channel_)
        return false;
    std::lock_guard lock(channel_->mutex);
    return !channel_->finished;
}

void TextSearchWorker::AbandonAndWait()
{
    if (!channel_)
        return;
    channel_->Abandon();
    Join();
}

void TextSearchWorker::Join()
{
    if (thread_.joinable())
        thread_.join();
    channel_.reset();
}
