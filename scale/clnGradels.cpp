#include "scale/clnGradels.h"

#include <algorithm>

#include "scale/ErrorDialog.h"

namespace gradel {

namespace {

std::string Folded(const std::string& key) {
    std::string f = key;
    for (char& c : f)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return f;
}

}  // namespace

clnGradels::Ptr clnGradels::Add(const std::string& sKey) {
    std::string folded = Folded(sKey);
    if (!folded.empty() && Find(sKey) != entries_.end()) throw RunTimeError::DuplicateKey();
    auto record = std::make_shared<clsGradel>();
    entries_.push_back(Entry{std::move(folded), record});
    return record;
}

clnGradels::Ptr clnGradels::Item(const std::string& key) const {
    const auto it = Find(key);
    if (it == entries_.end()) throw RunTimeError::InvalidCall();
    return it->record;
}

clnGradels::Ptr clnGradels::Item(int32_t position) const {
    if (!Exists(position)) throw RunTimeError::SubscriptOutOfRange();
    return entries_[static_cast<std::size_t>(position - 1)].record;
}

bool clnGradels::Exists(const std::string& key) const {
    return Find(key) != entries_.end();
}

bool clnGradels::Exists(int32_t position) const {
    return position >= 1 && position <= Count();
}

void clnGradels::Remove(const std::string& key) {
    const auto it = Find(key);
    if (it == entries_.end()) throw RunTimeError::InvalidCall();
    entries_.erase(it);
}

void clnGradels::Remove(int32_t position) {
    if (!Exists(position)) throw RunTimeError::SubscriptOutOfRange();
    entries_.erase(entries_.begin() + (position - 1));
}

std::vector<clnGradels::Ptr> clnGradels::Snapshot() const {
    std::vector<Ptr> records;
    records.reserve(entries_.size());
    for (const Entry& e : entries_) records.push_back(e.record);
    return records;
}

std::vector<clnGradels::Entry>::const_iterator clnGradels::Find(const std::string& key) const {
    if (key.empty()) return entries_.end();  // records stored without a key are never found
    const std::string folded = Folded(key);
    return std::find_if(entries_.begin(), entries_.end(),
                        [&](const Entry& e) { return e.foldedKey == folded; });
}

}  // namespace gradel
