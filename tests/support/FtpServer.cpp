#include "support/FtpServer.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <stdexcept>
#include <thread>

namespace gw::test {
namespace {

// Binding port 0 and printing the port the system chose avoids the race of picking a free
// port first while other test programs run at the same time. The socket listens before the
// port is printed, so the server accepts connections once the line arrives.
constexpr const char* kServerScript = R"(
import logging, sys
from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import FTPHandler
from pyftpdlib.servers import FTPServer
logging.disable(logging.CRITICAL)
authorizer = DummyAuthorizer()
authorizer.add_anonymous(sys.argv[1])
FTPHandler.authorizer = authorizer
server = FTPServer(("127.0.0.1", 0), FTPHandler)
print(server.address[1], flush=True)
server.serve_forever()
)";

// Debian's interpreter is the one python3-pyftpdlib belongs to; another python3 earlier on
// the PATH (a pyenv one, say) may not have it.
constexpr const char* kDebianPython = "/usr/bin/python3";
constexpr int kStartLimitMilliseconds = 10000;

std::string ReadLine(int fd, int limitMilliseconds) {
    std::string line;
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::milliseconds(limitMilliseconds);
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        pollfd entry{fd, POLLIN, 0};
        if (left.count() <= 0 || ::poll(&entry, 1, static_cast<int>(left.count())) <= 0)
            return {};
        char c = 0;
        if (::read(fd, &c, 1) != 1)
            return {};
        if (c == '\n')
            return line;
        line += c;
    }
}

}  // namespace

FtpServer::FtpServer(const std::string& folder) {
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0)
        throw std::runtime_error("cannot make a pipe");
    const char* python = ::access(kDebianPython, X_OK) == 0 ? kDebianPython : "python3";
    const char* argv[] = {python, "-c", kServerScript, folder.c_str(), nullptr};
    const pid_t parent = ::getpid();

    pid_ = ::fork();
    if (pid_ == 0) {
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (::getppid() != parent)
            ::_exit(127);
        ::dup2(fds[1], STDOUT_FILENO);
        ::execvp(python, const_cast<char* const*>(argv));
        ::_exit(127);
    }
    ::close(fds[1]);
    if (pid_ < 0) {
        ::close(fds[0]);
        throw std::runtime_error("cannot start the FTP server");
    }
    const std::string line = ReadLine(fds[0], kStartLimitMilliseconds);
    ::close(fds[0]);
    try {
        port_ = std::stoi(line);
    } catch (const std::exception&) {
        port_ = -1;
    }
    if (port_ <= 0) {
        stop();
        throw std::runtime_error("the FTP server did not start (is python3-pyftpdlib there?)");
    }
}

FtpServer::~FtpServer() {
    stop();
}

void FtpServer::stop() {
    if (pid_ <= 0)
        return;
    ::kill(pid_, SIGKILL);
    int status = 0;
    ::waitpid(pid_, &status, 0);
    pid_ = -1;
}

std::string FtpServer::url(const std::string& path) const {
    return "ftp://127.0.0.1:" + std::to_string(port_) + path;
}

}  // namespace gw::test
