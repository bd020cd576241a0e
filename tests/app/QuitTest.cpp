#include <gtest/gtest.h>

#include "app/Quit.h"
#include "app/WizardState.h"
#include "support/FakeDialup.h"
#include "support/WizardFixture.h"

namespace {

using QuitFixture = gw::test::WizardFixture;

}  // namespace

TEST_F(QuitFixture, HangsUpOnlyWhenTheWizardBroughtTheLineUp) {
    struct Case {
        std::optional<bool> hangUpOnQuit;
        bool lineUp;
        bool asksService;
        int hangUps;
    };
    const Case cases[] = {
        {std::nullopt, true, false, 0},  // no fetch yet: the service is never asked
        {false, true, false, 0},
        {true, false, true, 0},
        {true, true, true, 2},
    };
    for (const Case& c : cases) {
        gw::app::resetWizardState();
        fakes.dialup = gw::test::FakeDialup{};
        fakes.dialup.up = c.lineUp;
        fakes.dialup.dropsAfter = 2;
        ended = 0;
        gw::app::wizardState().HangUpOnQuit = c.hangUpOnQuit;
        gw::app::Quit();
        EXPECT_EQ(fakes.dialup.activeCalls > 0, c.asksService);
        EXPECT_EQ(fakes.dialup.hangUpCalls, c.hangUps);
        EXPECT_FALSE(fakes.dialup.up && c.hangUps > 0);
        EXPECT_EQ(ended, 1);
    }
}

TEST_F(QuitFixture, EndsAfterTheBoundWhenTheLineNeverDrops) {
    gw::app::wizardState().HangUpOnQuit = true;
    fakes.dialup.up = true;
    fakes.dialup.dropsAfter = -1;
    gw::app::Quit();
    EXPECT_EQ(ended, 1);
    EXPECT_GE(fakes.clock.slept, std::chrono::seconds(29));
    EXPECT_LE(fakes.clock.slept, std::chrono::seconds(31));
}
