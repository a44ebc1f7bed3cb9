#pragma once
// Tells which scales have gone silent: a scale whose box said it streams (mode 1 or 2) and
// from which no reading has come for more than a second is stale, and its readouts must not
// pass for live. A scale in poll mode (the demo scales among them) sends only when asked and is
// never stale.
//
// Readings are not timed as they come: a look at the scales, taken on a timer that runs anyway,
// compares each scale's reading count with the one it saw last and notes the time of the look
// at which it changed. The reading came before that look, so a second after it is more than a
// second of silence. The next reading makes a stale scale live again at once, when it is shown.
#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "scale/ScaleList.h"

namespace gradel {

class StaleWatch {
  public:
    using Clock = std::chrono::steady_clock;
    static constexpr std::chrono::milliseconds kSilence{1000};

    // A scale whose stale state changed.
    struct Change {
        std::string key;
        bool stale;
    };

    // A look at every scale at the time `now`: the scales that went stale or live since the
    // last look. A scale that has gone is forgotten (reported live if it was stale); one seen
    // for the first time, or just told to stream, gets a second before it can be stale.
    std::vector<Change> look(const ScaleList& scales, Clock::time_point now);

    // The scale is about to be shown: true when it was stale and a reading has come since, so
    // it is live from now on. Nothing to do while no scale is stale.
    bool revive(const Scale& scale) { return staleCount_ > 0 && reviveStale(scale); }

  private:
    struct Entry {
        std::weak_ptr<const Scale> record;
        const Scale* address;  // the record's, for comparing while the record lives
        std::string key;
        std::uint64_t count;
        Clock::time_point since;  // the look that saw the count change
        bool streams;
        bool stale = false;
        bool seen = true;  // by the present look
    };

    bool reviveStale(const Scale& scale);
    Entry* entry(const ScaleList::Ptr& record);

    std::vector<Entry> entries_;
    int staleCount_ = 0;
};

}  // namespace gradel
