#include "window/ErrorMessageBox.h"

#include <QMessageBox>
#include <QString>
#include <QWidget>

namespace gradel {

ErrorMessageBox::ErrorMessageBox(QWidget* owner) : owner_(owner) {}

std::unique_ptr<QMessageBox> ErrorMessageBox::makeBox(const ErrorReport& report, QWidget* owner) {
    auto box = std::make_unique<QMessageBox>(
        QMessageBox::Information, QString::fromLatin1(ErrorReport::kTitle),
        QString::fromStdString(report.text()),
        QMessageBox::Abort | QMessageBox::Retry | QMessageBox::Ignore, owner);
    box->setTextFormat(Qt::PlainText);
    box->setDefaultButton(QMessageBox::Abort);
    box->setEscapeButton(QMessageBox::Abort);
    return box;
}

ErrorAnswer ErrorMessageBox::answerFor(int button) {
    switch (button) {
        case QMessageBox::Retry:
            return ErrorAnswer::Retry;
        case QMessageBox::Ignore:
            return ErrorAnswer::Ignore;
        default:
            return ErrorAnswer::Abort;
    }
}

ErrorAnswer ErrorMessageBox::ask(const ErrorReport& report) {
    return answerFor(makeBox(report, owner_.data())->exec());
}

}  // namespace gradel
