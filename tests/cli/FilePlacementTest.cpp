// Where grabwright-cli puts its files on the way: the temporary page folder, and when a
// download is flushed and renamed into place, seen from outside through strace.
#include <gtest/gtest.h>

#include <QProcess>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>

#include "support/DownloadServer.h"
#include "support/TempEnvironment.h"

namespace {

int RunCli(QProcess& process, const QString& program, const QStringList& arguments) {
    process.start(program, arguments);
    process.waitForFinished(60000);
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

}  // namespace

TEST(FilePlacement, OnlyAFileThatReplacesAnotherIsFlushedBeforeItsRename) {
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
    const int exitCode =
        RunCli(process, "strace",
               {"-f", "-y", "-o", QString::fromStdString(log), "-e",
                "trace=fsync,fdatasync,rename,renameat,renameat2", GW_CLI_PATH, "--dest",
                QString::fromStdString(folder), QString::fromStdString(page.url("/page"))});
    if (process.error() == QProcess::FailedToStart)
        GTEST_SKIP() << "strace is not available here";
    EXPECT_EQ(exitCode, 1) << process.readAllStandardError().toStdString();
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
    ASSERT_EQ(renamedTo.size(), 2u) << "strace could not follow the program";
    EXPECT_EQ(flushed, std::set<std::string>{renamedTo["old.zip"]});
}

TEST(FilePlacement, ARelativeTmpdirIsNotFollowed) {
    // Where the program starts, TMPDIR names a file: a folder made in it could not be made.
    const QString start = QString::fromStdString(gw::test::TestRoot());
    std::ofstream(gw::test::TestRoot() + "/relative") << "";
    gw::test::DownloadServer page("<a href=\"a.zip\">a</a>");
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("TMPDIR", "relative");
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(start);
    EXPECT_EQ(RunCli(process, GW_CLI_PATH, {"--list", QString::fromStdString(page.url("/page"))}),
              0)
        << process.readAllStandardError().toStdString();
}
