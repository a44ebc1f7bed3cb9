#pragma once
// An error dialog for tests: records every report and answers from a script
// (Abort once the script runs out).
#include <deque>
#include <vector>

#include "scale/ErrorDialog.h"

namespace gradel::testing {

class ScriptedErrorDialog : public IErrorDialog {
public:
    explicit ScriptedErrorDialog(std::deque<ErrorAnswer> answers = {}) : answers_(std::move(answers)) {}
    ErrorAnswer Ask(const ErrorReport& report) override {
        reports.push_back(report);
        if (answers_.empty()) return ErrorAnswer::Abort;
        ErrorAnswer a = answers_.front();
        answers_.pop_front();
        return a;
    }
    void Script(std::deque<ErrorAnswer> answers) { answers_ = std::move(answers); }

    std::vector<ErrorReport> reports;

private:
    std::deque<ErrorAnswer> answers_;
};

// Installs a scripted dialog as the process-wide one for the lifetime of the object.
class ScopedErrorDialog : public ScriptedErrorDialog {
public:
    explicit ScopedErrorDialog(std::deque<ErrorAnswer> answers = {})
        : ScriptedErrorDialog(std::move(answers)) { SetCurrentErrorDialog(this); }
    ~ScopedErrorDialog() override { SetCurrentErrorDialog(nullptr); }
};

}  // namespace gradel::testing
