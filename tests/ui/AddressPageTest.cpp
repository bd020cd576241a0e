#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QAccessible>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "app/Quit.h"
#include "app/WizardState.h"
#include "settings/AddressHistory.h"
#include "settings/SettingsFiles.h"
#include "settings/SettingsStore.h"
#include "support/FakeDialup.h"
#include "support/Pages.h"
#include "support/WizardFixture.h"
#include "ui/AddressPage.h"
#include "ui/Navigation.h"
#include "ui/WelcomePage.h"

using gw::test::control;

namespace {

struct AddressPageTest : gw::test::WizardFixture {
    static void setHistory(int index, const std::string& address) {
        gw::settings::WriteSetting("GrabWright", "History", "URL" + std::to_string(index), address);
    }
    static QStringList listed(QWidget* page) {
        QStringList items;
        auto* combo = control<QComboBox>(page, "addressBox");
        for (int i = 0; i < combo->count(); ++i)
            items << combo->itemText(i);
        return items;
    }
};

}  // namespace

TEST_F(AddressPageTest, WithNoPageAddressItOffersHttpWithTheCaretAfterIt) {
    struct Case {
        const char* name;
        int historyEntries;
    };
    for (const Case& c : {Case{"first start", 0}, Case{"history stored", 2}}) {
        gw::app::wizardState().HistoryCount = 7;
        for (int i = 1; i <= c.historyEntries; ++i)
            setHistory(i, "http://h" + std::to_string(i) + "/");
        auto* page = gw::ui::showPage<gw::ui::AddressPage>();
        auto* combo = control<QComboBox>(page, "addressBox");
        EXPECT_EQ(combo->count(), c.historyEntries) << c.name;
        EXPECT_EQ(combo->currentText(), "http://") << c.name;
        EXPECT_EQ(combo->currentIndex(), -1) << c.name;
        EXPECT_EQ(combo->lineEdit()->cursorPosition(), 7) << c.name;
        EXPECT_FALSE(combo->lineEdit()->hasSelectedText()) << c.name;
        EXPECT_FALSE(control<QPushButton>(page, "nextButton")->isEnabled()) << c.name;
        EXPECT_EQ(gw::app::wizardState().HistoryCount, c.historyEntries) << c.name;
        EXPECT_EQ(QAccessible::queryAccessibleInterface(combo->lineEdit())->text(QAccessible::Name),
                  "Web page address");
        gw::ui::unloadPage(page);
        gw::test::settle();
    }
}

TEST_F(AddressPageTest, EnterDoesNothingWhileNextIsDisabled) {
    for (const QString text : {"http://", "ftp://x", ""}) {
        auto* page = gw::ui::showPage<gw::ui::AddressPage>();
        auto* combo = control<QComboBox>(page, "addressBox");
        combo->setEditText(text);
        ASSERT_FALSE(control<QPushButton>(page, "nextButton")->isEnabled());
        gw::test::ErrorPageAnswerer answerer;
        QTest::keyClick(combo, Qt::Key_Return);
        gw::test::settle();
        EXPECT_EQ(answerer.answered(), 0) << text.toStdString();
        EXPECT_EQ(gw::ui::loadedPage<gw::ui::AddressPage>(), page);
        EXPECT_TRUE(page->isVisible());
        EXPECT_EQ(gw::app::wizardState().PageAddress, "");
        gw::ui::unloadPage(page);
        gw::test::settle();
    }
}

TEST_F(AddressPageTest, PickingAHistoryEntryRunsTheNextRule) {
    setHistory(1, "http://zeta/");
    setHistory(2, "http://Alpha/");
    auto* page = gw::ui::showPage<gw::ui::AddressPage>();
    auto* combo = control<QComboBox>(page, "addressBox");
    auto* next = control<QPushButton>(page, "nextButton");
    ASSERT_FALSE(next->isEnabled());
    combo->showPopup();
    QAbstractItemView* list = combo->view();
    const QModelIndex zeta = combo->model()->index(1, 0);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(zeta).center());
    EXPECT_EQ(combo->currentText(), "http://zeta/");
    EXPECT_TRUE(next->isEnabled());
}

TEST_F(AddressPageTest, NextRuleFollowsTheText) {
    auto* page = gw::ui::showPage<gw::ui::AddressPage>();
    auto* combo = control<QComboBox>(page, "addressBox");
    auto* next = control<QPushButton>(page, "nextButton");
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

TEST_F(AddressPageTest, HistoryEndsAtTheFirstEmptyKeyAndIsSortedIgnoringCase) {
    setHistory(1, "http://zeta/");
    setHistory(2, "http://Alpha/");
    setHistory(3, "http://zeta/");
    setHistory(5, "http://host5/");
    auto* page = gw::ui::showPage<gw::ui::AddressPage>();
    EXPECT_EQ(listed(page), (QStringList{"http://Alpha/", "http://zeta/", "http://zeta/"}));
    EXPECT_EQ(gw::app::wizardState().HistoryCount, 3);
}

TEST_F(AddressPageTest, AFullHistoryLeavesTheCountAsItWas) {
    gw::settings::SettingValues full;
    for (int i = 1; i <= 256; ++i)
        full.emplace_back("URL" + std::to_string(i), "http://h" + std::to_string(i) + "/");
    full.emplace_back("URL257", "http://beyond/");
    gw::settings::WriteSettings("GrabWright", "History", full);
    gw::app::wizardState().HistoryCount = 42;
    auto* page = gw::ui::showPage<gw::ui::AddressPage>();
    EXPECT_EQ(listed(page).size(), 256);
    EXPECT_FALSE(listed(page).contains("http://beyond/"));
    EXPECT_EQ(gw::app::wizardState().HistoryCount, 42);
}

TEST_F(AddressPageTest, PageAddressComesBackWithoutItsSlashAndSelected) {
    const std::pair<std::string, QString> cases[] = {
        {"http://host/files/", "http://host/files"},
        {"http://", "http://"},
        {"http://host//", "http://host//"},
        {"abc", "abc"},
    };
    for (const auto& [address, shown] : cases) {
        gw::app::wizardState().PageAddress = address;
        auto* page = gw::ui::showPage<gw::ui::AddressPage>();
        auto* combo = control<QComboBox>(page, "addressBox");
        EXPECT_EQ(combo->currentText(), shown);
        EXPECT_EQ(combo->lineEdit()->selectedText(), shown);
        EXPECT_TRUE(control<QPushButton>(page, "nextButton")->isEnabled()) << address;
        gw::ui::unloadPage(page);
        gw::test::settle();
    }
}

TEST_F(AddressPageTest, BackKeepsTheTextForTheNextVisit) {
    auto* page = gw::ui::showPage<gw::ui::AddressPage>();
    control<QComboBox>(page, "addressBox")->setEditText("http://host/x");
    QTest::mouseClick(control<QPushButton>(page, "backButton"), Qt::LeftButton);
    gw::test::settle();
    EXPECT_EQ(gw::app::wizardState().PageAddress, "http://host/x");
    auto* welcome = gw::ui::loadedPage<gw::ui::WelcomePage>();
    ASSERT_NE(welcome, nullptr);
    QTest::mouseClick(control<QPushButton>(welcome, "nextButton"), Qt::LeftButton);
    gw::test::settle();
    page = gw::ui::loadedPage<gw::ui::AddressPage>();
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(control<QComboBox>(page, "addressBox")->currentText(), "http://host/x");
}

TEST_F(AddressPageTest, ClearHistoryReplacesTheFileOnceAndLeavesNextAlone) {
    for (int i = 1; i <= 5; ++i)
        setHistory(i, "http://h" + std::to_string(i) + "/");
    gw::app::wizardState().PageAddress = "http://host/files/";
    auto* page = gw::ui::showPage<gw::ui::AddressPage>();
    auto* next = control<QPushButton>(page, "nextButton");
    ASSERT_TRUE(next->isEnabled());
    gw::test::ReplaceCounter counter;
    QTest::mouseClick(control<QPushButton>(page, "clearHistoryButton"), Qt::LeftButton);
    EXPECT_EQ(counter.replaces(), 1);
    EXPECT_EQ(control<QComboBox>(page, "addressBox")->count(), 0);
    EXPECT_EQ(control<QComboBox>(page, "addressBox")->currentText(), "");
    EXPECT_TRUE(next->isEnabled());
    EXPECT_EQ(gw::app::wizardState().HistoryCount, 0);
    EXPECT_EQ(gw::settings::ReadAddressHistory().count, 0);
}

TEST_F(AddressPageTest, CancelQuitsWithTheHangUpWhenTheFetchBroughtTheLineUp) {
    gw::app::wizardState().HangUpOnQuit = true;
    fakes.dialup.up = true;
    auto* page = gw::ui::showPage<gw::ui::AddressPage>();
    QTest::keyClick(page, Qt::Key_Escape);
    EXPECT_EQ(ended, 1);
    EXPECT_EQ(fakes.dialup.hangUpCalls, 1);
}
