#include "window/AxisControls.h"

#include <QAction>
#include <QCursor>
#include <QGroupBox>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>

#include "controls/AnalogueDial.h"
#include "controls/DigitalDial.h"
#include "panels/IGradelWindow.h"
#include "panels/modScales.h"
#include "scale/clsScaleControl.h"
#include "window/IClipboard.h"
#include "window/winsys/Tag.h"
#include "window/winsys/Twips.h"

namespace {

constexpr double kSlowInchPerTwip = 0.00001;  // left button
constexpr double kFastInchPerTwip = 0.0001;   // right button

std::string Key(const QString& SCid) {
    return SCid.toStdString();
}

}  // namespace

AxisControls::AxisControls(IGradelWindow& window,
                           const std::unique_ptr<gradel::clsScaleControl>& sc,
                           IClipboard& clipboard, QObject* parent)
    : QObject(parent), window_(window), SC(sc), clipboard_(&clipboard) {}

void AxisControls::SetMenus(const AxisMenus& menus) {
    menus_ = menus;
    for (int k = 0; k < static_cast<int>(menus_.mnuPopupDivisions.size()); ++k) {
        QAction* entry = menus_.mnuPopupDivisions[static_cast<std::size_t>(k)];
        if (!entry) continue;
        entry->setCheckable(true);
        connect(entry, &QAction::triggered, this, [this, k] { mnuPopupDivisions_Click(k); });
    }
    if (menus_.mnuPopupAnalogueCopy)
        connect(menus_.mnuPopupAnalogueCopy, &QAction::triggered, this,
                [this] { mnuPopupAnalogueCopy_Click(); });
    if (menus_.mnuPopupInchCopy)
        connect(menus_.mnuPopupInchCopy, &QAction::triggered, this,
                [this] { mnuPopupInchCopy_Click(); });
    if (menus_.mnuPopupMMCopy)
        connect(menus_.mnuPopupMMCopy, &QAction::triggered, this,
                [this] { mnuPopupMMCopy_Click(); });
}

void AxisControls::ConnectPanel(int i) {
    const AxisPanel p = window_.Panels().at(static_cast<std::size_t>(i));
    connect(p.chkREV, &QPushButton::toggled, this, [this, i] { chkREV_Click(i); });
    connect(p.chkABS, &QPushButton::toggled, this, [this, i] { ShowAgain(i); });
    connect(p.chkX2, &QPushButton::toggled, this, [this, i] { ShowAgain(i); });
    connect(p.cmdRS, &QPushButton::clicked, this, [this, i] { cmdRS_Click(i); });
    connect(p.AnalogueDial_, &AnalogueDial::RightClick, this,
            [this, i] { AnalogueDial_RightClick(i); });
    connect(p.ddInch, &DigitalDial::RightClick, this, [this, i] { ddInch_RightClick(i); });
    connect(p.ddMM, &DigitalDial::RightClick, this, [this, i] { ddMM_RightClick(i); });
    p.cmdAdj->setProperty("AxisPanelIndex", i);
    p.cmdAdj->installEventFilter(this);
}

// ---- per-scale operations ----

void AxisControls::ResetRel(const QString& SCid) {
    if (!SC) return;
    SC->ResetRelative(Key(SCid));
    SC->Update(Key(SCid));
}

void AxisControls::ResetAbsolute(const QString& SCid) {
    if (SC) SC->ResetAbsolute(Key(SCid));
}

void AxisControls::Toggle(const QString& SCid, QPushButton* AxisPanel::*chk) {
    // Copied: flipping Rev runs its handler, which may reach back into the window.
    const std::vector<AxisPanel> panels = window_.Panels();
    for (const AxisPanel& p : panels) {
        QPushButton* box = p.*chk;
        if (gradel::Tag(box) == SCid) AxisPanel::SetValue(box, 1 - AxisPanel::Value(box));
    }
}

void AxisControls::ToggleABS(const QString& SCid) {
    Toggle(SCid, &AxisPanel::chkABS);
}
void AxisControls::ToggleX2(const QString& SCid) {
    Toggle(SCid, &AxisPanel::chkX2);
}
void AxisControls::ToggleReverse(const QString& SCid) {
    Toggle(SCid, &AxisPanel::chkREV);
}

float AxisControls::GetRelativeInch(const QString& SCid) {
    if (!SC) return 0;
    const float r = SC->GetRelativeInch(Key(SCid));
    return modScales::IsX2(window_, SCid) ? 2 * r : r;
}

// The readouts follow at once: a box in poll mode (or a demo scale) may send nothing more, and
// the panel must not go on showing the old relative value.
void AxisControls::SetRelativeInch(const QString& SCid, float value) {
    if (!SC) return;
    const std::string key = Key(SCid);
    SC->SetRelativeInch(key, modScales::IsX2(window_, SCid) ? value / 2 : value);
    if (SC->Scales().Exists(key)) SC->Update(key);
}

// ---- panel controls ----

QString AxisControls::PanelKey(int i) const {
    return gradel::Tag(window_.Panels().at(static_cast<std::size_t>(i)).fraAxis);
}

void AxisControls::chkREV_Click(int i) {
    if (!SC) return;
    const QPushButton* box = window_.Panels().at(static_cast<std::size_t>(i)).chkREV;
    SC->Reverse(Key(gradel::Tag(box)), AxisPanel::Value(box) == 1);
}

// ABS and X2 change what the panel shows, so it shows its scale again at once instead of
// waiting for the next reading, which a box in poll mode may never send.
void AxisControls::ShowAgain(int i) {
    const std::string key = Key(PanelKey(i));
    if (SC && SC->Scales().Exists(key)) SC->Update(key);
}

void AxisControls::cmdRS_Click(int i) {
    ResetRel(gradel::Tag(window_.Panels().at(static_cast<std::size_t>(i)).cmdRS));
}

void AxisControls::cmdAdj_MouseDown(int i, float yTwips) {
    if (!SC) return;
    DragStartY_ = yTwips;
    DragStartValue_ = SC->GetRelativeInch(Key(PanelKey(i)));
}

void AxisControls::cmdAdj_MouseMove(int i, Qt::MouseButtons buttons, float yTwips) {
    const std::optional<float> value = DragValue(DragStartY_, yTwips, DragStartValue_, buttons);
    if (!value || !SC) return;
    const std::string key = Key(PanelKey(i));
    SC->SetRelativeInch(key, *value);
    SC->Update(key);
}

std::optional<float> AxisControls::DragValue(float startY, float y, float startValue,
                                             Qt::MouseButtons buttons) {
    double k = 0;
    if (buttons == Qt::MouseButtons(Qt::LeftButton))
        k = kSlowInchPerTwip;
    else if (buttons == Qt::MouseButtons(Qt::RightButton))
        k = kFastInchPerTwip;
    else
        return std::nullopt;
    return static_cast<float>((static_cast<double>(startY) - y) * k + startValue);
}

bool AxisControls::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick ||
        type == QEvent::MouseMove) {
        const QVariant index = watched->property("AxisPanelIndex");
        if (index.isValid()) {
            const auto* mouse = static_cast<QMouseEvent*>(event);
            const auto y = static_cast<float>(gradel::Twips::FromPx(mouse->position().y()));
            if (type == QEvent::MouseMove)
                cmdAdj_MouseMove(index.toInt(), mouse->buttons(), y);
            else
                cmdAdj_MouseDown(index.toInt(), y);
        }
    }
    return QObject::eventFilter(watched, event);
}

// ---- pop-up menus ----

void AxisControls::ShowMenu(QMenu* menu) {
    if (!menu) return;
    if (showMenu_)
        showMenu_(menu);
    else
        menu->popup(QCursor::pos());
}

void AxisControls::AnalogueDial_RightClick(int i) {
    PopupIndex_ = static_cast<int16_t>(i);
    const int32_t divisions =
        window_.Panels().at(static_cast<std::size_t>(i)).AnalogueDial_->Divisions();
    for (QAction* entry : menus_.mnuPopupDivisions)
        if (entry) entry->setChecked(entry->data().toInt() == divisions);
    ShowMenu(menus_.mnuPopupAnalogue);
}

void AxisControls::ddInch_RightClick(int i) {
    PopupIndex_ = static_cast<int16_t>(i);
    ShowMenu(menus_.mnuPopupInch);
}

void AxisControls::ddMM_RightClick(int i) {
    PopupIndex_ = static_cast<int16_t>(i);
    ShowMenu(menus_.mnuPopupMM);
}

void AxisControls::mnuPopupDivisions_Click(int k) {
    for (std::size_t j = 0; j < menus_.mnuPopupDivisions.size(); ++j)
        if (QAction* entry = menus_.mnuPopupDivisions[j])
            entry->setChecked(static_cast<int>(j) == k);
    const QAction* chosen = menus_.mnuPopupDivisions.at(static_cast<std::size_t>(k));
    window_.Panels()
        .at(static_cast<std::size_t>(PopupIndex_))
        .AnalogueDial_->SetDivisions(chosen->data().toInt());
}

void AxisControls::Copy(const QString& text) {
    clipboard_->Clear();
    clipboard_->SetText(text);
}

void AxisControls::mnuPopupAnalogueCopy_Click() {
    const AxisPanel& p = window_.Panels().at(static_cast<std::size_t>(PopupIndex_));
    Copy(p.AnalogueDial_->Reading() + QLatin1Char('"'));
}

void AxisControls::mnuPopupInchCopy_Click() {
    Copy(window_.Panels().at(static_cast<std::size_t>(PopupIndex_)).ddInch->Reading());
}

void AxisControls::mnuPopupMMCopy_Click() {
    Copy(window_.Panels().at(static_cast<std::size_t>(PopupIndex_)).ddMM->Reading());
}
