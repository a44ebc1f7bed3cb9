#pragma once
// The scale records of one controller: an ordered collection in which a record may be stored
// under a text key. Iteration follows insertion order; key lookups ignore letter case.
// Records are shared so that an event handler holding one survives its removal.
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "scale/clsGradel.h"

namespace gradel {

class clnGradels {
  public:
    using Ptr = std::shared_ptr<clsGradel>;

    // Makes a record; stored under sKey unless it is empty. A key already present throws
    // RunTimeError::DuplicateKey().
    Ptr Add(const std::string& sKey = "");
    // By key (case-insensitive) or by position counted from 1; throws InvalidCall() if absent.
    Ptr Item(const std::string& key) const;
    Ptr Item(int32_t position) const;
    int32_t Count() const { return static_cast<int32_t>(entries_.size()); }
    bool Exists(const std::string& key) const;
    bool Exists(int32_t position) const;
    void Remove(const std::string& key);  // throws InvalidCall() if absent
    void Remove(int32_t position);

    // Insertion-order iteration over the records.
    class const_iterator;
    const_iterator begin() const;
    const_iterator end() const;
    std::vector<Ptr> Snapshot() const;  // a copy, safe to walk while handlers change the set

  private:
    struct Entry {
        std::string foldedKey;  // "" for a record stored without a key
        Ptr record;
    };
    std::vector<Entry>::const_iterator Find(const std::string& key) const;
    std::vector<Entry> entries_;

  public:
    class const_iterator {
      public:
        using iterator_category = std::forward_iterator_tag;
        using value_type = Ptr;
        using difference_type = std::ptrdiff_t;
        using pointer = const Ptr*;
        using reference = const Ptr&;

        explicit const_iterator(std::vector<Entry>::const_iterator it) : it_(it) {}
        const Ptr& operator*() const { return it_->record; }
        const Ptr* operator->() const { return &it_->record; }
        const_iterator& operator++() {
            ++it_;
            return *this;
        }
        const_iterator operator++(int) {
            const_iterator old = *this;
            ++it_;
            return old;
        }
        bool operator==(const const_iterator& o) const { return it_ == o.it_; }

      private:
        std::vector<Entry>::const_iterator it_;
    };
};

inline clnGradels::const_iterator clnGradels::begin() const {
    return const_iterator(entries_.begin());
}
inline clnGradels::const_iterator clnGradels::end() const {
    return const_iterator(entries_.end());
}

}  // namespace gradel
