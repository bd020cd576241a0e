#include "support/TempEnvironment.h"

#include <QDir>
#include <cstdlib>

namespace gw::test {
namespace {
std::string currentRoot;
}

void FreshFoldersListener::OnTestStart(const testing::TestInfo&) {
    root_ = std::make_unique<QTemporaryDir>();
    currentRoot = root_->path().toStdString();
    for (auto [variable, sub] : {std::pair{"HOME", "home"},
                                 {"XDG_CONFIG_HOME", "config"},
                                 {"XDG_DATA_HOME", "data"},
                                 {"XDG_CACHE_HOME", "cache"},
                                 {"XDG_DOWNLOAD_DIR", "downloads"}}) {
        const std::string path = currentRoot + "/" + sub;
        QDir().mkpath(QString::fromStdString(path));
        ::setenv(variable, path.c_str(), 1);
    }
}

void FreshFoldersListener::OnTestEnd(const testing::TestInfo&) {
    root_.reset();
    currentRoot.clear();
}

std::string TestRoot() {
    return currentRoot;
}

}  // namespace gw::test
