#include "platform/Dialup.h"

#include <signal.h>
#include <sys/types.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <string_view>
#include <thread>

namespace gw::platform {
namespace fs = std::filesystem;

namespace {

constexpr unsigned long kIffUp = 0x1;

std::string firstLine(const fs::path& file) {
    std::ifstream in(file);
    std::string line;
    std::getline(in, line);
    return line;
}

bool interfaceUp(const fs::path& interfaceDir) {
    const std::string flags = firstLine(interfaceDir / "flags");
    if (flags.empty())
        return false;
    try {
        return (std::stoul(flags, nullptr, 0) & kIffUp) != 0;
    } catch (const std::exception&) {
        return false;
    }
}

template <class Visit>
void forEachPppUp(const std::string& root, Visit visit) {
    std::error_code ec;
    const fs::path net = fs::path(root) / "sys/class/net";
    for (fs::directory_iterator it(net, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (name.rfind("ppp", 0) == 0 && interfaceUp(it->path()))
            visit(name);
    }
}

// As poff does: the pid file names the daemon, but only a process that really is pppd may
// be signalled, since a stale pid file can name any program by now.
bool terminatePppd(const std::string& root, const std::string& interfaceName) {
    const std::string pidText = firstLine(fs::path(root) / "run" / (interfaceName + ".pid"));
    long pid = 0;
    try {
        std::size_t used = 0;
        pid = std::stol(pidText, &used);
        if (used != pidText.size())
            return false;
    } catch (const std::exception&) {
        return false;
    }
    if (pid <= 1)
        return false;
    if (firstLine(fs::path(root) / "proc" / std::to_string(pid) / "comm") != "pppd")
        return false;
    return ::kill(static_cast<pid_t>(pid), SIGTERM) == 0;
}

class SteadyClock final : public Clock {
  public:
    std::chrono::steady_clock::time_point now() override {
        return std::chrono::steady_clock::now();
    }
    void sleepFor(std::chrono::milliseconds duration) override {
        std::this_thread::sleep_for(duration);
    }
};

DialupService* installedService = nullptr;
Clock* installedClock = nullptr;

}  // namespace

PppDialup::PppDialup(std::string root) : root_(std::move(root)) {}

bool PppDialup::active() {
    bool any = false;
    forEachPppUp(root_, [&](const std::string&) { any = true; });
    return any;
}

HangUpOutcome PppDialup::hangUp() {
    HangUpOutcome outcome = HangUpOutcome::Requested;
    forEachPppUp(root_, [&](const std::string& name) {
        if (!terminatePppd(root_, name))
            outcome = HangUpOutcome::Refused;
    });
    return outcome;
}

DialupService& dialupService() {
    static PppDialup real;
    return installedService ? *installedService : real;
}

void setDialupService(DialupService* service) {
    installedService = service;
}

bool DialupActive() {
    return dialupService().active();
}

Clock& clock() {
    static SteadyClock real;
    return installedClock ? *installedClock : real;
}

void setClock(Clock* clock) {
    installedClock = clock;
}

void HangUpDialup(DialupService& service, Clock& clock, const std::function<void()>& pumpEvents,
                  std::chrono::milliseconds bound) {
    const auto start = clock.now();
    while (service.active()) {
        if (service.hangUp() == HangUpOutcome::Refused)
            return;
        if (pumpEvents)
            pumpEvents();
        if (clock.now() - start >= bound)
            return;
        clock.sleepFor(std::chrono::milliseconds(50));
    }
}

}  // namespace gw::platform
