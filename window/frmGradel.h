#pragma once
// The program's one main window, "Gradel Display".
//
// It owns the scale controller SC, the twelve function labels in their two frames, the axis
// panels (element 0 is the hidden template; further panels are copies made by NewPanel), the
// hidden panel directory, the menus and the 100 ms timer. Every key pressed anywhere in the
// window reaches Form_KeyDown (and so HandleKey) before any control sees it; a click on a
// function label counts as its function key.
//
// The class spans a few source files, one per concern:
//   frmGradel.cpp        controls, menus, start-up, panel layout, key routing, closing
//   frmGradel_keys.cpp   the function-key menu (InitMenu, HandleKey)
//   frmGradel_axis.cpp   per-scale operations, panel controls, the controller's panel events,
//                        keypad poll
//   frmGradel_port.cpp   serial port, Comport menu, demo scales, the controller's box commands
//
// Load() must run once after construction and before the window is used (main does this).
#include <QMainWindow>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "panels/AxisPanel.h"
#include "panels/IGradelWindow.h"
#include "scale/clsScaleControl.h"
#include "window/AxisControls.h"
#include "window/KeypadPoll.h"
#include "window/PortKeypadSource.h"
#include "window/QtClipboard.h"
#include "window/ReadoutPacer.h"

class QAction;
class QGroupBox;
class QKeyEvent;
class QLabel;
class QListWidget;
class frmNumentry;
class modKeys;
class QMenu;
class QMessageBox;
class ComportMenu;
class ISerialPort;
class PortTable;
class SerialLink;

class frmGradel : public QMainWindow, public IGradelWindow {
    Q_OBJECT

  public:
    static constexpr int kLabFuncCount = 12;

    explicit frmGradel(QWidget* parent = nullptr);
    ~frmGradel() override;

    // Start-up, in order: create SC; open the settings store; CheckComports; InitMenu; read the
    // remembered port; TogglePort with it; tick the Comport entries of that port.
    void Load();

    // The remembered port text as a port number: its numeric value rounded to an integer
    // (halves to even); a value outside the 16-bit range means no port (0).
    static int16_t SavedPortNumber(const QString& text);

    // ---- IGradelWindow ----
    std::vector<AxisPanel>& Panels() override { return panels_; }
    AxisPanel& NewPanel() override;
    QListWidget& lstGradels() override { return *lstGradels_; }
    // Stacks the shown panels from the top in directory order, then redraws the labels.
    void Resize_form() override;
    QLabel* labFunc(int i) override;
    int labFuncCount() const override { return kLabFuncCount; }
    void ResetRel(const QString& SCid) override;
    void ResetAbsolute(const QString& SCid) override;
    void ToggleABS(const QString& SCid) override;
    void ToggleX2(const QString& SCid) override;
    void ToggleReverse(const QString& SCid) override;
    float GetRelativeInch(const QString& SCid) override;
    void SetRelativeInch(const QString& SCid, float value) override;
    QWidget* Widget() override { return this; }

    // ---- Key routing ----
    // Every key press of the window, with its virtual-key code and shift state.
    void Form_KeyDown(int& KeyCode, int Shift);
    void labFunc_Click(int i);
    void fraAxis_DblClick(int i);

    // ---- Function-key menu (frmGradel_keys.cpp) ----
    virtual void InitMenu();
    // May set KeyCode to 0 to consume the key.
    virtual void HandleKey(int& KeyCode, int Shift);
    // The menu's state and the number entry dialog it shows, made on first use.
    modKeys& Keys();
    frmNumentry& Numentry();

  private:
    std::shared_ptr<modKeys> keys_;    // shared: its deleter is fixed where it is made
    frmNumentry* numentry_ = nullptr;  // child of the window, hidden between entries

  public:

    // ---- Axis panels and controls (frmGradel_axis.cpp) ----
    virtual void RemovePanel(const QString& key);
    void SC_PositionUpdate(gradel::clsGradel& CurrentScale);
    // Shows a scale whose position change the pacer held (if the scale is still there).
    void ShowHeldPosition(const std::string& key);
    void SC_ScaleAdded(gradel::clsGradel& NewScale);
    void SC_ScaleRemoved(const std::string& OldScaleID);
    void PollKeypad();
    void WirePanel(int i);
    // Hands the readouts' pop-up menus to the axis controls.
    void WirePopupMenus();
    // Up to four panels keep the design's client height; more make the window taller so
    // that every shown panel stays in view. `panelsBottom` is the column's bottom in twips.
    void FitPanelColumn(int32_t panelsBottom);

    // ---- Serial port and demo scales (frmGradel_port.cpp) ----
    virtual void CheckComports();
    virtual void TogglePort(int16_t n);
    virtual bool PortOpen() const;
    virtual void ClosePort();
    void SC_ScaleComms(const std::string& Message);
    void PollCts();
    void mnuFileSpeed_Click(int i);
    void mnuFileType_Click(int i);
    void mnuDemoAdd_Click(int i);
    void mnuDemoRemove_Click(int i);
    // Sends a command to the box if the port is open; nothing otherwise.
    void SendToBox(const std::string& text);
    // The port and the table of port numbers; made on first use from the system's ports.
    SerialLink& Link();
    // Before Load: replaces the port and its table (tests use a fake port).
    void SetSerialPort(std::unique_ptr<ISerialPort> port, PortTable table);
    // Before Load: puts the simulated box's terminal first in the port table, and makes
    // start-up open it instead of the remembered port, which stays as it is.
    void UseSimulatedBox(const QString& device);
    // After Load: the Comport menu (null before CheckComports).
    ComportMenu* Comport() const { return comport_; }

    // ---- Menus and other handlers of this file ----
    void mnuFileExit_Click();
    void mnuViewPanel_Click(int k);
    void Timer1_Timer();

    // The scale controller: made by Load, lives as long as the window.
    std::unique_ptr<gradel::clsScaleControl> SC;

    // The panels' controls (with PopupIndex, DragStartY, DragStartValue), the clipboard they
    // copy to, and the keypad poll (with LastKeypadCode) reading the keypad port. Tests may
    // replace the clipboard (Axis.SetClipboard) and the source (Keypad.SetSource).
    QtClipboard Clipboard;
    AxisControls Axis{*this, SC, Clipboard};
    std::unique_ptr<IKeypadSource> KeypadSource = std::make_unique<PortKeypadSource>();
    KeypadPoll Keypad{KeypadSource.get()};
    // Positions that come with the box's stream are shown at most once per frame of the screen.
    ReadoutPacer Readouts{[this](const std::string& key) { ShowHeldPosition(key); }};

    // Controls.
    QWidget* client = nullptr;  // the client area; all controls' twips are relative to it
    std::array<QGroupBox*, 2> fraFunc{};
    QTimer Timer1;

    // Menu bar. Ticks change only when code sets them: choosing an entry never flips its tick
    // by itself, the handlers decide.
    QMenu* mnuFile = nullptr;
    std::array<QAction*, 2> mnuFileSpeed{};
    QAction* mnusep = nullptr;
    std::array<QAction*, 3> mnuFileType{};
    QAction* mnusep1 = nullptr;
    QAction* mnuFileExit = nullptr;
    QMenu* mnuPort = nullptr;
    // mnuComPort(0) exists from the start; whoever adds further entries also connects them.
    std::vector<QAction*> mnuComPort;
    QMenu* mnuDemo = nullptr;
    std::array<QAction*, 2> mnuDemoAdd{};
    std::array<QAction*, 2> mnuDemoRemove{};
    QMenu* mnuView = nullptr;
    std::array<QAction*, 3> mnuViewPanel{};

    // Pop-up menus of the readouts, never on the bar. Division entries carry their divisions
    // per inch (16, 32, 64) as data.
    QMenu* mnuPopupAnalogue = nullptr;
    QAction* mnuPopupAnalogueCopy = nullptr;
    std::array<QAction*, 3> mnuPopupDivisions{};
    QMenu* mnuPopupInch = nullptr;
    QAction* mnuPopupInchCopy = nullptr;
    QMenu* mnuPopupMM = nullptr;
    QAction* mnuPopupMMCopy = nullptr;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private:
    void CreateFunctionLabels();
    void CreateMenus();
    void CreateFileMenu();
    void CreatePopupMenus();
    void AddPanel(AxisPanel panel);
    void CentreOnScreen();
    // Key preview: true when the key press has been dealt with here.
    bool PreviewKey(QObject* watched, QKeyEvent* event);
    bool PreviewLabelClick(QObject* watched, QEvent* event);
    bool PreviewFrameDblClick(QObject* watched, QEvent* event);

    std::array<QLabel*, kLabFuncCount> labFunc_{};
    QListWidget* lstGradels_ = nullptr;
    std::vector<AxisPanel> panels_;
    QEvent* forwarding_ = nullptr;  // the copy of a key press on its way to the controls

    // Serial port (frmGradel_port.cpp).
    void ShowNotice(const QString& text);
    SerialLink* link_ = nullptr;  // child of the window
    ComportMenu* comport_ = nullptr;
    int16_t startPort_ = -1;  // >= 0: start-up opens this port instead of the remembered one
    QPointer<QMessageBox> notice_;
    bool centred_ = false;          // placed in the middle of the screen at its first showing
};
