#pragma once
// How a guarded operation reports a fault and learns what to do about it.
//
// A guarded operation is a sequence of steps. When a step throws a Failure, the user is asked,
// through an injected ErrorPrompt, whether to Abort (leave the operation), Retry (run the same
// step again) or Ignore (go on with the next step). The prompt is an interface so the scale
// link needs no GUI: the window installs a message box, tests install scripted answers.
#include <string>
#include <utility>

#include "base/Failure.h"

namespace gradel {

enum class ErrorAnswer { Abort, Retry, Ignore };

// What the error box shows: always titled "Error", with the buttons Abort, Retry and Ignore.
struct ErrorReport {
    static constexpr const char* kTitle = "Error";
    std::string module;     // e.g. "clsScaleControl": the name users' reports have always given
    std::string procedure;  // e.g. "Update"; kept verbatim (some texts carry extra blanks)
    Fault fault = Fault::InvalidArgument;

    // "The following error occurred in" CRLF "module M, procedure P" CRLF CRLF
    // "Error Number N" CRLF "(description.)"
    std::string text() const;
};

class ErrorPrompt {
  public:
    virtual ~ErrorPrompt() = default;
    virtual ErrorAnswer ask(const ErrorReport& report) = 0;
};

// The prompt used where none is injected. Until the program installs its own, every fault is
// answered with Abort and nothing is shown.
ErrorPrompt& defaultErrorPrompt();
void setDefaultErrorPrompt(ErrorPrompt* prompt);  // nullptr restores the silent one

// Runs the steps of one guarded operation:
//
//   ErrorTrap trap(prompt, "clsScaleControl", "Update");
//   if (!trap.run([&] { ... })) return;   // false: the user chose Abort
//
// A step that throws Failure is reported; Retry runs it again, Ignore returns true so the
// caller goes on with its next step, Abort returns false and so does every later run().
class ErrorTrap {
  public:
    ErrorTrap(ErrorPrompt& prompt, std::string module, std::string procedure)
        : prompt_(prompt), module_(std::move(module)), procedure_(std::move(procedure)) {}

    template <class Step>
    bool run(Step&& step) {
        if (aborted_) return false;
        for (;;) {
            try {
                step();
                return true;
            } catch (const Failure& failure) {
                switch (ask(failure.fault())) {
                    case ErrorAnswer::Retry:
                        continue;
                    case ErrorAnswer::Ignore:
                        return true;
                    case ErrorAnswer::Abort:
                        aborted_ = true;
                        return false;
                }
            }
        }
    }

    bool aborted() const { return aborted_; }

  private:
    ErrorAnswer ask(Fault fault);

    ErrorPrompt& prompt_;
    std::string module_;
    std::string procedure_;
    bool aborted_ = false;
};

}  // namespace gradel
