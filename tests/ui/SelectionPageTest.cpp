#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QFileDialog>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "TabOrder.h"
#include "app/WizardState.h"
#include "platform/UserFolders.h"
#include "support/Pages.h"
#include "support/TempEnvironment.h"
#include "support/WizardFixture.h"
#include "ui/DestinationPage.h"
#include "ui/FileSpecPage.h"
#include "ui/Navigation.h"
#include "ui/SelectionPage.h"

using gw::test::control;

namespace {

struct SelectionPageTest : gw::test::WizardFixture {
    static void found(std::initializer_list<std::string> addresses) {
        auto& state = gw::app::wizardState();
        state.FoundCount = 0;
        for (const std::string& address : addresses)
            state.FoundList[++state.FoundCount] = address;
    }
    static QStringList rows(QListWidget* list) {
        QStringList texts;
        for (int row = 0; row < list->count(); ++row)
            texts << list->item(row)->text();
        return texts;
    }
    static QString counts(QWidget* page) { return control<QLabel>(page, "countsLabel")->text(); }
    static void click(QWidget* page, const char* button) {
        QTest::mouseClick(control<QPushButton>(page, button), Qt::LeftButton);
    }
    static std::vector<std::string> selected() {
        const auto& state = gw::app::wizardState();
        return {state.SelectedFiles.begin() + 1,
                state.SelectedFiles.begin() + 1 + state.SelectedCount};
    }
};

}  // namespace

TEST_F(SelectionPageTest, RowsSortedWithoutRegardToCaseAllTickedFirstRowCurrent) {
    found({"http://h/d/b.zip", "http://h/d/A.zip", "http://h/d/c.zip", "http://h/d/B.zip"});
    auto* page = gw::ui::showPage<gw::ui::SelectionPage>();
    auto* list = control<QListWidget>(page, "fileList");
    // b.zip and B.zip compare equal and keep the order they were found in.
    EXPECT_EQ(rows(list), (QStringList{"http://h/d/A.zip", "http://h/d/b.zip", "http://h/d/B.zip",
                                       "http://h/d/c.zip"}));
    for (int row = 0; row < list->count(); ++row)
        EXPECT_EQ(list->item(row)->checkState(), Qt::Checked);
    EXPECT_EQ(counts(page), "4 items found. 4 items selected.");
    EXPECT_EQ(list->currentRow(), 0);
    EXPECT_EQ(page->focusWidget(), list);
    EXPECT_EQ(list->accessibleName(), "Found files");
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(SelectionPageTest, CountsLineFollowsEveryTickAndBothButtons) {
    found({"http://h/b.zip", "http://h/A.zip", "http://h/c.zip"});
    auto* page = gw::ui::showPage<gw::ui::SelectionPage>();
    auto* list = control<QListWidget>(page, "fileList");
    // Space unticks the current row; a tick is separate from which row is current.
    QTest::keyClick(list, Qt::Key_Space);
    EXPECT_EQ(list->item(0)->checkState(), Qt::Unchecked);
    EXPECT_EQ(counts(page), "3 items found. 2 items selected.");
    list->setCurrentRow(2);
    EXPECT_EQ(list->item(2)->checkState(), Qt::Checked);
    list->item(1)->setCheckState(Qt::Unchecked);
    EXPECT_EQ(counts(page), "3 items found. 1 items selected.");
    click(page, "clearAllButton");
    EXPECT_EQ(counts(page), "3 items found. 0 items selected.");
    // Nothing ticked: Next does nothing and the page stays.
    click(page, "nextButton");
    gw::test::settle();
    EXPECT_EQ(gw::app::wizardState().SelectedCount, 0);
    EXPECT_EQ(gw::ui::loadedPage<gw::ui::SelectionPage>(), page);
    click(page, "selectAllButton");
    EXPECT_EQ(counts(page), "3 items found. 3 items selected.");
    click(page, "selectAllButton");
    EXPECT_EQ(counts(page), "3 items found. 3 items selected.");
}

TEST_F(SelectionPageTest, OneFoundFileKeepsThePlural) {
    found({"http://h/only.zip"});
    auto* page = gw::ui::showPage<gw::ui::SelectionPage>();
    EXPECT_EQ(counts(page), "1 items found. 1 items selected.");
}

TEST_F(SelectionPageTest, NextStoresTickedRowsInRowOrderRebuiltEachTime) {
    found({"http://h/b.zip", "http://h/A.zip", "http://h/c.zip"});
    gw::app::wizardState().SelectedCount = 7;
    auto* page = gw::ui::showPage<gw::ui::SelectionPage>();
    control<QListWidget>(page, "fileList")->item(1)->setCheckState(Qt::Unchecked);
    click(page, "nextButton");
    gw::test::settle();
    EXPECT_EQ(selected(), (std::vector<std::string>{"http://h/A.zip", "http://h/c.zip"}));
    auto* destination = gw::ui::loadedPage<gw::ui::DestinationPage>();
    ASSERT_NE(destination, nullptr);
    EXPECT_EQ(gw::ui::loadedPage<gw::ui::SelectionPage>(), nullptr);

    // Coming back shows every row ticked again; Next counts from 0 again.
    click(destination, "backButton");
    gw::test::settle();
    page = gw::ui::loadedPage<gw::ui::SelectionPage>();
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(counts(page), "3 items found. 3 items selected.");
    click(page, "nextButton");
    gw::test::settle();
    EXPECT_EQ(selected(),
              (std::vector<std::string>{"http://h/A.zip", "http://h/b.zip", "http://h/c.zip"}));
}

TEST_F(SelectionPageTest, WithTheAddOnNextDoesNotGoToStep4) {
    const std::string data = gw::platform::DataFolder();
    std::filesystem::create_directories(data + "/Tardifetch");
    std::ofstream(data + "/Tardifetcher.exe") << "x";
    found({"http://h/a.zip"});
    auto* page = gw::ui::showPage<gw::ui::SelectionPage>();
    click(page, "nextButton");
    gw::test::settle();
    EXPECT_EQ(gw::app::wizardState().SelectedCount, 1);
    EXPECT_EQ(gw::ui::loadedPage<gw::ui::DestinationPage>(), nullptr);
}

TEST_F(SelectionPageTest, ShowsDecodedTextButHandsOnTheExactBytes) {
    found({"http://h/caf\xe9.zip", "http://h/\xc3\xa9t\xc3\xa9.zip"});
    auto* page = gw::ui::showPage<gw::ui::SelectionPage>();
    EXPECT_EQ(rows(control<QListWidget>(page, "fileList")),
              (QStringList{QString::fromUtf8("http://h/caf\xc3\xa9.zip"),
                           QString::fromUtf8("http://h/\xc3\xa9t\xc3\xa9.zip")}));
    click(page, "nextButton");
    EXPECT_EQ(selected(),
              (std::vector<std::string>{"http://h/caf\xe9.zip", "http://h/\xc3\xa9t\xc3\xa9.zip"}));
}

TEST_F(SelectionPageTest, NoFilesSaysSoAndNextIsOff) {
    auto* page = gw::ui::showPage<gw::ui::SelectionPage>();
    EXPECT_EQ(control<QLabel>(page, "instructionLabel")->text(),
              "There were no files matching your criteria. Click the \"Back\" button to change "
              "your criteria.");
    EXPECT_FALSE(control<QPushButton>(page, "nextButton")->isEnabled());
    click(page, "selectAllButton");
    EXPECT_EQ(counts(page), "");
    EXPECT_EQ(control<QListWidget>(page, "fileList")->count(), 0);
}

TEST_F(SelectionPageTest, BackShowsStep2CancelQuitsTabOrderIsThePagesOwn) {
    found({"http://h/a.zip"});
    auto* page = gw::ui::showPage<gw::ui::SelectionPage>();
    EXPECT_EQ(
        gw::test::tabStops(control<QWidget>(page, "fileList"), 8),
        (std::vector<QString>{"fileList", "selectAllButton", "clearAllButton", "saveListButton",
                              "cancelButton", "backButton", "nextButton", "fileList"}));
    click(page, "cancelButton");
    EXPECT_EQ(ended, 1);
    click(page, "backButton");
    gw::test::settle();
    EXPECT_NE(gw::ui::loadedPage<gw::ui::FileSpecPage>(), nullptr);
    EXPECT_EQ(gw::ui::loadedPage<gw::ui::SelectionPage>(), nullptr);
}

TEST_F(SelectionPageTest, FullListLoadsAndCounts) {
    auto& state = gw::app::wizardState();
    state.FoundCount = gw::app::kListCapacity;
    for (int i = 1; i <= gw::app::kListCapacity; ++i)
        state.FoundList[i] = "http://h/f" + std::to_string(gw::app::kListCapacity - i) + ".zip";
    QElapsedTimer timer;
    timer.start();
    auto* page = gw::ui::showPage<gw::ui::SelectionPage>();
    std::printf("32767 rows loaded and shown in %lld ms\n", timer.elapsed());
    EXPECT_EQ(counts(page), "32767 items found. 32767 items selected.");
    auto* list = control<QListWidget>(page, "fileList");
    EXPECT_EQ(list->item(0)->text(), "http://h/f0.zip");
    EXPECT_EQ(list->item(1)->text(), "http://h/f1.zip");
    EXPECT_EQ(list->item(2)->text(), "http://h/f10.zip");
    click(page, "clearAllButton");
    EXPECT_EQ(counts(page), "32767 items found. 0 items selected.");
    list->item(32766)->setCheckState(Qt::Checked);
    click(page, "nextButton");
    EXPECT_EQ(gw::app::wizardState().SelectedCount, 1);
    EXPECT_EQ(gw::app::wizardState().SelectedFiles[1], "http://h/f9999.zip");
}

// "Save List..." writes the ticked files only, in the format its name's ending asks for; a
// file that cannot be written leaves the page as it was, behind the error page.
TEST_F(SelectionPageTest, SaveListWritesTheTickedFilesInTheFormatChosen) {
    found({"http://h/d/a.zip", "http://h/d/b.zip", "http://h/e/a.zip"});
    const std::string folder = gw::test::TestRoot() + "/lists/";
    std::filesystem::create_directories(folder);
    struct Case {
        std::string name;
        std::string expected;  // a line the list holds
    } const cases[] = {
        {"files.txt", "http://h/e/a.zip\n"},
        {"files.meta4", "<file name=\"a (2).zip\">"},
        {"files.aria2", "http://h/e/a.zip\n  out=a (2).zip\n"},
        {"nowhere/files.txt", ""},
    };
    for (const Case& c : cases) {
        auto* page = gw::ui::showPage<gw::ui::SelectionPage>();
        control<QListWidget>(page, "fileList")->item(1)->setCheckState(Qt::Unchecked);
        gw::test::ErrorPageAnswerer errors;
        QTimer::singleShot(0, [&] {
            auto* dialog = page->findChild<QFileDialog*>("saveListDialog");
            ASSERT_NE(dialog, nullptr);
            dialog->selectFile(QString::fromStdString(folder + c.name));
            QMetaObject::invokeMethod(dialog, "accept");
        });
        click(page, "saveListButton");
        std::ifstream in(folder + c.name, std::ios::binary);
        const std::string text{std::istreambuf_iterator<char>(in), {}};
        EXPECT_TRUE(c.expected.empty() ? text.empty() : text.find(c.expected) != std::string::npos)
            << text;
        EXPECT_EQ(text.find("b.zip"), std::string::npos) << text;
        EXPECT_EQ(errors.answered(), c.expected.empty() ? 1 : 0);
        EXPECT_EQ(counts(page), "3 items found. 2 items selected.");
        gw::test::closeAllWindows();
    }
}
