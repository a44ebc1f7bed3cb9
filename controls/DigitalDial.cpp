#include "controls/DigitalDial.h"

#include <QLabel>
#include <QMouseEvent>
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "scale/ErrorDialog.h"
#include "window/winsys/Twips.h"

namespace Twips = gradel::Twips;
using gradel::ErrorTrap;

namespace {

constexpr const char* kModule = "DigitalDial";
// Smallest font size the layout applies; a control too low for H / 35 gets this one.
constexpr double kMinPointSize = 1.0;

// `v` printed with `decimals` places, correctly rounded; a zero of either sign has no sign.
QString Fixed(double v, int decimals) {
    if (v == 0.0) v = 0.0;
    char buf[512];
    std::snprintf(buf, sizeof buf, "%.*f", decimals, v);
    return QString::fromLatin1(buf);
}

// Formats by a numeric pattern: '0' is a digit place always shown, '#' one shown only when
// needed, '.' the decimal point; text before the first and after the last place is copied.
QString FormatByPattern(double v, const QString& pattern) {
    int first = -1, last = -1, point = -1;
    int intZeros = 0, fracZeros = 0, fracPlaces = 0;
    for (int i = 0; i < pattern.size(); ++i) {
        const QChar c = pattern[i];
        if (c != '0' && c != '#' && c != '.') continue;
        if (first < 0) first = i;
        last = i;
        if (c == '.') {
            if (point < 0) point = i;
        } else if (point < 0) {
            intZeros += c == '0';
        } else {
            ++fracPlaces;
            fracZeros += c == '0';
        }
    }
    if (first < 0) return pattern;

    QString s = Fixed(v, fracPlaces);
    const bool negative = s.startsWith('-');
    if (negative) s.remove(0, 1);
    QString whole = s.section('.', 0, 0);
    QString frac = s.section('.', 1);
    while (frac.size() > fracZeros && frac.endsWith('0')) frac.chop(1);
    if (whole == "0" && intZeros == 0) whole.clear();
    while (whole.size() < intZeros) whole.prepend('0');

    QString number = (negative ? "-" : "") + whole;
    if (!frac.isEmpty()) number += "." + frac;
    return pattern.left(first) + number + pattern.mid(last + 1);
}

// The general number form of a single-precision value: at most 7 significant digits,
// no trailing zeros, an exponent only for very large or very small magnitudes (1E-05).
QString GeneralForm(double v) {
    if (v == 0.0) return "0";
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.7G", v);
    return QString::fromLatin1(buf);
}

}  // namespace

struct DigitalDial::Impl {
    gradel::IErrorDialog* dialog = nullptr;
    float value = 0;
    QString unit;
    QString format;
    bool enabled = false;
    uint32_t backColor = 0;
    QLabel* labValue = nullptr;
    QLabel* labUnit = nullptr;

    gradel::IErrorDialog& Dialog() const { return dialog ? *dialog : gradel::CurrentErrorDialog(); }
};

static QLabel* MakeLabel(QWidget* parent, const QString& caption) {
    auto* label = new QLabel(caption, parent);
    label->setFont(QFont("Arial"));
    label->setAlignment(Qt::AlignRight | Qt::AlignTop);
    label->resize(label->sizeHint());
    return label;
}

DigitalDial::DigitalDial(QWidget* parent, gradel::IErrorDialog* dialog)
    : QWidget(parent), d_(std::make_unique<Impl>()) {
    d_->dialog = dialog;
    QPalette pal = palette();
    pal.setColor(QPalette::Window, pal.color(QPalette::ToolTipBase));
    setPalette(pal);
    setAutoFillBackground(true);
    d_->labValue = MakeLabel(this, "0");
    d_->labUnit = MakeLabel(this, "  ");
    Layout();
}

DigitalDial::~DigitalDial() = default;

void DigitalDial::Layout() {
    QLabel* value = d_->labValue;
    QLabel* unit = d_->labUnit;
    const double W = Twips::FromPx(width());
    const double H = Twips::FromPx(height());

    QFont font = value->font();
    font.setPointSizeF(std::max(H / 35.0, kMinPointSize));
    value->setFont(font);
    value->resize(value->sizeHint());
    font.setPointSizeF(std::max(value->font().pointSizeF() / 1.5, kMinPointSize));
    unit->setFont(font);
    unit->resize(unit->sizeHint());

    const double unitLeft = W - Twips::FromPx(unit->width());
    const double valueLeft = unitLeft - Twips::FromPx(value->width());
    const double top = H / 2 - Twips::FromPx(value->height()) / 2;
    unit->move(Twips::ToPx(unitLeft), Twips::ToPx(top));
    value->move(Twips::ToPx(valueLeft), Twips::ToPx(top));

    value->setEnabled(d_->enabled);
    unit->setEnabled(d_->enabled);
    QWidget::setEnabled(d_->enabled);
}

// The value label keeps its right edge, where the unit begins, as its text grows or shrinks.
void DigitalDial::UpdateCaption() {
    QLabel* label = d_->labValue;
    const int right = label->x() + label->width();
    label->setText(FormatValue(d_->value, d_->format));
    label->resize(label->sizeHint());
    label->move(right - label->width(), label->y());
}

QString DigitalDial::FormatValue(double v, const QString& pattern) {
    if (pattern.isEmpty()) return GeneralForm(v);
    QString s = FormatByPattern(v, pattern.left(pattern.size() - 1) + "0");
    if (pattern.endsWith('5') && !s.isEmpty()) {
        const QChar lastChar = s.back();
        const int digit = lastChar.isDigit() ? lastChar.digitValue() : 0;
        s.back() = digit < 5 ? '0' : '5';
    }
    return s;
}

float DigitalDial::Value() const {
    float v = 0;
    ErrorTrap(d_->Dialog(), kModule, "Value").Run([&] { v = d_->value; });
    return v;
}

void DigitalDial::SetValue(float value) {
    ErrorTrap trap(d_->Dialog(), kModule, "Value");
    if (!trap.Run([&] { d_->value = value; })) return;
    trap.Run([&] { UpdateCaption(); });
}

QString DigitalDial::Unit() const {
    QString u;
    ErrorTrap(d_->Dialog(), kModule, "Unit").Run([&] { u = d_->unit; });
    return u;
}

void DigitalDial::SetUnit(const QString& unit) {
    ErrorTrap trap(d_->Dialog(), kModule, "Unit");
    if (!trap.Run([&] { d_->unit = unit; })) return;
    if (!trap.Run([&] {
            d_->labUnit->setText(" " + unit + " ");
            d_->labUnit->resize(d_->labUnit->sizeHint());
        }))
        return;
    if (!trap.Run([&] { Layout(); })) return;
    trap.Run([&] { UpdateCaption(); });
}

QString DigitalDial::FormatString() const {
    QString f;
    ErrorTrap(d_->Dialog(), kModule, "Format").Run([&] { f = d_->format; });
    return f;
}

void DigitalDial::SetFormatString(const QString& pattern) {
    ErrorTrap trap(d_->Dialog(), kModule, "Format");
    if (!trap.Run([&] { d_->format = pattern; })) return;
    trap.Run([&] { UpdateCaption(); });
}

bool DigitalDial::Enabled() const {
    bool e = false;
    ErrorTrap(d_->Dialog(), kModule, "Enabled").Run([&] { e = d_->enabled; });
    return e;
}

void DigitalDial::SetEnabled(bool enabled) {
    ErrorTrap trap(d_->Dialog(), kModule, "Enabled");
    if (!trap.Run([&] { d_->enabled = enabled; })) return;
    trap.Run([&] { Layout(); });
}

uint32_t DigitalDial::BackColor() const {
    uint32_t c = 0;
    ErrorTrap(d_->Dialog(), kModule, "BackColor").Run([&] { c = d_->backColor; });
    return c;
}

void DigitalDial::SetBackColor(uint32_t colour) {
    ErrorTrap trap(d_->Dialog(), kModule, "BackColor");
    if (!trap.Run([&] { d_->backColor = colour; })) return;
    trap.Run([&] { Layout(); });
}

QString DigitalDial::Reading(const QString& Separator) const {
    QString r;
    ErrorTrap(d_->Dialog(), kModule, "Reading").Run([&] {
        r = FormatValue(d_->value, d_->format) + Separator + d_->unit;
    });
    return r;
}

const QLabel* DigitalDial::labValue() const {
    return d_->labValue;
}
const QLabel* DigitalDial::labUnit() const {
    return d_->labUnit;
}

void DigitalDial::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    Layout();
}

// Presses over either label reach here too: the labels leave mouse presses to their parent.
void DigitalDial::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::RightButton) emit RightClick();
    QWidget::mousePressEvent(event);
}
