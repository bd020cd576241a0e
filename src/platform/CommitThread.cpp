#include "platform/CommitThread.h"

#include <optional>
#include <utility>

#include "platform/WorkerFailure.h"

namespace gw::platform {

CommitThread::CommitThread() : worker_([this](std::stop_token stop) { work(stop); }) {}

void CommitThread::commitLater(std::size_t id, std::unique_ptr<FileWriter> file) {
    const std::lock_guard lock(mutex_);
    queue_.push_back({id, std::move(file)});
    changed_.notify_all();
}

std::vector<CommitThread::Committed> CommitThread::takeCommitted(std::chrono::milliseconds wait) {
    std::unique_lock lock(mutex_);
    if (committed_.empty() && wait.count() > 0)
        changed_.wait_for(lock, wait, [this] { return !committed_.empty(); });
    return std::exchange(committed_, {});
}

void CommitThread::work(std::stop_token stop) {
    std::unique_lock lock(mutex_);
    while (changed_.wait(lock, stop, [this] { return !queue_.empty(); })) {
        Handed handed = std::move(queue_.front());
        queue_.pop_front();
        lock.unlock();
        Committed committed{handed.id, false, {}};
        const std::optional<std::string> failure = FailureOf([&] {
            committed.ok = handed.file->commit();
            if (!committed.ok)
                committed.error = handed.file->error();
        });
        if (failure)
            committed.error = "the file could not be put in place: " + *failure;
        // Not committed, the file goes with its writer.
        handed.file.reset();
        lock.lock();
        committed_.push_back(std::move(committed));
        changed_.notify_all();
    }
}

}  // namespace gw::platform
