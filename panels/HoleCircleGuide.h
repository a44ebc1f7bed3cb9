#pragma once
// Leads the operator round a bolt-hole circle: the panels of its two axes show the distance to
// go to the present hole (their relative reading less the hole's position), hole after hole,
// until the circle is put away and they show their readings again.
//
// The centre comes as the panels show their relative readings, doubled in X2 mode, like every
// value typed for an axis; the holes are positions on the machine, so a panel in X2 mode shows
// the doubled distance to go and reads 0 at the hole all the same.
#include <QString>
#include <optional>

#include "panels/HoleCircleDialog.h"

namespace gradel {

class PanelStack;

class HoleCircleGuide {
  public:
    explicit HoleCircleGuide(PanelStack& panels);

    // Puts the circle up at its hole 1.
    void start(const HoleCircleRequest& request);
    // The next hole (+1) or the one before (-1), round the circle.
    void step(int by);
    // The panels show their readings again.
    void stop();

    bool isActive() const { return request_.has_value(); }
    int hole() const { return index_ + 1; }
    int holes() const { return request_ ? request_->circle.holes : 0; }
    // The present hole's position on `key` in millimetres as its panel shows lengths; nothing
    // for an axis that is not one of the circle's.
    std::optional<double> shownTargetMm(const QString& key) const;

  private:
    std::optional<float> targetInch(const QString& key) const;
    void aim();

    PanelStack& panels_;
    std::optional<HoleCircleRequest> request_;  // the centre converted to positions
    int index_ = 0;
};

}  // namespace gradel
