#pragma once
// Measures how long the program takes from reading a reading's bytes off the port to the end of
// the paint that shows it: the wait a machinist has between moving the table and seeing it.
//
// Off in normal use: nothing is measured unless a probe has been made active (the window does
// so when GRADEL_LATENCY_LOG is set), and every place that feeds it checks one pointer first.
//
// How a stamp travels: the port's reader marks the time its bytes were read; each reading parsed
// from them leaves that stamp with its scale (the oldest one, while the scale waits to be
// shown); while a scale is being shown its stamp is handed to every readout whose text changes,
// which keeps the oldest stamp it has not painted yet; the readout's paint ends the wait. So a
// reading overtaken by a newer one before it reached the screen is not lost: the paint counts
// from the oldest read the readout had not shown, which is how long the user waited for it.
// Readings that change no readout's text change nothing on the screen and are not counted.
#include <chrono>
#include <map>
#include <string>
#include <vector>

namespace gradel {

class LatencyProbe {
  public:
    using Clock = std::chrono::steady_clock;
    using Stamp = Clock::time_point;  // Stamp{}: none

    // The probe in use, or null (normal use).
    static LatencyProbe* active() { return active_; }
    static void setActive(LatencyProbe* probe) { active_ = probe; }

    // Bytes were read from the port at `t`; readings parsed from them carry it.
    void markRead(Stamp t) { lastRead_ = t; }
    // A reading of scale `key` has been parsed from the bytes read last.
    void readingParsed(const std::string& key);
    // Scale `key` is being shown (until doneShowing): readouts it changes take its stamp.
    void showing(const std::string& key);
    void doneShowing() { showing_ = Stamp{}; }
    // A readout whose text changed keeps the oldest stamp it has not painted yet.
    void carry(Stamp& pending) const;
    // A readout's paint ended at `now`: the wait for its pending stamp is over.
    void painted(Stamp& pending, Stamp now);

    struct Figures {
        double median = 0, p90 = 0, p99 = 0, max = 0;  // milliseconds
    };
    // Nearest-rank percentiles of `samples` (milliseconds); all zero for none.
    static Figures figures(std::vector<double> samples);
    // The waits measured so far, in milliseconds, in the order of the paints.
    const std::vector<double>& samples() const { return samples_; }
    // What the harness reads: "latency_ms median p90 p99 max", samples, readings, paints.
    std::string summary() const;

  private:
    static inline LatencyProbe* active_ = nullptr;

    Stamp lastRead_{};
    Stamp showing_{};
    std::map<std::string, Stamp> waiting_;  // per scale: the oldest read not yet shown
    std::vector<double> samples_;
    long long readings_ = 0;
    long long paints_ = 0;
};

}  // namespace gradel
