#pragma once

#include <gtest/gtest.h>

#include "app/Quit.h"
#include "app/WizardState.h"
#include "support/FakeDialup.h"
#include "support/Pages.h"

namespace gw::test {

// A fresh wizard state with the fake dial-up line and clock; the end of the program is
// counted instead of happening, and every window is gone after the test.
struct WizardFixture : testing::Test {
    InstalledFakes fakes;
    int ended = 0;

    void SetUp() override {
        app::resetWizardState();
        app::setProgramEnder([this] { ++ended; });
    }
    void TearDown() override {
        closeAllWindows();
        app::setProgramEnder(nullptr);
    }
};

}  // namespace gw::test
