#pragma once
// The main window's handling of its axis panels' controls and its per-scale operations.
//
// Rev passes its state to the controller at once; Reset Rel zeroes the relative value; Adj
// drags the relative reading (0.00001 inch per twip with the left button, 0.0001 with the
// right, always measured from the press); a right click on a readout opens its pop-up menu,
// whose entries set the dial's divisions or copy a reading to the clipboard. ABS and X2 are
// read by the panel code whenever it shows a reading; changing either shows the scale again.
#include <QObject>
#include <QString>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

#include "panels/AxisPanel.h"

class IGradelWindow;
class IClipboard;
class QAction;
class QMenu;

namespace gradel {
class clsScaleControl;
}

// The three pop-up menus of the readouts and their entries (the window owns them).
struct AxisMenus {
    QMenu* mnuPopupAnalogue = nullptr;
    QAction* mnuPopupAnalogueCopy = nullptr;
    std::array<QAction*, 3> mnuPopupDivisions{};  // data: divisions per inch (16, 32, 64)
    QMenu* mnuPopupInch = nullptr;
    QAction* mnuPopupInchCopy = nullptr;
    QMenu* mnuPopupMM = nullptr;
    QAction* mnuPopupMMCopy = nullptr;
};

class AxisControls : public QObject {
    Q_OBJECT
  public:
    // Shows a pop-up menu; by default at the pointer, without waiting for a choice.
    using ShowMenuFn = std::function<void(QMenu*)>;

    // `sc` is the window's controller holder; until it holds a controller the handlers do
    // nothing. The controls can be connected before the controller and the menus exist.
    AxisControls(IGradelWindow& window, const std::unique_ptr<gradel::clsScaleControl>& sc,
                 IClipboard& clipboard, QObject* parent = nullptr);

    // Hooks panel i's controls to the handlers; called once for the template and each copy.
    void ConnectPanel(int i);
    // Takes the pop-up menus and connects their entries.
    void SetMenus(const AxisMenus& menus);

    // Per-scale operations (SCid is the scale key).
    void ResetRel(const QString& SCid);
    void ResetAbsolute(const QString& SCid);
    void ToggleABS(const QString& SCid);
    void ToggleX2(const QString& SCid);
    void ToggleReverse(const QString& SCid);
    float GetRelativeInch(const QString& SCid);              // doubled in times-two mode
    void SetRelativeInch(const QString& SCid, float value);  // halved in times-two mode

    // Handlers, by panel index; positions in twips.
    void chkREV_Click(int i);
    void ShowAgain(int i);
    void cmdRS_Click(int i);
    void cmdAdj_MouseDown(int i, float yTwips);
    void cmdAdj_MouseMove(int i, Qt::MouseButtons buttons, float yTwips);
    void AnalogueDial_RightClick(int i);
    void ddInch_RightClick(int i);
    void ddMM_RightClick(int i);
    void mnuPopupDivisions_Click(int k);
    void mnuPopupAnalogueCopy_Click();
    void mnuPopupInchCopy_Click();
    void mnuPopupMMCopy_Click();

    // The relative value a drag gives: (startY - y) * k + startValue, with k = 0.00001 inch per
    // twip when exactly the left button is down and 0.0001 when exactly the right one is;
    // nothing in any other button state.
    static std::optional<float> DragValue(float startY, float y, float startValue,
                                          Qt::MouseButtons buttons);

    int16_t PopupIndex() const { return PopupIndex_; }
    float DragStartY() const { return DragStartY_; }
    float DragStartValue() const { return DragStartValue_; }
    void SetClipboard(IClipboard& clipboard) { clipboard_ = &clipboard; }
    void SetShowMenu(ShowMenuFn show) { showMenu_ = std::move(show); }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QString PanelKey(int i) const;
    void Toggle(const QString& SCid, QPushButton* AxisPanel::*chk);
    void Copy(const QString& text);
    void ShowMenu(QMenu* menu);

    IGradelWindow& window_;
    const std::unique_ptr<gradel::clsScaleControl>& SC;
    AxisMenus menus_;
    IClipboard* clipboard_;
    ShowMenuFn showMenu_;
    int16_t PopupIndex_ = 0;
    float DragStartY_ = 0;
    float DragStartValue_ = 0;
};
