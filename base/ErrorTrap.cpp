#include "base/ErrorTrap.h"

namespace gradel {

std::string ErrorReport::text() const {
    return "The following error occurred in\r\nmodule " + module + ", procedure " + procedure +
           "\r\n\r\nError Number " + std::to_string(faultNumber(fault)) + "\r\n(" +
           faultDescription(fault) + ".)";
}

namespace {

// Answers Abort without showing anything: the prompt until the program installs its own.
class SilentAbort final : public ErrorPrompt {
  public:
    ErrorAnswer ask(const ErrorReport&) override { return ErrorAnswer::Abort; }
};

SilentAbort silentAbort;
ErrorPrompt* currentPrompt = &silentAbort;

}  // namespace

ErrorPrompt& defaultErrorPrompt() {
    return *currentPrompt;
}

void setDefaultErrorPrompt(ErrorPrompt* prompt) {
    currentPrompt = prompt ? prompt : &silentAbort;
}

ErrorAnswer ErrorTrap::ask(Fault fault) {
    return prompt_.ask(ErrorReport{module_, procedure_, fault});
}

}  // namespace gradel
