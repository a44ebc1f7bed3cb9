#include "window/frmGradel.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFont>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPalette>
#include <QScreen>
#include <QToolTip>
#include <cmath>
#include <limits>

#include "controls/AnalogueDial.h"
#include "controls/DigitalDial.h"
#include "scale/Sfmt.h"
#include "window/winsys/VirtualKey.h"
#include "window/clsIniFile.h"
#include "window/winsys/Tag.h"
#include "window/winsys/Twips.h"

namespace {

constexpr int kClientWidth = 9510;
constexpr int kClientHeight = 6600;
const QString kDesignFont = QStringLiteral("MS Sans Serif");

// A menu entry whose tick only code changes: the toolkit flips a checkable entry when it is
// chosen, so the flip is undone before the handler runs.
template <class Handler>
void OnChosen(QAction* action, QObject* context, Handler handler) {
    QObject::connect(action, &QAction::triggered, context, [action, handler] {
        if (action->isCheckable()) action->setChecked(!action->isChecked());
        handler();
    });
}

QAction* Entry(QMenu* menu, const char* caption, bool visible = true, bool checkable = false,
               bool checked = false) {
    QAction* a = menu->addAction(QString::fromLatin1(caption));
    a->setCheckable(checkable);
    a->setChecked(checked);
    a->setVisible(visible);
    return a;
}

QAction* HiddenSeparator(QMenu* menu) {
    QAction* a = menu->addSeparator();
    a->setVisible(false);
    return a;
}

}  // namespace

frmGradel::frmGradel(QWidget* parent) : QMainWindow(parent) {
    setObjectName(QStringLiteral("frmGradel"));
    setWindowTitle(QStringLiteral("Gradel Display"));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setFont(QFont(kDesignFont, 8));

    client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    client->setFixedSize(gradel::Twips::ToPx(kClientWidth), gradel::Twips::ToPx(kClientHeight));
    setCentralWidget(client);

    CreateFunctionLabels();
    AddPanel(AxisPanel::Create(client));

    lstGradels_ = new QListWidget(client);
    lstGradels_->setObjectName(QStringLiteral("lstGradels"));
    gradel::Twips::Place(lstGradels_, 1560, 5640, 6375, 840);
    lstGradels_->hide();

    CreateMenus();
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    adjustSize();

    Timer1.setInterval(100);
    connect(&Timer1, &QTimer::timeout, this, &frmGradel::Timer1_Timer);
    Timer1.start();

    qApp->installEventFilter(this);
}

frmGradel::~frmGradel() {
    qApp->removeEventFilter(this);
    // The controller's handlers reach into this window; none may run while it goes.
    if (SC) {
        SC->PositionUpdate = nullptr;
        SC->ScaleAdded = nullptr;
        SC->ScaleRemoved = nullptr;
        SC->ScaleComms = nullptr;
    }
}

void frmGradel::CreateFunctionLabels() {
    const int frameLeft[2] = {0, 8040};
    for (int f = 0; f < 2; ++f) {
        fraFunc[f] = new QGroupBox(client);
        fraFunc[f]->setObjectName(QStringLiteral("fraFunc(%1)").arg(f));
        gradel::Twips::Place(fraFunc[f], frameLeft[f], 0, 1455, 6615);
    }
    const QColor tipBack = QToolTip::palette().color(QPalette::ToolTipBase);
    for (int i = 0; i < kLabFuncCount; ++i) {
        auto* l = new QLabel(QStringLiteral("F%1").arg(i + 1), fraFunc[i < 6 ? 0 : 1]);
        l->setObjectName(QStringLiteral("labFunc(%1)").arg(i));
        gradel::Twips::Place(l, 120, 240 + 1080 * (i % 6), 1215, 855);
        l->setFont(QFont(kDesignFont, 12, QFont::Bold));
        l->setFrameStyle(QFrame::Box | QFrame::Plain);
        l->setLineWidth(1);
        l->setWordWrap(true);
        l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        QPalette p = l->palette();
        p.setColor(QPalette::Window, tipBack);
        l->setPalette(p);
        l->setAutoFillBackground(true);
        labFunc_[static_cast<std::size_t>(i)] = l;
    }
}

void frmGradel::CreateMenus() {
    CreateFileMenu();

    mnuPort = menuBar()->addMenu(QStringLiteral("&Comport"));
    mnuComPort.push_back(Entry(mnuPort, "Com1", true, true));

    mnuDemo = menuBar()->addMenu(QStringLiteral("&Demo"));
    mnuDemoAdd = {Entry(mnuDemo, "Add &X scale"), Entry(mnuDemo, "Add &Y scale")};
    mnuDemoRemove = {Entry(mnuDemo, "Remove X scale"), Entry(mnuDemo, "Remove Y Scale")};
    for (int i = 0; i < 2; ++i) {
        OnChosen(mnuDemoAdd[i], this, [this, i] { mnuDemoAdd_Click(i); });
        OnChosen(mnuDemoRemove[i], this, [this, i] { mnuDemoRemove_Click(i); });
    }

    mnuView = menuBar()->addMenu(QStringLiteral("&View"));
    mnuViewPanel = {Entry(mnuView, "&millimetre", true, true, true),
                    Entry(mnuView, "&Inch", true, true, true),
                    Entry(mnuView, "&Analogue Inch", true, true, true)};
    for (int k = 0; k < 3; ++k) {
        OnChosen(mnuViewPanel[k], this, [this, k] { mnuViewPanel_Click(k); });
    }
    mnuView->menuAction()->setVisible(false);
    mnuView->menuAction()->setEnabled(false);

    CreatePopupMenus();
}

void frmGradel::CreateFileMenu() {
    mnuFile = menuBar()->addMenu(QStringLiteral("&File"));
    mnuFileSpeed = {Entry(mnuFile, "&Slow", false, true, false),
                    Entry(mnuFile, "&Fast", false, true, true)};
    mnusep = HiddenSeparator(mnuFile);
    mnuFileType = {Entry(mnuFile, "&Hex ", false, true), Entry(mnuFile, "&Decimal", false, true),
                   Entry(mnuFile, "&Auto", false, true)};
    mnusep1 = HiddenSeparator(mnuFile);
    mnuFileExit = Entry(mnuFile, "E&xit");
    for (int i = 0; i < 2; ++i) {
        OnChosen(mnuFileSpeed[i], this, [this, i] { mnuFileSpeed_Click(i); });
    }
    for (int i = 0; i < 3; ++i) {
        OnChosen(mnuFileType[i], this, [this, i] { mnuFileType_Click(i); });
    }
    OnChosen(mnuFileExit, this, [this] { mnuFileExit_Click(); });
}

// The pop-up menus' entries are connected by the axis controls that show them.
void frmGradel::CreatePopupMenus() {
    mnuPopupAnalogue = new QMenu(QStringLiteral("Popup1"), this);
    mnuPopupAnalogueCopy = Entry(mnuPopupAnalogue, "&Copy (Analogue)");
    mnuPopupDivisions = {Entry(mnuPopupAnalogue, "&16ths", true, true),
                         Entry(mnuPopupAnalogue, "&32nds", true, true),
                         Entry(mnuPopupAnalogue, "&64ths", true, true, true)};
    const int divisions[3] = {16, 32, 64};
    for (int k = 0; k < 3; ++k) mnuPopupDivisions[k]->setData(divisions[k]);

    mnuPopupInch = new QMenu(QStringLiteral("Popup2"), this);
    mnuPopupInchCopy = Entry(mnuPopupInch, "&Copy (Inch)");
    mnuPopupMM = new QMenu(QStringLiteral("Popup3"), this);
    mnuPopupMMCopy = Entry(mnuPopupMM, "&Copy (mm)");
    WirePopupMenus();
}

// Centres the window with its frame, which is known once the window exists on the screen.
void frmGradel::showEvent(QShowEvent* event) {
    if (!centred_) {
        centred_ = true;
        CentreOnScreen();
    }
    QMainWindow::showEvent(event);
}

void frmGradel::CentreOnScreen() {
    const QScreen* s = screen();
    if (!s) return;
    const QRect area = s->geometry();
    move(area.x() + (area.width() - frameGeometry().width()) / 2,
         area.y() + (area.height() - frameGeometry().height()) / 2);
}

// ---- Start-up ----

int16_t frmGradel::SavedPortNumber(const QString& text) {
    const double n = std::nearbyint(gradel::Sfmt::NumericValue(text.toStdString()));
    if (!(n >= std::numeric_limits<int16_t>::min() && n <= std::numeric_limits<int16_t>::max())) {
        return 0;
    }
    return static_cast<int16_t>(n);
}

void frmGradel::Load() {
    if (const QScreen* s = screen())
        Readouts.SetFrameMs(ReadoutPacer::FrameMsFor(s->refreshRate()));
    SC = std::make_unique<gradel::clsScaleControl>();
    SC->PositionUpdate = [this](gradel::clsGradel& s) { SC_PositionUpdate(s); };
    SC->ScaleAdded = [this](gradel::clsGradel& s) { SC_ScaleAdded(s); };
    SC->ScaleRemoved = [this](const std::string& key) { SC_ScaleRemoved(key); };
    SC->ScaleComms = [this](const std::string& message) { SC_ScaleComms(message); };

    gradel::clsIniFile ini;
    CheckComports();
    InitMenu();
    const int16_t port = SavedPortNumber(ini.GetIni("Comms", "port", "0"));
    TogglePort(port);
    for (QAction* entry : mnuComPort) {
        entry->setChecked(gradel::Sfmt::NumericValue(entry->text().toStdString()) == port);
    }
}

// ---- Panels ----

void frmGradel::AddPanel(AxisPanel panel) {
    const int i = static_cast<int>(panels_.size());
    panel.fraAxis->setObjectName(QStringLiteral("fraAxis(%1)").arg(i));
    panels_.push_back(panel);
    WirePanel(i);
}

AxisPanel& frmGradel::NewPanel() {
    AddPanel(AxisPanel::Create(client));
    return panels_.back();
}

void frmGradel::Resize_form() {
    int32_t y = 0;
    const int32_t step =
        static_cast<int32_t>(std::lround(gradel::Twips::FromPx(panels_[0].fraAxis->height())));
    for (int i = 0; i < lstGradels_->count(); ++i) {
        bool ok = false;
        const int p = lstGradels_->item(i)->data(Qt::UserRole).toInt(&ok);
        if (!ok || p < 0 || p >= static_cast<int>(panels_.size())) continue;
        QGroupBox* frame = panels_[static_cast<std::size_t>(p)].fraAxis;
        frame->move(frame->x(), gradel::Twips::ToPx(y));
        y += step;
    }
    FitPanelColumn(y);
    InitMenu();
}

QLabel* frmGradel::labFunc(int i) {
    if (i < 0 || i >= kLabFuncCount) return nullptr;
    return labFunc_[static_cast<std::size_t>(i)];
}

// ---- Key routing ----

void frmGradel::Form_KeyDown(int& KeyCode, int Shift) {
    HandleKey(KeyCode, Shift);
}

void frmGradel::labFunc_Click(int i) {
    int code = gradel::VirtualKey::kF1 + i;
    HandleKey(code, 0);
}

void frmGradel::fraAxis_DblClick(int i) {
    RemovePanel(gradel::Tag(panels_[static_cast<std::size_t>(i)].fraAxis));
}

bool frmGradel::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::KeyPress:
            return PreviewKey(watched, static_cast<QKeyEvent*>(event));
        case QEvent::MouseButtonRelease:
            return PreviewLabelClick(watched, event);
        case QEvent::MouseButtonDblClick:
            return PreviewFrameDblClick(watched, event);
        default:
            return false;
    }
}

bool frmGradel::PreviewKey(QObject* watched, QKeyEvent* event) {
    if (event == forwarding_ || !watched->isWidgetType()) return false;
    if (static_cast<QWidget*>(watched)->window() != this) return false;
    int code = gradel::VirtualKey::FromEvent(*event);
    if (code == 0) return false;  // a key without a code goes to the controls untouched
    QPointer<QObject> target(watched);
    Form_KeyDown(code, gradel::VirtualKey::ShiftState(*event));
    event->accept();
    if (code == 0 || !target) return true;
    // Hand the key on to the controls as a copy, so that its way up through the parents is not
    // previewed a second time.
    std::unique_ptr<QEvent> copy(event->clone());
    QEvent* outer = forwarding_;
    forwarding_ = copy.get();
    QCoreApplication::sendEvent(target, copy.get());
    forwarding_ = outer;
    return true;
}

bool frmGradel::PreviewLabelClick(QObject* watched, QEvent* event) {
    const auto* e = static_cast<QMouseEvent*>(event);
    if (e->button() != Qt::LeftButton) return false;
    for (int i = 0; i < kLabFuncCount; ++i) {
        QLabel* l = labFunc_[static_cast<std::size_t>(i)];
        if (watched == l && l->rect().contains(e->position().toPoint())) {
            labFunc_Click(i);
            return true;
        }
    }
    return false;
}

bool frmGradel::PreviewFrameDblClick(QObject* watched, QEvent* event) {
    const auto* e = static_cast<QMouseEvent*>(event);
    if (e->button() != Qt::LeftButton) return false;
    for (std::size_t i = 0; i < panels_.size(); ++i) {
        QGroupBox* frame = panels_[i].fraAxis;
        // Only the frame's own surface: a double click on one of its controls is theirs.
        if (watched == frame && !frame->childAt(e->position().toPoint())) {
            fraAxis_DblClick(static_cast<int>(i));
            return true;
        }
    }
    return false;
}

// ---- Menus, timer, closing ----

void frmGradel::mnuFileExit_Click() {
    if (PortOpen()) ClosePort();
    close();
}

void frmGradel::mnuViewPanel_Click(int k) {
    mnuViewPanel[k]->setChecked(!mnuViewPanel[k]->isChecked());
    AxisPanel& p = panels_[0];
    p.ddMM->setVisible(mnuViewPanel[0]->isChecked());
    p.ddInch->setVisible(mnuViewPanel[1]->isChecked());
    p.AnalogueDial_->setVisible(mnuViewPanel[2]->isChecked());
}

void frmGradel::Timer1_Timer() {
    PollKeypad();
    PollCts();
}

void frmGradel::closeEvent(QCloseEvent* event) {
    if (PortOpen()) ClosePort();
    event->accept();
}
