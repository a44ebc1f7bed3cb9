#include "panels/modScales.h"

#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

#include "controls/AnalogueDial.h"
#include "controls/DigitalDial.h"
#include "scale/clsGradel.h"
#include "window/winsys/Tag.h"

namespace modScales {

namespace {

using gradel::SetTag;
using gradel::Tag;

constexpr int32_t kDialDivisions = 64;
constexpr int32_t kArrowFillStyle = 7;        // diagonal cross
constexpr uint32_t kArrowColour = 0xC0C0FFu;  // red 255, green 192, blue 192 (0x00BBGGRR)

// First panel (ascending index) whose frame carries `key`, or -1.
int FindPanel(IGradelWindow& window, const QString& key) {
    const auto& panels = window.Panels();
    for (std::size_t i = 0; i < panels.size(); ++i)
        if (Tag(panels[i].fraAxis) == key) return static_cast<int>(i);
    return -1;
}

bool IsListed(IGradelWindow& window, const QString& key) {
    QListWidget& list = window.lstGradels();
    for (int row = 0; row < list.count(); ++row)
        if (list.item(row)->text() == key) return true;
    return false;
}

// Lists `key` with item data `i`, at its place in key order.
void AddListEntry(IGradelWindow& window, const QString& key, int i) {
    QListWidget& list = window.lstGradels();
    int row = 0;
    while (row < list.count() && list.item(row)->text() <= key) ++row;
    auto* item = new QListWidgetItem(key);
    item->setData(Qt::UserRole, i);
    list.insertItem(row, item);
}

// A new panel: a hidden copy of the template whose controls are made visible and cleared.
int CreatePanel(IGradelWindow& window) {
    const AxisPanel p = window.NewPanel();  // copied: handlers may grow the vector
    p.fraButtons->setVisible(true);
    p.ddInch->setVisible(true);
    p.ddMM->setVisible(true);
    p.AnalogueDial_->setVisible(true);
    p.cmdRS->setVisible(true);
    p.cmdAdj->setVisible(true);
    p.chkX2->setVisible(true);
    AxisPanel::SetValue(p.chkX2, 0);
    p.chkREV->setVisible(true);
    AxisPanel::SetValue(p.chkREV, 0);
    p.chkABS->setVisible(true);
    AxisPanel::SetValue(p.chkABS, 0);
    p.labAxis->setVisible(true);
    p.fraAxis->setVisible(true);
    return static_cast<int>(window.Panels().size()) - 1;
}

}  // namespace

void AddPanel(IGradelWindow& window, const QString& key) {
    AxisPanel& tmpl = window.Panels().at(0);
    if (Tag(tmpl.fraAxis).isEmpty()) {
        // The entry goes in before the set-up so that its re-layout, and the function-key
        // menu drawn with it, already see the new axis.
        AddListEntry(window, key, 0);
        SetupPanel(window, key, 0);
        return;
    }
    const int existing = FindPanel(window, key);
    if (existing >= 0) {
        if (!IsListed(window, key)) AddListEntry(window, key, existing);
        window.Panels()[static_cast<std::size_t>(existing)].fraAxis->setVisible(true);
        window.Resize_form();
        return;
    }
    const int i = CreatePanel(window);
    AddListEntry(window, key, i);
    SetupPanel(window, key, static_cast<int16_t>(i));
}

void SetupPanel(IGradelWindow& window, const QString& key, int16_t i) {
    // Copied out: the set-up may run handlers, which must not see a stale vector reference.
    const AxisPanel p = window.Panels().at(static_cast<std::size_t>(i));
    p.fraAxis->setTitle(key + QStringLiteral(" Axis"));
    SetTag(p.fraAxis, key);
    p.fraAxis->setVisible(true);
    for (QObject* o : std::initializer_list<QObject*>{p.ddInch, p.ddMM, p.AnalogueDial_, p.cmdRS,
                                                      p.cmdAdj, p.chkX2, p.chkREV})
        SetTag(o, key);
    AxisPanel::SetValue(p.chkREV, 0);
    SetTag(p.chkABS, key);
    AxisPanel::SetValue(p.chkABS, 0);
    AxisPanel::SetValue(p.chkX2, 0);
    // A "Y" axis starts reversed; the box's click path passes that on to the controller.
    AxisPanel::SetValue(p.chkREV, key == QStringLiteral("Y") ? 1 : 0);
    SetTag(p.labAxis, key);
    p.labAxis->setText(key);
    p.cmdRS->setEnabled(true);
    p.cmdAdj->setEnabled(true);
    p.chkX2->setEnabled(true);
    p.AnalogueDial_->SetDivisions(kDialDivisions);
    p.AnalogueDial_->SetArrowFillStyle(kArrowFillStyle);
    p.AnalogueDial_->SetArrowColour(kArrowColour);
    p.AnalogueDial_->SetArrowEnable(true);
    p.ddInch->SetUnit(QStringLiteral("\""));
    p.ddInch->SetFormatString(QStringLiteral("0.0005"));
    p.ddMM->SetUnit(QStringLiteral("mm"));
    p.ddMM->SetFormatString(QStringLiteral("0.00"));
    p.ddInch->SetEnabled(true);
    p.ddMM->SetEnabled(true);
    window.Resize_form();
}

void ShowPosition(IGradelWindow& window, const gradel::clsGradel& scale) {
    const int i = FindPanel(window, QString::fromStdString(scale.Key()));
    if (i < 0) return;
    const AxisPanel p = window.Panels()[static_cast<std::size_t>(i)];
    const float f = static_cast<float>(1 + AxisPanel::Value(p.chkX2));
    const bool absolute = AxisPanel::Value(p.chkABS) == 1;
    p.cmdRS->setEnabled(!absolute);
    const float inch = (absolute ? scale.AbsValueInch() : scale.RelValueInch()) * f;
    const float mm = (absolute ? scale.AbsValueMM() : scale.RelValueMM()) * f;
    p.ddInch->SetValue(inch);
    p.AnalogueDial_->SetValue(inch);
    p.ddMM->SetValue(mm);
}

void RemovePanel(IGradelWindow& window, const QString& key) {
    const int i = FindPanel(window, key);
    if (i < 0) return;
    window.Panels()[static_cast<std::size_t>(i)].fraAxis->setVisible(false);
    QListWidget& list = window.lstGradels();
    for (int row = 0; row < list.count(); ++row) {
        if (list.item(row)->text() == key) {
            delete list.takeItem(row);
            break;
        }
    }
    window.Resize_form();
}

bool IsX2(IGradelWindow& window, const QString& key) {
    bool result = false;
    for (const AxisPanel& p : window.Panels())
        if (Tag(p.fraAxis) == key) result = AxisPanel::Value(p.chkX2) == 1;
    return result;
}

}  // namespace modScales
