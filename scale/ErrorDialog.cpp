#include "scale/ErrorDialog.h"

namespace gradel {

std::string ErrorReport::Text() const {
    return "The following error occurred in\r\nmodule " + module + ", procedure " + procedure +
           "\r\n\r\nError Number " + std::to_string(number) + "\r\n(" + description + ".)";
}

namespace {
class SilentAbortDialog final : public IErrorDialog {
public:
    ErrorAnswer Ask(const ErrorReport&) override { return ErrorAnswer::Abort; }
};

SilentAbortDialog g_silent;
IErrorDialog* g_current = &g_silent;
}  // namespace

IErrorDialog& CurrentErrorDialog() { return *g_current; }
void SetCurrentErrorDialog(IErrorDialog* dialog) { g_current = dialog ? dialog : &g_silent; }

ErrorAnswer ErrorTrap::Report(const RunTimeError& e) {
    return dialog_.Ask(ErrorReport{module_, procedure_, e.Number(), e.Description()});
}

}  // namespace gradel
