#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollArea>
#include <QTest>
#include <QTimer>

#include "app/WizardState.h"
#include "support/FakeDialup.h"
#include "support/Pages.h"
#include "ui/ErrorPage.h"
#include "ui/EventPump.h"
#include "ui/Navigation.h"
#include "ui/WaitDialog.h"

using gw::test::control;

namespace {

struct WaitAndErrorTest : testing::Test {
    void SetUp() override { gw::app::resetWizardState(); }
    void TearDown() override { gw::test::closeAllWindows(); }
};

// Presses `key` on the error page as soon as it is shown (Key_Close: closes the window by its
// frame); returns what its label said. `size` is the window's.
QString answerErrorPage(Qt::Key key, const QString& message, QSize* size = nullptr) {
    QString shown;
    QTimer::singleShot(0, [&] {
        QWidget* page = gw::test::visibleWindow("ErrorPage");
        if (page == nullptr) {
            // An ASSERT would only leave this lambda and let the modal wait run out the
            // test's time limit; the page goes instead, wherever it is.
            ADD_FAILURE() << "the error page is not shown";
            for (QWidget* widget : QApplication::allWidgets()) {
                if (widget->objectName() == "ErrorPage")
                    widget->close();
            }
            return;
        }
        shown = control<QLabel>(page, "messageLabel")->text();
        if (size)
            *size = page->window()->size();
        EXPECT_EQ(page->window()->windowTitle(), "GrabWright");
        EXPECT_TRUE(page->findChildren<QScrollArea*>().isEmpty());
        if (key == Qt::Key_Close)
            page->window()->close();
        else
            QTest::keyClick(page, key);
    });
    gw::ui::ShowError(message);
    return shown;
}

}  // namespace

TEST_F(WaitAndErrorTest, CancelShowsOnlyOnTheDialogMadeRightAfterTheFlag) {
    gw::app::wizardState().ShowWaitCancel = true;
    auto* wait = gw::ui::ShowWait("Please wait... Downloading...");
    auto* cancel = control<QPushButton>(wait, "cancelButton");
    EXPECT_TRUE(cancel->isVisible());
    EXPECT_TRUE(control<QLabel>(wait, "cancelNoteLabel")->isVisible());
    EXPECT_FALSE(gw::app::wizardState().ShowWaitCancel);
    EXPECT_FALSE(control<QProgressBar>(wait, "progressBar")->isVisible());

    QTest::mouseClick(cancel, Qt::LeftButton);
    QTest::mouseClick(cancel, Qt::LeftButton);
    QTest::keyClick(wait, Qt::Key_Escape);
    EXPECT_TRUE(gw::app::wizardState().CancelRequested);
    EXPECT_TRUE(wait->isVisible()) << "neither Cancel nor Esc closes the dialog";

    gw::ui::UnloadWait();
    gw::test::settle();
    wait = gw::ui::ShowWait("Please wait... Retrieving requested webpage...");
    EXPECT_FALSE(control<QPushButton>(wait, "cancelButton")->isVisible());
    EXPECT_FALSE(control<QLabel>(wait, "cancelNoteLabel")->isVisible());
}

TEST_F(WaitAndErrorTest, ClosingTheWaitDialogByItsFrameAsksForTheAbort) {
    auto* wait = gw::ui::ShowWait("Please wait...");
    wait->window()->close();
    EXPECT_TRUE(wait->isVisible()) << "without a transfer to abort the dialog stays";
    int aborts = 0;
    wait->setAbortHandler([&] { ++aborts; });
    wait->window()->close();
    EXPECT_EQ(aborts, 1);
}

TEST_F(WaitAndErrorTest, ErrorPageClosesOnEnterEscAndWindowCloseAndWrapsLongMessages) {
    EXPECT_EQ(answerErrorPage(Qt::Key_Return, "short"), "short");
    EXPECT_EQ(answerErrorPage(Qt::Key_Escape, "again"), "again");
    EXPECT_EQ(answerErrorPage(Qt::Key_Close, "closed"), "closed");

    QSize shortSize, longSize;
    answerErrorPage(Qt::Key_Return, "short", &shortSize);
    const QString longMessage = QString("word ").repeated(400);
    EXPECT_EQ(answerErrorPage(Qt::Key_Return, longMessage, &longSize), longMessage);
    EXPECT_EQ(longSize.width(), shortSize.width());
    EXPECT_GT(longSize.height(), shortSize.height()) << "the window grows instead of scrolling";
}

TEST_F(WaitAndErrorTest, EventPumpLetsEventsRunEveryTwentyMillisecondsOfTheWizardsClock) {
    gw::test::InstalledFakes fakes;
    gw::ui::EventPump pump(gw::ui::LetThrough::Nothing);
    int delivered = 0;
    int pumps = 0;
    for (int call = 1; call <= 100; ++call) {
        QTimer::singleShot(0, [&] { ++delivered; });
        fakes.clock.current += std::chrono::milliseconds(5);
        pumps += pump();
        if (call == 3) {
            EXPECT_EQ(delivered, 0) << "15 ms after the start is too soon";
        }
        if (call == 4) {
            EXPECT_EQ(delivered, 4);
        }
    }
    EXPECT_EQ(pumps, 25);
    EXPECT_EQ(delivered, 100);
}

TEST_F(WaitAndErrorTest, DuringAFetchOnlyClosingTheWaitDialogGetsThrough) {
    gw::test::InstalledFakes fakes;
    auto* wait = gw::ui::ShowWait("Please wait...");
    int aborts = 0;
    wait->setAbortHandler([&] { ++aborts; });
    QLineEdit edit;
    edit.show();
    QTimer::singleShot(0, [&] {
        QTest::keyClicks(&edit, "typed");
        QTest::mouseDClick(&edit, Qt::LeftButton);
        wait->window()->close();
    });
    gw::ui::EventPump pump(gw::ui::LetThrough::WindowClose);
    fakes.clock.current += gw::ui::EventPump::kInterval;
    ASSERT_TRUE(pump());
    EXPECT_EQ(aborts, 1);
    EXPECT_EQ(edit.text(), "");
    QTest::keyClicks(&edit, "typed");
    EXPECT_EQ(edit.text(), "typed") << "input flows again once the pump is done";
}
