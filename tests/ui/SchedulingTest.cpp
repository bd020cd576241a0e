#include <gtest/gtest.h>

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>

#include "app/WizardState.h"
#include "platform/UserFolders.h"
#include "settings/SettingsStore.h"
#include "support/FileManagerRecorder.h"
#include "support/Pages.h"
#include "support/TempEnvironment.h"
#include "support/WizardFixture.h"
#include "ui/FinishedPage.h"
#include "ui/Navigation.h"
#include "ui/ReadyPage.h"
#include "ui/SchedulePage.h"
#include "ui/WaitDialog.h"

using gw::test::control;
namespace fs = std::filesystem;

namespace {

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::string shortcut(const std::string& address) {
    return "[InternetShortcut]\r\nURL=" + address + "\r\n";
}

struct SchedulingTest : gw::test::WizardFixture {
    fs::path addOnFolder = fs::path(gw::platform::AddOnBaseFolder()) / "Tardifetch";

    void SetUp() override {
        WizardFixture::SetUp();
        fs::create_directories(addOnFolder);
    }

    void select(const std::vector<std::string>& addresses) {
        auto& state = gw::app::wizardState();
        state.SelectedCount = static_cast<std::int16_t>(addresses.size());
        for (std::size_t i = 0; i < addresses.size(); ++i)
            state.SelectedFiles[i + 1] = addresses[i];
    }

    // "Schedule"; the finished page it leads to.
    QWidget* schedule() {
        auto* page = gw::ui::showPage<gw::ui::SchedulePage>();
        QTest::mouseClick(control<QPushButton>(page, "scheduleButton"), Qt::LeftButton);
        // The unloaded wait dialog stays until the event loop runs: its bar ends full, and it
        // never offered a Cancel.
        int waitDialogs = 0;
        for (QWidget* widget : QApplication::allWidgets()) {
            if (auto* wait = qobject_cast<gw::ui::WaitDialog*>(widget)) {
                ++waitDialogs;
                const auto* bar = wait->findChild<QProgressBar*>("progressBar");
                EXPECT_EQ(wait->findChild<QLabel*>("messageLabel")->text(),
                          "Please wait... Scheduling downloads...");
                EXPECT_FALSE(wait->findChild<QPushButton*>("cancelButton")->isVisibleTo(wait));
                EXPECT_TRUE(bar->isVisibleTo(wait));
                EXPECT_EQ(bar->minimum(), 0);
                EXPECT_EQ(bar->maximum(), gw::app::wizardState().SelectedCount);
                EXPECT_EQ(bar->value(), gw::app::wizardState().SelectedCount);
            }
        }
        EXPECT_EQ(waitDialogs, 1);
        gw::test::settle();
        EXPECT_EQ(gw::ui::loadedPage<gw::ui::SchedulePage>(), nullptr);
        EXPECT_EQ(gw::ui::loadedPage<gw::ui::WaitDialog>(), nullptr);
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);
        return gw::ui::loadedPage<gw::ui::FinishedPage>();
    }
    static QString message(QWidget* finished) {
        return control<QLabel>(finished, "messageLabel")->text();
    }
    static bool backShown(QWidget* finished) {
        return control<QPushButton>(finished, "backButton")->isVisible();
    }
    std::vector<std::string> names() const {
        std::vector<std::string> found;
        for (const auto& entry : fs::directory_iterator(addOnFolder))
            found.push_back(entry.path().filename().string());
        std::sort(found.begin(), found.end());
        return found;
    }
};

}  // namespace

TEST_F(SchedulingTest, OneShortcutPerSelectedFile) {
    std::ofstream(addOnFolder / "a.zip.url") << "left from an earlier pass, and longer";
    auto& state = gw::app::wizardState();
    state.PageAddress = "http://site/page/";
    state.HistoryCount = 2;
    select({"http://h/one/a.zip", "http://h/d/", "bare", "http://h/two/a.zip",
            "http://h/x\nURL=http://evil/y.zip"});
    QWidget* finished = schedule();
    ASSERT_NE(finished, nullptr);
    EXPECT_EQ(message(finished), gw::ui::kScheduledMessage);
    EXPECT_TRUE(state.DownloadsScheduled);
    EXPECT_FALSE(backShown(finished));

    EXPECT_EQ(names(), (std::vector<std::string>{".url", "a.zip.url", "bare.url", "y.zip.url"}));
    EXPECT_EQ(readFile(addOnFolder / "a.zip.url"), shortcut("http://h/two/a.zip"));
    EXPECT_EQ(readFile(addOnFolder / ".url"), shortcut("http://h/d/"));
    EXPECT_EQ(readFile(addOnFolder / "bare.url"), shortcut("bare"));
    EXPECT_EQ(readFile(addOnFolder / "y.zip.url"), shortcut("http://h/x%0AURL=http://evil/y.zip"));
    EXPECT_EQ(gw::settings::ReadSetting("GrabWright", "History", "URL3"), "http://site/page/");
    EXPECT_EQ(state.HistoryCount, 2);
    EXPECT_EQ(fakes.dialup.activeCalls, 0);
}

TEST_F(SchedulingTest, ShortcutsThatCannotBeWrittenAreReportedAndTheOthersWritten) {
    fs::create_directory(addOnFolder / "taken.zip.url");
    select({"http://h/a.zip", "http://h/taken.zip", std::string("http://h/n\0ul.zip", 16),
            "http://h/b.zip"});
    // Left by an earlier download run that failed: the flag is not this run's to clear.
    gw::app::wizardState().DownloadIncomplete = true;
    QWidget* finished = schedule();
    ASSERT_NE(finished, nullptr);
    EXPECT_EQ(message(finished), gw::ui::kSchedulingErrorsMessage);
    EXPECT_TRUE(gw::app::wizardState().DownloadsScheduled);
    EXPECT_TRUE(gw::app::wizardState().DownloadIncomplete);
    EXPECT_TRUE(backShown(finished));
    EXPECT_EQ(names(), (std::vector<std::string>{"a.zip.url", "b.zip.url", "taken.zip.url"}));
    EXPECT_EQ(readFile(addOnFolder / "b.zip.url"), shortcut("http://h/b.zip"));
}

TEST_F(SchedulingTest, MissingFolderIsReported) {
    fs::remove_all(addOnFolder);
    select({"http://h/a.zip"});
    QWidget* finished = schedule();
    ASSERT_NE(finished, nullptr);
    EXPECT_EQ(message(finished), gw::ui::kSchedulingErrorsMessage);
    EXPECT_TRUE(gw::app::wizardState().DownloadsScheduled);
}

TEST_F(SchedulingTest, FinishAfterSchedulingOpensNoFolderEvenAfterALaterDownload) {
    gw::test::FileManagerRecorder recorder;
    select({"http://h/a.zip"});
    QWidget* finished = schedule();
    QTest::keyClick(finished, Qt::Key_Return);
    EXPECT_EQ(ended, 1);
    EXPECT_TRUE(recorder.opened.empty());
    gw::test::closeAllWindows();

    // A download run later in the same pass (nothing answers at this port).
    gw::app::wizardState().DestinationFolder = gw::test::TestRoot() + "/";
    select({"http://127.0.0.1:1/a.zip"});
    auto* ready = gw::ui::showPage<gw::ui::ReadyPage>();
    QTest::keyClick(ready, Qt::Key_Return);
    gw::test::settle();
    finished = gw::ui::loadedPage<gw::ui::FinishedPage>();
    ASSERT_NE(finished, nullptr);
    EXPECT_EQ(message(finished), gw::ui::kDownloadErrorsMessage);
    QTest::keyClick(finished, Qt::Key_Return);
    EXPECT_EQ(ended, 2);
    EXPECT_TRUE(recorder.opened.empty());
}

TEST_F(SchedulingTest, EscQuitsFromTheSchedulingAndReadyPagesOnly) {
    struct Case {
        std::function<QWidget*()> show;
        bool quits;
    };
    const Case cases[] = {
        {[] { return gw::ui::showPage<gw::ui::SchedulePage>(); }, true},
        {[] { return gw::ui::showPage<gw::ui::ReadyPage>(); }, true},
        {[] { return gw::ui::ShowFinished(QString()); }, false},
    };
    gw::app::wizardState().HangUpOnQuit = true;
    fakes.dialup.up = true;
    for (const Case& c : cases) {
        ended = 0;
        fakes.dialup.hangUpCalls = 0;
        QWidget* page = c.show();
        QTest::keyClick(page, Qt::Key_Escape);
        EXPECT_EQ(ended, c.quits ? 1 : 0) << page->objectName().toStdString();
        EXPECT_EQ(fakes.dialup.hangUpCalls > 0, c.quits);
        fakes.dialup.up = true;
        gw::test::closeAllWindows();
    }
}
