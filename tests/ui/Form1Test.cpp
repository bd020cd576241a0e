#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "app/Module1.h"
#include "app/Navigation.h"
#include "app/Quit.h"
#include "app/Version.h"
#include "support/FakeDialup.h"
#include "support/Pages.h"
#include "support/WizardFixture.h"
#include "ui/Form1.h"
#include "ui/Form2.h"

using gw::test::control;

namespace {

using Form1Test = gw::test::WizardFixture;

}  // namespace

TEST(VersionTitle, WrittenInPlainDecimal) {
    EXPECT_EQ(gw::app::VersionTitle(), "GrabWright Plus Version 1.0.29");
    EXPECT_EQ(gw::app::VersionTitle({2, 10, 7}), "GrabWright Plus Version 2.10.7");
}

TEST_F(Form1Test, LoadsWithTitleButtonsAndTexts) {
    auto* page = gw::app::showPage<gw::ui::Form1>();
    EXPECT_EQ(page->windowTitle(), "GrabWright Plus Version 1.0.29");
    EXPECT_FALSE(control<QPushButton>(page, "Command3")->isEnabled());
    EXPECT_EQ(control<QPushButton>(page, "Command3")->text(), "<< Back");
    EXPECT_TRUE(control<QPushButton>(page, "Command1")->isDefault());
    EXPECT_TRUE(control<QLabel>(page, "Label1")->text().contains("individually.  For example"));
    // Cancel, Back, Next from left to right in one row.
    const int cancel = control<QPushButton>(page, "Command2")->x();
    const int back = control<QPushButton>(page, "Command3")->x();
    const int next = control<QPushButton>(page, "Command1")->x();
    EXPECT_LT(cancel, back);
    EXPECT_LT(back, next);
    EXPECT_EQ(control<QPushButton>(page, "Command2")->y(), control<QPushButton>(page, "Command1")->y());
}

TEST_F(Form1Test, EnterGoesToTheAddressPageAndEscQuitsWithoutTouchingTheLine) {
    auto* page = gw::app::showPage<gw::ui::Form1>();
    QTest::keyClick(page, Qt::Key_Escape);
    EXPECT_EQ(ended, 1);
    EXPECT_EQ(fakes.dialup.activeCalls, 0);

    QTest::keyClick(page, Qt::Key_Return);
    gw::test::settle();
    EXPECT_NE(gw::app::loadedPage<gw::ui::Form2>(), nullptr);
    EXPECT_EQ(gw::app::loadedPage<gw::ui::Form1>(), nullptr) << "the page left is unloaded";
}

TEST_F(Form1Test, HeadingClickChangesTheNoticeUntilTheNextLoad) {
    auto* page = gw::app::showPage<gw::ui::Form1>();
    const QString notice = control<QLabel>(page, "Label4")->text();
    QTest::mouseClick(control<QLabel>(page, "Label3"), Qt::LeftButton);
    EXPECT_EQ(control<QLabel>(page, "Label4")->text(), "Dedicated to my wife...");
    QTest::mouseClick(control<QLabel>(page, "Label3"), Qt::LeftButton);
    EXPECT_EQ(control<QLabel>(page, "Label4")->text(), "Dedicated to my wife...");

    gw::app::navigate<gw::ui::Form2>(page);
    gw::test::settle();
    auto* again = gw::app::navigate<gw::ui::Form1>(gw::app::loadedPage<gw::ui::Form2>());
    EXPECT_EQ(control<QLabel>(again, "Label4")->text(), notice);
}

TEST_F(Form1Test, BackIsGreyedAndClosingByTheFrameEndsWithoutHangUp) {
    gw::app::module1().HangUpOnQuit = true;
    fakes.dialup.up = true;
    auto* page = gw::app::showPage<gw::ui::Form1>();
    QTest::mouseClick(control<QPushButton>(page, "Command3"), Qt::LeftButton);
    EXPECT_NE(gw::app::loadedPage<gw::ui::Form1>(), nullptr);
    page->close();
    EXPECT_EQ(ended, 1);
    EXPECT_EQ(fakes.dialup.hangUpCalls, 0);
}
