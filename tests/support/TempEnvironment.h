#pragma once

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <memory>
#include <string>

namespace gw::test {

// Points XDG_CONFIG_HOME, XDG_DATA_HOME, XDG_CACHE_HOME, XDG_DOWNLOAD_DIR and HOME at fresh
// folders before each test and removes them after it.
class FreshFoldersListener : public testing::EmptyTestEventListener {
  public:
    void OnTestStart(const testing::TestInfo&) override;
    void OnTestEnd(const testing::TestInfo&) override;

  private:
    std::unique_ptr<QTemporaryDir> root_;
};

// The fresh folder of the running test.
std::string TestRoot();

}  // namespace gw::test
