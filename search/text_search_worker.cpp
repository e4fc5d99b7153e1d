// The text search worker: the thread, its lock and cancel discipline, and the
// synchronous row request.
#include "search/text_search_worker.h"

#include <atomic>

/// Shared by the worker and whoever serves its row request; a posted request
/// holds it only weakly, so one served after the search ended finds nothing.
struct TextSearchWorker::Channel {
    Job job;
    std::mutex mutex;
    std::condition_variable changed;
    std::optional<int> pendingRow;  ///< a row the worker waits for
    bool serving = false;           ///< a thread is adding the pending row
    bool finished = false;          ///< the worker posted its final message

    /// Adds the pending row, if any, on the calling (user-interface) thread.
    void ServeRow()
    {
        std::unique_lock lock(mutex);
        if (!pendingRow || serving)
            return;
        serving = true;
        const int issue = *pendingRow;
        lock.unlock();
        job.addRow(issue);
        lock.lock();
        serving = false;
        pendingRow.reset();
        changed.notify_all();
    }
};

class TextSearchWorker::Sink : public TextSearchSink {
public:
    explicit Sink(const std::shared_ptr<Channel>& channel) : channel_(channel), job_(channel->job) {}

    void PauseBeforeIssue() override { std::this_thread::sleep_for(job_.pause); }

    void Progress(int issue) override { job_.messages->PostProgress(issue); }

    bool CancelRequested() override
    {
        job_.searchLock->acquire();
        const bool cancel = CancelState() < 0;
        job_.searchLock->release();
        return cancel;
    }

    void AddResult(int row, int issue) override
    {
        job_.searchLock->acquire();
        // Stored before the row exists, so every row the user can choose
        // already has its entry.
        (*job_.resultIssues)[static_cast<std::size_t>(row)] = issue;
        {
            // A CancelAndWait may be waiting for this request already.
            std::lock_guard lock(channel_->mutex);
            channel_->pendingRow = issue;
            channel_->changed.notify_all();
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
    CancelAndWait();
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

void TextSearchWorker::CancelAndWait()
{
    if (!channel_)
        return;
    std::atomic_ref<std::int32_t>(*channel_->job.cancelState).store(kCancelRequested, std::memory_order_relaxed);
    for (;;) {
        {
            std::unique_lock lock(channel_->mutex);
            channel_->changed.wait(lock, [this] {
                return channel_->finished || (channel_->pendingRow && !channel_->serving);
            });
            if (channel_->finished)
                break;
        }
        channel_->ServeRow();
    }
    Join();
}

void TextSearchWorker::Join()
{
    if (thread_.joinable())
        thread_.join();
    channel_.reset();
}
