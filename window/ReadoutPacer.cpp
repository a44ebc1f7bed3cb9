#include "window/ReadoutPacer.h"

#include <algorithm>
#include <cmath>

namespace gradel {

namespace {

// What a frame takes from its timer to the end of its paint, with room to spare: a late timer,
// reading the text that waited, laying the readouts out and painting them (measured at 1 ms
// and under at the box's full line rate).
constexpr qint64 kShowingMs = 2;

}  // namespace

ReadoutPacer::ReadoutPacer(std::function<void(const std::string& key)> show, QObject* parent)
    : QObject(parent), show_(std::move(show)) {
    timer_.setSingleShot(true);
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, &ReadoutPacer::flush);
}

int ReadoutPacer::frameMsFor(double refreshRate) {
    if (!(refreshRate > 0)) refreshRate = 60;
    return std::clamp(static_cast<int>(std::ceil(1000.0 / refreshRate)), 8, 40);
}

bool ReadoutPacer::changed(const std::string& key) {
    if (streamDepth_ == 0 || frameMs_ <= 0) {
        // Shown now: a change held for this scale would only bring the same state again.
        pending_.erase(std::remove(pending_.begin(), pending_.end(), key), pending_.end());
        ++immediate_;
        return true;
    }
    // Held at least until the text that brought it has been read, so that all the changes of
    // one arrival are shown together, and until about a frame has passed since the last showing.
    if (std::find(pending_.begin(), pending_.end(), key) == pending_.end()) pending_.push_back(key);
    // The first change held for a frame is on the screen within a frame's length: the frame
    // begins early enough to leave time for taking in what waits and for painting it.
    if (!timer_.isActive() && !collecting_) {
        const qint64 untilFrame = sinceShown_.isValid() ? frameMs_ - sinceShown_.elapsed() : 0;
        const qint64 wait = std::min<qint64>(untilFrame, frameMs_ - kShowingMs);
        timer_.start(static_cast<int>(std::max<qint64>(0, wait)));
    }
    return false;
}

void ReadoutPacer::flush() {
    if (collect_) {
        collecting_ = true;
        collect_();
        collecting_ = false;
    }
    std::vector<std::string> keys;
    keys.swap(pending_);
    if (keys.empty()) return;  // shown meanwhile by other means
    sinceShown_.start();
    for (const std::string& key : keys) {
        ++held_;
        if (show_) show_(key);
    }
}

}  // namespace gradel
