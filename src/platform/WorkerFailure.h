#pragma once

#include <exception>
#include <optional>
#include <string>

namespace gw::platform {

// Runs one piece of a worker thread's work. An exception escaping a thread's function ends the
// program (std::terminate), so the worker catches whatever its work throws and makes it that
// work's failure: nothing when the work ran through, else the reason, never empty.
template <typename Work>
std::optional<std::string> FailureOf(Work&& work) {
    try {
        work();
        return std::nullopt;
    } catch (const std::exception& caught) {
        const std::string what = caught.what();
        return what.empty() ? std::string("an unnamed error") : what;
    } catch (...) {
        return std::string("an unknown error");
    }
}

}  // namespace gw::platform
