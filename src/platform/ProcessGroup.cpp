#include "platform/ProcessGroup.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fstream>
#include <sstream>

namespace gw::platform {
namespace {

struct ProcessStat {
    char state = 'Z';
    int group = -1;
};

// The state and process group of `pid` from /proc/PID/stat: the third and fifth fields, after
// the name in parentheses (which may itself hold blanks and parentheses).
ProcessStat StatOf(const std::string& pid) {
    std::ifstream stat("/proc/" + pid + "/stat");
    std::string line;
    const std::size_t nameEnd = std::getline(stat, line) ? line.rfind(')') : std::string::npos;
    if (nameEnd == std::string::npos)
        return {};
    std::istringstream fields(line.substr(nameEnd + 1));
    ProcessStat result;
    int parent = 0;
    fields >> result.state >> parent >> result.group;
    return result;
}

std::uint64_t ResidentBytes(const std::string& pid) {
    std::ifstream status("/proc/" + pid + "/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0)
            return std::strtoull(line.c_str() + 6, nullptr, 10) * 1024;
    }
    return 0;
}

template <typename Visit>
void ForEachInGroup(int group, const Visit& visit) {
    DIR* proc = ::opendir("/proc");
    if (proc == nullptr)
        return;
    while (const dirent* entry = ::readdir(proc)) {
        const std::string name = entry->d_name;
        if (name.find_first_not_of("0123456789") != std::string::npos)
            continue;
        // A zombie holds no memory and runs nothing; whoever adopted it reaps it in its time.
        if (const ProcessStat stat = StatOf(name); stat.group == group && stat.state != 'Z')
            visit(name);
    }
    ::closedir(proc);
}

}  // namespace

int StartGroupLeader(const std::vector<std::string>& arguments, const std::string& errorFile,
                     std::string& why) {
    // Everything the child needs is made before the fork: after it, in a process with threads,
    // only calls that are safe in a signal handler may run.
    std::vector<char*> argv;
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    const int errorFd =
        ::open(errorFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0600);
    const int nullFd = ::open("/dev/null", O_RDWR | O_CLOEXEC);
    if (errorFd < 0 || nullFd < 0) {
        why = "cannot open " + errorFile + ": " + std::strerror(errno);
        if (errorFd >= 0)
            ::close(errorFd);
        if (nullFd >= 0)
            ::close(nullFd);
        return -1;
    }
    const pid_t parent = ::getpid();
    const pid_t pid = ::fork();
    if (pid == 0) {
        // Its own group, so that a terminal's Ctrl-C reaches only the front end, which decides,
        // and the engine's processes can be ended together.
        ::setpgid(0, 0);
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (::getppid() != parent)
            ::_exit(127);
        ::dup2(nullFd, STDIN_FILENO);
        ::dup2(nullFd, STDOUT_FILENO);
        ::dup2(errorFd, STDERR_FILENO);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    const int forkError = errno;
    ::close(errorFd);
    ::close(nullFd);
    if (pid < 0) {
        why = std::string("cannot start the page renderer: ") + std::strerror(forkError);
        return -1;
    }
    // Set from both sides, so that the group exists before the parent first signals it.
    ::setpgid(pid, pid);
    return pid;
}

std::uint64_t GroupResidentBytes(int group) {
    std::uint64_t total = 0;
    ForEachInGroup(group, [&total](const std::string& pid) { total += ResidentBytes(pid); });
    return total;
}

void KillGroup(int group) {
    if (group > 0)
        ::kill(-group, SIGKILL);
}

bool LeaderEnded(int leader, int& status) {
    return ::waitpid(leader, &status, WNOHANG) == leader;
}

void ReapLeader(int leader) {
    int status = 0;
    while (::waitpid(leader, &status, 0) < 0 && errno == EINTR) {
    }
}

int ExitStatusOf(int status, int& signal) {
    signal = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// The engine's processes die on their own time after the kill.
bool WaitGroupGone(int group) {
    for (int turn = 0; turn < 250; ++turn) {
        bool alive = false;
        ForEachInGroup(group, [&alive](const std::string&) { alive = true; });
        if (!alive)
            return true;
        ::usleep(20000);
    }
    return false;
}

}  // namespace gw::platform
