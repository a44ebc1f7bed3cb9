#include "scale/ScaleList.h"

#include <algorithm>

#include "base/Failure.h"

namespace gradel {

namespace {

// Keys are compared with ASCII letters folded; a box only ever sends ASCII keys.
bool sameKey(const std::string& a, const std::string& b) {
    auto fold = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [&](char x, char y) { return fold(x) == fold(y); });
}

}  // namespace

ScaleList::Ptr ScaleList::add(const std::string& key) {
    if (key.empty()) throw Failure(Fault::InvalidArgument);
    if (position(key) != records_.end()) throw Failure(Fault::DuplicateScale);
    return records_.emplace_back(std::make_shared<Scale>(key));
}

ScaleList::Ptr ScaleList::find(const std::string& key) const {
    const auto it = position(key);
    return it == records_.end() ? nullptr : *it;
}

ScaleList::Ptr ScaleList::item(const std::string& key) const {
    Ptr record = find(key);
    if (!record) throw Failure(Fault::NoSuchScale);
    return record;
}

void ScaleList::remove(const std::string& key) {
    const auto it = position(key);
    if (it == records_.end()) throw Failure(Fault::NoSuchScale);
    records_.erase(it);
}

void ScaleList::removeRecord(const Ptr& record) {
    const auto it = std::find(records_.begin(), records_.end(), record);
    if (it != records_.end()) records_.erase(it);
}

std::vector<ScaleList::Ptr>::const_iterator ScaleList::position(const std::string& key) const {
    return std::find_if(records_.begin(), records_.end(),
                        [&](const Ptr& record) { return sameKey(record->key(), key); });
}

}  // namespace gradel
