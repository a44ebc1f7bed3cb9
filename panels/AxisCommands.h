#pragma once
// What the operator can do to one axis, by its key, in one place: the function keys and the
// panels' own buttons both come here. The scale controller holds the position; the panel holds
// how it is shown, so the values read and set here are the ones the panel shows (doubled in
// times-two mode). A key with no panel acts on the scale as it is.
#include <QString>

namespace gradel {

class AxisPanel;
class PanelStack;
class ScaleController;

class AxisCommands {
  public:
    AxisCommands(ScaleController& controller, PanelStack& panels);

    // Hooks a new panel's buttons to the commands below.
    void connectPanel(AxisPanel* panel);

    void zeroRelative(const QString& key);
    // Asks the box to zero the scale.
    void zeroAbsolute(const QString& key);
    void toggleAbsolute(const QString& key);
    void toggleTimesTwo(const QString& key);
    void toggleReverse(const QString& key);
    float relativeInch(const QString& key);
    void setRelativeInch(const QString& key, float inch);

    // Half: the relative reading becomes half of what it shows now (doubled in X2 mode).
    void halve(const QString& key);

    // The zero point the relative readings are measured from (0..9), for every axis.
    int zeroPoint() const;
    void setZeroPoint(int point);

    // Adj: from the scale's relative reading at the press, not the one shown.
    void startAdjust(const QString& key);
    void adjust(const QString& key, double inch);

  private:
    void show(const QString& key);

    ScaleController& controller_;
    PanelStack& panels_;
    float adjustStart_ = 0;
};

}  // namespace gradel
