#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>

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
    const CliRun upperCase = runCli({"--list", "--spec", "*.TXT", QString::fromStdString(base)});
    EXPECT_EQ(upperCase.out, base + "readme.txt\n");
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
        {{"--list", "--spec", "[a", "http://127.0.0.1:1/"}, 2, gw::harvest::kInvalidPatternMessage},
        {{"--jobs", "17", "http://127.0.0.1:1/"}, 2, "--jobs"},
        {{"--jobs=0", "http://127.0.0.1:1/"}, 2, "--jobs"},
        {{"--max-time", "-1", "http://127.0.0.1:1/"}, 2, "--max-time"},
        {{"--list", "--bogus", "http://127.0.0.1:1/"}, 2, "unknown option --bogus"},
        {{"--list", "--", "--spec", "http://127.0.0.1:1/"}, 2, "only one address"},
        {{"--list"}, 2, "no address"},
    };
    for (const Case& c : cases) {
        const CliRun run = runCli(c.arguments);
        EXPECT_EQ(run.exitCode, c.exitCode) << c.arguments.join(' ').toStdString();
        EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
        EXPECT_EQ(run.out, "");
    }
    const CliRun help = runCli({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_NE(help.out.find("--spec PATTERN"), std::string::npos);
}

TEST(ListCommand, AFullListSaysHowManyWereDropped) {
    gw::test::HttpServer server(serve);
    const CliRun run = runCli({"--list", QString::fromStdString(server.url("/many"))});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(std::count(run.out.begin(), run.out.end(), '\n'), 32767);
    EXPECT_NE(run.err.find("233 "), std::string::npos) << run.err;
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
