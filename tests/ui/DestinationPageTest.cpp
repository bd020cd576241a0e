#include <gtest/gtest.h>

#include <QComboBox>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>
#include <filesystem>
#include <fstream>

#include "TabOrder.h"
#include "app/WizardState.h"
#include "platform/UserFolders.h"
#include "platform/Volumes.h"
#include "settings/SettingsStore.h"
#include "support/Pages.h"
#include "support/TempEnvironment.h"
#include "support/WizardFixture.h"
#include "ui/DestinationPage.h"
#include "ui/Navigation.h"
#include "ui/NewFolderPage.h"
#include "ui/SelectionPage.h"

namespace fs = std::filesystem;
using gw::test::control;

namespace {

// A fake mount table: the root, a volume at the test folder (which holds the download
// folder), a USB stick and a few that the drive list leaves out.
struct DestinationPageTest : gw::test::WizardFixture {
    std::string root = gw::test::TestRoot();

    void SetUp() override {
        WizardFixture::SetUp();
        fs::create_directories(root + "/usb/photos");
        std::ofstream(root + "/mounts") << "1 0 8:1 / / rw - ext4 /dev/sda1 rw\n"
                                           "2 1 0:3 / /proc rw - proc proc rw\n"
                                           "3 1 0:4 / /dev/shm rw - tmpfs tmpfs rw\n"
                                           "4 1 8:2 / "
                                        << root
                                        << " rw - ext4 /dev/sda2 rw\n"
                                           "5 1 8:17 / "
                                        << root
                                        << "/usb rw - vfat /dev/sdb1 rw\n"
                                           "6 1 7:0 / "
                                        << root << "/usb/photos rw - squashfs /dev/loop1 ro\n";
        gw::platform::setMountTable(root + "/mounts");
    }
    void TearDown() override {
        gw::platform::setMountTable("");
        WizardFixture::TearDown();
    }
    static QString openFolder(QWidget* page) {
        auto* list = control<QTreeWidget>(page, "folderList");
        return list->currentItem() ? list->currentItem()->text(0) : QString();
    }
    static QTreeWidgetItem* folderItem(QWidget* page, const QString& name) {
        const auto found =
            control<QTreeWidget>(page, "folderList")->findItems(name, Qt::MatchRecursive);
        EXPECT_EQ(found.size(), 1) << name.toStdString();
        return found.value(0);
    }
    static void next(QWidget* page, const char* button = "nextButton") {
        QTest::mouseClick(control<QPushButton>(page, button), Qt::LeftButton);
        gw::test::settle();
    }
    static std::string lastPath() {
        return gw::settings::ReadSetting("GrabWright", "Settings", "LastPath");
    }
};

}  // namespace

TEST_F(DestinationPageTest, DrivesAreTheUsableVolumesRootFirst) {
    auto* page = gw::ui::showPage<gw::ui::DestinationPage>();
    auto* drives = control<QComboBox>(page, "driveBox");
    QStringList shown;
    for (int i = 0; i < drives->count(); ++i)
        shown << drives->itemText(i);
    EXPECT_EQ(shown, (QStringList{"/", QString::fromStdString(root),
                                  QString::fromStdString(root + "/usb")}));
    EXPECT_EQ(drives->accessibleName(), "Drives");
    EXPECT_EQ(control<QTreeWidget>(page, "folderList")->accessibleName(), "Folders");
}

TEST_F(DestinationPageTest, FirstRunOpensTheDownloadFolderWithParentsAndSubfolders) {
    fs::create_directories(root + "/downloads/Beta");
    fs::create_directories(root + "/downloads/alpha");
    fs::create_directories(root + "/downloads/.cache");
    std::ofstream(root + "/downloads/file.zip") << "x";
    auto* page = gw::ui::showPage<gw::ui::DestinationPage>();
    EXPECT_EQ(control<QComboBox>(page, "driveBox")->currentText(), QString::fromStdString(root));
    auto* list = control<QTreeWidget>(page, "folderList");
    ASSERT_EQ(list->topLevelItemCount(), 1);
    QTreeWidgetItem* top = list->topLevelItem(0);
    EXPECT_EQ(top->text(0), QString::fromStdString(root));
    ASSERT_EQ(top->childCount(), 1);
    QTreeWidgetItem* open = top->child(0);
    EXPECT_EQ(open, list->currentItem());
    EXPECT_EQ(open->text(0), "downloads");
    ASSERT_EQ(open->childCount(), 2);
    EXPECT_EQ(open->child(0)->text(0), "alpha");
    EXPECT_EQ(open->child(1)->text(0), "Beta");
}

TEST_F(DestinationPageTest, NextStoresTheOpenFolderWithOneFinalSlash) {
    fs::create_directories(root + "/keep");
    const std::pair<std::string, std::string> cases[] = {{"/", "/"},
                                                         {root + "/keep/", root + "/keep/"},
                                                         {root + "/keep", root + "/keep/"},
                                                         {root + "//keep/../usb/", root + "/usb/"}};
    for (const auto& [stored, destination] : cases) {
        gw::settings::WriteSetting("GrabWright", "Settings", "LastPath", stored);
        auto* page = gw::ui::showPage<gw::ui::DestinationPage>();
        next(page);
        EXPECT_EQ(gw::app::wizardState().DestinationFolder, destination) << stored;
        EXPECT_EQ(lastPath(), destination) << stored;
        gw::ui::unloadPage(gw::ui::loadedPage<gw::ui::DestinationPage>());
        gw::test::settle();
    }
}

TEST_F(DestinationPageTest, DeletedLastPathOpensTheDownloadFolderQuietly) {
    gw::settings::WriteSetting("GrabWright", "Settings", "LastPath", root + "/gone/");
    auto* page = gw::ui::showPage<gw::ui::DestinationPage>();
    EXPECT_EQ(openFolder(page), "downloads");
    EXPECT_EQ(control<QComboBox>(page, "driveBox")->currentText(), QString::fromStdString(root));
    EXPECT_EQ(lastPath(), root + "/gone/");
    next(page);
    EXPECT_EQ(gw::app::wizardState().DestinationFolder, root + "/downloads/");
}

TEST_F(DestinationPageTest, ClickHighlightsWhileDoubleClickOrKeysOpen) {
    fs::create_directories(root + "/downloads/sub/inner");
    auto* page = gw::ui::showPage<gw::ui::DestinationPage>();
    auto* list = control<QTreeWidget>(page, "folderList");
    QTreeWidgetItem* sub = folderItem(page, "sub");
    ASSERT_NE(sub, nullptr);
    // A real double click: the first press and release, then the double-click event.
    const QPoint onSub = list->visualItemRect(sub).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, onSub);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, onSub);
    EXPECT_EQ(openFolder(page), "sub");
    const std::pair<Qt::Key, const char*> keys[] = {
        {Qt::Key_Backspace, "downloads"}, {Qt::Key_Down, "sub"},    {Qt::Key_Space, "sub"},
        {Qt::Key_Down, "inner"},          {Qt::Key_Right, "inner"}, {Qt::Key_Left, "sub"}};
    for (const auto& [key, highlighted] : keys) {
        QTest::keyClick(list, key);
        EXPECT_EQ(openFolder(page), highlighted) << key;
    }
    QTreeWidgetItem* inner = folderItem(page, "inner");
    ASSERT_NE(inner, nullptr);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(inner).center());
    EXPECT_EQ(list->currentItem(), inner);
    next(page);
    EXPECT_EQ(gw::app::wizardState().DestinationFolder, root + "/downloads/sub/");
}

TEST_F(DestinationPageTest, ChangingTheDriveOpensItsRootAndAnUnreadableOneFallsBack) {
    fs::create_directories(root + "/usb/music");
    auto* page = gw::ui::showPage<gw::ui::DestinationPage>();
    auto* drives = control<QComboBox>(page, "driveBox");
    drives->setCurrentIndex(2);
    EXPECT_EQ(openFolder(page), QString::fromStdString(root + "/usb"));
    EXPECT_NE(folderItem(page, "music"), nullptr);
    drives->setCurrentIndex(0);
    EXPECT_EQ(openFolder(page), "/");

    fs::remove_all(root + "/usb");
    drives->setCurrentIndex(2);
    EXPECT_EQ(openFolder(page), "downloads");
    EXPECT_EQ(drives->currentIndex(), 1);
}

TEST_F(DestinationPageTest, NewFolderStoresTheFolderAndOpensTheNewFolderPage) {
    auto* page = gw::ui::showPage<gw::ui::DestinationPage>();
    next(page, "newFolderButton");
    EXPECT_EQ(gw::app::wizardState().DestinationFolder, root + "/downloads/");
    EXPECT_EQ(lastPath(), root + "/downloads/");
    EXPECT_NE(gw::ui::loadedPage<gw::ui::NewFolderPage>(), nullptr);
    EXPECT_EQ(gw::ui::loadedPage<gw::ui::DestinationPage>(), nullptr);
}

TEST_F(DestinationPageTest, BackGoesToStep3OnlyWithoutTheAddOnAndSavesNothing) {
    auto* page = gw::ui::showPage<gw::ui::DestinationPage>();
    const std::string data = gw::platform::DataFolder();
    fs::create_directories(data + "/Tardifetch");
    std::ofstream(data + "/Tardifetcher.exe") << "x";
    next(page, "backButton");
    EXPECT_EQ(gw::ui::loadedPage<gw::ui::SelectionPage>(), nullptr);
    fs::remove(data + "/Tardifetcher.exe");
    next(gw::ui::showPage<gw::ui::DestinationPage>(), "backButton");
    EXPECT_NE(gw::ui::loadedPage<gw::ui::SelectionPage>(), nullptr);
    EXPECT_EQ(gw::app::wizardState().DestinationFolder, "");
    EXPECT_EQ(lastPath(), "");
}

TEST_F(DestinationPageTest, TabOrderIsThePagesOwnAndCancelQuits) {
    auto* page = gw::ui::showPage<gw::ui::DestinationPage>();
    EXPECT_EQ(gw::test::tabStops(control<QWidget>(page, "driveBox"), 7),
              (std::vector<QString>{"driveBox", "folderList", "cancelButton", "backButton",
                                    "nextButton", "newFolderButton", "driveBox"}));
    next(page, "cancelButton");
    EXPECT_EQ(ended, 1);
}
