#include "panels/FunctionKeys.h"

#include <QStringList>
#include <algorithm>
#include <cmath>

#include "base/NumberFormat.h"
#include "base/VirtualKey.h"
#include "panels/AxisCommands.h"
#include "panels/FunctionLabels.h"
#include "panels/HoleCircleDialog.h"
#include "panels/HoleCircleGuide.h"
#include "panels/NumberEntryDialog.h"
#include "panels/PanelStack.h"
#include "scale/Scale.h"

namespace gradel {

namespace {

using VirtualKey::function;

constexpr int kAxisLabels = 6;  // labels 0..5 belong to F1..F6, 6..11 to F7..F12

// Successive presses of F9 on Set Position offer these, in millimetres.
constexpr std::array<float, 4> kOffsetsMm = {2.0f, -2.0f, 5.0f, -5.0f};

const QString kInchMark = QStringLiteral("\"");

// The largest position that may be typed: the farthest a box's count reaches, doubled, since in
// X2 mode the numbers typed are the doubled ones the panel shows. No scale could ever read a
// larger one, and it would only put a number on the display that nothing can reach.
constexpr double kLargestTypedInch = 2 * Scale::kFarthestInch;
constexpr double kLargestTypedMm = 20807.68;  // the same, as typed in millimetres
static_assert(kLargestTypedMm / Scale::kMmPerInch - kLargestTypedInch < 1e-9 &&
              kLargestTypedInch - kLargestTypedMm / Scale::kMmPerInch < 1e-9);

// The captions of one page: the text after each axis key, then F7..F12. "%1" in a caption
// stands for what changes on that page (fillIn).
struct PageCaptions {
    FunctionKeys::Page page;
    const char* axisSuffix;  // nullptr: "=" and the entry text
    const char* keys[6];
};

constexpr PageCaptions kPages[] = {
    {FunctionKeys::Page::Main,
     "= Zero Relative",
     {"F7 Zero Abs", "F8 ABS/Rel", "F9 X2", "F10 Fwd/Rev", "F11 Set Position", "F12 Menu (1)"}},
    {FunctionKeys::Page::ZeroAbsolute, "Zero Absolute", {"Reset Absolute", "", "", "", "", "Menu"}},
    {FunctionKeys::Page::AbsRel, "Rel/Abs", {"", "Display Rel/Abs", "", "", "", "Menu"}},
    {FunctionKeys::Page::TimesTwo, "*2 Diameter", {"", "", "Set to X2", "", "", "Menu"}},
    {FunctionKeys::Page::FwdRev, "Fwd/Rev", {"", "", "", "Fwd/Rev", "", "Menu"}},
    {FunctionKeys::Page::SetPosition,
     nullptr,
     {"Enter MM", "Enter Inch", "Offset  +/-2 +/-5 ", "Read gradel", "Set Relative", "Menu"}},
    {FunctionKeys::Page::Menu2,
     "= Half",
     {"F7 Zero Point %1", "F8 Hole Circle", "", "", "", "F12 Menu (2)"}},
};

bool isAxisKey(int code) {
    return code >= function(1) && code <= function(kAxisLabels);
}

bool isFunctionKey(int code) {
    return code >= function(1) && code <= function(24);
}

}  // namespace

FunctionKeys::FunctionKeys(FunctionLabels& labels, const PanelStack& panels, AxisCommands& axes,
                           NumberEntryDialog& entry, HoleCircleDialog& holeDialog,
                           HoleCircleGuide& holes)
    : labels_(labels),
      panels_(panels),
      axes_(axes),
      entry_(entry),
      holeDialog_(holeDialog),
      holes_(holes) {}

// A hole circle stays up while scales come and go: its panels keep their targets.
void FunctionKeys::reset() {
    if (page_ != Page::Entry && page_ != Page::HoleCircle) page_ = Page::Main;
    draw();
}

void FunctionKeys::showPage(Page page) {
    page_ = page;
    draw();
}

void FunctionKeys::drawAxisLabels(const QString& suffix) {
    const QStringList keys = panels_.keys();
    for (int i = 0; i < kAxisLabels; ++i)
        labels_.setCaption(i, i < keys.size() ? keys[i] + u' ' + suffix : QString());
}

// While a dialog that takes numbers is open, F1..F11 are labelled with what they type there.
void FunctionKeys::drawEntryLayout() {
    for (int i = 0; i < FunctionLabels::kCount - 1; ++i)
        labels_.setCaption(i,
                           u' ' + QChar::fromLatin1(VirtualKey::entryCharacter(function(i + 1))));
    labels_.setCaption(FunctionLabels::kCount - 1, QString::fromLatin1(entryEnd_));
}

// The circle's axes say where the hole is, as their panels show lengths.
void FunctionKeys::drawHolePage() {
    const QStringList keys = panels_.keys();
    for (int i = 0; i < kAxisLabels; ++i) {
        const std::optional<double> mm = holes_.shownTargetMm(keys.value(i));
        labels_.setCaption(
            i, mm ? keys[i] + QStringLiteral(" at ") + formatNumber(*mm, QStringLiteral("0.00 mm"))
                  : QString());
    }
    const QString hole = QStringLiteral("Hole %1/%2").arg(holes_.hole()).arg(holes_.holes());
    const QString captions[] = {
        QStringLiteral("F7 Next Hole"), QStringLiteral("F8 Prev Hole"), QString(), QString(), hole,
        QStringLiteral("F12 End")};
    for (int k = 0; k < 6; ++k) labels_.setCaption(kAxisLabels + k, captions[k]);
}

void FunctionKeys::draw() {
    if (page_ == Page::Entry) return drawEntryLayout();
    if (page_ == Page::HoleCircle) return drawHolePage();
    const auto captions = std::find_if(std::begin(kPages), std::end(kPages),
                                       [&](const PageCaptions& p) { return p.page == page_; });
    if (captions == std::end(kPages)) return;  // ReadAxis: its labels are drawn as it starts
    drawAxisLabels(captions->axisSuffix ? QString::fromLatin1(captions->axisSuffix)
                                        : u'=' + entryText_);
    for (int k = 0; k < 6; ++k) labels_.setCaption(kAxisLabels + k, fillIn(captions->keys[k]));
}

// The part of a page's captions that changes while the page is up.
QString FunctionKeys::fillIn(const char* caption) const {
    const QString text = QString::fromLatin1(caption);
    if (!text.contains(QStringLiteral("%1"))) return text;
    return text.arg(axes_.zeroPoint());
}

bool FunctionKeys::handleKey(int code) {
    if (page_ == Page::Entry) return false;  // the dialog takes the keys while it is open
    if (page_ == Page::Menu2) return handleMenu2Key(code);
    if (page_ == Page::HoleCircle) return handleHoleKey(code);
    return page_ == Page::SetPosition ? handleSetPositionKey(code) : handlePageKey(code);
}

bool FunctionKeys::handleSetPositionKey(int code) {
    if (isAxisKey(code)) {
        applyToAxis(code - function(1));
    } else if (code == function(7)) {
        enterNumber(QStringLiteral("mm"), QStringLiteral("0.00"), kLargestTypedMm);
    } else if (code == function(8)) {
        enterNumber(kInchMark, QStringLiteral("0.0005"), kLargestTypedInch);
    } else if (code == function(9)) {
        takeNextOffset();
    } else if (code == function(10)) {
        drawAxisLabels(QStringLiteral("Select"));
        page_ = Page::ReadAxis;
        return true;
    } else {
        showPage(Page::Main);
    }
    return false;
}

bool FunctionKeys::handlePageKey(int code) {
    if (isAxisKey(code)) {
        applyToAxis(code - function(1));
    } else if (code == function(7)) {
        showPage(Page::ZeroAbsolute);
    } else if (code == function(8)) {
        showPage(Page::AbsRel);
    } else if (code == function(9)) {
        showPage(Page::TimesTwo);
    } else if (code == function(10)) {
        showPage(Page::FwdRev);
        return true;
    } else if (code == function(11)) {
        showPage(Page::SetPosition);
    } else if (code == function(12) && page_ == Page::Main) {
        showPage(Page::Menu2);
    } else {
        showPage(Page::Main);
    }
    return false;
}

// Function keys without a use here leave the page up; any other key goes back to the main page.
// F10 is used up here as on the main page.
bool FunctionKeys::handleMenu2Key(int code) {
    if (isAxisKey(code)) {
        applyToAxis(code - function(1));
    } else if (code == function(7)) {
        chooseZeroPoint();
    } else if (code == function(8)) {
        askHoleCircle();
    } else if (code == function(12) || !isFunctionKey(code)) {
        showPage(Page::Main);
    }
    return code == function(10);
}

// The offsets go round 2, -2, 5, -5, 2 … mm; the round carries on across pages.
void FunctionKeys::takeNextOffset() {
    const float mm = kOffsetsMm[static_cast<std::size_t>(nextOffset_)];
    nextOffset_ = (nextOffset_ + 1) % static_cast<int>(kOffsetsMm.size());
    entryText_ =
        formatNumber(static_cast<double>(mm), QStringLiteral("0.00")) + QStringLiteral(" mm");
    entryValue_ = static_cast<float>(mm / Scale::kMmPerInch);
    draw();
}

void FunctionKeys::applyToAxis(int index) {
    const QStringList keys = panels_.keys();
    if (index >= keys.size()) return;
    const QString key = keys[index];
    switch (page_) {
        case Page::Main:
            return axes_.zeroRelative(key);
        case Page::ZeroAbsolute:
            return axes_.zeroAbsolute(key);
        case Page::AbsRel:
            return axes_.toggleAbsolute(key);
        case Page::TimesTwo:
            return axes_.toggleTimesTwo(key);
        case Page::FwdRev:
            return axes_.toggleReverse(key);
        case Page::SetPosition:
            axes_.setRelativeInch(key, entryValue_);
            return draw();
        case Page::ReadAxis: {
            entryValue_ = axes_.relativeInch(key);
            entryText_ = formatNumber(static_cast<double>(Scale::toMm(entryValue_)),
                                      QStringLiteral("0.00")) +
                         QStringLiteral("mm");
            return showPage(Page::SetPosition);
        }
        case Page::Menu2:
            return axes_.halve(key);
        case Page::HoleCircle:
            return;
        case Page::Entry:
            return;
    }
}

// F10 is used up here as on the main page.
bool FunctionKeys::handleHoleKey(int code) {
    if (code == function(7) || code == function(8)) {
        holes_.step(code == function(7) ? 1 : -1);
        draw();
    } else if (code == function(12)) {
        holes_.stop();
        showPage(Page::Main);
    }
    return code == function(10);
}

// Cancelled, the dialog leaves "Menu (2)" up as it was. A circle needs two axes: with fewer
// the dialog could only be cancelled, which the keypad cannot do, so it is not opened.
void FunctionKeys::askHoleCircle() {
    if (panels_.keys().size() < 2) return;
    entryEnd_ = "Next";
    showPage(Page::Entry);
    const std::optional<HoleCircleRequest> request = holeDialog_.ask(panels_.keys());
    entryEnd_ = "Exit";
    if (request) holes_.start(*request);
    showPage(request ? Page::HoleCircle : Page::Menu2);
}

// Cancelled, the entry leaves the value Set Position gives as it was before.
void FunctionKeys::enterNumber(const QString& unit, const QString& format, double largest) {
    showPage(Page::Entry);
    if (const std::optional<float> value = entry_.enterNumber(unit, format, largest)) {
        entryValue_ =
            unit == QStringLiteral("mm") ? static_cast<float>(*value / Scale::kMmPerInch) : *value;
        entryText_ = formatNumber(static_cast<double>(*value), QString()) + u' ' + unit;
    }
    showPage(Page::SetPosition);
}

// The number typed must be a point's number; anything else (nothing typed included, or the
// entry cancelled) leaves the active point as it was.
void FunctionKeys::chooseZeroPoint() {
    showPage(Page::Entry);
    const std::optional<float> value = entry_.enterNumber(QStringLiteral("P"), QStringLiteral("0"));
    const bool isPoint = value && !entry_.typed().isEmpty() && *value == std::floor(*value) &&
                         *value >= 0 && *value < static_cast<float>(Scale::kZeroPoints);
    if (isPoint) axes_.setZeroPoint(static_cast<int>(*value));
    showPage(Page::Menu2);
}

}  // namespace gradel
