// grabwright-cli downloading: the files it leaves, its exit statuses, and how signals and the
// time limit end it, run as a real process against a real local server.
#include <gtest/gtest.h>
#include <pty.h>
#include <signal.h>
#include <unistd.h>

#include <QProcess>
#include <QStandardPaths>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <thread>

#include "retrieval/Messages.h"
#include "support/DownloadServer.h"
#include "support/TempEnvironment.h"

namespace fs = std::filesystem;

namespace {

struct CliRun {
    int exitCode = -1;
    std::string err;
    std::string out;
};

std::string ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string Folder(const std::string& name = "dest") {
    const std::string folder = gw::test::TestRoot() + "/" + name;
    fs::create_directories(folder);
    return folder;
}

std::string Links(const gw::test::DownloadServer& server, const std::vector<std::string>& paths) {
    std::string page;
    for (const std::string& path : paths)
        page += "<a href=\"" + server.url(path) + "\">x</a>\n";
    return page;
}

// Starts the program; `whileRunning` may signal it before it is waited for.
CliRun RunCli(const QStringList& arguments,
              const std::function<void(QProcess&)>& whileRunning = {}) {
    QProcess process;
    process.start(QStringLiteral(GW_CLI_PATH), arguments);
    process.waitForStarted();
    if (whileRunning)
        whileRunning(process);
    // An ASSERT inside `whileRunning` only left it: end the program now rather than wait
    // for a held file until the time limit.
    if (testing::Test::HasFatalFailure())
        process.kill();
    process.waitForFinished(60000);
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            process.readAllStandardError().toStdString(),
            process.readAllStandardOutput().toStdString()};
}

bool Eventually(const std::function<bool()>& condition) {
    for (int i = 0; i < 2000 && !condition(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    return condition();
}

std::vector<std::string> Entries(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

class DownloadJobs : public testing::TestWithParam<const char*> {};

TEST_P(DownloadJobs, EveryFileArrivesAndTheLaterOfTwoEqualNamesIsKeptUnderANumber) {
    std::unique_ptr<gw::test::DownloadServer> server;
    server = std::make_unique<gw::test::DownloadServer>();
    gw::test::DownloadServer served(
        Links(*server, {"/files/a.zip", "/slow/same.zip", "/files/b.zip", "/busy/c.zip",
                        "/files/same.zip", "/flaky/d.zip", "/resume/newer/e.zip"}));
    // The page names files on the first server; the page itself comes from the second.
    const std::string folder = Folder();
    const CliRun run = RunCli({"--jobs", GetParam(), "--dest", Q(folder), Q(served.url("/page"))});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(Entries(folder), (std::vector<std::string>{"a.zip", "b.zip", "c.zip", "d.zip",
                                                         "e.zip", "same (2).zip", "same.zip"}));
    for (const char* name : {"a.zip", "b.zip", "c.zip", "d.zip"})
        EXPECT_EQ(ReadAll(folder + "/" + name), gw::test::FileBytes(name)) << name;
    // The later of the two, from /files/, under the numbered name; the earlier keeps its own.
    EXPECT_TRUE(ReadAll(folder + "/same (2).zip") == gw::test::FileBytes("same.zip"));
    EXPECT_FALSE(ReadAll(folder + "/same.zip").empty());
    EXPECT_NE(run.err.find(", 0 failed, 1 renamed, "), std::string::npos) << run.err;
    // A retry that meets a newer version takes that version whole.
    EXPECT_EQ(ReadAll(folder + "/e.zip"), gw::test::VersionServed("newer", "e.zip", false).bytes);
    EXPECT_EQ(server->hits("/busy/c.zip"), 2);
    EXPECT_NE(run.err.find("file 7 of 7 ("), std::string::npos) << run.err;
    // Neither the wizard's settings nor its cache are touched.
    EXPECT_TRUE(fs::is_empty(gw::test::TestRoot() + "/config"));
    EXPECT_TRUE(fs::is_empty(gw::test::TestRoot() + "/cache"));
}

INSTANTIATE_TEST_SUITE_P(OneAndMany, DownloadJobs, testing::Values("1", "8"));

// A name that cannot stand in a folder fails, and neither it nor its address may reach the
// terminal as controls.
TEST(DownloadCommand, FailedFilesAreListedAndLeaveNothingBehind) {
    gw::test::DownloadServer files;
    const std::string hostile("/files/x\x1b]0;PWNED\x07\x1b[2J\0y.zip", 28);
    gw::test::DownloadServer served(
        Links(files, {"/files/a.zip", "/missing/m.zip", "/reset/r.zip", "/files/", hostile}));
    const std::string folder = Folder();
    std::ofstream(folder + "/r.zip") << "old";
    const CliRun run = RunCli({"-d", Q(folder), "-s", "*", Q(served.url("/page"))});
    EXPECT_EQ(run.exitCode, 1) << run.err;
    EXPECT_EQ(Entries(folder), (std::vector<std::string>{"a.zip", "r.zip"}));
    EXPECT_EQ(ReadAll(folder + "/r.zip"), "old");
    for (const char* path :
         {"/missing/m.zip", "/reset/r.zip", "/files/\n", "/files/x%1B]0;PWNED%07%1B[2J%00y.zip\n"})
        EXPECT_NE(run.err.find(files.url(path)), std::string::npos) << path << run.err;
    EXPECT_NE(run.err.find("\"x%1B]0;PWNED%07%1B[2J"), std::string::npos) << run.err;
    EXPECT_FALSE(std::any_of(run.err.begin(), run.err.end(), [](char c) {
        return (c >= 0 && c < 0x20 && c != '\n') || c == 0x7F;
    })) << run.err;
    EXPECT_TRUE(std::regex_search(
        run.err, std::regex("\ngrabwright-cli: 1 file arrived, 4 failed, 307200 bytes in "
                            "[0-9]+\\.[0-9] s\n$")))
        << run.err;
}

// The page's checksum lists, fetched only for a download: a file that matches counts as
// verified, one that differs fails and leaves what stood there, and a list that cannot be
// read and lists that disagree are noted; a file no list names is not.
TEST(DownloadCommand, FilesAreCheckedAgainstThePagesChecksumLists) {
    using gw::test::FileBytes;
    using gw::test::HexDigest;
    gw::test::DownloadServer files;
    files.serve("/files/SHA256SUMS", HexDigest("SHA256", FileBytes("a.zip")) + "  a.zip\n" +
                                         std::string(64, '0') + "  bad.zip\n" +
                                         HexDigest("SHA256", FileBytes("c.zip")) + "  c.zip\n");
    files.serve("/files/c.zip.sha256", std::string(64, '1'));
    files.serve("/files/b.zip.md5", HexDigest("MD5", FileBytes("b.zip")));
    files.serve("/files/SHA1SUMS", "");
    gw::test::DownloadServer served(
        Links(files,
              {"/files/a.zip", "/files/b.zip", "/files/bad.zip", "/files/c.zip", "/files/d.zip",
               "/files/SHA256SUMS", "/files/c.zip.sha256", "/files/b.zip.md5", "/files/SHA1SUMS"}));
    const std::string folder = Folder();
    std::ofstream(folder + "/bad.zip") << "old";
    EXPECT_EQ(RunCli({"--list", "-s", "*.zip", Q(served.url("/page"))}).exitCode, 0);
    EXPECT_EQ(files.hits("/files/SHA256SUMS"), 0);

    const CliRun run = RunCli({"-d", Q(folder), "-s", "*.zip", Q(served.url("/page"))});
    EXPECT_EQ(run.exitCode, 1) << run.err;
    // "*.zip" finds the sidecars too, as files of their own.
    EXPECT_EQ(Entries(folder), (std::vector<std::string>{"a.zip", "b.zip", "b.zip.md5", "bad.zip",
                                                         "c.zip", "c.zip.sha256", "d.zip"}));
    EXPECT_EQ(ReadAll(folder + "/bad.zip"), "old");
    for (const char* said :
         {"failed: SHA-256 does not match SHA256SUMS\n",
          "grabwright-cli: checksum list SHA1SUMS not read \\(.*\\); its files are not checked\n",
          "\ngrabwright-cli: checksum lists disagree on c.zip; it is not checked\n",
          "\ngrabwright-cli: 6 files arrived \\(2 verified\\), 1 failed, 1228896 bytes in [0-9.]+ "
          "s\n$"})
        EXPECT_TRUE(std::regex_search(run.err, std::regex(said))) << said << run.err;
    EXPECT_EQ(std::count(run.err.begin(), run.err.end(), ';'), 2) << run.err;
}

TEST(DownloadCommand, AMissingFolderEndsTheCommandBeforeAnyFetch) {
    gw::test::DownloadServer served;
    const CliRun run =
        RunCli({"--dest", Q(gw::test::TestRoot() + "/nowhere"), Q(served.url("/page"))});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("nowhere"), std::string::npos);
    EXPECT_EQ(served.hits("/page"), 0);
}

enum class Stop { OneInterrupt, TwoInterrupts, Terminate, HangUp, TimeLimit };

struct StopCase {
    const char* what;
    Stop stop;
    int exitCode;
    bool firstFileKept;
};

class StopDownload : public testing::TestWithParam<StopCase> {};

// The first file is held by the server until the signal is in; the second is never due
// once the command was told to stop.
TEST_P(StopDownload, StopsAsTheSignalSaysAndLeavesNoTemporaryFile) {
    const StopCase& c = GetParam();
    gw::test::DownloadServer server;
    gw::test::DownloadServer served(Links(server, {"/held/a.zip", "/files/b.zip"}));
    const std::string folder = Folder();
    QStringList arguments{"--dest", Q(folder), Q(served.url("/page"))};
    if (c.stop == Stop::TimeLimit)
        arguments = QStringList{"--max-time", "1.5"} + arguments;
    const CliRun run = RunCli(arguments, [&](QProcess& process) {
        ASSERT_TRUE(Eventually([&] { return server.hits("/held/a.zip") == 1; }));
        process.setReadChannel(QProcess::StandardError);
        const pid_t pid = static_cast<pid_t>(process.processId());
        if (c.stop == Stop::OneInterrupt || c.stop == Stop::TwoInterrupts) {
            ::kill(pid, SIGINT);
            // The run says when it took the first: signals of one kind do not queue, and the
            // file must not be released before the run knows to start no other.
            ASSERT_TRUE(Eventually([&] {
                process.waitForReadyRead(5);
                return process.peek(4096).contains("stopping after the files in progress");
            }));
        }
        if (c.stop == Stop::TwoInterrupts)
            ::kill(pid, SIGINT);
        if (c.stop == Stop::Terminate || c.stop == Stop::HangUp)
            ::kill(pid, c.stop == Stop::Terminate ? SIGTERM : SIGHUP);
        if (c.stop == Stop::OneInterrupt)
            server.release();
    });
    EXPECT_EQ(run.exitCode, c.exitCode) << run.err;
    EXPECT_EQ(Entries(folder),
              c.firstFileKept ? std::vector<std::string>{"a.zip"} : std::vector<std::string>{});
    EXPECT_EQ(server.hits("/files/b.zip"), 0);
    // The file the stop came before did not fail: it never began. (A second Ctrl-C ends the
    // command at once, with no summary.)
    if (c.stop != Stop::TwoInterrupts) {
        EXPECT_NE(run.err.find(c.firstFileKept ? ", 0 failed, 1 not started, "
                                               : ", 1 failed, 1 not started, "),
                  std::string::npos)
            << run.err;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Signals, StopDownload,
    testing::Values(StopCase{"OneCtrlCFinishesTheFile", Stop::OneInterrupt, 130, true},
                    StopCase{"ASecondCtrlCAbortsIt", Stop::TwoInterrupts, 130, false},
                    StopCase{"SigtermAbortsIt", Stop::Terminate, 143, false},
                    StopCase{"SighupAbortsIt", Stop::HangUp, 129, false},
                    StopCase{"TheTimeLimitAbortsIt", Stop::TimeLimit, 1, false}),
    [](const testing::TestParamInfo<StopCase>& info) { return std::string(info.param.what); });

// Files behind hotlink protection and a session cookie arrive as from a browser's click; a
// page behind a cookie the user's browser holds opens with --cookies, whose file stays as it
// was; no cookie reaches the disk.
TEST(DownloadCommand, DownloadsCarryThePageAsRefererAndTheCookiesTheyAreGiven) {
    gw::test::DownloadServer server;
    const std::string folder = Folder();
    const std::string cookies = gw::test::TestRoot() + "/cookies.txt";
    const std::string jar =
        "# Netscape HTTP Cookie File\n127.0.0.1\tFALSE\t/\tFALSE\t0\tmember\tyes\n";
    std::ofstream(cookies, std::ios::binary) << jar;
    EXPECT_EQ(RunCli({"-d", Q(folder), Q(server.url("/guarded/start"))}).exitCode, 0);
    EXPECT_EQ(RunCli({"-d", Q(folder), Q(server.url("/members/page"))}).exitCode, 1);
    const CliRun member =
        RunCli({"--cookies", Q(cookies), "-d", Q(folder), Q(server.url("/members/page"))});
    EXPECT_EQ(member.exitCode, 0) << member.err;
    EXPECT_EQ(ReadAll(folder + "/g.zip"), gw::test::FileBytes("g.zip"));
    EXPECT_EQ(ReadAll(folder + "/m.zip"), gw::test::FileBytes("m.zip"));
    EXPECT_EQ(ReadAll(cookies), jar);
    for (const auto& entry : fs::recursive_directory_iterator(gw::test::TestRoot())) {
        if (entry.is_regular_file()) {
            EXPECT_EQ(ReadAll(entry.path()).find("s3cret"), std::string::npos) << entry.path();
        }
    }
}

// The failed file's line meets a pipe nobody reads any more, while the other file, from the
// same server, is held (so it must not wait for the held file's connection).
TEST(DownloadCommand, AClosedPipeEndsTheRunAndLeavesNoTemporaryFile) {
    gw::test::DownloadServer server;
    gw::test::DownloadServer served(Links(server, {"/held/a.zip", "/missing/m.zip"}));
    const std::string folder = Folder();
    int ends[2];
    ASSERT_EQ(::pipe(ends), 0);
    ::close(ends[0]);
    QProcess process;
    process.setChildProcessModifier([&] { ::dup2(ends[1], STDERR_FILENO); });
    process.start(QStringLiteral(GW_CLI_PATH),
                  {"-j", "2", "-d", Q(folder), Q(served.url("/page"))});
    process.waitForFinished(60000);
    ::close(ends[1]);
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(process.exitCode(), 141);
    EXPECT_EQ(server.hits("/held/a.zip"), 1);
    EXPECT_TRUE(Entries(folder).empty());
}

// Runs the program with its standard error on a terminal `columns` wide; `shown` gets what
// the terminal received.
int RunOnTerminal(const QStringList& arguments, unsigned short columns, std::string& shown) {
    int terminal = -1;
    int child = -1;
    winsize size{};
    size.ws_col = columns;
    if (::openpty(&terminal, &child, nullptr, nullptr, &size) != 0)
        return -1;
    QProcess process;
    process.setChildProcessModifier([&] { ::dup2(child, STDERR_FILENO); });
    process.start(QStringLiteral(GW_CLI_PATH), arguments);
    process.waitForFinished(60000);
    ::close(child);
    char piece[4096];
    for (ssize_t got = 0; (got = ::read(terminal, piece, sizeof piece)) > 0;)
        shown.append(piece, static_cast<std::size_t>(got));
    ::close(terminal);
    return process.exitCode();
}

// On a terminal 40 columns wide, every redraw of the progress line stays within 39 of them,
// however long the address.
TEST(DownloadCommand, TheProgressLineFitsTheTerminal) {
    gw::test::DownloadServer server;
    gw::test::DownloadServer served(Links(server, {"/slow/" + std::string(200, 'n') + ".zip"}));
    std::string shown;
    EXPECT_EQ(RunOnTerminal({"-d", Q(Folder()), Q(served.url("/page"))}, 40, shown), 0) << shown;
    std::size_t shortened = 0;
    for (std::size_t at = 0; (at = shown.find("\r\033[K", at)) != std::string::npos;) {
        at += 4;
        const std::size_t end = shown.find('\r', at);
        const std::string line = shown.substr(at, end - at);
        if (shown.compare(end, 2, "\r\n") != 0) {  // a line of its own may wrap
            EXPECT_LE(line.size(), 39u) << line;
        }
        shortened += line.find("...n.zip): ") != std::string::npos;
    }
    EXPECT_GE(shortened, 1u) << shown;
    EXPECT_NE(shown.find("1 file arrived, 0 failed, 10000 bytes in "), std::string::npos);
    EXPECT_NE(shown.find("/s)"), std::string::npos) << shown;
}

// Each name is fetched slowly (libcurl refuses an address with C0 or DEL bytes at once, so
// those show only as failed) and once from where it is missing.
TEST(DownloadCommand, ControlBytesInNamesAreEscapedInEverythingPrinted) {
    const std::pair<std::string, std::string> names[] = {
        {"tab\t.zip", "tab%09.zip"},
        {"esc\x1B[2J.zip", "esc%1B[2J.zip"},
        {"del\x7F.zip", "del%7F.zip"},
        {"csi\x9B.zip", "csi%9B.zip"},
        {"c1\xC2\x9B\xC2\x80.zip", "c1%C2%9B%C2%80.zip"},
        // No-break space, and a character whose second byte is 0x9B: both are text.
        {"text\xC2\xA0\xDB\x9B.zip", "text\xC2\xA0\xDB\x9B.zip"},
    };
    gw::test::DownloadServer server;
    std::vector<std::string> paths;
    for (const auto& [raw, escaped] : names)
        paths.insert(paths.end(), {"/slow/" + raw, "/missing/" + raw});
    gw::test::DownloadServer served(Links(server, paths));
    std::string listed, shown;
    RunCli({"-l", "-s", "*", Q(served.url("/page"))}, [&](QProcess& process) {
        process.waitForFinished(60000);
        listed = process.readAllStandardOutput().toStdString();
    });
    RunOnTerminal({"-s", "*", "-d", Q(Folder()), Q(served.url("/page"))}, 250, shown);
    fs::remove_all(Folder());  // Qt cannot remove names that are not UTF-8
    const std::size_t notDownloaded = shown.find("these files were not downloaded:");
    for (std::size_t i = 0; i < std::size(names); ++i) {
        const auto& [raw, escaped] = names[i];
        const std::string slow = server.url("/slow/" + escaped);
        const std::string missing = server.url("/missing/" + escaped);
        EXPECT_NE(listed.find(slow + "\n" + missing + "\n"), std::string::npos) << escaped;
        // A progress line, or the failure of an address libcurl refused at once.
        const std::string file = "file " + std::to_string(2 * i + 1) + " of 12 (";
        EXPECT_NE(shown.find(file + slow + "): "), std::string::npos) << escaped;
        EXPECT_NE(shown.find("(" + missing + "): failed: "), std::string::npos) << escaped;
        EXPECT_NE(shown.find(missing + "\r\n", notDownloaded), std::string::npos) << escaped;
        EXPECT_TRUE(raw == escaped || (listed + shown).find(raw) == std::string::npos) << escaped;
    }
}

// A signal or the time limit while the page itself arrives ends the command; the page is
// harvested as it comes, so nothing of it was ever put in a file, and no progress line shows
// where standard error is no terminal.
TEST(DownloadCommand, ASignalDuringThePageFetchEndsItAndLeavesNothing) {
    gw::test::DownloadServer server;
    const std::string temp = Folder("tmp");
    ::setenv("TMPDIR", temp.c_str(), 1);
    for (const int signal : {SIGINT, SIGTERM, SIGHUP, 0}) {
        QStringList arguments{"--list", Q(server.url("/trickle/page.html"))};
        if (signal == 0)
            arguments = QStringList{"--max-time", "0.5"} + arguments;
        const int before = server.hits("/trickle/page.html");
        const CliRun run = RunCli(arguments, [&](QProcess& process) {
            ASSERT_TRUE(Eventually([&] { return server.hits("/trickle/page.html") > before; }));
            if (signal != 0)
                ::kill(static_cast<pid_t>(process.processId()), signal);
        });
        EXPECT_EQ(run.exitCode, signal == 0 ? 1 : 128 + signal) << run.err;
        EXPECT_TRUE(Entries(temp).empty());
        EXPECT_EQ(run.err.find("page ("), std::string::npos) << run.err;
    }
    ::unsetenv("TMPDIR");
}

// The anchors of a page's first half are harvested before it breaks off: none of them may
// be listed or downloaded.
TEST(DownloadCommand, APageThatBreaksOffIsAFailedFetch) {
    gw::test::DownloadServer server;
    gw::test::DownloadServer served(Links(server, std::vector<std::string>(50, "/files/a.zip")));
    const std::string folder = Folder();
    for (const QStringList& mode : {QStringList{"--list"}, QStringList{"-d", Q(folder)}}) {
        const CliRun run = RunCli(mode + QStringList{Q(served.url("/cut-page"))});
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_NE(run.err.find(gw::retrieval::kFetchFailedMessage), std::string::npos) << run.err;
        EXPECT_EQ(run.out, "");
    }
    EXPECT_EQ(server.hits("/files/a.zip"), 0);
    EXPECT_TRUE(Entries(folder).empty());
}

// On a terminal the page's bytes so far show as a file's do.
TEST(DownloadCommand, ThePagesProgressShowsOnATerminal) {
    gw::test::DownloadServer server;
    int terminal = -1;
    int child = -1;
    ASSERT_EQ(::openpty(&terminal, &child, nullptr, nullptr, nullptr), 0);
    QProcess process;
    process.setChildProcessModifier([&] { ::dup2(child, STDERR_FILENO); });
    process.start(QStringLiteral(GW_CLI_PATH),
                  {"--list", "--max-time", "0.5", Q(server.url("/trickle/page.html"))});
    process.waitForFinished(60000);
    ::close(child);
    std::string shown;
    char piece[4096];
    for (ssize_t got = 0; (got = ::read(terminal, piece, sizeof piece)) > 0;)
        shown.append(piece, static_cast<std::size_t>(got));
    ::close(terminal);
    EXPECT_NE(shown.find("\r\033[Kpage (" + server.url("/trickle/page.html") + "): "),
              std::string::npos)
        << shown;
    EXPECT_NE(shown.find(" bytes\r\033[K"), std::string::npos) << shown;
}

// Why a test cannot mount a file system of its own in a mount namespace here, "" where it can.
std::string MountsRefused() {
    static const bool refused = std::system("unshare -m true 2>/dev/null") != 0;
    return refused ? "unshare -m is refused here (a chroot, or a container without the right)" : "";
}

TEST(DownloadCommand, AFullDiskIsAFailedWriteAndKeepsTheOldFile) {
    if (const std::string refused = MountsRefused(); !refused.empty())
        GTEST_SKIP() << refused;
    gw::test::DownloadServer server;
    gw::test::DownloadServer served(Links(server, {"/files/big.zip"}));
    const std::string folder = Folder();
    // The small file system exists only inside the child's own mount namespace, so the
    // script reports what it holds before it ends.
    QProcess process;
    process.start("unshare",
                  {"-m", "sh", "-c",
                   "mount -t tmpfs -o size=128k tmpfs \"$1\" && printf old >\"$1/big.zip\" && "
                   "\"$2\" --dest \"$1\" \"$3\" 2>/dev/null; echo \"status $?\"; ls -A \"$1\"; "
                   "cat \"$1/big.zip\"",
                   "sh", Q(folder), QStringLiteral(GW_CLI_PATH), Q(served.url("/page"))});
    process.waitForFinished(60000);
    EXPECT_EQ(process.readAllStandardOutput().toStdString(), "status 1\nbig.zip\nold");
}

TEST(DownloadCommand, AFailedWriteToStandardOutputIsAnError) {
    gw::test::DownloadServer server;
    gw::test::DownloadServer served(Links(server, {"/files/a.zip"}));
    QProcess process;
    process.setStandardOutputFile("/dev/full");
    process.start(QStringLiteral(GW_CLI_PATH), {"--list", "--", Q(served.url("/page"))});
    process.waitForFinished(60000);
    EXPECT_EQ(process.exitCode(), 1);
    EXPECT_NE(process.readAllStandardError().indexOf("standard output"), -1);
}

TEST(DownloadCommand, AListOfBareDotComSitesOnlyIsAFailureWithItsReason) {
    gw::test::DownloadServer served("<a href=\"http://example.com\">x</a>");
    QProcess process;
    process.start(QStringLiteral(GW_CLI_PATH),
                  {"--list", "--spec", "*.com", Q(served.url("/page"))});
    process.waitForFinished(60000);
    EXPECT_EQ(process.exitCode(), 1);
    EXPECT_NE(process.readAllStandardError().indexOf(".com"), -1);
    EXPECT_EQ(process.readAllStandardOutput(), "");
}

// Through a proxy the request line carries the host name as libcurl converted it, so a local
// server can see that a name in another script reached its ASCII form.
TEST(DownloadCommand, HostNamesInOtherScriptsAreConvertedWhateverTheLocale) {
    std::mutex mutex;
    std::vector<std::string> hosts;
    gw::test::HttpServer proxy([&](httplib::Server& server, std::stop_token) {
        server.set_pre_routing_handler(
            [&](const httplib::Request& request, httplib::Response& response) {
                const std::lock_guard lock(mutex);
                hosts.push_back(request.get_header_value("Host"));
                response.set_content("<a href=\"x.zip\">x</a>", "text/html");
                return httplib::Server::HandlerResponse::Handled;
            });
    });
    for (const char* locale : {"C", "C.UTF-8"}) {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove("no_proxy");
        environment.insert("http_proxy", Q(proxy.url("")));
        environment.insert("LC_ALL", locale);
        process.setProcessEnvironment(environment);
        process.start(QStringLiteral(GW_CLI_PATH), {"--list", "--max-time", "20",
                                                    "http://b\xC3\xBC"
                                                    "cher.example/"});
        process.waitForFinished(60000);
        EXPECT_EQ(process.exitCode(), 0) << locale << process.readAllStandardError().toStdString();
        EXPECT_EQ(process.readAllStandardOutput().toStdString(),
                  "http://b\xC3\xBC"
                  "cher.example/x.zip\n");
    }
    EXPECT_EQ(hosts, (std::vector<std::string>{"xn--bcher-kva.example", "xn--bcher-kva.example"}));
}

// Run again over one page and folder: what was up to date is counted (not checked again, so
// not verified), --refetch fetches it all, and a file system without extended attributes
// (ramfs) is fetched whole each time.
TEST(DownloadCommand, ARunAgainFetchesOnlyWhatChangedAndCountsWhatWasUpToDate) {
    gw::test::DownloadServer files;
    files.serve("/versioned/both/SHA256SUMS",
                gw::test::HexDigest("SHA256", gw::test::FileBytes("a.zip1", 20000)) + "  a.zip\n");
    gw::test::DownloadServer page(
        Links(files, {"/versioned/both/SHA256SUMS", "/versioned/both/a.zip",
                      "/versioned/both/b.zip", "/versioned/both/c.zip"}));
    const auto summary = [](const std::string& err) {
        std::smatch match;
        return std::regex_search(err, match, std::regex("cli: (.*) bytes in")) ? match[1].str()
                                                                               : err;
    };
    const std::string folder = Folder();
    const QStringList run = {"-d", Q(folder), Q(page.url("/page"))};
    const std::string all = "3 files arrived (1 verified), 0 failed, 60000";
    EXPECT_EQ(summary(RunCli(run).err), all);
    std::ofstream(folder + "/b.zip", std::ios::app) << "edited";
    EXPECT_EQ(summary(RunCli(run).err), "1 file arrived, 2 unchanged, 0 failed, 20000");
    EXPECT_EQ(summary(RunCli(run + QStringList{"--refetch"}).err), all);
    if (const std::string refused = MountsRefused(); !refused.empty())
        GTEST_SKIP() << "the row on ramfs: " << refused;
    // The ramfs lives and dies with one shell's mount namespace, where the program runs twice.
    QProcess twice;
    twice.start("unshare",
                {"-m", "sh", "-c",
                 "mount -t ramfs none \"$0\" && \"$1\" -d \"$0\" \"$2\" && \"$1\" -d \"$0\" \"$2\"",
                 Q(Folder("ramfs")), GW_CLI_PATH, run.last()});
    twice.waitForFinished(60000);
    const std::string err = twice.readAllStandardError().toStdString();
    EXPECT_EQ(summary(err), all);
    EXPECT_EQ(summary(err.substr(err.find(" bytes in ") + 1)), all);
}

}  // namespace

namespace {

// A real client nobody here wrote reads what --format writes: aria2c downloads every file
// under the names given, checks the hashes, and fails the file whose listed hash is wrong.
TEST(ListCommand, AnotherDownloaderReadsTheListWithItsNamesAndHashes) {
    if (QStandardPaths::findExecutable("aria2c").isEmpty())
        GTEST_SKIP() << "aria2c is not installed (Debian package aria2)";
    using gw::test::FileBytes;
    using gw::test::HexDigest;
    gw::test::DownloadServer files;
    files.serve("/files/SHA256SUMS", HexDigest("SHA256", FileBytes("a.zip")) + "  a.zip\n" +
                                         std::string(64, '0') + "  bad.zip\n");
    files.serve("/files/x/b.zip.md5", HexDigest("MD5", FileBytes("b.zip")));
    gw::test::DownloadServer page(
        Links(files, {"/files/a.zip", "/files/x/b.zip", "/files/x/a.zip", "/files/bad.zip",
                      "/files/SHA256SUMS", "/files/x/b.zip.md5"}));
    for (const char* format : {"aria2", "metalink"}) {
        SCOPED_TRACE(format);
        const std::string folder = Folder(format);
        const CliRun listed =
            RunCli({"--list", "--format", format, "-s", "*.zip", Q(page.url("/page"))});
        ASSERT_EQ(listed.exitCode, 0) << listed.err;
        EXPECT_EQ(listed.out.find("SHA256SUMS"), std::string::npos) << listed.out;
        const std::string list = folder + "/list";
        std::ofstream(list, std::ios::binary) << listed.out;
        QProcess aria;
        aria.setWorkingDirectory(Q(folder));
        aria.start("aria2c",
                   {"--no-conf", "--quiet", "--dir", Q(folder),
                    std::string(format) == "aria2" ? "--input-file" : "--metalink-file", Q(list)});
        aria.waitForFinished(60000);
        EXPECT_NE(aria.exitCode(), 0);
        EXPECT_EQ(ReadAll(folder + "/a.zip"), FileBytes("a.zip"));
        EXPECT_EQ(ReadAll(folder + "/b.zip"), FileBytes("b.zip"));
        EXPECT_EQ(ReadAll(folder + "/a (2).zip"), FileBytes("a.zip"));
        EXPECT_FALSE(fs::exists(folder + "/bad.zip") &&
                     !fs::exists(folder + "/bad.zip.aria2"));  // refused, or left unfinished
    }
}

}  // namespace
