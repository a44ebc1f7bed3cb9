#pragma once
// A minimal window for the panel module: a template panel and its copies on a plain widget,
// the hidden panel directory, and a record of every re-layout and every Rev click.
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QWidget>
#include <utility>
#include <vector>

#include "panels/IGradelWindow.h"
#include "window/winsys/Tag.h"

class PanelHostFake : public IGradelWindow {
  public:
    PanelHostFake() : list_(&host_) {
        list_.hide();
        panels_.push_back(AxisPanel::Create(&host_));
        Watch(panels_.back());
    }

    std::vector<AxisPanel>& Panels() override { return panels_; }
    AxisPanel& NewPanel() override {
        panels_.push_back(AxisPanel::Create(&host_));
        Watch(panels_.back());
        return panels_.back();
    }
    QListWidget& lstGradels() override { return list_; }
    void Resize_form() override { layouts.push_back(ListKeys()); }
    QLabel* labFunc(int) override { return nullptr; }
    int labFuncCount() const override { return 0; }
    void ResetRel(const QString&) override {}
    void ResetAbsolute(const QString&) override {}
    void ToggleABS(const QString&) override {}
    void ToggleX2(const QString&) override {}
    void ToggleReverse(const QString&) override {}
    float GetRelativeInch(const QString&) override { return 0; }
    void SetRelativeInch(const QString&, float) override {}
    QWidget* Widget() override { return &host_; }

    // The directory as "key:index" entries, in list order.
    QStringList Directory() const {
        QStringList out;
        for (int r = 0; r < list_.count(); ++r)
            out << list_.item(r)->text() + ":" + list_.item(r)->data(Qt::UserRole).toString();
        return out;
    }
    QStringList ListKeys() const {
        QStringList out;
        for (int r = 0; r < list_.count(); ++r) out << list_.item(r)->text();
        return out;
    }

    std::vector<QStringList> layouts;                 // directory keys seen by each re-layout
    std::vector<std::pair<QString, bool>> revClicks;  // (Rev box tag, checked) per click

  private:
    void Watch(const AxisPanel& p) {
        QPushButton* rev = p.chkREV;
        QObject::connect(rev, &QPushButton::toggled,
                         [this, rev](bool on) { revClicks.emplace_back(gradel::Tag(rev), on); });
    }

    QWidget host_;
    QListWidget list_;
    std::vector<AxisPanel> panels_;
};
