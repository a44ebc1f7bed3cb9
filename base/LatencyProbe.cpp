#include "base/LatencyProbe.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace gradel {

void LatencyProbe::readingParsed(const std::string& key) {
    ++readings_;
    if (lastRead_ != Stamp{}) waiting_.try_emplace(key, lastRead_);
}

void LatencyProbe::showing(const std::string& key) {
    const auto it = waiting_.find(key);
    if (it == waiting_.end()) return;
    showing_ = it->second;
    waiting_.erase(it);
}

void LatencyProbe::carry(Stamp& pending) const {
    if (pending == Stamp{}) pending = showing_;
}

void LatencyProbe::painted(Stamp& pending, Stamp now) {
    ++paints_;
    if (pending == Stamp{}) return;
    samples_.push_back(std::chrono::duration<double, std::milli>(now - pending).count());
    pending = Stamp{};
}

LatencyProbe::Figures LatencyProbe::figures(std::vector<double> samples) {
    if (samples.empty()) return {};
    std::sort(samples.begin(), samples.end());
    const auto rank = [&](double p) {
        const auto n = static_cast<double>(samples.size());
        const auto i = static_cast<std::size_t>(std::max(1.0, std::ceil(p / 100.0 * n)));
        return samples[i - 1];
    };
    return {rank(50), rank(90), rank(99), samples.back()};
}

std::string LatencyProbe::summary() const {
    const Figures f = figures(samples_);
    char text[256];
    std::snprintf(text, sizeof text,
                  "latency_ms %.2f %.2f %.2f %.2f\nsamples %zu\nreadings %lld\npaints %lld\n",
                  f.median, f.p90, f.p99, f.max, samples_.size(), readings_, paints_);
    return text;
}

}  // namespace gradel
