#pragma once
// The main window as the panel and menu modules see it: its control arrays, its function
// labels, its panel directory and its per-scale operations. The window implements it; the
// modules act on whatever window they are given, so they never reach into its internals.
#include <QString>
#include <vector>

#include "panels/AxisPanel.h"

class QLabel;
class QListWidget;
class QWidget;

class IGradelWindow {
public:
    virtual ~IGradelWindow() = default;

    // Control arrays: element 0 is the template; NewPanel() appends a hidden copy of it.
    virtual std::vector<AxisPanel>& Panels() = 0;
    virtual AxisPanel& NewPanel() = 0;
    // The hidden panel directory: entry text = key, Qt::UserRole data = panel index.
    virtual QListWidget& lstGradels() = 0;
    virtual void Resize_form() = 0;

    // The twelve function labels, F1..F12; each carries a Tag.
    virtual QLabel* labFunc(int i) = 0;
    virtual int labFuncCount() const = 0;

    // Per-scale operations (SCid is the scale key).
    virtual void ResetRel(const QString& SCid) = 0;
    virtual void ResetAbsolute(const QString& SCid) = 0;
    virtual void ToggleABS(const QString& SCid) = 0;
    virtual void ToggleX2(const QString& SCid) = 0;
    virtual void ToggleReverse(const QString& SCid) = 0;
    virtual float GetRelativeInch(const QString& SCid) = 0;
    virtual void SetRelativeInch(const QString& SCid, float value) = 0;

    // The window that owns modal dialogs.
    virtual QWidget* Widget() = 0;
};
