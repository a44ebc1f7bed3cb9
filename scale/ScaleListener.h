#pragma once
// What the scale controller tells its owner. Every call is made synchronously inside the
// controller call that causes it, and a listener may call back into the controller (dataInput
// included). The default bodies ignore the event.
#include <string>

namespace gradel {

class Scale;

class ScaleListener {
  public:
    virtual ~ScaleListener() = default;
    // A scale's position (or its relative zero) changed: show it.
    virtual void positionChanged(Scale& /*scale*/) {}
    // The box reported a scale the controller did not know.
    virtual void scaleAdded(Scale& /*scale*/) {}
    // A scale has gone: the box disconnected it, or the link to the box was lost.
    virtual void scaleRemoved(const std::string& /*key*/) {}
    // A scale's zero points moved (the operator set one, or the box zeroed the scale).
    virtual void zeroPointsChanged(Scale& /*scale*/) {}
    // Another zero point became the active one, for every scale.
    virtual void activePointChanged(int /*point*/) {}
    // A command for the box ("I0" asks it to identify its scales, "Z" + key zeroes a scale).
    virtual void commandForBox(const std::string& /*command*/) {}
};

}  // namespace gradel
