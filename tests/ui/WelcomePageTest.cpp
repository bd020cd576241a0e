#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <algorithm>
#include <functional>

#include "app/Quit.h"
#include "app/WizardState.h"
#include "support/FakeDialup.h"
#include "support/Pages.h"
#include "support/WizardFixture.h"
#include "ui/AddressPage.h"
#include "ui/FileSpecPage.h"
#include "ui/FinishedPage.h"
#include "ui/Navigation.h"
#include "ui/ReadyPage.h"
#include "ui/WelcomePage.h"

using gw::test::control;

namespace {

using WelcomePageTest = gw::test::WizardFixture;

}  // namespace

TEST_F(WelcomePageTest, EnterGoesToTheAddressPageAndEscQuitsWithoutTouchingTheLine) {
    auto* page = gw::ui::showPage<gw::ui::WelcomePage>();
    QTest::keyClick(page, Qt::Key_Escape);
    EXPECT_EQ(ended, 1);
    EXPECT_EQ(fakes.dialup.activeCalls, 0);

    QTest::keyClick(page, Qt::Key_Return);
    gw::test::settle();
    EXPECT_NE(gw::ui::loadedPage<gw::ui::AddressPage>(), nullptr);
    EXPECT_EQ(gw::ui::loadedPage<gw::ui::WelcomePage>(), nullptr) << "the page left is unloaded";
}

TEST_F(WelcomePageTest, HeadingClickChangesTheNoticeUntilTheNextLoad) {
    auto* page = gw::ui::showPage<gw::ui::WelcomePage>();
    const QString notice = control<QLabel>(page, "creditLabel")->text();
    QTest::mouseClick(control<QLabel>(page, "headingLabel"), Qt::LeftButton);
    EXPECT_EQ(control<QLabel>(page, "creditLabel")->text(), "Dedicated to my wife...");
    QTest::mouseClick(control<QLabel>(page, "headingLabel"), Qt::LeftButton);
    EXPECT_EQ(control<QLabel>(page, "creditLabel")->text(), "Dedicated to my wife...");

    gw::ui::navigate<gw::ui::AddressPage>(page);
    gw::test::settle();
    auto* again = gw::ui::navigate<gw::ui::WelcomePage>(gw::ui::loadedPage<gw::ui::AddressPage>());
    EXPECT_EQ(control<QLabel>(again, "creditLabel")->text(), notice);
}

TEST_F(WelcomePageTest, ClosingByTheFrameEndsWithoutHangUp) {
    gw::app::wizardState().HangUpOnQuit = true;
    fakes.dialup.up = true;
    auto* page = gw::ui::showPage<gw::ui::WelcomePage>();
    page->window()->close();
    EXPECT_EQ(ended, 1);
    EXPECT_EQ(fakes.dialup.hangUpCalls, 0);
}

TEST_F(WelcomePageTest, EachViewTakesItsTurnInOneWindowWithItsOwnTitleAndFirstFocus) {
    using gw::ui::showPage;
    const std::pair<std::function<QWidget*()>, const char*> cases[] = {
        {showPage<gw::ui::WelcomePage>, "nextButton"},
        {showPage<gw::ui::AddressPage>, "addressBox"},
        {showPage<gw::ui::FileSpecPage>, "specEdit"},
        {showPage<gw::ui::ReadyPage>, "nextButton"},
        {[] { return gw::ui::ShowFinished("done"); }, "finishButton"},
    };
    QWidget* window = nullptr;
    QSize welcomeSize;
    for (const auto& [show, focused] : cases) {
        QWidget* view = show();
        SCOPED_TRACE(view->objectName().toStdString());
        if (!window) {
            window = view->window();
            welcomeSize = view->minimumSize();
        }
        EXPECT_EQ(view->window(), window);
        EXPECT_EQ(window->windowTitle(), view->windowTitle());
        const auto views = window->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
        EXPECT_EQ(std::count_if(views.begin(), views.end(), [](auto* v) { return v->isVisible(); }),
                  1);
        ASSERT_NE(view->focusWidget(), nullptr);
        EXPECT_EQ(view->focusWidget()->objectName(), focused);
        EXPECT_EQ(window->size(), QSize(welcomeSize).expandedTo(view->minimumSize()));
    }
}
