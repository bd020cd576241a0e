#pragma once

#include <sys/types.h>

#include <string>

namespace gw::test {

// A real FTP server (pyftpdlib in a child process) on 127.0.0.1 at a port of its own,
// serving `folder` read-only to anonymous users. It accepts connections once constructed
// and is killed when destroyed (or when the test program dies).
class FtpServer {
  public:
    explicit FtpServer(const std::string& folder);
    ~FtpServer();
    FtpServer(const FtpServer&) = delete;
    FtpServer& operator=(const FtpServer&) = delete;

    int port() const { return port_; }
    // The address of `path` on this server, e.g. "ftp://127.0.0.1:40123/file.bin".
    std::string url(const std::string& path) const;

  private:
    void stop();

    pid_t pid_ = -1;
    int port_ = -1;
};

}  // namespace gw::test
