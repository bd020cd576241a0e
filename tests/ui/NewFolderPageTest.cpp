#include <gtest/gtest.h>

#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>
#include <filesystem>
#include <fstream>

#include "TabOrder.h"
#include "app/WizardState.h"
#include "settings/SettingsStore.h"
#include "support/Pages.h"
#include "support/TempEnvironment.h"
#include "support/WizardFixture.h"
#include "ui/Beep.h"
#include "ui/DestinationPage.h"
#include "ui/Navigation.h"
#include "ui/NewFolderPage.h"

namespace fs = std::filesystem;
using gw::test::control;

namespace {

const QString kInvalidName =
    "The name of the new folder you entered was invalid. Please check your entry and try again, "
    "or click the \"Back\" button to return to the previous step.";

struct NewFolderPageTest : gw::test::WizardFixture {
    std::string base = gw::test::TestRoot() + "/base/";
    int beeps = 0;

    void SetUp() override {
        WizardFixture::SetUp();
        fs::create_directories(base + "taken");
        std::ofstream(base + "file") << "x";
        gw::settings::WriteSetting("GrabWright", "Settings", "LastPath", base);
        gw::ui::setBeepHook([this] { ++beeps; });
    }
    void TearDown() override {
        gw::ui::setBeepHook(nullptr);
        WizardFixture::TearDown();
    }
    static QLineEdit* box(QWidget* page) { return control<QLineEdit>(page, "pathEdit"); }
    static void click(QWidget* page, const char* button) {
        QTest::mouseClick(control<QPushButton>(page, button), Qt::LeftButton);
        gw::test::settle();
    }
    static std::string lastPath() {
        return gw::settings::ReadSetting("GrabWright", "Settings", "LastPath");
    }
};

}  // namespace

TEST_F(NewFolderPageTest, OffersTheRememberedFolderWithTheCaretAtTheEnd) {
    auto* page = gw::ui::showPage<gw::ui::NewFolderPage>();
    EXPECT_EQ(box(page)->text(), QString::fromStdString(base));
    EXPECT_EQ(box(page)->cursorPosition(), box(page)->text().size());
    EXPECT_FALSE(box(page)->hasSelectedText());
    EXPECT_EQ(box(page)->accessibleName(), "New folder path");
    EXPECT_EQ(page->findChild<QWidget*>("stepFrame"), nullptr);
    EXPECT_EQ(
        gw::test::tabStops(control<QWidget>(page, "pathEdit"), 5),
        (std::vector<QString>{"pathEdit", "nextButton", "backButton", "cancelButton", "pathEdit"}));
}

TEST_F(NewFolderPageTest, TypedNameIsCreatedStoredAndOpenedOnStep4) {
    const std::pair<QString, std::string> cases[] = {{"New", "New/"}, {"Other/", "Other/"}};
    for (const auto& [typed, created] : cases) {
        gw::settings::WriteSetting("GrabWright", "Settings", "LastPath", base);
        auto* page = gw::ui::showPage<gw::ui::NewFolderPage>();
        QTest::keyClicks(box(page), typed);
        QTest::keyClick(box(page), Qt::Key_Return);
        gw::test::settle();
        EXPECT_TRUE(fs::is_directory(base + created));
        EXPECT_EQ(gw::app::wizardState().DestinationFolder, base + created);
        EXPECT_EQ(lastPath(), base + created);
        EXPECT_EQ(beeps, 0);
        auto* destination = gw::ui::loadedPage<gw::ui::DestinationPage>();
        ASSERT_NE(destination, nullptr);
        auto* list = control<QTreeWidget>(destination, "folderList");
        EXPECT_EQ(list->currentItem()->text(0) + "/", QString::fromStdString(created));
        gw::ui::unloadPage(destination);
        gw::test::settle();
    }
}

TEST_F(NewFolderPageTest, AnythingThatCannotBeCreatedBeepsAndSaysSo) {
    const QString folder = QString::fromStdString(base);
    const std::pair<const char*, QString> cases[] = {
        {"unchanged: the folder exists", folder},
        {"a folder of that name", folder + "taken"},
        {"a file of that name", folder + "file"},
        {"the folder above is missing", folder + "A/B"},
        {"empty", ""},
        {"relative", "new"},
        {"relative with a folder", "x/y"},
        {"home shorthand", "~/x"},
    };
    const QString startedIn = QDir::currentPath();
    QDir::setCurrent(QString::fromStdString(gw::test::TestRoot()));
    for (const auto& [name, text] : cases) {
        beeps = 0;
        auto* page = gw::ui::showPage<gw::ui::NewFolderPage>();
        box(page)->setText(text);
        click(page, "nextButton");
        EXPECT_EQ(beeps, 1) << name;
        EXPECT_EQ(control<QLabel>(page, "instructionLabel")->text(), kInvalidName) << name;
        EXPECT_EQ(box(page)->text(), text) << name;
        EXPECT_EQ(gw::ui::loadedPage<gw::ui::NewFolderPage>(), page) << name;
        EXPECT_EQ(gw::app::wizardState().DestinationFolder, "") << name;
        EXPECT_EQ(lastPath(), base) << name;
        gw::ui::unloadPage(page);
        gw::test::settle();
    }
    QDir::setCurrent(startedIn);
    for (const char* stray : {"A", "new", "x", "~"}) {
        EXPECT_FALSE(fs::exists(base + stray)) << stray;
        EXPECT_FALSE(fs::exists(gw::test::TestRoot() + "/" + stray)) << stray;
    }
}

TEST_F(NewFolderPageTest, MessageStaysWhileEditingAndBackCreatesNothing) {
    auto* page = gw::ui::showPage<gw::ui::NewFolderPage>();
    click(page, "nextButton");
    QTest::keyClicks(box(page), "Later");
    EXPECT_EQ(control<QLabel>(page, "instructionLabel")->text(), kInvalidName);
    click(page, "backButton");
    EXPECT_FALSE(fs::exists(base + "Later"));
    EXPECT_EQ(lastPath(), base);
    auto* destination = gw::ui::loadedPage<gw::ui::DestinationPage>();
    ASSERT_NE(destination, nullptr);
    EXPECT_EQ(control<QTreeWidget>(destination, "folderList")->currentItem()->text(0), "base");
}

TEST_F(NewFolderPageTest, CancelQuits) {
    auto* page = gw::ui::showPage<gw::ui::NewFolderPage>();
    click(page, "cancelButton");
    EXPECT_EQ(ended, 1);
}
