#include "window/QtErrorDialog.h"

#include <QMessageBox>
#include <QString>
#include <QWidget>

namespace gradel {

QtErrorDialog::QtErrorDialog(QWidget* owner) : owner_(owner) {}

std::unique_ptr<QMessageBox> QtErrorDialog::MakeBox(const ErrorReport& report, QWidget* owner) {
    auto box = std::make_unique<QMessageBox>(
        QMessageBox::Information, QString::fromLatin1(ErrorReport::kTitle),
        QString::fromStdString(report.Text()),
        QMessageBox::Abort | QMessageBox::Retry | QMessageBox::Ignore, owner);
    box->setTextFormat(Qt::PlainText);
    box->setDefaultButton(QMessageBox::Abort);
    box->setEscapeButton(QMessageBox::Abort);
    return box;
}

ErrorAnswer QtErrorDialog::AnswerFor(int button) {
    switch (button) {
        case QMessageBox::Retry:
            return ErrorAnswer::Retry;
        case QMessageBox::Ignore:
            return ErrorAnswer::Ignore;
        default:
            return ErrorAnswer::Abort;
    }
}

ErrorAnswer QtErrorDialog::Ask(const ErrorReport& report) {
    auto box = MakeBox(report, owner_.data());
    return AnswerFor(box->exec());
}

}  // namespace gradel
