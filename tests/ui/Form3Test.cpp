#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "app/Module1.h"
#include "app/Navigation.h"
#include "app/Quit.h"
#include "harvest/Messages.h"
#include "support/FakeDialup.h"
#include "support/Pages.h"
#include "support/WizardFixture.h"
#include "ui/Form2.h"
#include "ui/Form3.h"

using gw::test::control;

namespace {

struct Form3Test : gw::test::WizardFixture {
    // Runs the search; returns the error page's message, or "" when none was shown.
    static QString search(QWidget* page) {
        QString error;
        QTimer::singleShot(0, [&] {
            if (QWidget* shown = gw::test::visibleWindow("FormError")) {
                error = control<QLabel>(shown, "Label1")->text();
                QTest::keyClick(shown, Qt::Key_Return);
            }
        });
        QTest::mouseClick(control<QPushButton>(page, "Command1"), Qt::LeftButton);
        return error;
    }
};

}  // namespace

TEST_F(Form3Test, LoadPutsBackTheLastSpecificationSelected) {
    const std::pair<std::string, QString> cases[] = {{"", "*.zip"}, {"*.exe", "*.exe"}};
    for (const auto& [last, shown] : cases) {
        gw::app::module1().LastFileSpec = last;
        auto* page = gw::app::showPage<gw::ui::Form3>();
        auto* text1 = control<QLineEdit>(page, "Text1");
        EXPECT_EQ(text1->text(), shown);
        EXPECT_EQ(text1->selectedText(), shown);
        EXPECT_TRUE(control<QPushButton>(page, "Command1")->isEnabled());
        gw::app::unloadPage(page);
        gw::test::settle();
    }
}

TEST_F(Form3Test, BlankSpecificationCannotStartASearchAndBackKeepsIt) {
    auto* page = gw::app::showPage<gw::ui::Form3>();
    auto* text1 = control<QLineEdit>(page, "Text1");
    auto* next = control<QPushButton>(page, "Command1");
    text1->setText("   ");
    EXPECT_FALSE(next->isEnabled());
    text1->setText(" *.exe ");
    EXPECT_TRUE(next->isEnabled());
    QTest::mouseClick(control<QPushButton>(page, "Command2"), Qt::LeftButton);
    gw::test::settle();
    EXPECT_EQ(gw::app::module1().LastFileSpec, " *.exe ");
    EXPECT_NE(gw::app::loadedPage<gw::ui::Form2>(), nullptr);
    EXPECT_EQ(gw::app::loadedPage<gw::ui::Form3>(), nullptr);
}

TEST_F(Form3Test, UnclosedBracketIsReportedOnThePageAndStartsNothing) {
    auto* page = gw::app::showPage<gw::ui::Form3>();
    const QString instructions = control<QLabel>(page, "Label1")->text();
    control<QLineEdit>(page, "Text1")->setText("*[ab.zip");
    gw::app::module1().FoundCount = 5;
    EXPECT_EQ(search(page), "");
    EXPECT_EQ(control<QLabel>(page, "Label1")->text(), gw::harvest::kInvalidPatternMessage);
    EXPECT_EQ(gw::app::module1().FoundCount, 5);
    EXPECT_TRUE(page->isVisible());

    gw::app::unloadPage(page);
    gw::test::settle();
    page = gw::app::showPage<gw::ui::Form3>();
    EXPECT_EQ(control<QLabel>(page, "Label1")->text(), instructions);
}

TEST_F(Form3Test, NothingFoundShowsTheErrorPageThenStep2Unchanged) {
    gw::app::module1().PageText = "<html><a href=\"readme.txt\">x</a></html>";
    gw::app::module1().FetchedAddress = "http://host/d/";
    auto* page = gw::app::showPage<gw::ui::Form3>();
    EXPECT_EQ(search(page), gw::harvest::kNothingFoundMessage);
    EXPECT_TRUE(page->isVisible());
    EXPECT_EQ(control<QLineEdit>(page, "Text1")->text(), "*.zip");
    EXPECT_TRUE(control<QPushButton>(page, "Command1")->isEnabled());
    EXPECT_EQ(gw::app::module1().FoundCount, 0);
    EXPECT_EQ(gw::app::module1().LastFileSpec, "*.zip");
}

TEST_F(Form3Test, SearchFillsTheFoundListWithoutDuplicatesOrBareSites) {
    gw::app::module1().PageText =
        "<A HREF=\"a.zip\">1</A><a href=\"/pub/b.ZIP\">2</a><a href=\"a.zip\">3</a>"
        "<a href=\"http://example.com\">4</a><a href=\"https://other/c.zip?x=1\">5</a>";
    gw::app::module1().FetchedAddress = "http://host/d/list.php?dir=x";
    gw::app::module1().FoundList[4] = "stale";
    auto* page = gw::app::showPage<gw::ui::Form3>();
    control<QLineEdit>(page, "Text1")->setText("*");
    EXPECT_EQ(search(page), "");
    const auto& state = gw::app::module1();
    ASSERT_EQ(state.FoundCount, 3);
    EXPECT_EQ(state.FoundList[1], "http://host/d/a.zip");
    EXPECT_EQ(state.FoundList[2], "http://host/pub/b.ZIP");
    EXPECT_EQ(state.FoundList[3], "https://other/c.zip?x=1");
    EXPECT_EQ(state.LastFileSpec, "*");
}
