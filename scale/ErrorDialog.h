#pragma once
// The standard error dialog and the trap that every guarded operation runs under.
//
// A guarded operation is written as a sequence of steps. When a step raises a RunTimeError
// the user is asked, through an injected IErrorDialog, whether to Abort (leave the operation),
// Retry (run the same step again) or Ignore (go on with the next step). The dialog is an
// interface so the scale link stays free of any GUI; the window installs a Qt message box and
// tests install scripted answers.
#include <stdexcept>
#include <string>

namespace gradel {

// A run-time fault with the classic numbered error codes.
class RunTimeError : public std::runtime_error {
public:
    RunTimeError(int number, const std::string& description)
        : std::runtime_error(description), number_(number) {}
    int Number() const { return number_; }
    std::string Description() const { return what(); }

    static RunTimeError InvalidCall() { return {5, "Invalid procedure call or argument"}; }
    static RunTimeError Overflow() { return {6, "Overflow"}; }
    static RunTimeError SubscriptOutOfRange() { return {9, "Subscript out of range"}; }
    static RunTimeError TypeMismatch() { return {13, "Type mismatch"}; }
    static RunTimeError ObjectNotSet() { return {91, "Object variable or With block variable not set"}; }
    static RunTimeError DuplicateKey() {
        return {457, "This key is already associated with an element of this collection"};
    }

private:
    int number_;
};

enum class ErrorAnswer { Abort, Retry, Ignore };

// What the message box shows. The title is always "Error", the buttons Abort/Retry/Ignore and
// the icon the information icon; only the text varies.
struct ErrorReport {
    static constexpr const char* kTitle = "Error";
    std::string module;     // e.g. "clsScaleControl"
    std::string procedure;  // e.g. "Update"; kept verbatim (some texts carry extra blanks)
    int number = 0;
    std::string description;

    // "The following error occurred in" CRLF "module M, procedure P" CRLF CRLF
    // "Error Number N" CRLF "(description.)"
    std::string Text() const;
};

class IErrorDialog {
public:
    virtual ~IErrorDialog() = default;
    virtual ErrorAnswer Ask(const ErrorReport& report) = 0;
};

// The process-wide dialog used where none is injected explicitly. Until the window installs
// its own, faults are answered with Abort and nothing is shown.
IErrorDialog& CurrentErrorDialog();
void SetCurrentErrorDialog(IErrorDialog* dialog);  // nullptr restores the silent default

// Runs the steps of one guarded operation.
//
//   ErrorTrap trap(dialog, "clsScaleControl", "Update");
//   if (!trap.Run([&] { ... })) return;   // false: the user chose Abort
//
// A step that throws RunTimeError is reported; Retry runs it again, Ignore returns true so the
// caller carries on with its next step, Abort returns false and marks the trap aborted.
class ErrorTrap {
public:
    ErrorTrap(IErrorDialog& dialog, std::string module, std::string procedure)
        : dialog_(dialog), module_(std::move(module)), procedure_(std::move(procedure)) {}

    template <class Step>
    bool Run(Step&& step) {
        if (aborted_) return false;
        for (;;) {
            try {
                step();
                return true;
            } catch (const RunTimeError& e) {
                switch (Report(e)) {
                    case ErrorAnswer::Retry: continue;
                    case ErrorAnswer::Ignore: return true;
                    case ErrorAnswer::Abort: aborted_ = true; return false;
                }
            }
        }
    }

    bool Aborted() const { return aborted_; }

private:
    ErrorAnswer Report(const RunTimeError& e);

    IErrorDialog& dialog_;
    std::string module_;
    std::string procedure_;
    bool aborted_ = false;
};

}  // namespace gradel
