#include "panels/HoleCircleDialog.h"

#include <QEvent>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <cmath>
#include <limits>

#include "base/VirtualKey.h"

namespace gradel {

namespace {

using VirtualKey::function;

constexpr int kMaxChars = 12;  // more than any usable number needs

const QString kFieldStyle = QStringLiteral("background: white; border: 1px solid gray;");
const QString kCurrentStyle = QStringLiteral("background: #ffe080; border: 2px solid black;");

const char* const kCaptions[] = {"Holes",         "Diameter (mm)", "Start angle (deg)",
                                 "Centre 1 (mm)", "Centre 2 (mm)", "First axis",
                                 "Second axis"};

}  // namespace

HoleCircleDialog::HoleCircleDialog(QWidget* owner) : QDialog(owner), message_(new QLabel(this)) {
    setWindowTitle(QStringLiteral("Hole Circle"));
    auto* grid = new QGridLayout(this);
    auto* hint = new QLabel(QStringLiteral("F1-F10 digits, F11 point, F12 next field\n"
                                           "Tab / Enter next field, Esc cancel"),
                            this);
    grid->addWidget(hint, 0, 0, 1, 2);
    for (int i = 0; i < kFields; ++i) {
        captions_[i] = new QLabel(QString::fromLatin1(kCaptions[i]), this);
        fields_[i] = new QLabel(this);
        fields_[i]->setMinimumWidth(120);
        fields_[i]->installEventFilter(this);
        grid->addWidget(captions_[i], i + 1, 0);
        grid->addWidget(fields_[i], i + 1, 1);
    }
    message_->setStyleSheet(QStringLiteral("color: #c00000; font-weight: bold;"));
    grid->addWidget(message_, kFields + 1, 0, 1, 2);
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    // The keys belong to the fields: a button with the focus would take Enter and the digits.
    for (QPushButton* button : {ok, cancel}) {
        button->setFocusPolicy(Qt::NoFocus);
        button->setAutoDefault(false);
    }
    connect(ok, &QPushButton::clicked, this, &HoleCircleDialog::tryAccept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    grid->addWidget(ok, kFields + 2, 0);
    grid->addWidget(cancel, kFields + 2, 1);
}

std::optional<HoleCircleRequest> HoleCircleDialog::ask(const QStringList& axes) {
    axes_ = axes;
    const QString starts[kFields] = {QString(),           QString(),           QStringLiteral("0"),
                                     QStringLiteral("0"), QStringLiteral("0"), axes.value(0),
                                     axes.value(1)};
    for (int i = 0; i < kFields; ++i) fields_[i]->setText(starts[i]);
    nameCentreFields();
    message_->clear();
    result_.reset();
    moveTo(Holes);
    exec();
    // The keyboard goes back to the window, as after the number entry.
    if (QWidget* owner = parentWidget(); owner && owner->isVisible()) owner->activateWindow();
    return result_;
}

QString HoleCircleDialog::message() const {
    return message_->text();
}

// The centre fields say which axis they are on.
void HoleCircleDialog::nameCentreFields() {
    for (const Field f : {CentreFirst, CentreSecond}) {
        const QString axis = fields_[f == CentreFirst ? FirstAxis : SecondAxis]->text();
        captions_[f]->setText(QStringLiteral("Centre %1 (mm)").arg(axis));
    }
}

void HoleCircleDialog::moveTo(int field) {
    current_ = (field + kFields) % kFields;
    fresh_ = true;
    for (int i = 0; i < kFields; ++i)
        fields_[i]->setStyleSheet(i == current_ ? kCurrentStyle : kFieldStyle);
}

void HoleCircleDialog::next() {
    if (current_ == kFields - 1) return tryAccept();
    moveTo(current_ + 1);
}

// Every key reaches the dialog here, before the dialog's own defaults can act on Escape, Enter
// or Tab. Keys still queued after the dialog closed belong to nothing and are dropped.
bool HoleCircleDialog::event(QEvent* event) {
    if (event->type() != QEvent::KeyPress) return QDialog::event(event);
    if (!isHidden()) handleKey(static_cast<QKeyEvent*>(event));
    return true;
}

// A click on a field makes it the one typed into.
bool HoleCircleDialog::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonPress)
        for (int i = 0; i < kFields; ++i)
            if (watched == fields_[i]) moveTo(i);
    return QDialog::eventFilter(watched, event);
}

void HoleCircleDialog::handleKey(QKeyEvent* event) {
    event->accept();
    switch (event->key()) {
        case Qt::Key_Escape:
            return reject();
        case Qt::Key_Tab:
            return moveTo(current_ + 1);
        case Qt::Key_Backtab:
            return moveTo(current_ - 1);
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return next();
        case Qt::Key_Backspace:
            return backspace();
        default:
            break;
    }
    const int code = VirtualKey::fromEvent(*event);
    if (code >= function(1) && code <= function(12)) return functionKey(code);
    if (!event->text().isEmpty()) type(event->text().at(0));
}

void HoleCircleDialog::functionKey(int code) {
    if (code == function(12)) return next();
    if (const char c = VirtualKey::entryCharacter(code)) type(QChar::fromLatin1(c));
}

void HoleCircleDialog::type(QChar c) {
    if (current_ >= FirstAxis) return typeAxis(c);
    if (!c.isDigit() && c != u'.' && c != u'-') return;
    QLabel* field = fields_[current_];
    const QString text = fresh_ ? QString(c) : field->text() + c;
    fresh_ = false;
    if (text.size() <= kMaxChars) field->setText(text);
}

// A digit n is the n-th listed axis, a letter the axis of that key; anything else is ignored.
void HoleCircleDialog::typeAxis(QChar c) {
    const int n = c.digitValue();
    const QString key = n > 0 ? axes_.value(n - 1) : axes_.contains(c.toUpper()) ? c.toUpper() : c;
    if (!axes_.contains(key)) return;
    fields_[current_]->setText(key);
    nameCentreFields();
}

void HoleCircleDialog::backspace() {
    if (current_ >= FirstAxis) return;
    QString text = fields_[current_]->text();
    text.chop(1);
    fields_[current_]->setText(text);
    fresh_ = false;
}

void HoleCircleDialog::tryAccept() {
    if (std::optional<HoleCircleRequest> request = read()) {
        result_ = request;
        accept();
    }
}

void HoleCircleDialog::refuse(Field field, const QString& why) {
    message_->setText(why);
    moveTo(field);
}

// The number in `field`: `fallback` when it is empty (nothing when there is none), refused
// unless it is a plain number from `low` to `high`.
std::optional<double> HoleCircleDialog::number(Field field, double fallback, double low,
                                               double high) {
    const QString text = fields_[field]->text();
    const QString name = captions_[field]->text();
    if (text.isEmpty() && std::isnan(fallback)) {
        refuse(field, QStringLiteral("%1: enter a number").arg(name));
        return std::nullopt;
    }
    if (text.isEmpty()) return fallback;
    bool ok = false;
    const double value = text.toDouble(&ok);
    if (!ok || !std::isfinite(value)) {
        refuse(field, QStringLiteral("%1: \"%2\" is not a number").arg(name, text));
        return std::nullopt;
    }
    if (value < low || value > high) {
        refuse(field, QStringLiteral("%1: from %2 to %3").arg(name).arg(low).arg(high));
        return std::nullopt;
    }
    return value;
}

std::optional<HoleCircleRequest> HoleCircleDialog::read() {
    constexpr double none = std::numeric_limits<double>::quiet_NaN();
    const auto holes = number(Holes, none, 2, kMaxHoles);
    if (!holes) return std::nullopt;
    if (*holes != std::floor(*holes)) {
        refuse(Holes, captions_[Holes]->text() + QStringLiteral(": a whole number"));
        return std::nullopt;
    }
    const auto diameter = number(Diameter, none, 0, kMaxMm);
    if (!diameter) return std::nullopt;
    if (*diameter <= 0) {
        refuse(Diameter, captions_[Diameter]->text() + QStringLiteral(": more than 0"));
        return std::nullopt;
    }
    const auto start = number(Start, 0, -kMaxDegrees, kMaxDegrees);
    const auto first = start ? number(CentreFirst, 0, -kMaxMm, kMaxMm) : std::nullopt;
    const auto second = first ? number(CentreSecond, 0, -kMaxMm, kMaxMm) : std::nullopt;
    if (!second) return std::nullopt;
    const QString firstAxis = fields_[FirstAxis]->text();
    const QString secondAxis = fields_[SecondAxis]->text();
    if (firstAxis.isEmpty() || secondAxis.isEmpty() || firstAxis == secondAxis) {
        refuse(firstAxis.isEmpty() ? FirstAxis : SecondAxis,
               QStringLiteral("Choose two different axes"));
        return std::nullopt;
    }
    return HoleCircleRequest{
        {static_cast<int>(*holes), *diameter, *start, *first, *second}, firstAxis, secondAxis};
}

}  // namespace gradel
