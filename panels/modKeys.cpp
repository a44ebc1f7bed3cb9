#include "panels/modKeys.h"

#include <QLabel>
#include <QListWidget>
#include <QWidget>
#include <algorithm>

#include "controls/DigitalDial.h"
#include "panels/IGradelWindow.h"
#include "panels/frmNumentry.h"
#include "scale/ErrorDialog.h"
#include "window/winsys/Tag.h"
#include "window/winsys/VirtualKey.h"

namespace {

constexpr int kF1 = gradel::VirtualKey::kF1;
constexpr int kF6 = kF1 + 5;
constexpr int kF7 = kF1 + 6;
constexpr int kF8 = kF1 + 7;
constexpr int kF9 = kF1 + 8;
constexpr int kF10 = kF1 + 9;
constexpr int kF11 = kF1 + 10;

constexpr int kFunctionLabels = 6;  // labels 6..11 belong to F7..F12
constexpr int kMaxAxisLabels = 6;   // labels 0..5 belong to F1..F6
constexpr double kMmPerInch = 25.4;

const QString kInchMark = QStringLiteral("\"");

// Captions of one menu page: the axis-label suffix and labels 6..11 (F7..F12).
struct PageCaptions {
    int state;
    const char* axisSuffix;  // nullptr: "=" followed by the entry text
    const char* keys[kFunctionLabels];
};

constexpr PageCaptions kPages[] = {
    {modKeys::kMain,
     "= Zero Relative",
     {"F7 Zero Abs", "F8 ABS/Rel", "F9 X2", "F10 Fwd/Rev", "F11 Set Position", "F12 Menu (1)"}},
    {modKeys::kZeroAbsolute, "Zero Absolute", {"Reset Absolute", "", "", "", "", "Menu"}},
    {modKeys::kAbsRel, "Rel/Abs", {"", "Display Rel/Abs", "", "", "", "Menu"}},
    {modKeys::kTimesTwo, "*2 Diameter", {"", "", "Set to X2", "", "", "Menu"}},
    {modKeys::kFwdRev, "Fwd/Rev", {"", "", "", "Fwd/Rev", "", "Menu"}},
    {modKeys::kSetPosition,
     nullptr,
     {"Enter MM", "Enter Inch", "Offset  +/-2 +/-5 ", "Read gradel", "Set Relative", "Menu"}},
};

// All twelve labels while the number entry dialog is open: its key layout.
constexpr const char* kEntryLayout[] = {" 1", " 2", " 3", " 4", " 5", " 6",
                                        " 7", " 8", " 9", " 0", " .", "Exit"};

bool IsAxisKey(int code) {
    return code >= kF1 && code <= kF6;
}

// A single in the general number form: no fixed decimals, at most seven significant digits.
QString GeneralForm(float v) {
    return QString::number(static_cast<double>(v), 'g', 7).toUpper();
}

// `v` by a pattern of "0" digit places with an optional ".": rounded to the pattern's last
// place, with at least as many integer digits as the pattern has before its point.
QString FormatByPattern(double v, const QString& pattern) {
    const qsizetype point = pattern.indexOf(u'.');
    const qsizetype intPlaces = point < 0 ? pattern.size() : point;
    const int decimals = point < 0 ? 0 : static_cast<int>(pattern.size() - point - 1);
    QString s = QString::number(v, 'f', decimals);
    const bool negative = s.startsWith(u'-');
    QString digits = negative ? s.mid(1) : s;
    const qsizetype shownInt = digits.indexOf(u'.') < 0 ? digits.size() : digits.indexOf(u'.');
    if (shownInt < intPlaces) digits.prepend(QString(intPlaces - shownInt, u'0'));
    if (intPlaces == 0 && digits.startsWith(QStringLiteral("0."))) digits.remove(0, 1);
    return negative ? u'-' + digits : digits;
}

}  // namespace

modKeys::modKeys(IGradelWindow& window, frmNumentry& numentry, gradel::IErrorDialog* errors)
    : window_(window), numentry_(numentry), errors_(errors) {}

gradel::IErrorDialog& modKeys::Errors() const {
    return errors_ ? *errors_ : gradel::CurrentErrorDialog();
}

int modKeys::AxisLabelCount() const {
    return std::clamp(window_.labFuncCount() - kFunctionLabels, 0, kMaxAxisLabels);
}

// A re-layout while the number entry dialog is open (a scale arriving or leaving) keeps the
// dialog's key layout: the page is set again when the entry ends.
void modKeys::InitMenu() {
    if (MenuState_ != kEntryOpen) MenuState_ = kMain;
    DrawMenu();
    Offsets_ = {2.0f, -2.0f, 5.0f, -5.0f};
}

void modKeys::ShowAxisLabels(const QString& suffix) {
    QListWidget& list = window_.lstGradels();
    const int shown = std::min(list.count(), AxisLabelCount());
    for (int j = 0; j < shown; ++j) {
        const QString key = list.item(j)->text();
        QLabel* label = window_.labFunc(j);
        label->setText(key + u' ' + suffix);
        gradel::SetTag(label, key);
    }
    for (int j = shown; j < AxisLabelCount(); ++j) window_.labFunc(j)->setText(QString());
}

void modKeys::DrawEntryLayout() {
    const int count = std::min(window_.labFuncCount(), static_cast<int>(std::size(kEntryLayout)));
    for (int i = 0; i < count; ++i)
        window_.labFunc(i)->setText(QString::fromLatin1(kEntryLayout[i]));
}

void modKeys::DrawMenu() {
    if (MenuState_ == kEntryOpen) {
        DrawEntryLayout();
        return;
    }
    const auto page = std::find_if(std::begin(kPages), std::end(kPages),
                                   [&](const PageCaptions& p) { return p.state == MenuState_; });
    if (page == std::end(kPages)) return;
    ShowAxisLabels(page->axisSuffix ? QString::fromLatin1(page->axisSuffix) : u'=' + EntryText_);
    for (int k = 0; k < kFunctionLabels; ++k) {
        const int i = kFunctionLabels + k;
        if (i < window_.labFuncCount())
            window_.labFunc(i)->setText(QString::fromLatin1(page->keys[k]));
    }
}

void modKeys::HandleKey(int& KeyCode, int /*Shift*/) {
    if (MenuState_ == kEntryOpen) return;  // the dialog takes the keys while it is open
    if (MenuState_ == kSetPosition) {
        HandleSetPositionKey(KeyCode);
    } else {
        HandlePageKey(KeyCode);
    }
}

void modKeys::HandleSetPositionKey(int& KeyCode) {
    if (IsAxisKey(KeyCode)) {
        DeviceIndex_ = KeyCode - kF1;
        DoDevice();
    } else if (KeyCode == kF7) {
        EnterNumber(QStringLiteral("mm"), QStringLiteral("0.00"));
    } else if (KeyCode == kF8) {
        EnterNumber(kInchMark, QStringLiteral("0.0005"));
    } else if (KeyCode == kF9) {
        TakeNextOffset();
    } else if (KeyCode == kF10) {
        ShowAxisLabels(QStringLiteral("Select"));
        KeyCode = 0;
        MenuState_ = kReadAxis;
    } else {
        MenuState_ = kMain;
        DrawMenu();
    }
}

void modKeys::HandlePageKey(int& KeyCode) {
    if (IsAxisKey(KeyCode)) {
        DeviceIndex_ = KeyCode - kF1;
        DoDevice();
    } else if (KeyCode == kF10) {
        MenuState_ = kFwdRev;
        DrawMenu();
        KeyCode = 0;
    } else if (KeyCode == kF7 || KeyCode == kF8 || KeyCode == kF9 || KeyCode == kF11) {
        MenuState_ = KeyCode - kF1;
        DrawMenu();
    } else {
        MenuState_ = kMain;
        DrawMenu();
    }
}

// Successive presses offer 2, -2, 5, -5, 2, ... mm; the cycle carries on across pages.
void modKeys::TakeNextOffset() {
    const float mm = Offsets_[static_cast<size_t>(OffsetIndex_)];
    EntryText_ = FormatReading(mm, QStringLiteral("0.00")) + QStringLiteral(" mm");
    EntryValue_ = static_cast<float>(mm / kMmPerInch);
    OffsetIndex_ = (OffsetIndex_ + 1) % static_cast<int>(Offsets_.size());
    DrawMenu();
}

void modKeys::DoDevice() {
    gradel::ErrorTrap trap(Errors(), "modKeys", "DoDevice");
    bool noScale = true;
    if (!trap.Run([&] { noScale = DeviceIndex_ >= window_.lstGradels().count(); })) return;
    if (noScale) return;
    QString key;
    if (!trap.Run([&] { key = gradel::Tag(window_.labFunc(DeviceIndex_)); })) return;

    switch (MenuState_) {
        case kMain:
            trap.Run([&] { window_.ResetRel(key); });
            break;
        case kZeroAbsolute:
            trap.Run([&] { window_.ResetAbsolute(key); });
            break;
        case kAbsRel:
            trap.Run([&] { window_.ToggleABS(key); });
            break;
        case kTimesTwo:
            trap.Run([&] { window_.ToggleX2(key); });
            break;
        case kFwdRev:
            trap.Run([&] { window_.ToggleReverse(key); });
            break;
        case kSetPosition:
            if (!trap.Run([&] { window_.SetRelativeInch(key, EntryValue_); })) return;
            trap.Run([&] { DrawMenu(); });
            break;
        case kReadAxis:
            if (!trap.Run([&] { EntryValue_ = window_.GetRelativeInch(key); })) return;
            if (!trap.Run([&] {
                    const auto mm = static_cast<float>(EntryValue_ * kMmPerInch);
                    EntryText_ = FormatReading(mm, QStringLiteral("0.00")) + QStringLiteral("mm");
                }))
                return;
            if (!trap.Run([&] { ShowAxisLabels(u'=' + EntryText_); })) return;
            MenuState_ = kSetPosition;
            trap.Run([&] { DrawMenu(); });
            break;
        default:
            break;
    }
}

void modKeys::EnterNumber(const QString& unit, const QString& format) {
    MenuState_ = kEntryOpen;
    DrawMenu();
    DigitalDial* entry = numentry_.ddEntry();
    entry->SetUnit(unit);
    entry->SetFormatString(format);
    QWidget* owner = window_.Widget();
    if (owner && numentry_.parentWidget() != owner)
        numentry_.setParent(owner, numentry_.windowFlags());  // keep it a dialog
    numentry_.exec();
    // Give the keyboard back to the window: without a window manager nothing else would, and
    // the keypad's presses go to the active window.
    if (owner && owner->isVisible()) owner->activateWindow();

    const float v = entry->Value();
    EntryValue_ = unit == QStringLiteral("mm") ? static_cast<float>(v / kMmPerInch) : v;
    MenuState_ = kSetPosition;
    DrawMenu();
    EntryText_ = GeneralForm(v) + u' ' + unit;
    ShowAxisLabels(u'=' + EntryText_);
}

QString modKeys::FormatReading(float value, const QString& format) {
    if (format.isEmpty()) return GeneralForm(value);
    QString pattern = format;
    pattern.back() = u'0';
    QString s = FormatByPattern(static_cast<double>(value), pattern);
    if (format.back() == u'5' && !s.isEmpty()) {
        const int d = s.back().isDigit() ? s.back().digitValue() : 0;
        s.back() = d < 5 ? u'0' : u'5';
    }
    return s;
}
