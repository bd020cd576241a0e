#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "app/Quit.h"
#include "app/WizardState.h"
#include "harvest/Messages.h"
#include "settings/LastFolder.h"
#include "support/FakeDialup.h"
#include "support/Pages.h"
#include "support/WizardFixture.h"
#include "ui/AddressPage.h"
#include "ui/FileSpecPage.h"
#include "ui/Navigation.h"

using gw::test::control;

namespace {

struct FileSpecPageTest : gw::test::WizardFixture {
    // Runs the search; returns the error page's message, or "" when none was shown.
    static QString search(QWidget* page) {
        QString error;
        QTimer::singleShot(0, [&] {
            if (QWidget* shown = gw::test::visibleWindow("ErrorPage")) {
                error = control<QLabel>(shown, "messageLabel")->text();
                QTest::keyClick(shown, Qt::Key_Return);
            }
        });
        QTest::mouseClick(control<QPushButton>(page, "nextButton"), Qt::LeftButton);
        return error;
    }
};

}  // namespace

TEST_F(FileSpecPageTest, LoadPutsBackTheLastSpecificationSelected) {
    const std::pair<std::string, QString> cases[] = {{"", "*.zip"}, {"*.exe", "*.exe"}};
    for (const auto& [last, shown] : cases) {
        gw::app::wizardState().LastFileSpec = last;
        auto* page = gw::ui::showPage<gw::ui::FileSpecPage>();
        auto* specEdit = control<QLineEdit>(page, "specEdit");
        EXPECT_EQ(specEdit->text(), shown);
        EXPECT_EQ(specEdit->selectedText(), shown);
        EXPECT_TRUE(control<QPushButton>(page, "nextButton")->isEnabled());
        gw::ui::unloadPage(page);
        gw::test::settle();
    }
}

TEST_F(FileSpecPageTest, BlankSpecificationCannotStartASearchAndBackKeepsIt) {
    auto* page = gw::ui::showPage<gw::ui::FileSpecPage>();
    auto* specEdit = control<QLineEdit>(page, "specEdit");
    auto* next = control<QPushButton>(page, "nextButton");
    specEdit->setText("   ");
    EXPECT_FALSE(next->isEnabled());
    specEdit->setText(" *.exe ");
    EXPECT_TRUE(next->isEnabled());
    QTest::mouseClick(control<QPushButton>(page, "backButton"), Qt::LeftButton);
    gw::test::settle();
    EXPECT_EQ(gw::app::wizardState().LastFileSpec, " *.exe ");
    EXPECT_NE(gw::ui::loadedPage<gw::ui::AddressPage>(), nullptr);
    EXPECT_EQ(gw::ui::loadedPage<gw::ui::FileSpecPage>(), nullptr);
}

TEST_F(FileSpecPageTest, UnclosedBracketIsReportedOnThePageAndStartsNothing) {
    auto* page = gw::ui::showPage<gw::ui::FileSpecPage>();
    const QString instructions = control<QLabel>(page, "instructionLabel")->text();
    control<QLineEdit>(page, "specEdit")->setText("*[ab.zip");
    gw::app::wizardState().FoundCount = 5;
    EXPECT_EQ(search(page), "");
    EXPECT_EQ(control<QLabel>(page, "instructionLabel")->text(),
              gw::harvest::kInvalidPatternMessage);
    EXPECT_EQ(gw::app::wizardState().FoundCount, 5);
    EXPECT_TRUE(page->isVisible());

    gw::ui::unloadPage(page);
    gw::test::settle();
    page = gw::ui::showPage<gw::ui::FileSpecPage>();
    EXPECT_EQ(control<QLabel>(page, "instructionLabel")->text(), instructions);
}

TEST_F(FileSpecPageTest, NothingFoundShowsTheErrorPageThenStep2Unchanged) {
    gw::app::wizardState().PageText = "<html><a href=\"readme.txt\">x</a></html>";
    gw::app::wizardState().FetchedAddress = "http://host/d/";
    auto* page = gw::ui::showPage<gw::ui::FileSpecPage>();
    EXPECT_EQ(search(page), gw::harvest::kNothingFoundMessage);
    EXPECT_TRUE(page->isVisible());
    EXPECT_EQ(control<QLineEdit>(page, "specEdit")->text(), "*.zip");
    EXPECT_TRUE(control<QPushButton>(page, "nextButton")->isEnabled());
    EXPECT_EQ(gw::app::wizardState().FoundCount, 0);
    EXPECT_EQ(gw::app::wizardState().LastFileSpec, "*.zip");
}

TEST_F(FileSpecPageTest, SearchFillsTheFoundListWithoutDuplicatesOrBareSites) {
    gw::app::wizardState().PageText =
        "<A HREF=\"a.zip\">1</A><a href=\"/pub/b.ZIP\">2</a><a href=\"a.zip\">3</a>"
        "<a href=\"http://example.com\">4</a><a href=\"https://other/c.zip?x=1\">5</a>";
    gw::app::wizardState().FetchedAddress = "http://host/d/list.php?dir=x";
    gw::app::wizardState().FoundList[4] = "stale";
    auto* page = gw::ui::showPage<gw::ui::FileSpecPage>();
    control<QLineEdit>(page, "specEdit")->setText("*");
    EXPECT_EQ(search(page), "");
    const auto& state = gw::app::wizardState();
    ASSERT_EQ(state.FoundCount, 3);
    EXPECT_EQ(state.FoundList[1], "http://host/d/a.zip");
    EXPECT_EQ(state.FoundList[2], "http://host/pub/b.ZIP");
    EXPECT_EQ(state.FoundList[3], "https://other/c.zip?x=1");
    EXPECT_EQ(state.LastFileSpec, "*");
}

// A line end the fetch removed still parts "<img" from "src" for the media reading.
TEST_F(FileSpecPageTest, TheMediaBoxWidensTheSearchAndIsRemembered) {
    auto& state = gw::app::wizardState();
    state.PageText = "<a href=\"a.zip\">a</a><imgsrc=\"p.png\">";
    state.PageLineBreaks = {state.PageText.find("src")};
    state.FetchedAddress = "http://host/d/";
    for (const bool tick : {false, true}) {
        auto* page = gw::ui::showPage<gw::ui::FileSpecPage>();
        auto* box = control<QCheckBox>(page, "mediaCheck");
        EXPECT_EQ(box->accessibleName(), "Also look in images, video and audio");
        EXPECT_FALSE(box->isChecked());
        if (tick)
            QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(4, box->height() / 2));
        control<QLineEdit>(page, "specEdit")->setText("*");
        EXPECT_EQ(search(page), "");
        EXPECT_EQ(state.FoundCount, tick ? 2 : 1);
        EXPECT_EQ(state.FoundList[2], tick ? "http://host/d/p.png" : "");
        state.FoundList[2].clear();
        gw::test::settle();
    }
    EXPECT_TRUE(gw::settings::ReadAlsoMedia());
    EXPECT_TRUE(
        control<QCheckBox>(gw::ui::showPage<gw::ui::FileSpecPage>(), "mediaCheck")->isChecked());
}

TEST_F(FileSpecPageTest, CancelQuitsAndDropsTheLineTheFetchBroughtUp) {
    gw::app::wizardState().HangUpOnQuit = true;
    fakes.dialup.up = true;
    auto* page = gw::ui::showPage<gw::ui::FileSpecPage>();
    QTest::mouseClick(control<QPushButton>(page, "cancelButton"), Qt::LeftButton);
    EXPECT_EQ(ended, 1);
    EXPECT_EQ(fakes.dialup.hangUpCalls, 1);
    EXPECT_FALSE(fakes.dialup.up);
}
