#pragma once
// A window for module tests: twelve real function labels, a real panel directory and per-scale
// operations that only record their calls. Relative readings live in a map; an operation can
// be told to fail with a run-time fault a number of times.
#include <QLabel>
#include <QListWidget>
#include <QMap>
#include <QStringList>
#include <QWidget>
#include <memory>
#include <vector>

#include "panels/IGradelWindow.h"
#include "scale/ErrorDialog.h"

class FakeGradelWindow : public IGradelWindow {
  public:
    FakeGradelWindow() {
        for (int i = 0; i < 12; ++i) {
            labels_.push_back(new QLabel(QStringLiteral("F%1").arg(i + 1), &host_));
        }
        list_ = new QListWidget(&host_);
    }

    // Lists scales in the directory in the given order (panel index = position).
    void List(const QStringList& keys) {
        list_->clear();
        for (const QString& k : keys) {
            auto* item = new QListWidgetItem(k);
            item->setData(Qt::UserRole, list_->count());
            list_->addItem(item);
        }
    }

    QString Caption(int i) const { return labels_[static_cast<size_t>(i)]->text(); }
    QStringList Captions() const {
        QStringList out;
        for (QLabel* l : labels_) out << l->text();
        return out;
    }

    std::vector<AxisPanel>& Panels() override { return panels_; }
    AxisPanel& NewPanel() override { return panels_.emplace_back(); }
    QListWidget& lstGradels() override { return *list_; }
    void Resize_form() override { calls << QStringLiteral("Resize_form"); }
    QLabel* labFunc(int i) override { return labels_.at(static_cast<size_t>(i)); }
    int labFuncCount() const override { return static_cast<int>(labels_.size()); }

    void ResetRel(const QString& id) override { Record("ResetRel", id); }
    void ResetAbsolute(const QString& id) override { Record("ResetAbsolute", id); }
    void ToggleABS(const QString& id) override { Record("ToggleABS", id); }
    void ToggleX2(const QString& id) override { Record("ToggleX2", id); }
    void ToggleReverse(const QString& id) override { Record("ToggleReverse", id); }
    float GetRelativeInch(const QString& id) override {
        Record("GetRelativeInch", id);
        return relative.value(id, 0.0f);
    }
    void SetRelativeInch(const QString& id, float value) override {
        Record("SetRelativeInch", id);
        relative[id] = value;
    }
    QWidget* Widget() override { return &host_; }

    QStringList calls;              // "ResetRel X", "SetRelativeInch Y", ...
    QMap<QString, float> relative;  // relative reading per key, inches
    int failures = 0;               // the next calls that throw a run-time fault
    gradel::RunTimeError fault = gradel::RunTimeError::InvalidCall();

  private:
    void Record(const char* what, const QString& id) {
        calls << QString::fromLatin1(what) + u' ' + id;
        if (failures > 0) {
            --failures;
            throw fault;
        }
    }

    QWidget host_;
    std::vector<QLabel*> labels_;
    QListWidget* list_ = nullptr;
    std::vector<AxisPanel> panels_;
};
