#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "app/Module1.h"
#include "app/Navigation.h"
#include "app/Quit.h"
#include "settings/SettingsStore.h"
#include "support/FakeDialup.h"
#include "support/Pages.h"
#include "support/WizardFixture.h"
#include "ui/Form1.h"
#include "ui/Form2.h"

using gw::test::control;

namespace {

struct Form2Test : gw::test::WizardFixture {
    static void setHistory(int index, const std::string& address) {
        gw::settings::WriteSetting("GrabWright", "History", "URL" + std::to_string(index), address);
    }
    static QStringList listed(QWidget* page) {
        QStringList items;
        auto* combo = control<QComboBox>(page, "Combo1");
        for (int i = 0; i < combo->count(); ++i) items << combo->itemText(i);
        return items;
    }
};

}  // namespace

TEST_F(Form2Test, FirstStartOffersHttpWithTheCaretAfterIt) {
    gw::app::module1().HistoryCount = 7;
    auto* page = gw::app::showPage<gw::ui::Form2>();
    auto* combo = control<QComboBox>(page, "Combo1");
    EXPECT_EQ(combo->count(), 0);
    EXPECT_EQ(combo->currentText(), "http://");
    EXPECT_EQ(combo->lineEdit()->cursorPosition(), 7);
    EXPECT_FALSE(combo->lineEdit()->hasSelectedText());
    EXPECT_FALSE(control<QPushButton>(page, "Command1")->isEnabled());
    EXPECT_EQ(gw::app::module1().HistoryCount, 0);
}

TEST_F(Form2Test, NextRuleFollowsTheText) {
    auto* page = gw::app::showPage<gw::ui::Form2>();
    auto* combo = control<QComboBox>(page, "Combo1");
    auto* next = control<QPushButton>(page, "Command1");
    const std::pair<QString, bool> cases[] = {
        {"http://a", true}, {"http://", false}, {"ftp://x", false},
        {"ftp://xy", true}, {"", false},        {"        ", true},
    };
    for (const auto& [text, enabled] : cases) {
        combo->setEditText(text);
        EXPECT_EQ(next->isEnabled(), enabled) << text.toStdString();
    }
    combo->lineEdit()->selectAll();
    QTest::keyClicks(combo->lineEdit(), "http://a");
    EXPECT_TRUE(next->isEnabled());
    QTest::keyClick(combo->lineEdit(), Qt::Key_Backspace);
    EXPECT_FALSE(next->isEnabled());
}

TEST_F(Form2Test, HistoryEndsAtTheFirstEmptyKeyAndIsSortedIgnoringCase) {
    setHistory(1, "http://zeta/");
    setHistory(2, "http://Alpha/");
    setHistory(3, "http://zeta/");
    setHistory(5, "http://host5/");
    auto* page = gw::app::showPage<gw::ui::Form2>();
    EXPECT_EQ(listed(page), (QStringList{"http://Alpha/", "http://zeta/", "http://zeta/"}));
    EXPECT_EQ(gw::app::module1().HistoryCount, 3);
}

TEST_F(Form2Test, AFullHistoryLeavesTheCountAsItWas) {
    for (int i = 1; i <= 256; ++i) setHistory(i, "http://h" + std::to_string(i) + "/");
    setHistory(257, "http://beyond/");
    gw::app::module1().HistoryCount = 42;
    auto* page = gw::app::showPage<gw::ui::Form2>();
    EXPECT_EQ(listed(page).size(), 256);
    EXPECT_FALSE(listed(page).contains("http://beyond/"));
    EXPECT_EQ(gw::app::module1().HistoryCount, 42);
}

TEST_F(Form2Test, PageAddressComesBackWithoutItsSlashAndSelected) {
    const std::pair<std::string, QString> cases[] = {
        {"http://host/files/", "http://host/files"},
        {"http://", "http://"},
        {"http://host//", "http://host//"},
        {"abc", "abc"},
    };
    for (const auto& [address, shown] : cases) {
        gw::app::module1().PageAddress = address;
        auto* page = gw::app::showPage<gw::ui::Form2>();
        auto* combo = control<QComboBox>(page, "Combo1");
        EXPECT_EQ(combo->currentText(), shown);
        EXPECT_EQ(combo->lineEdit()->selectedText(), shown);
        EXPECT_TRUE(control<QPushButton>(page, "Command1")->isEnabled()) << address;
        gw::app::unloadPage(page);
        gw::test::settle();
    }
}

TEST_F(Form2Test, BackKeepsTheTextForTheNextVisit) {
    auto* page = gw::app::showPage<gw::ui::Form2>();
    control<QComboBox>(page, "Combo1")->setEditText("http://host/x");
    QTest::mouseClick(control<QPushButton>(page, "Command2"), Qt::LeftButton);
    gw::test::settle();
    EXPECT_EQ(gw::app::module1().PageAddress, "http://host/x");
    auto* welcome = gw::app::loadedPage<gw::ui::Form1>();
    ASSERT_NE(welcome, nullptr);
    QTest::mouseClick(control<QPushButton>(welcome, "Command1"), Qt::LeftButton);
    gw::test::settle();
    page = gw::app::loadedPage<gw::ui::Form2>();
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(control<QComboBox>(page, "Combo1")->currentText(), "http://host/x");
}

TEST_F(Form2Test, ClearHistoryEmptiesEveryKeyButLeavesNextAlone) {
    for (int i = 1; i <= 5; ++i) setHistory(i, "http://h" + std::to_string(i) + "/");
    gw::app::module1().PageAddress = "http://host/files/";
    auto* page = gw::app::showPage<gw::ui::Form2>();
    auto* next = control<QPushButton>(page, "Command1");
    ASSERT_TRUE(next->isEnabled());
    QTest::mouseClick(control<QPushButton>(page, "Command4"), Qt::LeftButton);
    EXPECT_EQ(control<QComboBox>(page, "Combo1")->count(), 0);
    EXPECT_EQ(control<QComboBox>(page, "Combo1")->currentText(), "");
    EXPECT_TRUE(next->isEnabled());
    EXPECT_EQ(gw::app::module1().HistoryCount, 0);
    for (int i = 1; i <= 256; ++i)
        EXPECT_EQ(gw::settings::ReadSetting("grabwright", "history", "url" + std::to_string(i)), "");
}

TEST_F(Form2Test, CancelQuitsWithTheHangUpWhenTheFetchBroughtTheLineUp) {
    gw::app::module1().HangUpOnQuit = true;
    fakes.dialup.up = true;
    auto* page = gw::app::showPage<gw::ui::Form2>();
    QTest::keyClick(page, Qt::Key_Escape);
    EXPECT_EQ(ended, 1);
    EXPECT_EQ(fakes.dialup.hangUpCalls, 1);
}
