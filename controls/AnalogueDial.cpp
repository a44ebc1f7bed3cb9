#include "controls/AnalogueDial.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

#include "controls/FractionStrip.h"
#include "controls/IntegerStrip.h"
#include "scale/ErrorDialog.h"
#include "window/winsys/Twips.h"

namespace Twips = gradel::Twips;
using gradel::ErrorTrap;
using gradel::RunTimeError;

namespace {

constexpr const char* kModule = "AnalogueDial";
constexpr double kMinPointSize = 1.0;

// Nearest whole number, halves to even.
int R(double x) {
    return static_cast<int>(std::nearbyint(x));
}

// The platform's fill-style codes in order: solid, transparent, horizontal lines, vertical
// lines, upward diagonal, downward diagonal, cross, diagonal cross.
constexpr std::array<Qt::BrushStyle, 8> kFillStyles = {
    Qt::SolidPattern, Qt::NoBrush,      Qt::HorPattern,   Qt::VerPattern,
    Qt::BDiagPattern, Qt::FDiagPattern, Qt::CrossPattern, Qt::DiagCrossPattern};

QColor FromBgr(uint32_t c) {
    return QColor(static_cast<int>(c & 0xFF), static_cast<int>((c >> 8) & 0xFF),
                  static_cast<int>((c >> 16) & 0xFF));
}

// Whether a fraction tape of `divisions` marks `pitch` twips apart can be built: one inch must
// fit a 32-bit length and the whole tape a widget's largest height.
bool TapeFits(int pitch, int32_t divisions) {
    const int64_t inch = int64_t{pitch} * divisions;
    if (inch > std::numeric_limits<int32_t>::max()) return false;
    return static_cast<double>(4 * (int64_t{pitch} + inch)) <= Twips::FromPx(QWIDGETSIZE_MAX);
}

// Whole part of `v` rounded down, or an overflow when it lies outside [lo, hi].
double WholePart(float v, double lo, double hi) {
    const double w = std::floor(static_cast<double>(v));
    if (!(w >= lo && w <= hi)) throw RunTimeError::Overflow();
    return w;
}

QString General(float v) {
    return QString::number(static_cast<double>(v), 'G', 7);
}

}  // namespace

struct AnalogueDial::Impl {
    gradel::IErrorDialog* dialog = nullptr;
    float value = 0;
    int32_t divisions = 0;
    QString unit;
    bool arrowEnable = false;
    uint32_t arrowColour = 0;
    int32_t arrowFillStyle = 0;

    int divPitch = 0, intPitch = 0, intLeft = 0, intWidth = 0, fracWidth = 0;
    int inchLength = 0, fracTop0 = 0, intTop0 = 0;
    double fracTop = 0, intTop = 0;

    IntegerStrip* picIntScl = nullptr;
    FractionStrip* picSclFrac = nullptr;

    gradel::IErrorDialog& Dialog() const { return dialog ? *dialog : gradel::CurrentErrorDialog(); }
};

AnalogueDial::AnalogueDial(QWidget* parent, gradel::IErrorDialog* dialog)
    : QWidget(parent), d_(std::make_unique<Impl>()) {
    d_->dialog = dialog;
    setAttribute(Qt::WA_OpaquePaintEvent);
    d_->picIntScl = new IntegerStrip(this);
    d_->picSclFrac = new FractionStrip(this);
    d_->picIntScl->setFont(QFont("Arial"));
    d_->picSclFrac->setFont(QFont("Arial"));

    ErrorTrap trap(d_->Dialog(), "UserControl ", "UserControl_Initialize");
    if (!trap.Run([&] {
            if (d_->divisions == 0) SetDivisions(64);
        }))
        return;
    if (!trap.Run([&] { d_->divPitch = R(Twips::FromPx(height()) / 3); })) return;
    trap.Run([&] { DrawScale(); });
}

AnalogueDial::~AnalogueDial() = default;

// ---- properties ----

float AnalogueDial::Value() const {
    float v = 0;
    ErrorTrap(d_->Dialog(), kModule, "Value").Run([&] { v = d_->value; });
    return v;
}

void AnalogueDial::SetValue(float value) {
    ErrorTrap trap(d_->Dialog(), kModule, "Value");
    if (!trap.Run([&] { d_->value = value; })) return;
    trap.Run([&] { ShowValue(); });
}

int32_t AnalogueDial::Divisions() const {
    int32_t n = 0;
    ErrorTrap(d_->Dialog(), kModule, "Divisions").Run([&] { n = d_->divisions; });
    return n;
}

// A count whose tape cannot be built at the present size is refused before it is stored, so
// the dial never claims a count it does not show.
void AnalogueDial::SetDivisions(int32_t divisions) {
    ErrorTrap trap(d_->Dialog(), kModule, "Divisions");
    if (!trap.Run([&] {
            const int32_t n = std::max(divisions, int32_t{2});
            if (!TapeFits(d_->divPitch, n)) throw RunTimeError::Overflow();
            d_->divisions = n;
        }))
        return;
    trap.Run([&] { DrawScale(); });
}

QString AnalogueDial::Unit() const {
    QString u;
    ErrorTrap(d_->Dialog(), kModule, "Unit").Run([&] { u = d_->unit; });
    return u;
}

void AnalogueDial::SetUnit(const QString& unit) {
    ErrorTrap trap(d_->Dialog(), kModule, "Unit");
    if (!trap.Run([&] { d_->unit = unit; })) return;
    trap.Run([&] { DrawScale(); });
}

bool AnalogueDial::ArrowEnable() const {
    bool e = false;
    ErrorTrap(d_->Dialog(), kModule, "ArrowEnable").Run([&] { e = d_->arrowEnable; });
    return e;
}

void AnalogueDial::SetArrowEnable(bool enable) {
    ErrorTrap trap(d_->Dialog(), kModule, "ArrowEnable");
    if (!trap.Run([&] { d_->arrowEnable = enable; })) return;
    trap.Run([&] { DrawScale(); });
}

uint32_t AnalogueDial::ArrowColour() const {
    uint32_t c = 0;
    ErrorTrap(d_->Dialog(), kModule, " ArrowColour").Run([&] { c = d_->arrowColour; });
    return c;
}

void AnalogueDial::SetArrowColour(uint32_t colour) {
    ErrorTrap trap(d_->Dialog(), kModule, " ArrowColour");
    if (!trap.Run([&] { d_->arrowColour = colour; })) return;
    trap.Run([&] { DrawScale(); });
}

int32_t AnalogueDial::ArrowFillStyle() const {
    int32_t s = 0;
    ErrorTrap(d_->Dialog(), kModule, "ArrowFillStyle").Run([&] { s = d_->arrowFillStyle; });
    return s;
}

// A code outside 0..7 is refused as an invalid property value and the old code kept.
void AnalogueDial::SetArrowFillStyle(int32_t style) {
    ErrorTrap trap(d_->Dialog(), kModule, "ArrowFillStyle");
    if (!trap.Run([&] {
            if (style < 0 || style >= static_cast<int32_t>(kFillStyles.size()))
                throw RunTimeError(380, "Invalid property value");
            d_->arrowFillStyle = style;
        }))
        return;
    trap.Run([&] { DrawScale(); });
}

// ---- reading ----

QString AnalogueDial::FractionText(int32_t n, int32_t d) {
    for (int32_t i = n; i >= 1; --i) {
        const float a = static_cast<float>(n) / static_cast<float>(i);
        const float b = static_cast<float>(d) / static_cast<float>(i);
        if (a == std::floor(a) && b == std::floor(b)) return General(a) + "/" + General(b);
    }
    return "0";
}

QString AnalogueDial::Reading(const QString& Separator) const {
    const Impl& s = *d_;
    ErrorTrap trap(s.Dialog(), kModule, "Reading");
    int16_t w = 0;
    float f = 0;
    int32_t n = 0;
    QString t, r;
    if (!trap.Run([&] { w = static_cast<int16_t>(WholePart(s.value, -32768, 32767)); })) return {};
    if (!trap.Run([&] { f = s.value - static_cast<float>(w); })) return {};
    if (!trap.Run([&] {
            const double x = std::nearbyint(static_cast<double>(f) * s.divisions);
            if (!(x >= std::numeric_limits<int32_t>::min() &&
                  x <= std::numeric_limits<int32_t>::max()))
                throw RunTimeError::Overflow();
            n = static_cast<int32_t>(x);
        }))
        return {};
    if (!trap.Run([&] { t = FractionText(n, s.divisions); })) return {};
    trap.Run([&] { r = w != 0 ? QString::number(w) + Separator + t + s.unit : t + s.unit; });
    return r;
}

// ---- geometry ----

int AnalogueDial::DivPitch() const {
    return d_->divPitch;
}
int AnalogueDial::IntPitch() const {
    return d_->intPitch;
}
int AnalogueDial::IntLeft() const {
    return d_->intLeft;
}
int AnalogueDial::IntWidth() const {
    return d_->intWidth;
}
int AnalogueDial::FracWidth() const {
    return d_->fracWidth;
}
int AnalogueDial::InchLength() const {
    return d_->inchLength;
}
int AnalogueDial::FracTop0() const {
    return d_->fracTop0;
}
int AnalogueDial::IntTop0() const {
    return d_->intTop0;
}
double AnalogueDial::FracTop() const {
    return d_->fracTop;
}
double AnalogueDial::IntTop() const {
    return d_->intTop;
}
QStringList AnalogueDial::IntegerLabels() const {
    return d_->picIntScl->Labels();
}

void AnalogueDial::SizeRule() {
    Impl& s = *d_;
    const double H = Twips::FromPx(height());
    const double W = Twips::FromPx(width());
    s.divPitch = R(H / 3);
    s.intPitch = R(H / 3.5);
    QFont font("Arial");
    font.setPointSizeF(std::max(s.intPitch / 25.0, kMinPointSize));
    s.picIntScl->setFont(font);
    font.setPointSizeF(std::max(s.divPitch / 35.0, kMinPointSize));
    s.picSclFrac->setFont(font);
    s.intLeft = R(W / 8);
    s.intWidth = R(W / 4);
    s.fracWidth = R(W / 2);
    DrawScale();
}

// ---- drawing ----

void AnalogueDial::DrawScale() {
    Impl& s = *d_;
    // A control made so tall that the present count no longer fits shows no fraction tape.
    const bool fits = TapeFits(s.divPitch, s.divisions);
    s.inchLength = fits ? s.divPitch * s.divisions : 0;
    const int tapeHeight = static_cast<int>(4 * (int64_t{s.divPitch} + s.inchLength));
    FractionStrip* frac = s.picSclFrac;
    frac->setVisible(fits);
    frac->setGeometry(Twips::ToPx(s.intLeft + s.intWidth), frac->y(), Twips::ToPx(s.fracWidth),
                      Twips::ToPx(tapeHeight));
    update();  // the control's own surface: background and index line

    FractionScale scale;
    scale.divisions = s.divisions;
    scale.pitch = s.divPitch;
    scale.unit = s.unit;
    scale.arrows = s.arrowEnable;
    scale.arrowColour = FromBgr(s.arrowColour);
    scale.arrowStyle = kFillStyles[static_cast<size_t>(s.arrowFillStyle)];
    frac->DrawScale(scale);

    // S is the tape's height as set in twips; its pixel extent is only how it is shown.
    const double H = Twips::FromPx(height());
    const double S = tapeHeight;
    s.fracTop0 = R(H / 2 - S / 2);
    s.intTop0 = R(H / 2 - 2.0 * s.intPitch);
    s.picIntScl->setGeometry(Twips::ToPx(s.intLeft), s.picIntScl->y(), Twips::ToPx(s.intWidth),
                             Twips::ToPx(5 * s.intPitch));
    ShowValue();
}

// Scrolls both tapes to the value: the fraction tape by the whole part and the fraction, the
// whole-inch tape by the fraction after redrawing its four ticks.
void AnalogueDial::ShowValue() {
    Impl& s = *d_;
    const auto w = static_cast<int32_t>(WholePart(s.value, std::numeric_limits<int32_t>::min(),
                                                  std::numeric_limits<int32_t>::max()));
    const double f = static_cast<double>(s.value - static_cast<float>(w));
    s.picIntScl->DrawIntegerScale(w, s.intPitch);

    const double L = s.inchLength;
    double top = s.fracTop0 - f * L;
    if (w >= 1) {
        top -= L;
    } else if (w == -1) {
        top += L;
    } else if (w <= -2) {
        top += 2 * L;
    }
    s.fracTop = top;
    s.intTop = s.intTop0 - f * s.intPitch;
    // Pixel rows are counted from the index line, so a mark that lies on the line in twips is
    // drawn on the line's own pixel row.
    const int line = IndexLine();
    const int linePx = Twips::ToPx(line);
    s.picSclFrac->move(Twips::ToPx(s.intLeft + s.intWidth), linePx - Twips::ToPx(line - s.fracTop));
    s.picIntScl->move(Twips::ToPx(s.intLeft), linePx - Twips::ToPx(line - s.intTop));
}

int AnalogueDial::IndexLine() const {
    return R(Twips::FromPx(height()) / 2);
}

void AnalogueDial::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    // The size rule has no error trap; a value too large to scroll to leaves the tapes where
    // they were instead of ending the program.
    try {
        SizeRule();
    } catch (const RunTimeError&) {
    }
}

void AnalogueDial::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    painter.setPen(Qt::black);
    const int row = Twips::ToPx(IndexLine());
    painter.drawLine(0, row, width(), row);
}

void AnalogueDial::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::RightButton) emit RightClick();
    QWidget::mousePressEvent(event);
}
