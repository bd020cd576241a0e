// Where grabwright-cli puts its files on the way, seen from outside through strace: which
// downloads are flushed before they are renamed into place.
#include <gtest/gtest.h>

#include <QProcess>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>

#include "support/DownloadServer.h"
#include "support/TempEnvironment.h"

TEST(FilePlacement, ReplacedFilesAloneAreFlushedAndNoNameFailsLate) {
    // A container may refuse ptrace though strace is there.
    QProcess probe;
    probe.start("strace", {"-o", "/dev/null", "true"});
    if (!probe.waitForFinished(20000) || probe.exitCode() != 0)
        GTEST_SKIP() << "strace cannot trace here: " << probe.errorString().toStdString() << " "
                     << probe.readAllStandardError().trimmed().toStdString();
    const std::string folder = gw::test::TestRoot() + "/dest";
    std::filesystem::create_directories(folder);
    std::ofstream(folder + "/old.zip") << "old";
    gw::test::DownloadServer files;
    const std::string tooLong = "/files/" + std::string(300, 'n') + ".zip";
    gw::test::DownloadServer page("<a href=\"" + files.url("/files/old.zip") +
                                  "\">o</a><a href=\"" + files.url("/files/new.zip") +
                                  "\">n</a><a href=\"" + files.url(tooLong) + "\">l</a>");
    const std::string log = gw::test::TestRoot() + "/calls";
    QProcess process;
    process.start("strace",
                  {"-f", "-y", "-o", QString::fromStdString(log), "-e",
                   "trace=fsync,fdatasync,rename,renameat,renameat2", GW_CLI_PATH, "--dest",
                   QString::fromStdString(folder), QString::fromStdString(page.url("/page"))});
    process.waitForFinished(60000);
    const std::string err = process.readAllStandardError().toStdString();
    EXPECT_EQ(process.exitCode(), 1) << err;
    // The name the folder cannot hold fails before its body is asked for.
    EXPECT_EQ(files.hits(tooLong), 0);

    std::set<std::string> flushed;
    std::map<std::string, std::string> renamedTo;
    const std::regex flush(R"((?:fsync|fdatasync)\(\d+<[^>]*/(\.grabwright-[^/>]*)>\) = 0)");
    const std::regex rename(R"re(rename\w*\(.*"(\.grabwright-[^"]*)".*"([^"]*)".*= 0)re");
    std::ifstream in(log);
    std::smatch match;
    for (std::string line; std::getline(in, line);) {
        if (std::regex_search(line, match, flush))
            flushed.insert(match[1]);
        else if (std::regex_search(line, match, rename))
            renamedTo[match[2]] = match[1];
    }
    ASSERT_EQ(renamedTo.size(), 2u) << err;
    EXPECT_EQ(flushed, std::set<std::string>{renamedTo["old.zip"]});
}
