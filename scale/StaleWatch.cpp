#include "scale/StaleWatch.h"

namespace gradel {

namespace {

bool streams(const Scale& scale) {
    return scale.mode() == 1 || scale.mode() == 2;
}

}  // namespace

std::vector<StaleWatch::Change> StaleWatch::look(const ScaleList& scales, Clock::time_point now) {
    std::vector<Change> changes;
    for (Entry& e : entries_) e.seen = false;
    for (const ScaleList::Ptr& record : scales) {
        Entry* e = entry(record);
        if (!e) {
            entries_.push_back({record, record.get(), record->key(), record->readingCount(), now,
                                streams(*record)});
            continue;
        }
        e->seen = true;
        if (e->count != record->readingCount() || (streams(*record) && !e->streams)) {
            e->count = record->readingCount();
            e->since = now;
        }
        e->streams = streams(*record);
        const bool stale = e->streams && now - e->since >= kSilence;
        if (stale == e->stale) continue;
        e->stale = stale;
        staleCount_ += stale ? 1 : -1;
        changes.push_back({e->key, stale});
    }
    // The scales that have gone; a new record under an old key is a new scale.
    for (const Entry& e : entries_)
        if (!e.seen && e.stale) {
            --staleCount_;
            changes.push_back({e.key, false});
        }
    std::erase_if(entries_, [](const Entry& e) { return !e.seen; });
    return changes;
}

StaleWatch::Entry* StaleWatch::entry(const ScaleList::Ptr& record) {
    for (Entry& e : entries_)
        if (e.address == record.get() && !e.record.expired()) return &e;
    return nullptr;
}

// The count stays as the last look saw it: the next look finds it changed and starts the
// second of silence from there.
bool StaleWatch::reviveStale(const Scale& scale) {
    for (Entry& e : entries_) {
        if (!e.stale || e.address != &scale || e.record.expired()) continue;
        if (scale.readingCount() == e.count) return false;
        e.stale = false;
        --staleCount_;
        return true;
    }
    return false;
}

}  // namespace gradel
