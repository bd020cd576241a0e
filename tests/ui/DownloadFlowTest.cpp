#include <gtest/gtest.h>

#include <QAccessible>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QTimer>
#include <QtDBus>
#include <filesystem>
#include <fstream>
#include <map>
#include <mutex>

#include "app/WizardState.h"
#include "app/WizardTransfer.h"
#include "settings/SettingsStore.h"
#include "support/DownloadServer.h"
#include "support/FileManagerRecorder.h"
#include "support/HttpServer.h"
#include "support/Pages.h"
#include "support/TempEnvironment.h"
#include "support/WizardFixture.h"
#include "ui/AddressPage.h"
#include "ui/DownloadFlow.h"
#include "ui/FinishedPage.h"
#include "ui/Navigation.h"
#include "ui/ReadyPage.h"
#include "ui/RunEndNotice.h"

using gw::test::control;
namespace fs = std::filesystem;

namespace {

const std::string kAlpha("alpha\0\r\n\xff bytes", 15);
const std::string kBeta(100000, 'b');
const std::string kSlow = "slow file, whole";
const char* kNote =
    "  GrabWright will automatically disconnect from the Internet when the downloads are "
    "complete.";

// Files of a small site, with a count of the requests each path received.
struct Site {
    std::mutex mutex;
    std::map<std::string, int> hits;
    std::atomic<bool> missingRepaired{false};

    int hitsOf(const std::string& path) {
        std::lock_guard lock(mutex);
        return hits[path];
    }

    void serve(httplib::Server& server, std::stop_token stop) {
        server.set_pre_routing_handler([this](const httplib::Request& req, httplib::Response&) {
            std::lock_guard lock(mutex);
            ++hits[req.path];
            return httplib::Server::HandlerResponse::Unhandled;
        });
        server.Get("/f/a.zip", [](const httplib::Request&, httplib::Response& res) {
            res.set_content(kAlpha, "application/zip");
        });
        server.Get("/(f|g)/b.zip", [](const httplib::Request& req, httplib::Response& res) {
            res.set_content(kBeta + req.path, "application/zip");
        });
        server.Get("/f/missing.zip", [this](const httplib::Request&, httplib::Response& res) {
            if (missingRepaired) {
                res.set_content("repaired", "application/zip");
                return;
            }
            res.status = 404;
            res.set_content("not here", "text/html");
        });
        // Long enough for the wait dialog to take clicks while it arrives.
        server.Get("/f/slow.zip", [stop](const httplib::Request&, httplib::Response& res) {
            res.set_chunked_content_provider(
                "application/zip", [stop](size_t offset, httplib::DataSink& sink) {
                    if (offset >= kSlow.size()) {
                        sink.done();
                        return true;
                    }
                    if (!gw::test::SleepUnlessStopped(std::chrono::milliseconds(40), stop))
                        return false;
                    return sink.write(kSlow.data() + offset, 1);
                });
        });
        server.Get("/f/trickle.zip", [stop](const httplib::Request&, httplib::Response& res) {
            res.set_chunked_content_provider(
                "application/zip", [stop](size_t, httplib::DataSink& sink) {
                    if (!gw::test::SleepUnlessStopped(std::chrono::milliseconds(50), stop))
                        return false;
                    return sink.write("x", 1);
                });
        });
    }
};

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// Watches the wait dialog while a run pumps events, and acts once its caption holds `marker`.
class WaitDialogWatch {
  public:
    enum class Action { None, ClickCancel, Close };
    WaitDialogWatch(QString marker, Action action) : marker_(std::move(marker)) {
        timer_.setInterval(5);
        QObject::connect(&timer_, &QTimer::timeout, [this, action] {
            QWidget* wait = gw::test::visibleWindow("WaitDialog");
            if (!wait)
                return;
            const QString caption = wait->findChild<QLabel*>("messageLabel")->text();
            if (captions.isEmpty() || captions.back() != caption)
                captions.push_back(caption);
            if (QApplication::overrideCursor())
                ++pointerChanged;
            const auto* bar = wait->findChild<QProgressBar*>("progressBar");
            const QString figures = wait->findChild<QLabel*>("figuresLabel")->text();
            if (bar->isVisible() && (bars.isEmpty() || bars.back().second != figures))
                bars.push_back({bar->maximum() == 0 ? -1 : bar->value(), figures});
            if (!wait->findChild<QPushButton*>("cancelButton")->isVisible())
                ++cancelMissing;
            if (acted || !caption.contains(marker_))
                return;
            acted = true;
            if (action == Action::ClickCancel)
                wait->findChild<QPushButton*>("cancelButton")->click();
            else if (action == Action::Close)
                wait->window()->close();
        });
        timer_.start();
    }
    QStringList captions;
    QList<std::pair<int, QString>> bars;  // the bar's value (-1: busy) and figures, as changed
    bool acted = false;
    int pointerChanged = 0;
    int cancelMissing = 0;

  private:
    QString marker_;
    QTimer timer_;
};

// The desktop's notification service as far as the program uses it; every notice gets id 1.
struct NoticeService : QDBusVirtualObject {
    QStringList notices;
    QStringList capabilities{"actions", "body"};
    QString introspect(const QString&) const override { return {}; }
    bool handleMessage(const QDBusMessage& call, const QDBusConnection& bus) override {
        if (call.member() == "GetCapabilities")
            return bus.send(call.createReply(capabilities));
        for (int field : {0, 3, 4, 5})
            notices << call.arguments()[field].toStringList();
        return bus.send(call.createReply(uint(1)));
    }
};

struct DownloadFlowTest : gw::test::WizardFixture {
    Site site;
    gw::test::HttpServer server{
        [this](httplib::Server& s, std::stop_token stop) { site.serve(s, std::move(stop)); }};
    fs::path folder = fs::path(gw::test::TestRoot()) / "dest dir";

    void SetUp() override {
        WizardFixture::SetUp();
        // The run pumps events by the clock while a file arrives.
        fakes.clock.tick = std::chrono::milliseconds(5);
        fs::create_directories(folder);
        gw::app::wizardState().DestinationFolder = folder.string() + "/";
    }
    void TearDown() override {
        WizardFixture::TearDown();
        gw::app::setTransferOptions({});
    }

    void select(const std::vector<std::string>& paths) {
        auto& state = gw::app::wizardState();
        state.SelectedCount = static_cast<std::int16_t>(paths.size());
        for (std::size_t i = 0; i < paths.size(); ++i)
            state.SelectedFiles[i + 1] =
                paths[i].find("://") == std::string::npos ? server.url(paths[i]) : paths[i];
    }

    // "Next >>" on the ready page; the finished page it leads to.
    QWidget* run() {
        auto* ready = gw::ui::showPage<gw::ui::ReadyPage>();
        QTest::keyClick(ready, Qt::Key_Return);
        gw::test::settle();
        EXPECT_EQ(gw::ui::loadedPage<gw::ui::ReadyPage>(), nullptr);
        EXPECT_EQ(gw::test::visibleWindow("WaitDialog"), nullptr);
        return gw::ui::loadedPage<gw::ui::FinishedPage>();
    }
    static QString message(QWidget* finished) {
        return control<QLabel>(finished, "messageLabel")->text();
    }
    static bool backShown(QWidget* finished) {
        return control<QPushButton>(finished, "backButton")->isVisible();
    }
};

}  // namespace

TEST_F(DownloadFlowTest, ReadyPageNamesTheFolder) {
    auto* ready = gw::ui::showPage<gw::ui::ReadyPage>();
    EXPECT_EQ(control<QLabel>(ready, "messageLabel")->text().toStdString(),
              "Your files are ready to be downloaded.  Your files will be downloaded into " +
                  folder.string() +
                  "/.  If this is not correct, click the \"Back\" button and change the "
                  "destination folder.  If this is correct, click the \"Next\" button.");
}

TEST_F(DownloadFlowTest, TheSpeedLimitStartsUntickedAndIsRememberedForTheNextRun) {
    const auto shown = [](bool ticked, int value) {
        gw::test::closeAllWindows();
        QWidget* ready = gw::ui::showPage<gw::ui::ReadyPage>();
        auto* limit = control<QCheckBox>(ready, "limitBox");
        auto* rate = control<QSpinBox>(ready, "limitRateBox");
        EXPECT_EQ(limit->isChecked(), ticked);
        EXPECT_EQ(rate->isEnabled(), ticked);
        EXPECT_EQ(rate->value(), value);
        return std::tuple{ready, limit, rate};
    };
    select({"/f/b.zip"});
    auto [ready, limit, rate] = shown(false, 500);
    limit->click();
    rate->setValue(64);
    QTest::keyClick(ready, Qt::Key_Return);
    gw::test::settle();
    EXPECT_EQ(message(gw::ui::loadedPage<gw::ui::FinishedPage>()), gw::ui::kDownloadedMessage);
    EXPECT_EQ(readFile(folder / "b.zip"), kBeta + "/f/b.zip");
    std::tie(ready, limit, rate) = shown(true, 64);
    limit->click();
    QTest::mouseClick(control<QPushButton>(ready, "backButton"), Qt::LeftButton);
    EXPECT_EQ(gw::settings::ReadSetting("GrabWright", "Settings", "LimitRate"), "0");
    shown(false, 500);
}

TEST_F(DownloadFlowTest, CaptionNamesTheFileAndTheDisconnect) {
    EXPECT_EQ(gw::ui::DownloadCaption(2, 10, "http://h/a b.zip", false),
              "Please wait... Downloading file 2 of 10 (http://h/a b.zip)");
    EXPECT_EQ(gw::ui::DownloadCaption(1, 1, "x", true),
              QStringLiteral("Please wait... Downloading file 1 of 1 (x)") + kNote);
}

TEST_F(DownloadFlowTest, OutcomeFollowsTheFiles) {
    gw::test::DownloadServer versions;
    struct Case {
        std::vector<std::string> paths;
        const char* message;
        std::map<std::string, std::string> files;
        QString note = {};
    };
    const Case cases[] = {
        {{"/f/a.zip", "/f/b.zip"},
         gw::ui::kDownloadedMessage,
         {{"a.zip", kAlpha}, {"b.zip", kBeta + "/f/b.zip"}}},
        {{"/f/a.zip", "/f/missing.zip", "/f/b.zip"},
         gw::ui::kDownloadErrorsMessage,
         {{"a.zip", kAlpha}, {"b.zip", kBeta + "/f/b.zip"}}},
        {{"/f/b.zip", "/g/b.zip"},
         gw::ui::kDownloadedMessage,
         {{"b.zip", kBeta + "/g/b.zip"}},
         QStringLiteral("1 file was replaced by a later file of the same name.")},
        {{"/f/", "/f/a.zip"}, gw::ui::kDownloadErrorsMessage, {{"a.zip", kAlpha}}},
        {{"http://127.0.0.1:1/f/a.zip"}, gw::ui::kDownloadErrorsMessage, {}},
        // A retry that meets a newer version takes that version whole.
        {{versions.url("/resume/newer/n.zip")},
         gw::ui::kDownloadedMessage,
         {{"n.zip", gw::test::VersionServed("newer", "n.zip", false).bytes}}},
    };
    for (const Case& c : cases) {
        fs::remove_all(folder);
        fs::create_directories(folder);
        select(c.paths);
        QWidget* finished = run();
        ASSERT_NE(finished, nullptr);
        EXPECT_EQ(message(finished), c.message) << c.paths.front();
        auto* notes = control<QLabel>(finished, "notesLabel");
        EXPECT_EQ(notes->isVisible() ? notes->text() : QString(), c.note);
        const bool clean = c.message == gw::ui::kDownloadedMessage;
        EXPECT_EQ(backShown(finished), !clean);
        EXPECT_EQ(gw::app::wizardState().DownloadIncomplete, !clean);
        for (const auto& [name, bytes] : c.files)
            EXPECT_EQ(readFile(folder / name), bytes) << name;
        gw::test::closeAllWindows();
    }
    EXPECT_EQ(fakes.dialup.activeCalls, 0);
}

// The finished page keeps its message and says under it what the page's checksums found.
TEST_F(DownloadFlowTest, TheFinishedPageSaysWhatThePagesChecksumsFound) {
    gw::test::DownloadServer files;
    files.serve("/files/SHA256SUMS", gw::test::HexDigest("SHA256", gw::test::FileBytes("a.zip")) +
                                         "  a.zip\n" + std::string(64, '0') + "  bad.zip\n");
    files.serve("/files/SHA1SUMS", "");
    // Only the files a list named count.
    const QString lists = " the checksums published on the page";
    const QString refused = "1 file did not match" + lists + " and was not saved.";
    const std::pair<std::string, QString> cases[] = {
        {"d.zip", "1 of 2 files that arrived were verified against" + lists + "."},
        {"bad.zip", "1 of 1 file that arrived was verified against" + lists + ".\n" + refused},
    };
    for (const auto& [second, line] : cases) {
        select({files.url("/files/a.zip"), files.url("/files/" + second)});
        gw::app::wizardState().ChecksumLists = {files.url("/files/SHA256SUMS"),
                                                files.url("/files/SHA1SUMS")};
        QWidget* finished = run();
        EXPECT_EQ(message(finished),
                  second == "d.zip" ? gw::ui::kDownloadedMessage : gw::ui::kDownloadErrorsMessage);
        // The notes on the lists follow, as the command line says them.
        auto* notes = control<QLabel>(finished, "notesLabel");
        EXPECT_EQ(notes->text(), line +
                                     "\nChecksum list SHA1SUMS not read (HTTP status 404: The "
                                     "requested URL returned error: 404); its files are not "
                                     "checked.");
        // Wrapped, they take the room they need above the buttons, and are read with the message.
        EXPECT_GE(notes->height(), notes->heightForWidth(notes->width()));
        EXPECT_LT(notes->mapTo(finished, notes->rect().bottomLeft()).y(),
                  control<QPushButton>(finished, "finishButton")->y());
        EXPECT_EQ(QAccessible::queryAccessibleInterface(finished)->text(QAccessible::Description),
                  message(finished) + "\n" + notes->text());
        gw::test::closeAllWindows();
    }
    // Refused bytes leave nothing behind, not even the empty file of a failed fetch.
    EXPECT_FALSE(fs::exists(folder / "bad.zip"));
}

TEST_F(DownloadFlowTest, RunStoresThePageAddressAsTheNextHistoryEntry) {
    auto& state = gw::app::wizardState();
    state.PageAddress = "http://site/page/";
    state.HistoryCount = 3;
    select({"/f/a.zip"});
    run();
    EXPECT_EQ(gw::settings::ReadSetting("GrabWright", "History", "URL4"), "http://site/page/");
    EXPECT_EQ(state.HistoryCount, 3);
    EXPECT_FALSE(state.ShowWaitCancel);
}

TEST_F(DownloadFlowTest, CancelTakesEffectBeforeTheNextFile) {
    struct Case {
        std::vector<std::string> paths;
        const char* cancelDuring;
        const char* message;
    };
    const Case cases[] = {
        {{"/f/slow.zip", "/f/a.zip", "/f/b.zip"}, "file 1 of 3", gw::ui::kDownloadCancelledMessage},
        {{"/f/a.zip", "/f/slow.zip"}, "file 2 of 2", gw::ui::kDownloadedMessage},
    };
    for (const Case& c : cases) {
        select(c.paths);
        WaitDialogWatch watch(QString::fromLatin1(c.cancelDuring),
                              WaitDialogWatch::Action::ClickCancel);
        QWidget* finished = run();
        ASSERT_TRUE(watch.acted) << c.cancelDuring;
        EXPECT_EQ(watch.pointerChanged, 0);
        EXPECT_EQ(watch.cancelMissing, 0);
        EXPECT_EQ(message(finished), c.message);
        EXPECT_EQ(backShown(finished), c.message == gw::ui::kDownloadCancelledMessage);
        // The file in progress is finished first.
        EXPECT_EQ(readFile(folder / "slow.zip"), kSlow);
        gw::test::closeAllWindows();
    }
    EXPECT_EQ(site.hitsOf("/f/b.zip"), 0);
    EXPECT_EQ(site.hitsOf("/f/a.zip"), 1);
}

TEST_F(DownloadFlowTest, ClosingTheWaitDialogEndsAFileThatNeverEnds) {
    select({"/f/trickle.zip", "/f/a.zip"});
    WaitDialogWatch watch(QStringLiteral("file 1 of 2"), WaitDialogWatch::Action::Close);
    QWidget* finished = run();
    ASSERT_TRUE(watch.acted);
    EXPECT_EQ(message(finished), gw::ui::kDownloadCancelledMessage);
    EXPECT_TRUE(backShown(finished));
    EXPECT_EQ(site.hitsOf("/f/a.zip"), 0);
}

TEST_F(DownloadFlowTest, FilesBehindTheRefererAndThePagesCookieArriveAndNoCookieIsStored) {
    gw::test::DownloadServer guarded;
    auto* page = gw::ui::showPage<gw::ui::AddressPage>();
    auto* box = control<QComboBox>(page, "addressBox");
    box->setEditText(QString::fromStdString(guarded.url("/guarded/start")));
    QTest::keyClick(box, Qt::Key_Return);
    gw::test::settle();
    ASSERT_EQ(gw::app::wizardState().FetchedAddress, guarded.url("/guarded/page"));
    gw::test::closeAllWindows();
    select({guarded.url("/guarded/files/g.zip")});
    EXPECT_EQ(message(run()), gw::ui::kDownloadedMessage);
    EXPECT_EQ(readFile(folder / "g.zip"), gw::test::FileBytes("g.zip"));
    for (const auto& entry : fs::recursive_directory_iterator(gw::test::TestRoot())) {
        if (entry.is_regular_file()) {
            EXPECT_EQ(readFile(entry.path()).find("s3cret"), std::string::npos) << entry.path();
        }
    }
}

// Files the server confirms are done, and the finished page says how many there were.
TEST_F(DownloadFlowTest, ARunAgainCountsUpToDateFilesAsDoneAndSaysHowMany) {
    gw::test::DownloadServer versions;
    select({versions.url("/versioned/both/a.zip"), versions.url("/versioned/both/b.zip"),
            versions.url("/versioned/both/c.zip")});
    for (const QString& notes :
         {QString(), QStringLiteral("3 files were already up to date and were not fetched again."),
          QStringLiteral("1 file was already up to date and was not fetched again.")}) {
        for (const char* name : {"a.zip", "b.zip"})
            if (notes.startsWith('1'))
                std::ofstream(folder / name, std::ios::app) << "mine";
        QWidget* finished = run();
        ASSERT_NE(finished, nullptr);
        EXPECT_EQ(message(finished), gw::ui::kDownloadedMessage);
        EXPECT_FALSE(backShown(finished));
        auto* label = control<QLabel>(finished, "notesLabel");
        EXPECT_EQ(label->isVisible() ? label->text() : QString(), notes);
        gw::test::closeAllWindows();
    }
}

TEST_F(DownloadFlowTest, SecondRunAfterBackStartsClean) {
    select({"/f/a.zip", "/f/missing.zip"});
    QWidget* finished = run();
    EXPECT_EQ(message(finished), gw::ui::kDownloadErrorsMessage);
    QTest::mouseClick(control<QPushButton>(finished, "backButton"), Qt::LeftButton);
    gw::test::settle();
    EXPECT_EQ(gw::ui::loadedPage<gw::ui::FinishedPage>(), nullptr);
    ASSERT_NE(gw::ui::loadedPage<gw::ui::ReadyPage>(), nullptr);

    site.missingRepaired = true;
    finished = run();
    EXPECT_EQ(message(finished), gw::ui::kDownloadedMessage);
    EXPECT_FALSE(backShown(finished));
    EXPECT_EQ(readFile(folder / "missing.zip"), "repaired");
    EXPECT_EQ(site.hitsOf("/f/a.zip"), 2);
}

TEST_F(DownloadFlowTest, LineDroppedOnlyAfterACompletedRun) {
    struct Case {
        bool hangUpOnQuit;
        bool cancel;
        bool dropped;
    };
    const Case cases[] = {{true, false, true}, {true, true, false}, {false, false, false}};
    for (const Case& c : cases) {
        fakes.dialup = gw::test::FakeDialup{};
        fakes.dialup.up = true;
        gw::app::wizardState().HangUpOnQuit = c.hangUpOnQuit;
        select({"/f/slow.zip", "/f/a.zip"});
        WaitDialogWatch watch(
            QStringLiteral("file 1 of 2"),
            c.cancel ? WaitDialogWatch::Action::ClickCancel : WaitDialogWatch::Action::None);
        QWidget* finished = run();
        EXPECT_EQ(fakes.dialup.hangUpCalls > 0, c.dropped);
        EXPECT_EQ(fakes.dialup.up, !c.dropped);
        EXPECT_EQ(message(finished),
                  c.cancel ? gw::ui::kDownloadCancelledMessage : gw::ui::kDownloadedMessage);
        // The first caption never carries the note; every per-file caption does when due.
        ASSERT_FALSE(watch.captions.isEmpty());
        for (const QString& caption : watch.captions)
            EXPECT_EQ(caption.endsWith(QLatin1String(kNote)),
                      c.hangUpOnQuit && caption.contains(QLatin1String("Downloading file ")))
                << caption.toStdString();
        gw::test::closeAllWindows();
    }
}

TEST_F(DownloadFlowTest, FinishOpensTheFolderUnlessScheduled) {
    struct Case {
        bool scheduled;
        bool opened;
    };
    for (const Case c : {Case{false, true}, Case{true, false}}) {
        gw::test::FileManagerRecorder recorder;
        auto& state = gw::app::wizardState();
        state.HangUpOnQuit = true;
        fakes.dialup.up = true;
        state.DownloadsScheduled = c.scheduled;
        ended = 0;
        QWidget* finished = gw::ui::ShowFinished(QString::fromLatin1(gw::ui::kDownloadedMessage));
        QTest::keyClick(finished, Qt::Key_Escape);
        EXPECT_EQ(ended, 0);
        EXPECT_TRUE(finished->isVisible());
        QTest::keyClick(finished, Qt::Key_Return);
        EXPECT_EQ(ended, 1);
        EXPECT_EQ(recorder.opened, c.opened ? std::vector<std::string>{state.DestinationFolder}
                                            : std::vector<std::string>{});
        EXPECT_EQ(fakes.dialup.hangUpCalls, 0);
        gw::test::closeAllWindows();
    }
}

// The bar and its figures follow the file, in the middle with the caption, above the note.
TEST_F(DownloadFlowTest, TheWaitDialogShowsHowFarTheFileInProgressIs) {
    gw::test::DownloadServer held;
    select({held.url("/held/h.zip")});
    WaitDialogWatch watch(QString(), WaitDialogWatch::Action::None);
    std::vector<int> tops;  // caption, bar, figures, note; then the caption's bottom
    QTimer release;
    QObject::connect(&release, &QTimer::timeout, [&] {
        if (watch.bars.isEmpty() || watch.bars.back().first != 50 || !tops.empty())
            return;
        QWidget* wait = gw::test::visibleWindow("WaitDialog");
        for (const char* name : {"messageLabel", "progressBar", "figuresLabel", "cancelNoteLabel"})
            tops.push_back(wait->findChild<QWidget*>(name)->y());
        tops.push_back(wait->findChild<QWidget*>("figuresLabel")->geometry().bottom());
        held.release();
    });
    release.start(5);
    EXPECT_EQ(message(run()), gw::ui::kDownloadedMessage);
    ASSERT_EQ(tops.size(), 5u) << "the bar never stood at half";
    EXPECT_EQ(watch.bars.front().first, -1);
    EXPECT_TRUE(watch.bars.back().second.startsWith("1.0 kB of 2.0 kB"));
    EXPECT_TRUE(std::is_sorted(tops.begin(), tops.end() - 1));
    EXPECT_NEAR(tops[0], tops[3] - tops[4], 2) << "as much room above as below";
}

// A copy the server confirmed is no download, as the command line's summary has it.
TEST(RunEndNotice, CountsFilesAsTheSummaryDoes) {
    using enum gw::transfer::FileOutcome;
    std::vector<gw::transfer::FileStatus> files(4, {true, {}, {Unchanged, {}}, true, 0, {}});
    files[0].result.outcome = Written;
    files[3].started = false;
    EXPECT_EQ(gw::ui::RunEndText(gw::ui::CountFiles(files), "/home/u/R&D/"),
              "1 file downloaded to R&D, 2 already up to date.");
}

TEST_F(DownloadFlowTest, OnlyALongRunOutOfSightIsAnnouncedAndItsButtonOpensTheFolder) {
    const QString path = QStringLiteral("/org/freedesktop/Notifications");
    const QString name = QStringLiteral("org.freedesktop.Notifications");
    // Seconds, another window active, service (0 none, 1 plain, 2 markup), files; the notice.
    const char *ok = "Downloads finished", *bad = "Downloads finished with failures";
    const std::tuple<int, bool, int, std::vector<std::string>, const char*, const char*> cases[] = {
        {12, true, 1, {"/f/a.zip", "/f/"}, bad, "1 file downloaded to R&D <old>, 1 failed."},
        {12, true, 2, {"/f/a.zip", "/f/b.zip"}, ok, "2 files downloaded to R&amp;D &lt;old&gt;."},
        {9, true, 1, {"/f/a.zip"}, nullptr, nullptr},
        {12, false, 1, {"/f/a.zip"}, nullptr, nullptr},
        {12, true, 0, {"/f/a.zip"}, nullptr, nullptr},
    };
    // A private session bus, there before the program first asks for the bus.
    QProcess daemon;
    daemon.start("dbus-daemon", {"--session", "--nofork", "--print-address"});
    ASSERT_TRUE(daemon.waitForReadyRead(10000)) << "no dbus-daemon";
    const QByteArray address = daemon.readLine().trimmed();
    qputenv("DBUS_SESSION_BUS_ADDRESS", address);
    QDBusConnection bus = QDBusConnection::connectToBus(QString::fromLatin1(address), "service");
    NoticeService service;
    bus.registerVirtualObject(path, &service);
    fakes.clock.tick = {};
    folder = fs::path(gw::test::TestRoot()) / "R&D <old>";
    fs::create_directories(folder);
    gw::app::wizardState().DestinationFolder = folder.string() + "/";
    for (const auto& [seconds, behind, serviceUp, files, summary, body] : cases) {
        SCOPED_TRACE(seconds * 10 + behind * 2 + serviceUp);
        service.notices.clear();
        service.capabilities = {"actions", "body", serviceUp == 2 ? "body-markup" : ""};
        ASSERT_TRUE(!serviceUp || bus.registerService(name));
        gw::test::FileManagerRecorder fileManager;
        select(files);
        auto* ready = gw::ui::showPage<gw::ui::ReadyPage>();
        if (behind) {
            auto* other = new QWidget;  // closeAllWindows() takes it
            other->show();
            ASSERT_TRUE(QTest::qWaitForWindowActive(other));
        }
        // The clock moves on while the files arrive, as the run lets events through.
        QTimer::singleShot(0, [&] { fakes.clock.current += std::chrono::seconds(seconds); });
        testing::internal::CaptureStderr();
        control<QPushButton>(ready, "nextButton")->click();
        // The run has ended: a notice is on its way over the bus; a row that sends none gives
        // a wrong one a moment to arrive.
        EXPECT_EQ(QTest::qWaitFor([&] { return !service.notices.isEmpty(); }, body ? 10000 : 300),
                  !!body);
        EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
        EXPECT_EQ(service.notices, body ? QStringList({"GrabWright Plus", summary, body,
                                                       "open-folder", "Open Folder"})
                                        : QStringList());
        // A notice this run did not send, or one dismissed, has no button.
        bus.send(QDBusMessage::createSignal(path, name, "ActionInvoked")
                 << 1u << QStringLiteral("open-folder"));
        EXPECT_EQ(QTest::qWaitFor([&] { return !fileManager.opened.empty(); }, 300), !!body);
        EXPECT_EQ(fileManager.opened, std::vector(body ? 1 : 0, folder.string() + "/"));
        EXPECT_EQ(ended, 0);
        // The user dismisses the notice, and its button with it.
        bus.send(QDBusMessage::createSignal(path, name, "NotificationClosed") << 1u << 2u);
        bus.unregisterService(name);
        gw::test::closeAllWindows();
    }
    daemon.kill();
    daemon.waitForFinished();
}
