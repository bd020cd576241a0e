// grabwright-cli run again over one page and folder: its summary counts what was up to date
// (not checked again, so not verified), --refetch fetches it all, and a file system without
// extended attributes is fetched whole.
#include <gtest/gtest.h>

#include <QProcess>
#include <filesystem>
#include <fstream>

#include "support/DownloadServer.h"
#include "support/TempEnvironment.h"

// Each run's summary, up to its time.
static std::vector<std::string> Summaries(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished(60000);
    const std::string err = process.readAllStandardError().toStdString();
    std::vector<std::string> lines;
    for (std::size_t at = 0; (at = err.find("cli: ", at)) != std::string::npos; at += 5)
        lines.push_back(err.substr(at + 5, err.find(" bytes in ", at) - at - 5));
    return lines;
}

TEST(RunAgain, OnlyWhatChangedIsFetchedAndTheSummarySaysHowManyWereUpToDate) {
    gw::test::DownloadServer files;
    files.serve("/text/SHA256SUMS",
                gw::test::HexDigest("SHA256", gw::test::FileBytes("a.zip1", 20000)) + "  a.zip\n");
    std::string links = "<a href=\"" + files.url("/text/SHA256SUMS") + "\">sums</a>";
    for (const char* name : {"a.zip", "b.zip", "c.zip"})
        links += "<a href=\"" + files.url(std::string("/versioned/both/") + name) + "\">x</a>";
    gw::test::DownloadServer page(links);
    const QString folder = QString::fromStdString(gw::test::TestRoot() + "/dest");
    const QString ramfs = QString::fromStdString(gw::test::TestRoot() + "/ramfs");
    std::filesystem::create_directories(folder.toStdString());
    std::filesystem::create_directories(ramfs.toStdString());
    const QString cli = GW_CLI_PATH;
    const QStringList run = {"--dest", folder, QString::fromStdString(page.url("/page"))};
    const std::string all = "3 files arrived (1 verified), 0 failed, 60000";

    EXPECT_EQ(Summaries(cli, run), std::vector<std::string>{all});
    std::ofstream(folder.toStdString() + "/b.zip", std::ios::app) << "edited";
    EXPECT_EQ(Summaries(cli, run),
              std::vector<std::string>{"1 file arrived, 2 unchanged, 0 failed, 20000"});
    EXPECT_EQ(Summaries(cli, run + QStringList{"--refetch"}), std::vector<std::string>{all});
    // The ramfs lives and dies with the namespace of one shell, which runs the program twice.
    const QString twice =
        "mount -t ramfs none \"$0\" && \"$1\" -d \"$0\" \"$2\" && \"$1\" -d \"$0\" \"$2\"";
    EXPECT_EQ(Summaries("unshare", {"-m", "sh", "-c", twice, ramfs, cli, run.last()}),
              std::vector<std::string>(2, all));
}
