#include "panels/AxisPanel.h"

#include <QAction>
#include <QCursor>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QToolTip>

#include "base/Twips.h"
#include "controls/AnalogueDial.h"
#include "controls/DigitalDial.h"
#include "controls/NoDataMark.h"
#include "scale/Scale.h"

namespace gradel {

namespace {

constexpr int kDialDivisions = 64;
const QColor kArrowColour(255, 192, 192);
constexpr int kButtonTop = 960;
constexpr int kButtonHeight = 255;

QPushButton* makeButton(QWidget* parent, const QString& caption, int left, int width,
                        const QString& tooltip = QString()) {
    auto* button = new QPushButton(caption, parent);
    Twips::place(button, 960 + left, kButtonTop, width, kButtonHeight);
    button->setToolTip(tooltip);
    return button;
}

QPushButton* makeCheckButton(QWidget* parent, const QString& caption, int left,
                             const QString& tooltip) {
    QPushButton* button = makeButton(parent, caption, left, 495, tooltip);
    button->setCheckable(true);
    return button;
}

}  // namespace

AxisPanel::AxisPanel(const QString& key, QWidget* parent)
    : QGroupBox(key + QStringLiteral(" Axis"), parent), key_(key) {
    Twips::place(this, 0, 0, kWidth, kHeight);
    buildReadouts();
    buildButtons();
    buildMenus();
    staleMark_ = new NoDataMark(this);
    staleMark_->cover({mm_, inch_, dial_}, {mm_, inch_});
    setReversed(key == QStringLiteral("Y"));
    refresh();
}

void AxisPanel::setZeroPoint(int point) {
    const QString suffix = point ? QStringLiteral("  P%1").arg(point) : QString();
    setTitle(key_ + QStringLiteral(" Axis") + suffix);
}

void AxisPanel::buildReadouts() {
    letter_ = new QLabel(key_, this);
    Twips::place(letter_, 120, 240, 735, 615);
    letter_->setFont(QFont(QStringLiteral("MS Sans Serif"), 24, QFont::Bold));
    letter_->setAlignment(Qt::AlignCenter);
    letter_->setFrameStyle(QFrame::Box | QFrame::Plain);
    QPalette palette = letter_->palette();
    palette.setColor(QPalette::Window, QToolTip::palette().color(QPalette::ToolTipBase));
    letter_->setPalette(palette);
    letter_->setAutoFillBackground(true);

    toGo_ = new QLabel(QStringLiteral("to go"), this);
    toGo_->setObjectName(QStringLiteral("toGo"));
    Twips::place(toGo_, 120, 960, 735, kButtonHeight);
    toGo_->setAlignment(Qt::AlignCenter);
    toGo_->setStyleSheet(QStringLiteral("font-weight: bold; color: black; background: #ffc040;"));

    mm_ = new DigitalDial(this);
    Twips::place(mm_, 960, 240, 1695, 615);
    mm_->setUnit(QStringLiteral("mm"));
    mm_->setFormat(QStringLiteral("0.00"));
    mm_->setEnabled(true);
    inch_ = new DigitalDial(this);
    Twips::place(inch_, 2760, 240, 1695, 615);
    inch_->setUnit(QStringLiteral("\""));
    inch_->setFormat(QStringLiteral("0.0005"));
    inch_->setEnabled(true);

    dial_ = new AnalogueDial(this);
    Twips::place(dial_, 4560, 240, 1695, 1095);
    dial_->setDivisions(kDialDivisions);
    dial_->setArrowStyle(Qt::DiagCrossPattern);
    dial_->setArrowColour(kArrowColour);
    dial_->setArrowsShown(true);
}

void AxisPanel::buildButtons() {
    zero_ = makeButton(this, QStringLiteral("Reset Rel"), 0, 855);
    connect(zero_, &QPushButton::clicked, this, &AxisPanel::zeroRelativeClicked);

    adjust_ = makeButton(this, QStringLiteral("Adj"), 1200, 495,
                         QStringLiteral("drag to adjust current reading (left button slow, "
                                        "right button fast)"));
    adjust_->installEventFilter(this);

    absoluteButton_ = makeCheckButton(this, QStringLiteral("ABS"), 1800,
                                      QStringLiteral("Selects Absolute setting"));
    connect(absoluteButton_, &QPushButton::clicked, this, &AxisPanel::setAbsolute);
    timesTwoButton_ = makeCheckButton(this, QStringLiteral("X2"), 2400,
                                      QStringLiteral("Selects Times two (diameter) mode"));
    connect(timesTwoButton_, &QPushButton::clicked, this, &AxisPanel::setTimesTwo);
    reverseButton_ =
        makeCheckButton(this, QStringLiteral("Rev"), 3000, QStringLiteral("Reverses reading"));
    connect(reverseButton_, &QPushButton::clicked, this, &AxisPanel::setReversed);
}

// Each readout has its pop-up menu: copy its reading; the dial's also picks its fraction steps.
void AxisPanel::buildMenus() {
    dialMenu_ = new QMenu(this);
    dialMenu_->setObjectName(QStringLiteral("dialMenu"));
    connect(dialMenu_->addAction(QStringLiteral("&Copy (Analogue)")), &QAction::triggered, this,
            [this] { emit copyRequested(dial_->reading() + u'"'); });
    for (const auto& [caption, divisions] :
         {std::pair{"&16ths", 16}, {"&32nds", 32}, {"&64ths", 64}}) {
        QAction* entry = dialMenu_->addAction(QString::fromLatin1(caption));
        entry->setCheckable(true);
        entry->setData(divisions);
        connect(entry, &QAction::triggered, this, [this, entry] {
            for (QAction* other : dialMenu_->actions()) other->setChecked(other == entry);
            dial_->setDivisions(entry->data().toInt());
        });
    }
    connect(dial_, &AnalogueDial::rightClicked, this, [this] {
        for (QAction* entry : dialMenu_->actions())
            if (entry->isCheckable())
                entry->setChecked(entry->data().toInt() == dial_->divisions());
        popUp(dialMenu_);
    });

    inchMenu_ = new QMenu(this);
    inchMenu_->setObjectName(QStringLiteral("inchMenu"));
    connect(inchMenu_->addAction(QStringLiteral("&Copy (Inch)")), &QAction::triggered, this,
            [this] { emit copyRequested(inch_->reading()); });
    connect(inch_, &DigitalDial::rightClicked, this, [this] { popUp(inchMenu_); });

    mmMenu_ = new QMenu(this);
    mmMenu_->setObjectName(QStringLiteral("mmMenu"));
    connect(mmMenu_->addAction(QStringLiteral("&Copy (mm)")), &QAction::triggered, this,
            [this] { emit copyRequested(mm_->reading()); });
    connect(mm_, &DigitalDial::rightClicked, this, [this] { popUp(mmMenu_); });
}

// At the pointer, without waiting for a choice: the readouts keep moving meanwhile.
void AxisPanel::popUp(QMenu* menu) {
    menu->popup(QCursor::pos());
}

void AxisPanel::setAbsolute(bool absolute) {
    absolute_ = absolute;
    absoluteButton_->setChecked(absolute);
    refresh();
}

void AxisPanel::setTimesTwo(bool timesTwo) {
    timesTwo_ = timesTwo;
    timesTwoButton_->setChecked(timesTwo);
    refresh();
}

void AxisPanel::setReversed(bool reversed) {
    reverseButton_->setChecked(reversed);
    if (reversed == reversed_) return;
    reversed_ = reversed;
    emit reverseChanged(reversed);
}

void AxisPanel::showPosition(float absoluteInch, float relativeInch) {
    absoluteInch_ = absoluteInch;
    relativeInch_ = relativeInch;
    refresh();
}

void AxisPanel::setTarget(std::optional<float> inch) {
    target_ = inch;
    refresh();
}

// The reset button is usable only while the panel shows relative readings (a distance to go is
// one); ABS has no say while there is a target.
void AxisPanel::refresh() {
    const bool toGo = target_.has_value();
    zero_->setEnabled(!absolute_ || toGo);
    absoluteButton_->setEnabled(!toGo);
    toGo_->setVisible(toGo);
    const float inch = toGo ? relativeInch_ - *target_ : absolute_ ? absoluteInch_ : relativeInch_;
    const float factor = timesTwo_ ? 2.0f : 1.0f;
    inch_->setValue(inch * factor);
    dial_->setValue(inch * factor);
    mm_->setValue(Scale::toMm(inch) * factor);
}

void AxisPanel::setReadoutsShown(bool mm, bool inch, bool dial) {
    mm_->setVisible(mm);
    inch_->setVisible(inch);
    dial_->setVisible(dial);
}

bool AxisPanel::isStale() const {
    return !staleMark_->isHidden();
}

void AxisPanel::setStale(bool stale) {
    staleMark_->setVisible(stale);
}

// Only the panel's own surface: a double click on one of its controls is theirs.
void AxisPanel::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && !childAt(event->position().toPoint())) {
        emit hideRequested();
        return;
    }
    QGroupBox::mouseDoubleClickEvent(event);
}

// Adj: the drag is measured from the press, so the reading follows the pointer however the
// mouse events are spaced.
bool AxisPanel::eventFilter(QObject* watched, QEvent* event) {
    if (watched != adjust_) return QGroupBox::eventFilter(watched, event);
    const QEvent::Type type = event->type();
    if (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick ||
        type == QEvent::MouseMove) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        const auto y = static_cast<float>(Twips::fromPx(mouse->position().y()));
        if (type == QEvent::MouseMove) {
            dragAdjust(mouse->buttons(), y);
        } else {
            dragStartY_ = y;
            emit adjustPressed();
        }
    }
    return false;
}

// Exactly the left button drags slowly, exactly the right one fast; anything else not at all.
void AxisPanel::dragAdjust(Qt::MouseButtons buttons, float yTwips) {
    double inchPerTwip = 0;
    if (buttons == Qt::MouseButtons(Qt::LeftButton))
        inchPerTwip = kSlowInchPerTwip;
    else if (buttons == Qt::MouseButtons(Qt::RightButton))
        inchPerTwip = kFastInchPerTwip;
    else
        return;
    emit adjustDragged((static_cast<double>(dragStartY_) - yTwips) * inchPerTwip);
}

}  // namespace gradel
