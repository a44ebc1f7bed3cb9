#include "panels/AxisPanel.h"

#include <QAction>
#include <QCursor>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QToolTip>
#include <vector>

#include "base/Twips.h"
#include "controls/AnalogueDial.h"
#include "controls/DigitalDial.h"
#include "controls/NoDataMark.h"
#include "scale/Scale.h"

namespace gradel {

namespace {

constexpr int kDialDivisions = 64;
const QColor kArrowColour(255, 192, 192);

// The layout, in twips: the letter at the left; right of it the two digital readouts over the
// row of buttons, and the dial beside them taking the panel's height.
constexpr QRect kLetter(120, 240, 735, 615);
constexpr QRect kToGo(120, 960, 735, 255);  // under the letter, level with the buttons
constexpr int kLeft = 960;
constexpr int kTop = 240;
constexpr int kRowBottom = 855;  // the digital readouts' lower edge, over the buttons
constexpr int kBottom = 1335;    // the dial's
constexpr int kDialWidth = 1695;
constexpr int kDialLeft = 6255 - kDialWidth;
constexpr int kGap = 105;  // between neighbouring readouts
// Without the dial beside the digital readouts (or without them beside the dial) the buttons
// stack in a block at the right and the readouts shown have the panel's height.
constexpr int kBlockLeft = 5205;

// Each button's place in the row, then in the block.
struct ButtonPlace {
    QRect row, block;
};
constexpr ButtonPlace kButtonPlaces[] = {
    {{960, 960, 855, 255}, {kBlockLeft, 240, 1050, 255}},  // Reset Rel
    {{2160, 960, 495, 255}, {kBlockLeft, 600, 495, 255}},  // Adj
    {{2760, 960, 495, 255}, {5760, 600, 495, 255}},        // ABS
    {{3360, 960, 495, 255}, {kBlockLeft, 960, 495, 255}},  // X2
    {{3960, 960, 495, 255}, {5760, 960, 495, 255}},        // Rev
};

// Part i of n equal parts of `area`, side by side and kGap apart.
QRect part(const QRect& area, int i, int n) {
    const int width = (area.width() - (n - 1) * kGap) / n;
    return QRect(area.left() + i * (width + kGap), area.top(), width, area.height());
}

QPushButton* makeButton(QWidget* parent, const QString& caption, const QString& tooltip = {}) {
    auto* button = new QPushButton(caption, parent);
    button->setToolTip(tooltip);
    return button;
}

QPushButton* makeCheckButton(QWidget* parent, const QString& caption, const QString& tooltip) {
    QPushButton* button = makeButton(parent, caption, tooltip);
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
    layOut();
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
    letter_->setAlignment(Qt::AlignCenter);
    letter_->setFrameStyle(QFrame::Box | QFrame::Plain);
    QPalette palette = letter_->palette();
    palette.setColor(QPalette::Window, QToolTip::palette().color(QPalette::ToolTipBase));
    letter_->setPalette(palette);
    letter_->setAutoFillBackground(true);

    toGo_ = new QLabel(QStringLiteral("to go"), this);
    toGo_->setObjectName(QStringLiteral("toGo"));
    toGo_->setAlignment(Qt::AlignCenter);
    toGo_->setStyleSheet(QStringLiteral("color: black; background: #ffc040;"));

    // The widest readings each readout is made to hold: up to a metre, up to 99 inches.
    mm_ = new DigitalDial(this);
    mm_->setWidestText(QStringLiteral("-888.88"));
    mm_->setUnit(QStringLiteral("mm"));
    mm_->setFormat(QStringLiteral("0.00"));
    mm_->setEnabled(true);
    inch_ = new DigitalDial(this);
    inch_->setWidestText(QStringLiteral("-88.8888"));
    inch_->setUnit(QStringLiteral("\""));
    inch_->setFormat(QStringLiteral("0.0005"));
    inch_->setEnabled(true);

    dial_ = new AnalogueDial(this);
    dial_->setDivisions(kDialDivisions);
    dial_->setArrowStyle(Qt::DiagCrossPattern);
    dial_->setArrowColour(kArrowColour);
    dial_->setArrowsShown(true);
}

void AxisPanel::buildButtons() {
    zero_ = makeButton(this, QStringLiteral("Reset Rel"));
    connect(zero_, &QPushButton::clicked, this, &AxisPanel::zeroRelativeClicked);

    adjust_ = makeButton(this, QStringLiteral("Adj"),
                         QStringLiteral("drag to adjust current reading (left button slow, "
                                        "right button fast)"));
    adjust_->installEventFilter(this);

    absoluteButton_ =
        makeCheckButton(this, QStringLiteral("ABS"), QStringLiteral("Selects Absolute setting"));
    connect(absoluteButton_, &QPushButton::clicked, this, &AxisPanel::setAbsolute);
    timesTwoButton_ = makeCheckButton(this, QStringLiteral("X2"),
                                      QStringLiteral("Selects Times two (diameter) mode"));
    connect(timesTwoButton_, &QPushButton::clicked, this, &AxisPanel::setTimesTwo);
    reverseButton_ =
        makeCheckButton(this, QStringLiteral("Rev"), QStringLiteral("Reverses reading"));
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
    mmShown_ = mm;
    inchShown_ = inch;
    dialShown_ = dial;
    layOut();
}

void AxisPanel::setZoom(double zoom) {
    zoom_ = zoom;
    resize(Twips::toPx(QRect(0, 0, kWidth, kHeight), zoom_).size());
    layOut();
}

// The readouts shown share the room of those hidden, so with only one ticked it fills the
// panel right of the letter, beside the buttons. Digital readouts that have the panel's height
// fill it with their digits as far as their widest reading lets them.
void AxisPanel::layOut() {
    const auto put = [this](QWidget* part, const QRect& twips) {
        Twips::place(part, twips, zoom_);
    };
    put(letter_, kLetter);
    letter_->setFont(Twips::zoomedFont(QStringLiteral("MS Sans Serif"), 24, zoom_, QFont::Bold));
    put(toGo_, kToGo);
    // Lettered like the buttons beside it, in bold: the panel's font is the zoomed one by now.
    QFont markFont = font();
    markFont.setBold(true);
    toGo_->setFont(markFont);

    std::vector<QWidget*> digital;
    if (mmShown_) digital.push_back(mm_);
    if (inchShown_) digital.push_back(inch_);
    const bool beside = dialShown_ && !digital.empty();
    std::vector<QWidget*> shown = digital;
    QRect area(kLeft, kTop, kBlockLeft - kGap - kLeft, kBottom - kTop);
    if (beside) {
        put(dial_, QRect(kDialLeft, kTop, kDialWidth, kBottom - kTop));
        area = QRect(kLeft, kTop, kDialLeft - kGap - kLeft, kRowBottom - kTop);
    } else if (dialShown_) {
        shown.push_back(dial_);
    }
    const int n = static_cast<int>(shown.size());
    for (int i = 0; i < n; ++i) put(shown[static_cast<std::size_t>(i)], part(area, i, n));
    mm_->setFilling(!beside);
    inch_->setFilling(!beside);
    mm_->setVisible(mmShown_);
    inch_->setVisible(inchShown_);
    dial_->setVisible(dialShown_);

    QPushButton* const buttons[] = {zero_, adjust_, absoluteButton_, timesTwoButton_,
                                    reverseButton_};
    for (std::size_t i = 0; i < std::size(buttons); ++i)
        put(buttons[i], beside ? kButtonPlaces[i].row : kButtonPlaces[i].block);
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
