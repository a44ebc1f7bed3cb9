#include "window/MainWindow.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QScreen>
#include <algorithm>

#include "base/LatencyProbe.h"
#include "base/VirtualKey.h"
#include "panels/AxisCommands.h"
#include "panels/AxisPanel.h"
#include "panels/FunctionKeys.h"
#include "panels/FunctionLabels.h"
#include "panels/HoleCircleDialog.h"
#include "panels/HoleCircleGuide.h"
#include "panels/NumberEntryDialog.h"
#include "panels/PanelStack.h"
#include "scale/DemoMessages.h"
#include "window/ClientArea.h"
#include "window/ComportMenu.h"
#include "window/MenuEntry.h"
#include "window/PortKeypadSource.h"
#ifdef Q_OS_WIN
#include "window/QtSerialPort.h"
#else
#include "window/TerminalPort.h"
#endif
#include "window/RememberedPort.h"
#include "window/SerialLink.h"
#include "window/Settings.h"
#include "window/ViewMenu.h"

namespace gradel {

namespace {

QAction* hiddenCheckEntry(QAction* action, bool checked = false) {
    action->setCheckable(true);
    action->setChecked(checked);
    action->setVisible(false);
    return action;
}

}  // namespace

MainWindow::MainWindow(QWidget* parent)
    : QMainWindow(parent),
      client_(new ClientArea(this)),
      labels_(&client_->labels()),
      panels_(&client_->panels()),
      entry_(new NumberEntryDialog(this)),
      commands_(std::make_unique<AxisCommands>(controller_, *panels_)),
      holeDialog_(new HoleCircleDialog(this)),
      holes_(std::make_unique<HoleCircleGuide>(*panels_)),
      keys_(std::make_unique<FunctionKeys>(*labels_, *panels_, *commands_, *entry_, *holeDialog_,
                                           *holes_)),
      keypadSource_(std::make_unique<PortKeypadSource>()) {
    setObjectName(QStringLiteral("MainWindow"));
    setWindowTitle(QStringLiteral("Gradel Display"));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint |
                   Qt::WindowCloseButtonHint);
    setFont(QFont(QStringLiteral("MS Sans Serif"), 8));

    setCentralWidget(client_);
    designHeight_ = client_->designHeight();
    connect(panels_, &PanelStack::panelCreated, this, &MainWindow::onPanelCreated);
    connect(panels_, &PanelStack::layoutChanged, this, [this] {
        fitPanelColumn();
        keys_->reset();
    });
    connect(labels_, &FunctionLabels::clicked, this,
            [this](int i) { keys_->handleKey(VirtualKey::function(i + 1)); });
    controller_.setListener(this);
    pacer_.setCollect([this] {
        if (link_) link_->takeWaiting();
    });

    createMenus();
    // The layout's size (adjustSize would hold it to two thirds of a small screen).
    resize(layout()->totalSizeHint());

    keypad_.setSource(keypadSource_.get());
    timer_.setInterval(100);
    connect(&timer_, &QTimer::timeout, this, &MainWindow::onTimer);
    timer_.start();
    qApp->installEventFilter(this);
}

MainWindow::~MainWindow() {
    qApp->removeEventFilter(this);
    // The controller's reports reach into this window; none may arrive while it goes.
    controller_.setListener(nullptr);
}

void MainWindow::setKeypadSource(std::unique_ptr<KeypadSource> source) {
    keypadSource_ = std::move(source);
    keypad_.setSource(keypadSource_.get());
}

// ---- Menus ----

void MainWindow::createMenus() {
    createFileMenu();
    portMenu_ = menuBar()->addMenu(QStringLiteral("&Comport"));
    createDemoMenu();
    createViewMenu();
}

// The speed and type entries stay hidden: the box chooses its own, and the entries are kept
// for boxes that need telling.
void MainWindow::createFileMenu() {
    QMenu* menu = menuBar()->addMenu(QStringLiteral("&File"));
    speeds_[0] = hiddenCheckEntry(addMenuEntry(*menu, "&Slow", this, [this] { chooseSpeed(0); }));
    speeds_[1] =
        hiddenCheckEntry(addMenuEntry(*menu, "&Fast", this, [this] { chooseSpeed(1); }), true);
    menu->addSeparator()->setVisible(false);
    types_[0] = hiddenCheckEntry(addMenuEntry(*menu, "&Hex ", this, [this] { chooseType(0); }));
    types_[1] = hiddenCheckEntry(addMenuEntry(*menu, "&Decimal", this, [this] { chooseType(1); }));
    types_[2] = hiddenCheckEntry(addMenuEntry(*menu, "&Auto", this, [this] { chooseType(2); }));
    menu->addSeparator()->setVisible(false);
    addMenuEntry(*menu, "E&xit", this, [this] { close(); })->setObjectName(QStringLiteral("exit"));
}

// Demo scales go through exactly the path of the box's text, one dataInput call a message.
void MainWindow::createDemoMenu() {
    QMenu* menu = menuBar()->addMenu(QStringLiteral("&Demo"));
    const char* adds[2] = {"Add &X scale", "Add &Y scale"};
    const char* removes[2] = {"Remove X scale", "Remove Y Scale"};
    for (int i = 0; i < 2; ++i) {
        addMenuEntry(*menu, adds[i], this, [this, i] {
            for (const std::string& message : demoAddMessages(i)) controller_.dataInput(message);
        })->setObjectName(QStringLiteral("demoAdd%1").arg(i));
    }
    for (int i = 0; i < 2; ++i) {
        addMenuEntry(*menu, removes[i], this, [this, i] {
            controller_.dataInput(demoRemoveMessage(i));
        })->setObjectName(QStringLiteral("demoRemove%1").arg(i));
    }
}

// The View menu stands after Demo.
void MainWindow::createViewMenu() {
    view_ = new ViewMenu(*menuBar()->addMenu(QStringLiteral("&View")), this);
    connect(view_, &ViewMenu::readoutsChanged, panels_, &PanelStack::setReadoutsShown);
    connect(view_, &ViewMenu::fullScreenChosen, this, [this] { placement_.toggleFullScreen(); });
    connect(view_, &ViewMenu::showAllPanelsChosen, panels_, &PanelStack::showAll);
    connect(panels_, &PanelStack::layoutChanged, view_,
            [this] { view_->setPanelsHidden(panels_->hasHidden()); });
}

void MainWindow::chooseSpeed(int i) {
    for (int k = 0; k < 2; ++k) speeds_[k]->setChecked(k == i);
    sendToBox(std::string{'S', static_cast<char>(i + 1)});
}

void MainWindow::chooseType(int i) {
    for (int k = 0; k < 3; ++k) types_[k]->setChecked(k == i);
    sendToBox(std::string{'V', static_cast<char>(i)});
}

// Exit and closing the window: nothing is sent to the box; the window's size, place and state
// are remembered for the next start.
void MainWindow::closeEvent(QCloseEvent* event) {
    if (link_ && link_->isOpen()) closePort();
    zeroPoints_.flush();
    placement_.save();
    event->accept();
}

// ---- Start-up ----

void MainWindow::load() {
    if (const QScreen* s = screen()) pacer_.setFrameMs(ReadoutPacer::frameMsFor(s->refreshRate()));
    comport_ = new ComportMenu(*portMenu_, link(), this);
    connect(comport_, &ComportMenu::portOpened, this, &MainWindow::rememberPort);
    connect(comport_, &ComportMenu::portClosedByUser, this, [this] { controller_.removeAll(); });
    comport_->listPorts();
    if (const int point = zeroPoints_.activePoint()) controller_.setActivePoint(point);
    keys_->reset();

    view_->restore();
    restored_ = placement_.restore();
    const RememberedPort::Start start =
        startPort_ > 0 ? RememberedPort::Start{startPort_, {}}
                       : RememberedPort::fromSettings().startIn(link().table());
    startPort_ = 0;
    // The window is shown before the event loop first turns: the machinist sees it at once,
    // and the port opens and the box is asked for its scales behind it.
    QTimer::singleShot(0, this, [this, start] { openAtStart(start); });
}

void MainWindow::openAtStart(const RememberedPort::Start& start) {
    link().togglePort(static_cast<int16_t>(start.port));
    comport_->showOpenPort();
    // The remembered device under another number: that number is now the one to remember.
    if (start.notice.isEmpty() || (start.port != 0 && !link().isOpen())) return;
    if (start.port != 0) rememberPort(start.port);
    // Nothing is wrong, so nothing to answer: the operator reads it in passing.
    client_->showNote(start.notice);
}

void MainWindow::showEvent(QShowEvent* event) {
    if (!placed_) {
        placed_ = true;
        if (!restored_) centreOnScreen();
    }
    QMainWindow::showEvent(event);
}

// With its frame, which is known once the window exists on the screen.
void MainWindow::centreOnScreen() {
    const QScreen* s = screen();
    if (!s) return;
    const QRect area = s->geometry();
    move(area.x() + (area.width() - frameGeometry().width()) / 2,
         area.y() + (area.height() - frameGeometry().height()) / 2);
    centredAt_ = pos();
}

// ---- Panels ----

void MainWindow::positionChanged(Scale& scale) {
    if (LatencyProbe* probe = LatencyProbe::active()) probe->readingParsed(scale.key());
    if (pacer_.changed(scale.key())) showScale(scale);
}

// A scale whose change the pacer held, if it is still there.
void MainWindow::showHeldScale(const std::string& key) {
    if (const ScaleList::Ptr scale = controller_.scales().find(key)) showScale(*scale);
}

// Hidden panels are written too: shown again, they are up to date. A stale scale's panel is
// live again with the first reading it shows.
void MainWindow::showScale(const Scale& scale) {
    if (AxisPanel* panel = panels_->panel(QString::fromStdString(scale.key()))) {
        LatencyProbe* probe = LatencyProbe::active();
        if (probe) probe->showing(scale.key());
        panel->showPosition(scale.absoluteInch(), scale.relativeInch());
        if (probe) probe->doneShowing();
        if (staleWatch_.revive(scale)) panel->setStale(false);
    }
}

// A panel shown again keeps its Rev state, but the scale's record is new: the record gets its
// saved zero points and is told the panel's state, so that the display counts the way its Rev
// button says. Fast mode is asked for once the panel is there to show the readings.
void MainWindow::scaleAdded(Scale& scale) {
    zeroPoints_.restore(scale);
    const AxisPanel* panel = panels_->add(QString::fromStdString(scale.key()));
    controller_.setReversed(scale.key(), panel->isReversed());
    sendToBox("S2");
}

void MainWindow::scaleRemoved(const std::string& key) {
    panels_->remove(QString::fromStdString(key));
}

void MainWindow::zeroPointsChanged(Scale& scale) {
    zeroPoints_.save(scale);
}

void MainWindow::activePointChanged(int point) {
    panels_->setZeroPoint(point);
    zeroPoints_.saveActivePoint(point);
}

void MainWindow::onPanelCreated(AxisPanel* panel) {
    commands_->connectPanel(panel);
    connect(panel, &AxisPanel::copyRequested, this, [this](const QString& text) {
        clipboard_->clear();
        clipboard_->setText(text);
    });
}

// Up to four panels keep the window's own height; more make it taller, as far as the screen
// allows, so that every shown panel stays in view; the window moves up as far as needed to keep
// its lower edge on the screen. Panels that would not fit make the whole layout smaller
// instead. A maximised or full-screen window keeps its size and only zooms.
void MainWindow::fitPanelColumn() {
    const int design = client_->designHeight();
    if (design == designHeight_) return;
    designHeight_ = design;
    if (isMaximized() || isFullScreen()) return;
    // The same zoom as the width has: at the own width, the layout's own height.
    // The client area is as wide as the window (and the window's width is up to date even
    // before the layout has given the client its size).
    const double widthZoom = width() / static_cast<double>(client_->designSize(1).width());
    int wanted = client_->designSize(widthZoom).height();
    // Worked out from what the menu bar needs at this width: neither the window's geometry nor
    // the menu bar's may have caught up yet with a resize asked for just before.
    const int menu = menuBar()->heightForWidth(width());
    const int frame = frameGeometry().height() - height() + menu;
    const QScreen* s = screen();
    if (s) wanted = std::min(wanted, s->availableGeometry().height() - frame);
    resize(width(), wanted + menu);
    // The scales a box reports when it is asked at the start are part of how the window starts:
    // a window centred on the screen (and not moved since) stays centred while they come.
    if (s && centredAt_ == pos() && link_ && link_->isIdentifying()) {
        move(x(), s->geometry().y() + (s->geometry().height() - frame - wanted) / 2);
        centredAt_ = pos();
    } else if (s) {
        const int bottom = frameGeometry().top() + frame + wanted - 1;
        const int overshoot = bottom - s->availableGeometry().bottom();
        if (overshoot > 0) move(x(), std::max(s->availableGeometry().top(), y() - overshoot));
    }
}

// ---- Keys ----

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress)
        return previewKey(watched, static_cast<QKeyEvent*>(event));
    return false;
}

// Every key press in this window goes to the function keys first. A key they use up goes no
// further; any other is handed on to the control it was meant for.
bool MainWindow::previewKey(QObject* watched, QKeyEvent* event) {
    if (event == forwarding_ || !watched->isWidgetType()) return false;
    if (static_cast<QWidget*>(watched)->window() != this) return false;
    // A key without a code (é, ß, § on many keyboards) is still "any other key" to the menu.
    const int code = VirtualKey::fromEvent(*event);
    QPointer<QObject> target(watched);
    const bool usedUp = keys_->handleKey(code);
    event->accept();
    if (usedUp || !target) return true;
    // A copy, so that its way up through the parents is not previewed a second time.
    std::unique_ptr<QEvent> copy(event->clone());
    QEvent* outer = forwarding_;
    forwarding_ = copy.get();
    QCoreApplication::sendEvent(target, copy.get());
    forwarding_ = outer;
    return true;
}

void MainWindow::onTimer() {
    keypad_.poll();
    if (link_) link_->pollLines();
    markSilentScales();
}

void MainWindow::markSilentScales() {
    for (const StaleWatch::Change& change : staleWatch_.look(controller_.scales(), clock_()))
        if (AxisPanel* panel = panels_->panel(QString::fromStdString(change.key)))
            panel->setStale(change.stale);
}

// ---- Serial port ----

SerialLink& MainWindow::link() {
#ifdef Q_OS_WIN
    if (!link_) setSerialPort(std::make_unique<QtSerialPort>(), PortTable::fromSystem());
#else
    if (!link_) setSerialPort(std::make_unique<TerminalPort>(), PortTable::fromSystem());
#endif
    return *link_;
}

void MainWindow::setSerialPort(std::unique_ptr<SerialPort> port, PortTable table) {
    delete link_;
    link_ = new SerialLink(std::move(port), std::move(table), this);
    connect(link_, &SerialLink::textReceived, this, [this](const std::string& text) {
        ReadoutPacer::StreamScope stream(pacer_);
        controller_.dataInput(text);
        // What comes before the frame that shows this is read as the frame begins.
        if (pacer_.isHolding()) link_->holdInput();
    });
    connect(link_, &SerialLink::linesLost, this, [this] {
        controller_.removeAll();
        zeroPoints_.flush();
    });
    connect(link_, &SerialLink::notice, this, &MainWindow::showNotice);
}

void MainWindow::useSimulatedBox(const QString& device) {
    startPort_ = link().table().addSimulated(device);
}

// "I0" identifies the box (twice, a second apart); anything else goes out as it stands.
void MainWindow::commandForBox(const std::string& command) {
    if (command == "I0")
        link().identifyBox();
    else
        sendToBox(command);
}

// Only while the port is open: the link drops it otherwise.
void MainWindow::sendToBox(const std::string& text) {
    link().send(text);
}

// Closes the port without sending anything; a port switch waiting for the old port to drain
// does not go on to open the new one.
void MainWindow::closePort() {
    if (comport_) comport_->cancelPendingOpen();
    link().close();
}

// A settings store that cannot be written must not take the user's choice down with it: the
// fault is reported, and the chosen port stays open.
void MainWindow::rememberPort(int n) {
    ErrorTrap trap(defaultErrorPrompt(), "frmGradel", "mnuComPort_Click");
    trap.run([&] { RememberedPort::store(link().table(), n); });
}

// A message that does not stop the display: the readings keep coming while it is shown.
void MainWindow::showNotice(const QString& text) {
    if (!notice_) {
        notice_ = new QMessageBox(QMessageBox::Warning, windowTitle(), text, QMessageBox::Ok, this);
        notice_->setObjectName(QStringLiteral("portNotice"));
        notice_->setWindowModality(Qt::NonModal);
        notice_->setAttribute(Qt::WA_DeleteOnClose);
    } else {
        notice_->setText(text);
    }
    notice_->show();
}

}  // namespace gradel
