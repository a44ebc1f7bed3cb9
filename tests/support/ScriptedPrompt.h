#pragma once
// An error prompt for tests: records every report and answers from a script (Abort once the
// script runs out). A ScopedPrompt is the default prompt while it lives.
#include <deque>
#include <functional>
#include <utility>
#include <vector>

#include "base/ErrorTrap.h"

namespace gradel::testing {

class ScriptedPrompt : public ErrorPrompt {
  public:
    explicit ScriptedPrompt(std::deque<ErrorAnswer> answers = {}) : answers_(std::move(answers)) {}
    ErrorAnswer ask(const ErrorReport& report) override {
        reports_.push_back(report);
        if (meanwhile && reports_.size() <= 3) meanwhile();
        if (answers_.empty()) return ErrorAnswer::Abort;
        const ErrorAnswer answer = answers_.front();
        answers_.pop_front();
        return answer;
    }
    void script(std::deque<ErrorAnswer> answers) { answers_ = std::move(answers); }
    const std::vector<ErrorReport>& reports() const { return reports_; }
    void clearReports() { reports_.clear(); }
    // Runs while the first three reports are asked, as a box's own event loop runs the program
    // on while the operator reads it.
    std::function<void()> meanwhile;

  private:
    std::deque<ErrorAnswer> answers_;
    std::vector<ErrorReport> reports_;
};

class ScopedPrompt : public ScriptedPrompt {
  public:
    ScopedPrompt() { setDefaultErrorPrompt(this); }
    ~ScopedPrompt() override { setDefaultErrorPrompt(nullptr); }
};

}  // namespace gradel::testing
