// One main for every test program: a headless application, no proxy for loopback traffic,
// and fresh per-user folders for every test so that no test touches a real user's files.
#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>

#include "platform/TransferEngine.h"
#include "support/TempEnvironment.h"

int main(int argc, char** argv) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    for (const char* variable : {"http_proxy", "https_proxy", "HTTP_PROXY", "HTTPS_PROXY",
                                 "ftp_proxy", "FTP_PROXY", "all_proxy", "ALL_PROXY"})
        ::unsetenv(variable);
    ::setenv("no_proxy", "*", 1);
    gw::platform::InitTransfers();
    QApplication application(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    testing::UnitTest::GetInstance()->listeners().Append(new gw::test::FreshFoldersListener);
    return RUN_ALL_TESTS();
}
