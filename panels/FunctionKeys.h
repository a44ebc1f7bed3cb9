#pragma once
// The function-key menu. Twelve labels show what F1..F12 do: F1..F6 stand for the listed axes
// in panel order, F7..F12 choose the menu's page. An axis key applies the page's action to its
// axis; F12 or any key that is not a function key returns to the main page. The "Set Position"
// page sets an axis's relative reading to a typed number (through the number entry dialog), a
// fixed offset or another axis's reading. F12 on the main page opens the second main page,
// "Menu (2)", whose axis keys halve a reading and whose F7 chooses the active zero point. Its F8
// asks for a bolt-hole circle; once one is given, the page "Hole k/N" leads round it (F7 next
// hole, F8 the one before, F12 puts it away). Only F12 leaves that page: a stray key must not
// drop the circle halfway round.
//
// Only six axes have a key: panels beyond the sixth are worked with their own buttons.
#include <QString>
#include <array>

namespace gradel {

class AxisCommands;
class FunctionLabels;
class HoleCircleDialog;
class HoleCircleGuide;
class NumberEntryDialog;
class PanelStack;

class FunctionKeys {
  public:
    enum class Page {
        Main,
        ZeroAbsolute,
        AbsRel,
        TimesTwo,
        FwdRev,
        SetPosition,
        Entry,       // a dialog (number entry, hole circle) is open and takes the keys
        ReadAxis,    // choose the axis whose reading to take
        Menu2,       // the second main page
        HoleCircle,  // the panels of a hole circle's axes show the distance to the hole
    };

    FunctionKeys(FunctionLabels& labels, const PanelStack& panels, AxisCommands& axes,
                 NumberEntryDialog& entry, HoleCircleDialog& holeDialog, HoleCircleGuide& holes);

    // Back to the main page and redraw; after every change of the listed panels too. An entry
    // in progress keeps the dialog's key layout: its page is drawn when it ends. A hole circle
    // stays up.
    void reset();
    // One key (virtual-key code; F1 = 112 … F12 = 123) from the keyboard, the keypad or a label
    // click. True when the key has been used up and must go no further (only F10 is).
    bool handleKey(int code);

    Page page() const { return page_; }
    // The value Set Position gives an axis, in inches, and how its labels show it.
    float entryValue() const { return entryValue_; }
    QString entryText() const { return entryText_; }

  private:
    void draw();
    void drawAxisLabels(const QString& suffix);
    void drawEntryLayout();
    bool handleSetPositionKey(int code);
    bool handlePageKey(int code);
    bool handleMenu2Key(int code);
    bool handleHoleKey(int code);
    void askHoleCircle();
    void drawHolePage();
    QString fillIn(const char* caption) const;
    void applyToAxis(int index);
    void takeNextOffset();
    void enterNumber(const QString& unit, const QString& format, double largest);
    void chooseZeroPoint();
    void showPage(Page page);

    FunctionLabels& labels_;
    const PanelStack& panels_;
    AxisCommands& axes_;
    NumberEntryDialog& entry_;
    HoleCircleDialog& holeDialog_;
    HoleCircleGuide& holes_;

    Page page_ = Page::Main;
    float entryValue_ = 0;
    QString entryText_;
    int nextOffset_ = 0;
    const char* entryEnd_ = "Exit";  // what F12 does in the open dialog
};

}  // namespace gradel
