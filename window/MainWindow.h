#pragma once
// The program's one window, "Gradel Display": the function labels down both sides, the axis
// panels between them, the menus, and the 100 ms timer that reads the keypad, watches the
// port's lines and marks the panels of scales that have gone silent.
//
// It wires the parts together and holds nothing they could hold themselves: the scale
// controller turns the box's text into scales, the panel stack shows them, the function keys
// and the panels' buttons act on them through the axis commands, and the serial link and its
// Comport menu carry the text. Every key pressed anywhere in the window reaches the function
// keys before any control sees it.
#include <QMainWindow>
#include <QPoint>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "scale/ScaleController.h"
#include "scale/ScaleListener.h"
#include "scale/StaleWatch.h"
#include "window/KeypadPoll.h"
#include "window/PortTable.h"
#include "window/QtClipboard.h"
#include "window/ReadoutPacer.h"
#include "window/RememberedPort.h"
#include "window/WindowPlacement.h"
#include "window/ZeroPointStore.h"

class QAction;
class QKeyEvent;
class QMenu;
class QMessageBox;

namespace gradel {

class AxisCommands;
class AxisPanel;
class ClientArea;
class ComportMenu;
class FunctionKeys;
class FunctionLabels;
class HoleCircleDialog;
class HoleCircleGuide;
class KeypadSource;
class NumberEntryDialog;
class PanelStack;
class SerialLink;
class SerialPort;
class ViewMenu;

class MainWindow : public QMainWindow, private ScaleListener {
    Q_OBJECT

  public:
    explicit MainWindow(QWidget* parent = nullptr);
    ~MainWindow() override;

    // Start-up, in order: list the ports, take the saved active zero point, draw the main page,
    // take the remembered view, size and place. Then, once the event loop runs (so after the
    // window has been shown): open the remembered device's port (the simulated box's instead,
    // with useSimulatedBox) and tick its entry; a remembered device that has moved to another
    // number or is gone is mentioned in the notice.
    void load();

    // Before load(): the port and its table (tests use a fake port).
    void setSerialPort(std::unique_ptr<SerialPort> port, PortTable table);
    // Before load(): the simulated box's terminal becomes the port after the real ones and is
    // opened at start-up instead of the remembered port, which stays as it is.
    void useSimulatedBox(const QString& device);
    // Tests replace the clipboard and the keypad.
    void setClipboard(Clipboard& clipboard) { clipboard_ = &clipboard; }
    void setKeypadSource(std::unique_ptr<KeypadSource> source);
    // Tests tell the time the stale watch looks at.
    void setClock(std::function<StaleWatch::Clock::time_point()> clock) {
        clock_ = std::move(clock);
    }

    // The parts, for the tests and the line-rate harness.
    SerialLink& link();
    ComportMenu* comportMenu() const { return comport_; }  // made by load()
    ScaleController& controller() { return controller_; }
    PanelStack& panels() const { return *panels_; }
    ClientArea& clientArea() const { return *client_; }
    ViewMenu& viewMenu() const { return *view_; }
    WindowPlacement& placement() { return placement_; }
    FunctionLabels& functionLabels() const { return *labels_; }
    FunctionKeys& functionKeys() const { return *keys_; }
    ReadoutPacer& readoutPacer() { return pacer_; }
    KeypadPoll& keypadPoll() { return keypad_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private:
    // What the scale controller reports.
    void positionChanged(Scale& scale) override;
    void scaleAdded(Scale& scale) override;
    void scaleRemoved(const std::string& key) override;
    void zeroPointsChanged(Scale& scale) override;
    void activePointChanged(int point) override;
    void commandForBox(const std::string& command) override;

    void openAtStart(const RememberedPort::Start& start);
    void createMenus();
    void createFileMenu();
    void createDemoMenu();
    void createViewMenu();
    void showScale(const Scale& scale);
    void showHeldScale(const std::string& key);
    void onPanelCreated(AxisPanel* panel);
    void fitPanelColumn();
    bool previewKey(QObject* watched, QKeyEvent* event);
    void onTimer();
    void markSilentScales();

    void sendToBox(const std::string& text);
    void closePort();
    void rememberPort(int n);
    void showNotice(const QString& text);
    void chooseSpeed(int i);
    void chooseType(int i);
    void centreOnScreen();

    ScaleController controller_;
    ClientArea* client_;
    FunctionLabels* labels_;
    PanelStack* panels_;
    NumberEntryDialog* entry_;
    std::unique_ptr<AxisCommands> commands_;
    HoleCircleDialog* holeDialog_;
    std::unique_ptr<HoleCircleGuide> holes_;
    std::unique_ptr<FunctionKeys> keys_;
    ZeroPointStore zeroPoints_;
    // Positions that stream in from the box are shown at most once per frame of the screen.
    ReadoutPacer pacer_{[this](const std::string& key) { showHeldScale(key); }};

    SerialLink* link_ = nullptr;  // child of the window
    ComportMenu* comport_ = nullptr;
    // The simulated box's port, which start-up opens instead of the remembered one.
    int startPort_ = 0;
    QPointer<QMessageBox> notice_;

    QtClipboard systemClipboard_;
    Clipboard* clipboard_ = &systemClipboard_;
    std::unique_ptr<KeypadSource> keypadSource_;
    KeypadPoll keypad_{nullptr};
    QTimer timer_;
    StaleWatch staleWatch_;  // looks at the scales at each tick of the timer
    std::function<StaleWatch::Clock::time_point()> clock_ = &StaleWatch::Clock::now;

    QMenu* portMenu_ = nullptr;
    QAction* speeds_[2] = {};
    QAction* types_[3] = {};
    ViewMenu* view_ = nullptr;
    WindowPlacement placement_{*this};
    int designHeight_;  // twips, that the window's height was last fitted to

    QEvent* forwarding_ = nullptr;     // the copy of a key press on its way to the controls
    bool placed_ = false;              // restored or centred on the screen at its first showing
    bool restored_ = false;            // the remembered size and place were restored
    std::optional<QPoint> centredAt_;  // where centreOnScreen last put the window
};

}  // namespace gradel
