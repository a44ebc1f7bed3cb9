#pragma once
// The standard error dialog on screen: a message box titled "Error" with the information
// icon and the buttons Abort, Retry and Ignore, showing the report's text unchanged.
#include <QPointer>
#include <memory>

#include "scale/ErrorDialog.h"

class QMessageBox;
class QWidget;

namespace gradel {

class QtErrorDialog : public IErrorDialog {
  public:
    // `owner` (may be null) is the window the box is shown over.
    explicit QtErrorDialog(QWidget* owner = nullptr);

    // Shows the box modally and returns the button chosen; closing the box counts as Abort.
    ErrorAnswer Ask(const ErrorReport& report) override;

    // The box as Ask shows it, not yet shown.
    static std::unique_ptr<QMessageBox> MakeBox(const ErrorReport& report, QWidget* owner);
    // The answer for a button of the box (anything but Retry and Ignore is Abort).
    static ErrorAnswer AnswerFor(int button);

  private:
    QPointer<QWidget> owner_;
};

}  // namespace gradel
