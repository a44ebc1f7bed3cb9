#pragma once
// The scale records of one controller, in the order they were added. Keys are looked up
// without regard to letter case. Records are shared so that an event handler holding one
// survives its removal.
#include <memory>
#include <string>
#include <vector>

#include "scale/Scale.h"

namespace gradel {

class ScaleList {
  public:
    using Ptr = std::shared_ptr<Scale>;

    // A new record under `key`; a key already present throws Failure(Fault::DuplicateScale),
    // an empty one Failure(Fault::InvalidArgument).
    Ptr add(const std::string& key);
    // The record of `key`, or null.
    Ptr find(const std::string& key) const;
    // The record of `key`; throws Failure(Fault::NoSuchScale) when there is none.
    Ptr item(const std::string& key) const;
    bool contains(const std::string& key) const { return find(key) != nullptr; }
    // Removes the record of `key`; throws Failure(Fault::NoSuchScale) when there is none.
    void remove(const std::string& key);
    // Removes this very record if it is still listed (a handler may have taken it out, or put
    // another record under the same key).
    void removeRecord(const Ptr& record);

    int count() const { return static_cast<int>(records_.size()); }
    bool isEmpty() const { return records_.empty(); }
    // A copy, safe to walk while handlers change the list.
    std::vector<Ptr> snapshot() const { return records_; }
    std::vector<Ptr>::const_iterator begin() const { return records_.begin(); }
    std::vector<Ptr>::const_iterator end() const { return records_.end(); }

  private:
    std::vector<Ptr>::const_iterator position(const std::string& key) const;

    std::vector<Ptr> records_;
};

}  // namespace gradel
