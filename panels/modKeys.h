#pragma once
// The function-key menu. Twelve labels on the main window show what F1..F12 do: labels 0..5
// stand for the axis keys F1..F6 (one per listed scale, the scale's key in the label's Tag),
// labels 6..11 for F7..F12, which choose the menu page. An axis key applies the page's action
// to its scale; F12 or any key that is not a function key returns to the main page. The
// "Set Position" page sets an axis's relative reading to a typed number (through the number
// entry dialog), a fixed offset or another axis's reading.
//
// Only six scales can have an axis key: scales beyond the sixth entry of the panel directory
// get no label and are worked from their panel's own buttons.
#include <QString>
#include <array>

class IGradelWindow;
class frmNumentry;

namespace gradel {
class IErrorDialog;
}

class modKeys {
  public:
    // Menu pages (MenuState values).
    enum Page : int {
        kMain = 0,
        kZeroAbsolute = 6,
        kAbsRel = 7,
        kTimesTwo = 8,
        kFwdRev = 9,
        kSetPosition = 10,
        kEntryOpen = 12,  // the number entry dialog is shown
        kReadAxis = 13,   // choose the axis whose reading to take
    };

    // `errors` answers faults of DoDevice; nullptr means the process-wide dialog.
    modKeys(IGradelWindow& window, frmNumentry& numentry, gradel::IErrorDialog* errors = nullptr);

    // Back to the main page and redraw; the window calls it at load and at every re-layout.
    void InitMenu();
    // One key (virtual-key code, F1 = 112 ... F12 = 123) from the keyboard, the keypad or a
    // label click. Sets KeyCode to 0 when it consumes the key, which only F10 is.
    void HandleKey(int& KeyCode, int Shift);
    void DrawMenu();
    // Axis labels read "<key> <suffix>" and carry the key in their Tag; the rest are emptied.
    void ShowAxisLabels(const QString& suffix);
    // Applies the current page's action to the scale of axis key DeviceIndex.
    void DoDevice();
    // Takes a number from the dialog in `unit` ("mm" or the inch mark) with `format`.
    void EnterNumber(const QString& unit, const QString& format);
    // `value` by a pattern like the readouts': "0.00" rounds to two places; a last "5"
    // ("0.0005") shows only 0 or 5 in the last place; "" gives the general form.
    static QString FormatReading(float value, const QString& format);

    int MenuState() const { return MenuState_; }
    int DeviceIndex() const { return DeviceIndex_; }
    float EntryValue() const { return EntryValue_; }  // inches
    QString EntryText() const { return EntryText_; }
    const std::array<float, 4>& Offsets() const { return Offsets_; }  // millimetres
    int OffsetIndex() const { return OffsetIndex_; }

  private:
    void HandleSetPositionKey(int& KeyCode);
    void HandlePageKey(int& KeyCode);
    void TakeNextOffset();
    void StartRead();
    void DrawEntryLayout();
    int AxisLabelCount() const;
    gradel::IErrorDialog& Errors() const;

    IGradelWindow& window_;
    frmNumentry& numentry_;
    gradel::IErrorDialog* errors_;

    int MenuState_ = kMain;
    int DeviceIndex_ = 0;
    float EntryValue_ = 0;
    QString EntryText_;
    std::array<float, 4> Offsets_{};
    int OffsetIndex_ = 0;
};
