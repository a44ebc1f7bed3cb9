#pragma once
// The error prompt on screen: a message box titled "Error" with the information icon and the
// buttons Abort, Retry and Ignore, showing the report's text unchanged.
#include <QPointer>
#include <memory>

#include "base/ErrorTrap.h"

class QMessageBox;
class QWidget;

namespace gradel {

class ErrorMessageBox : public ErrorPrompt {
  public:
    // `owner` (may be null) is the window the box is shown over.
    explicit ErrorMessageBox(QWidget* owner = nullptr);

    // Shows the box modally and returns the button chosen; closing the box counts as Abort.
    ErrorAnswer ask(const ErrorReport& report) override;

    // The box as ask() shows it, not yet shown.
    static std::unique_ptr<QMessageBox> makeBox(const ErrorReport& report, QWidget* owner);
    // The answer for a button of the box (anything but Retry and Ignore is Abort).
    static ErrorAnswer answerFor(int button);

  private:
    QPointer<QWidget> owner_;
};

}  // namespace gradel
