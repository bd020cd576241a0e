#pragma once

#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <stop_token>
#include <string>
#include <thread>

namespace gw::platform {

// A second thread for work that splits in two halves: Run() hands `beside` to the thread, runs
// `here` on the caller's and returns once both have ended, so that the pair takes about as long
// as the longer half. The thread starts once and waits between runs: a run of a millisecond
// costs no thread start. What `beside` throws is thrown again by Run(), as a runtime_error with
// its reason, once `here` has ended; whatever `here` throws waits for `beside` to end first,
// since `beside` may use what the caller holds.
class SideThread {
  public:
    SideThread();
    SideThread(const SideThread&) = delete;
    SideThread& operator=(const SideThread&) = delete;

    void Run(const std::function<void()>& beside, const std::function<void()>& here);

  private:
    void work(std::stop_token stop);
    void awaitBeside();

    std::mutex mutex_;
    std::condition_variable_any changed_;
    const std::function<void()>* task_ = nullptr;  // handed over, not yet ended
    std::optional<std::string> failure_;           // of the last task
    std::jthread worker_;  // last: it stops and joins before the members it uses go
};

}  // namespace gw::platform
