#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QThread>
#include <filesystem>
#include <fstream>

#include "ProjectVersion.h"
#include "harvest/Messages.h"
#include "retrieval/Messages.h"
#include "support/HttpServer.h"
#include "support/TempEnvironment.h"

namespace {

struct CliRun {
    int exitCode = -1;
    std::string out;
    std::string err;
};

CliRun runCli(const QStringList& arguments) {
    QProcess process;
    process.start(QStringLiteral(GW_CLI_PATH), arguments);
    process.waitForFinished(60000);
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            process.readAllStandardOutput().toStdString(),
            process.readAllStandardError().toStdString()};
}

std::string manyLinks(int count) {
    std::string page;
    for (int i = 0; i < count; ++i)
        page += "<a href=\"f" + std::to_string(i) + ".zip\">x</a>\n";
    return page;
}

void serve(httplib::Server& server, std::stop_token) {
    server.Get("/d/", [](const httplib::Request&, httplib::Response& res) {
        res.set_content(
            "<A HREF=\"a.zip\">a</A>\r\n<a href=\"/pub/b.zip\">b</a><a href=\"a.zip\">again</a>"
            "<a href=\"c\td.zip\">tab</a><a href=\"e\x1b[31m.zip\">esc</a>"
            "<a href=\"readme.txt\">r</a>",
            "text/html");
    });
    server.Get("/many", [](const httplib::Request&, httplib::Response& res) {
        res.set_content(manyLinks(33000), "text/html");
    });
    // Twenty addresses of 4095 bytes: with its line end each fills one page of a pipe, so a
    // write that waits for room in a full pipe has written nothing yet.
    server.Get("/long", [](const httplib::Request& req, httplib::Response& res) {
        const std::string base = "http://" + req.get_header_value("Host") + "/";
        std::string page;
        for (char c = 'a'; c < 'u'; ++c)
            page += "<a href=\"" + base + std::string(4091 - base.size(), c) + ".zip\">x</a>\n";
        res.set_content(page, "text/html");
    });
    server.Get("/pics/", [](const httplib::Request&, httplib::Response& res) {
        res.set_content(
            "<a href=\"a.zip\">a</a><img src=\"p.png\" srcset=\"p2.png 2x\"><video "
            "poster=\"v.jpg\"><a href=\"b.pdf\">b</a><a href=\"SHA256SUMS\">sums</a>",
            "text/html");
    });
    server.Get("/none", [](const httplib::Request&, httplib::Response& res) {
        res.set_content("<p>nothing here</p>", "text/html");
    });
    server.Get("/empty", [](const httplib::Request&, httplib::Response& res) {
        res.set_content("", "text/html");
    });
}

}  // namespace

TEST(ListCommand, PrintsEachAddressOnceOnItsOwnLineWithControlsEscaped) {
    gw::test::HttpServer server(serve);
    const CliRun run = runCli({"--list", QString::fromStdString(server.url("/d/"))});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    const std::string base = server.url("/d/");
    EXPECT_EQ(run.out, base + "a.zip\n" + server.url("/pub/b.zip") + "\n" + base + "c%09d.zip\n" +
                           base + "e%1B[31m.zip\n");
    const CliRun upperCase = runCli({"-l", "-s", "*.TXT", QString::fromStdString(base)});
    EXPECT_EQ(upperCase.out, base + "readme.txt\n");
}

TEST(ListCommand, MediaSeveralPatternsAndExclusions) {
    gw::test::HttpServer server(serve);
    const QString page = QString::fromStdString(server.url("/pics/"));
    const std::string base = server.url("/pics/");
    const std::pair<QStringList, std::string> cases[] = {
        {{"-l", page}, "a.zip\n"},
        {{"-l", "-m", page}, "a.zip\n"},
        {{"-l", "--media", "-s", "*", page}, "a.zip\np2.png\nv.jpg\nb.pdf\nSHA256SUMS\n"},
        {{"-l", "-m", "-s", "*.png", "--spec=*.pdf", page}, "p2.png\nb.pdf\n"},
        {{"-l", "-m", "-s", "*", "-x", "*.png", "--exclude", "*SUMS", page},
         "a.zip\nv.jpg\nb.pdf\n"},
    };
    for (const auto& [arguments, listed] : cases) {
        const CliRun run = runCli(arguments);
        std::string expected;
        for (std::size_t from = 0, end; (end = listed.find('\n', from)) != std::string::npos;
             from = end + 1)
            expected += base + listed.substr(from, end + 1 - from);
        EXPECT_EQ(run.out, expected) << arguments.join(' ').toStdString();
    }
}

TEST(ListCommand, FailuresGoToStandardErrorWithTheWizardsMessages) {
    gw::test::HttpServer server(serve);
    struct Case {
        QStringList arguments;
        int exitCode;
        std::string message;
    };
    const Case cases[] = {
        {{"--list", QString::fromStdString(server.url("/none"))},
         1,
         gw::harvest::kNothingFoundMessage},
        {{"--list", QString::fromStdString(server.url("/empty"))},
         1,
         gw::retrieval::kEmptyPageMessage},
        {{"--list", QString::fromStdString(server.url("/missing"))},
         1,
         gw::retrieval::kFetchFailedMessage},
        {{"--list", "file:///etc/passwd"}, 1, gw::retrieval::kFetchFailedMessage},
    };
    for (const Case& c : cases) {
        const CliRun run = runCli(c.arguments);
        EXPECT_EQ(run.exitCode, c.exitCode) << c.arguments.join(' ').toStdString();
        EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
        EXPECT_EQ(run.out, "");
    }
}

TEST(ListCommand, AUsageErrorIsItsReasonAndAPointerToTheHelp) {
    const QString at = "http://127.0.0.1:1/";
    const std::string root = gw::test::TestRoot(), fifo = root + "/fifo", big = root + "/big";
    ::mkfifo(fifo.c_str(), 0600);
    std::ofstream(big).close();
    std::filesystem::resize_file(big, (64 << 20) + 1);
    const auto cookies = [&](const std::string& file, const char* why) {
        return std::pair<QStringList, std::string>{{"--cookies", QString::fromStdString(file), at},
                                                   "the cookies file " + file + why};
    };
    std::vector<std::pair<QStringList, std::string>> cases = {
        {{"-l", "-s", "[a", at}, "the pattern \"[a\" is not valid: a \"[\" has no closing \"]\""},
        {{"-j", "17", at}, "--jobs takes a whole number from 1 to 16"},
        {{"--jobs=0", at}, "--jobs takes a whole number from 1 to 16"},
        {{at, "-j"}, "--jobs needs a value"},
        {{"-d", "", at}, "--dest needs a folder"},
        {{"--list", "--bogus\x1b[2J", at}, "unknown option --bogus%1B[2J"},
        {{"-lq", at}, "unknown option -q"},
        {{"-l", "-s", "*", "-x", "a[", at},
         "the pattern \"a[\" is not valid: a \"[\" has no closing \"]\""},
        {{"--media=yes", at}, "--media takes no value"},
        {{"--list=yes", at}, "--list takes no value"},
        {{"--list", "--", "--spec", at}, "only one address can be given"},
        {{"-l"}, "no address given"},
        cookies("/nonexistent/cookies.txt", " cannot be read: No such file or directory"),
        cookies(fifo, " is not a regular file"),
        cookies("/dev/zero", " is not a regular file"),
        cookies(root, " is not a regular file"),
        cookies(big, " is larger than 64 MiB"),
    };
    for (const char* limit : {"1e10", "inf", "nan", "0", "-1", "0x10", "31536000.5"})
        cases.push_back(
            {{"--max-time", limit, at},
             "--max-time takes a number of seconds above 0 and at most 31536000 (a year)"});
    for (const char* rate : {"0", "-1", "1x", "2MB", "1e3", "0.5k", ""})
        cases.push_back({{"--limit-rate", rate, at},
                         "--limit-rate takes a whole number of bytes per second, at least 1k, "
                         "optionally followed by k, M or G"});
    for (const auto& [arguments, why] : cases) {
        const CliRun run = runCli(arguments);
        EXPECT_EQ(run.exitCode, 2) << why;
        EXPECT_EQ(run.err, "grabwright-cli: " + why + "\nTry 'grabwright-cli --help'.\n");
        EXPECT_EQ(run.out, "");
    }
    for (const char* limit : {"31536000", ".5"})
        EXPECT_EQ(runCli({"-l", "--max-time", limit, at}).exitCode, 1) << limit;
    for (const char* option : {"-V", "--version"})
        EXPECT_EQ(runCli({option}).out, "grabwright-cli " GW_VERSION_TEXT "\n");
    const CliRun help = runCli({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_NE(help.out.find("-s, --spec=PATTERN"), std::string::npos);
}

TEST(ListCommand, AFullListSaysHowManyWereDropped) {
    gw::test::HttpServer server(serve);
    const CliRun run = runCli({"--list", QString::fromStdString(server.url("/many"))});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(std::count(run.out.begin(), run.out.end(), '\n'), 32767);
    EXPECT_NE(run.err.find("233 "), std::string::npos) << run.err;
}

// Nothing reads the program's output until it has taken the signal, so it waits in a write
// then, and a reader cannot make room before the write has seen the signal.
TEST(ListCommand, ACtrlCDuringAWriteIsNoWriteError) {
    gw::test::HttpServer server(serve);
    QProcess process;
    process.start(QStringLiteral(GW_CLI_PATH), {"-l", QString::fromStdString(server.url("/long"))});
    const auto proc = [&](const char* file, const std::string& key) {
        std::ifstream in("/proc/" + std::to_string(process.processId()) + "/" + file);
        std::string line;
        while (std::getline(in, line) && line.rfind(key, 0) != 0) {
        }
        return line.substr(key.size());
    };
    for (int i = 0; i < 2000 && proc("wchan", "").find("pipe_write") == std::string::npos; ++i)
        QThread::msleep(5);
    ::kill(static_cast<pid_t>(process.processId()), SIGINT);
    for (int i = 0; i < 2000 && (std::stoull(proc("status", "ShdPnd:"), nullptr, 16) & 2); ++i)
        QThread::msleep(5);
    process.waitForFinished(60000);
    EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
    EXPECT_EQ(process.readAllStandardOutput().count('\n'), 20);
}

TEST(ListCommand, ListsADirectoryServedByPythonsHttpServer) {
    const QString folder = QString::fromStdString(gw::test::TestRoot()) + "/served";
    QDir().mkpath(folder + "/sub");
    for (const char* name : {"a.zip", "b.ZIP", "notes.txt", "sub/c.zip"}) {
        QFile file(folder + "/" + name);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    QProcess python;
    python.start("/usr/bin/python3",
                 {"-c",
                  "import functools, http.server, sys\n"
                  "handler = functools.partial(http.server.SimpleHTTPRequestHandler, "
                  "directory=sys.argv[1])\n"
                  "server = http.server.ThreadingHTTPServer(('127.0.0.1', 0), handler)\n"
                  "print(server.server_address[1], flush=True)\n"
                  "server.serve_forever()\n",
                  folder});
    ASSERT_TRUE(python.waitForReadyRead(10000));
    const int port = python.readLine().trimmed().toInt();
    const std::string base = "http://127.0.0.1:" + std::to_string(port) + "/";
    const CliRun run = runCli({"--list", "--spec", "*.zip", QString::fromStdString(base)});
    python.kill();
    python.waitForFinished();
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, base + "a.zip\n" + base + "b.ZIP\n");
}
