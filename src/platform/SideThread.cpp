#include "platform/SideThread.h"

#include <stdexcept>

#include "platform/WorkerFailure.h"

namespace gw::platform {

SideThread::SideThread() : worker_([this](std::stop_token stop) { work(stop); }) {}

void SideThread::Run(const std::function<void()>& beside, const std::function<void()>& here) {
    {
        std::lock_guard lock(mutex_);
        task_ = &beside;
        failure_.reset();
    }
    changed_.notify_all();
    try {
        here();
    } catch (...) {
        awaitBeside();
        throw;
    }
    awaitBeside();
    if (failure_)
        throw std::runtime_error(*failure_);
}

void SideThread::awaitBeside() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return task_ == nullptr; });
}

void SideThread::work(std::stop_token stop) {
    std::unique_lock lock(mutex_);
    while (changed_.wait(lock, stop, [this] { return task_ != nullptr; })) {
        const std::function<void()>& task = *task_;
        lock.unlock();
        std::optional<std::string> failure = FailureOf(task);
        lock.lock();
        failure_ = std::move(failure);
        task_ = nullptr;
        changed_.notify_all();
    }
}

}  // namespace gw::platform
