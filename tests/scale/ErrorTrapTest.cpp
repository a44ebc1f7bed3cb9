#include <gtest/gtest.h>

#include "scale/ErrorDialog.h"
#include "tests/support/ScriptedErrorDialog.h"

using namespace gradel;
using gradel::testing::ScriptedErrorDialog;

TEST(ErrorReport, TextIsExact) {
    ErrorReport r{"clsScaleControl", "Update", 5, "Invalid procedure call or argument"};
    EXPECT_EQ(r.Text(),
              "The following error occurred in\r\nmodule clsScaleControl, procedure Update\r\n\r\n"
              "Error Number 5\r\n(Invalid procedure call or argument.)");
}

// Each answer of the dialog drives the trap: Retry repeats the step, Ignore goes on with the
// next one, Abort leaves at once.
TEST(ErrorTrap, AnswersDriveTheSteps) {
    struct Case {
        const char* name;
        std::deque<ErrorAnswer> answers;
        int failuresBeforeSuccess;
        int expectedAttempts;
        bool expectedSecondStepRan;
    };
    const Case cases[] = {
        {"abort", {ErrorAnswer::Abort}, 1, 1, false},
        {"ignore", {ErrorAnswer::Ignore}, 1, 1, true},
        {"retry then ok", {ErrorAnswer::Retry}, 1, 2, true},
        {"retry twice then abort", {ErrorAnswer::Retry, ErrorAnswer::Retry, ErrorAnswer::Abort}, 5, 3, false},
    };
    for (const auto& c : cases) {
        ScriptedErrorDialog dialog(c.answers);
        ErrorTrap trap(dialog, "m", "p");
        int attempts = 0;
        bool second = false;
        if (trap.Run([&] {
                if (++attempts <= c.failuresBeforeSuccess) throw RunTimeError::InvalidCall();
            }))
            trap.Run([&] { second = true; });
        EXPECT_EQ(attempts, c.expectedAttempts) << c.name;
        EXPECT_EQ(second, c.expectedSecondStepRan) << c.name;
        EXPECT_EQ(trap.Aborted(), !c.expectedSecondStepRan) << c.name;
    }
}
