#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include "app/WizardTransfer.h"
#include "settings/RunScripts.h"
#include "support/DownloadServer.h"
#include "support/Pages.h"
#include "support/RenderEngine.h"
#include "support/WizardFixture.h"
#include "ui/AddressPage.h"
#include "ui/FileSpecPage.h"
#include "ui/Navigation.h"
#include "ui/SelectionPage.h"

using gw::test::control;

namespace {

struct RunScriptsTest : gw::test::WizardFixture {
    void TearDown() override {
        WizardFixture::TearDown();
        gw::app::setTransferOptions({});
    }
};

TEST_F(RunScriptsTest, TheTickedBoxListsWhatTheScriptsBuiltAndIsRemembered) {
    if (!gw::test::RenderEngineMissing().empty())
        GTEST_SKIP() << gw::test::RenderEngineMissing();
    gw::test::DownloadServer server;
    server.serve("/text/list.json", "[\"a.zip\", \"b.zip\"]");
    server.serve("/text/page.html",
                 "<body><script>fetch('list.json').then(r => r.json()).then(names => names"
                 ".forEach(n => document.body.insertAdjacentHTML('beforeend',"
                 " '<a href=\"' + n + '\">' + n + '</a>')));</script>");

    auto* step1 = gw::ui::showPage<gw::ui::AddressPage>();
    auto* box = control<QCheckBox>(step1, "runScriptsBox");
    ASSERT_TRUE(box->isEnabled()) << box->toolTip().toStdString();
    EXPECT_FALSE(box->isChecked());
    box->click();
    EXPECT_TRUE(gw::settings::ReadRunScripts());
    control<QComboBox>(step1, "addressBox")
        ->setEditText(QString::fromStdString(server.url("/text/page.html")));
    gw::test::ErrorPageAnswerer answerer;
    QTest::keyClick(control<QComboBox>(step1, "addressBox"), Qt::Key_Return);
    gw::test::settle();
    ASSERT_EQ(answerer.message(), "");

    auto* step2 = gw::ui::loadedPage<gw::ui::FileSpecPage>();
    ASSERT_NE(step2, nullptr);
    QTest::mouseClick(control<QPushButton>(step2, "nextButton"), Qt::LeftButton);
    gw::test::settle();
    auto* step3 = gw::ui::loadedPage<gw::ui::SelectionPage>();
    ASSERT_NE(step3, nullptr);
    auto* list = control<QListWidget>(step3, "fileList");
    ASSERT_EQ(list->count(), 2);
    EXPECT_EQ(list->item(0)->text().toStdString(), server.url("/text/a.zip"));
    EXPECT_EQ(list->item(1)->text().toStdString(), server.url("/text/b.zip"));
    // The next Step 1 opens with the box ticked.
    gw::test::closeAllWindows();
    EXPECT_TRUE(
        control<QCheckBox>(gw::ui::showPage<gw::ui::AddressPage>(), "runScriptsBox")->isChecked());
}

}  // namespace
