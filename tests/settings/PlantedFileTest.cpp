#include <fcntl.h>
#include <gtest/gtest.h>
#include <pthread.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <thread>

#include "settings/AddressHistory.h"
#include "settings/SettingsFiles.h"
#include "settings/SettingsStore.h"
#include "support/TempEnvironment.h"

using gw::test::SettingsPath;
namespace fs = std::filesystem;

namespace {

// Feeds settings to whoever opens the fifo for reading, so that a reader that waits for a
// writer gets one (and the test fails instead of hanging).
class FifoFeeder {
  public:
    explicit FifoFeeder(std::string fifo)
        : thread_([fifo = std::move(fifo)](std::stop_token stop) {
              sigset_t pipe;
              sigemptyset(&pipe);
              sigaddset(&pipe, SIGPIPE);
              pthread_sigmask(SIG_BLOCK, &pipe, nullptr);
              while (!stop.stop_requested()) {
                  const int fd = ::open(fifo.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
                  if (fd >= 0) {
                      const char text[] = "[History]\nURL1=http://through-the-fifo/\n";
                      [[maybe_unused]] const auto wrote = ::write(fd, text, sizeof text - 1);
                      ::close(fd);
                  }
                  std::this_thread::sleep_for(std::chrono::milliseconds(1));
              }
          }) {}

  private:
    std::jthread thread_;
};

}  // namespace

TEST(SettingsStore, OnlyARegularFileIsReadOrReplaced) {
    struct Case {
        const char* name;
        fs::path fifo;
        bool linkToIt;  // grabwright.ini is a symbolic link to the fifo
    };
    const std::string root = gw::test::TestRoot();
    const Case table[] = {
        {"fifo", SettingsPath(), false},
        {"link to a fifo", root + "/elsewhere/fifo", true},
    };
    for (const Case& c : table) {
        fs::remove_all(SettingsPath().parent_path());
        fs::create_directories(SettingsPath().parent_path());
        fs::create_directories(c.fifo.parent_path());
        ASSERT_EQ(::mkfifo(c.fifo.c_str(), 0600), 0) << c.name;
        if (c.linkToIt)
            fs::create_symlink(c.fifo, SettingsPath());
        FifoFeeder feeder(c.fifo);

        EXPECT_EQ(gw::settings::ReadSetting("GrabWright", "History", "URL1"), "") << c.name;
        EXPECT_EQ(gw::settings::ReadAddressHistory().count, 0) << c.name;
        EXPECT_FALSE(gw::settings::WriteSetting("GrabWright", "History", "URL1", "x")) << c.name;
        EXPECT_FALSE(gw::settings::ClearAddressHistory()) << c.name;
        EXPECT_TRUE(fs::is_fifo(SettingsPath())) << c.name;
        EXPECT_EQ(fs::is_symlink(SettingsPath()), c.linkToIt) << c.name;
        EXPECT_EQ(gw::test::FilesIn(SettingsPath().parent_path()), 1) << c.name;
    }
}
