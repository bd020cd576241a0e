// grabwright-cli run again over the same page and folder: the files it leaves alone, how its
// summary counts them, and a folder whose file system keeps no extended attributes.
#include <gtest/gtest.h>

#include <QProcess>
#include <filesystem>
#include <fstream>

#include "support/DownloadServer.h"
#include "support/TempEnvironment.h"

namespace {

// The closing summary of each run, up to its time.
std::vector<std::string> Summaries(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished(60000);
    std::vector<std::string> lines;
    const std::string err = process.readAllStandardError().toStdString();
    for (std::size_t at = 0; (at = err.find("grabwright-cli: ", at)) != std::string::npos;) {
        const std::size_t end = err.find(" bytes in ", at);
        lines.push_back(err.substr(at + 16, end - at - 16));
        at = end;
    }
    return lines;
}

}  // namespace

TEST(RunAgain, OnlyWhatChangedIsFetchedAndTheSummarySaysHowManyWereUpToDate) {
    gw::test::DownloadServer files;
    std::string links;
    for (const char* name : {"a.zip", "b.zip", "c.zip"})
        links += "<a href=\"" + files.url(std::string("/versioned/both/") + name) + "\">x</a>";
    gw::test::DownloadServer page(links);
    const QString folder = QString::fromStdString(gw::test::TestRoot() + "/dest");
    std::filesystem::create_directories(folder.toStdString());
    const QStringList run = {"--dest", folder, QString::fromStdString(page.url("/page"))};
    const QString cli = GW_CLI_PATH;

    EXPECT_EQ(Summaries(cli, run), std::vector<std::string>{"3 files arrived, 0 failed, 60000"});
    std::ofstream(folder.toStdString() + "/b.zip", std::ios::app) << "edited";
    EXPECT_EQ(Summaries(cli, run),
              std::vector<std::string>{"1 file arrived, 2 unchanged, 0 failed, 20000"});
    EXPECT_EQ(Summaries(cli, run + QStringList{"--refetch"}),
              std::vector<std::string>{"3 files arrived, 0 failed, 60000"});

    // Without extended attributes nothing is known of the files: each run fetches them all.
    const QString ramfs = QString::fromStdString(gw::test::TestRoot() + "/ramfs");
    std::filesystem::create_directories(ramfs.toStdString());
    const QStringList twice = {
        "-m",
        "sh",
        "-c",
        "mount -t ramfs none \"$0\" && \"$1\" -d \"$0\" \"$2\" && \"$1\" -d \"$0\" \"$2\"",
        ramfs,
        cli,
        QString::fromStdString(page.url("/page"))};
    EXPECT_EQ(Summaries("unshare", twice),
              std::vector<std::string>(2, "3 files arrived, 0 failed, 60000"));
}
