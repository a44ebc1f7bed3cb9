#include "panels/HoleCircleGuide.h"

#include "panels/AxisPanel.h"
#include "panels/PanelStack.h"
#include "scale/Scale.h"

namespace gradel {

HoleCircleGuide::HoleCircleGuide(PanelStack& panels) : panels_(panels) {}

void HoleCircleGuide::start(const HoleCircleRequest& request) {
    stop();
    HoleCircleRequest circle = request;
    // A length as a panel shows it, back to a position: halved in X2 mode.
    const auto position = [this](const QString& key, double shownMm) {
        const AxisPanel* panel = panels_.panel(key);
        return panel ? static_cast<double>(panel->fromShown(1.0f)) * shownMm : shownMm;
    };
    circle.circle.centreFirst = position(request.firstAxis, request.circle.centreFirst);
    circle.circle.centreSecond = position(request.secondAxis, request.circle.centreSecond);
    request_ = circle;
    index_ = 0;
    aim();
}

void HoleCircleGuide::step(int by) {
    if (!request_) return;
    const int n = request_->circle.holes;
    index_ = ((index_ + by) % n + n) % n;
    aim();
}

void HoleCircleGuide::stop() {
    if (!request_) return;
    for (const QString& key : {request_->firstAxis, request_->secondAxis})
        if (AxisPanel* panel = panels_.panel(key)) panel->setTarget(std::nullopt);
    request_.reset();
}

std::optional<float> HoleCircleGuide::targetInch(const QString& key) const {
    if (!request_ || (key != request_->firstAxis && key != request_->secondAxis))
        return std::nullopt;
    const auto [first, second] = holePosition(request_->circle, index_);
    const double mm = key == request_->firstAxis ? first : second;
    return static_cast<float>(mm / Scale::kMmPerInch);
}

std::optional<double> HoleCircleGuide::shownTargetMm(const QString& key) const {
    const std::optional<float> inch = targetInch(key);
    if (!inch) return std::nullopt;
    const AxisPanel* panel = panels_.panel(key);
    return static_cast<double>(Scale::toMm(panel ? panel->shown(*inch) : *inch));
}

void HoleCircleGuide::aim() {
    for (const QString& key : {request_->firstAxis, request_->secondAxis})
        if (AxisPanel* panel = panels_.panel(key)) panel->setTarget(targetInch(key));
}

}  // namespace gradel
