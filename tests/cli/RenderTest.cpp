// The page renderer in a real browser engine, driven through grabwright-cli with no display.
#include <gtest/gtest.h>
#include <signal.h>

#include <QDir>
#include <QDirIterator>
#include <QProcess>
#include <QThread>
#include <algorithm>
#include <atomic>
#include <fstream>
#include <iterator>

#include "support/DownloadServer.h"
#include "support/RenderEngine.h"
#include "support/TempEnvironment.h"

namespace {

// Appends a link named `name` to the body, as the pages' scripts do.
const std::string kAddLink =
    "<body><script>function add(name) { const a = document.createElement('a'); a.href = name;"
    " a.textContent = name; document.body.appendChild(a); }</script>";

// Each render gets a private $TMPDIR, so that what it leaves would show.
QProcessEnvironment RenderEnvironment() {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    const QString tmp = QString::fromStdString(gw::test::TestRoot()) + "/tmp";
    QDir().mkpath(tmp);
    environment.insert("TMPDIR", tmp);
    return environment;
}

struct CliRun {
    int exitCode = -1;
    std::string out;
    std::string err;
};

CliRun RunCli(const QStringList& arguments, std::atomic<qint64>* pid = nullptr) {
    QProcess process;
    process.setProcessEnvironment(RenderEnvironment());
    process.start(QStringLiteral(GW_CLI_PATH), arguments);
    process.waitForStarted();
    if (pid)
        pid->store(process.processId());
    process.waitForFinished(120000);
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            process.readAllStandardOutput().toStdString(),
            process.readAllStandardError().toStdString()};
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t end = text.find('\n', at);
        lines.push_back(text.substr(at, end - at));
        at = end == std::string::npos ? text.size() : end + 1;
    }
    std::sort(lines.begin(), lines.end());
    return lines;
}

struct RenderCase {
    const char* name;
    std::string page;
    QStringList options;
    std::vector<std::string> listed;  // file names, in any order
    const char* note;                 // on standard error
};

class Render : public testing::TestWithParam<RenderCase> {
  protected:
    void SetUp() override {
        if (!gw::test::RenderEngineMissing().empty())
            GTEST_SKIP() << gw::test::RenderEngineMissing();
    }
};

TEST_P(Render, ListsWhatThePageShowsOnceItsScriptsRan) {
    gw::test::DownloadServer server;
    server.serve("/text/list.json", "[\"a.zip\", \"b.zip\"]");
    server.serve("/text/fragment.html", "<a href=\"c.zip\">c</a><a href=\"d.zip\">d</a>");
    server.serve("/text/page.html", kAddLink + GetParam().page);
    const std::string address = server.url("/text/page.html");
    const CliRun run =
        RunCli(GetParam().options + QStringList{"--list", QString::fromStdString(address)});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    std::vector<std::string> expected;
    for (const std::string& name : GetParam().listed)
        expected.push_back(server.url("/text/" + name));
    std::sort(expected.begin(), expected.end());
    std::vector<std::string> listed = Lines(run.out);
    if (listed.size() > expected.size())  // a page that never ends lists more as time goes
        listed.resize(expected.size());
    EXPECT_EQ(listed, expected);
    EXPECT_NE(run.err.find(GetParam().note), std::string::npos) << run.err;
    EXPECT_EQ(server.hits("/text/popup.html"), 0);
    // The refused download left nothing anywhere in the test's folders.
    QDirIterator files(QString::fromStdString(gw::test::TestRoot()), QDir::Files,
                       QDirIterator::Subdirectories);
    while (files.hasNext())
        EXPECT_FALSE(files.next().endsWith("d.bin")) << files.filePath().toStdString();
    // Without the engine, the served text has no such links.
    EXPECT_EQ(RunCli({"--list", QString::fromStdString(address)}).exitCode, 1);
}

INSTANTIATE_TEST_SUITE_P(
    Pages, Render,
    testing::Values(
        RenderCase{"ListFromJson",
                   "<script>fetch('list.json').then(r => r.json())"
                   ".then(names => names.forEach(add));</script>",
                   {"--render"},
                   {"a.zip", "b.zip"},
                   ""},
        RenderCase{"FragmentAfterLoad",
                   "<div id=list></div><script>onload = () => fetch('fragment.html')"
                   ".then(r => r.text()).then(t => { list.innerHTML = t; });</script>",
                   {"--render"},
                   {"c.zip", "d.zip"},
                   ""},
        RenderCase{"NeverSettles",
                   "<script>let n = 0; setInterval(() => add('f' + n++ + '.zip'), 50);</script>",
                   {"--render", "--render-time", "2"},
                   {"f0.zip", "f1.zip"},
                   "grabwright-cli: the page had not settled after 2 s; its document was read as "
                   "it stood"},
        RenderCase{"RefusesDownloadPopUpAndPermissions",
                   "<script>const d = document.createElement('a'); d.href = '/files/d.bin';"
                   " d.download = 'd.bin'; d.click();"
                   " window.open('popup.html'); add('asked.zip');"
                   " Notification.requestPermission().then(p => add('notice-' + p + '.zip'));"
                   "</script>",
                   {"--render"},
                   {"asked.zip", "notice-denied.zip"},
                   ""}),
    [](const testing::TestParamInfo<RenderCase>& info) { return info.param.name; });

// The cookies a page's script sets go with the downloads, as the cookies of a fetched page do.
TEST_F(Render, ACookieThePagesScriptSetsGoesWithTheDownloads) {
    gw::test::DownloadServer server;
    server.serve("/text/page.html", kAddLink +
                                        "<script>document.cookie = 'token=abc; path=/';"
                                        " add('/cookie/t.zip');</script>");
    const std::string folder = gw::test::TestRoot() + "/cookie";
    QDir().mkpath(QString::fromStdString(folder));
    const CliRun run = RunCli({"--render", "-s", "*.zip", "-d", QString::fromStdString(folder),
                               QString::fromStdString(server.url("/text/page.html"))});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    std::ifstream in(folder + "/t.zip", std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), gw::test::FileBytes("t.zip"));
}

// A page the engine cannot show is a one-line reason and exit 1, and nothing stays behind.
TEST_F(Render, APageItCannotShowIsAClearError) {
    gw::test::DownloadServer server;
    server.serve("/text/list.json", "[\"a.zip\"]");
    const struct {
        std::string address;
        const char* reason;
    } cases[] = {
        {server.url("/text/list.json"),
         "grabwright-cli: the page is not HTML but application/json"},
        // Nothing listens on the port a server that ended had.
        {gw::test::DownloadServer().url("/text/page.html"),
         "grabwright-cli: net::ERR_CONNECTION_REFUSED"},
    };
    for (const auto& c : cases) {
        const CliRun run = RunCli({"--render", "--list", QString::fromStdString(c.address)});
        EXPECT_EQ(run.exitCode, 1) << c.address;
        EXPECT_TRUE(run.out.empty()) << run.out;
        EXPECT_NE(run.err.find(c.reason), std::string::npos) << run.err;
        EXPECT_TRUE(QDir(QString::fromStdString(gw::test::TestRoot()) + "/tmp")
                        .isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden))
            << c.address;
    }
}

TEST(RenderKilled, IsAClearErrorAndLeavesNothingBehind) {
    if (!gw::test::RenderEngineMissing().empty())
        GTEST_SKIP() << gw::test::RenderEngineMissing();
    gw::test::DownloadServer server;
    server.serve("/text/page.html",
                 kAddLink + "<script>setInterval(() => add('x.zip'), 50);</script>");
    std::atomic<qint64> cli = 0;
    qint64 helper = 0;
    QThread* killer = QThread::create([&] {
        while (cli == 0)
            QThread::msleep(10);
        QThread::msleep(1500);
        helper = gw::test::ChildOf(cli.load());
        if (helper > 0)
            ::kill(static_cast<pid_t>(helper), SIGKILL);
    });
    killer->start();
    const CliRun run =
        RunCli({"--render", "--list", QString::fromStdString(server.url("/text/page.html"))}, &cli);
    killer->wait();
    delete killer;
    ASSERT_GT(helper, 0);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("grabwright-cli: the page renderer was ended by signal 9"),
              std::string::npos)
        << run.err;
    // Neither the engine's processes nor the render's folder outlive it.
    EXPECT_TRUE(gw::test::GroupLeft(helper).isEmpty())
        << "left: " << gw::test::GroupLeft(helper).join(' ').toStdString();
    EXPECT_TRUE(QDir(QString::fromStdString(gw::test::TestRoot()) + "/tmp")
                    .isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden));
}

}  // namespace
