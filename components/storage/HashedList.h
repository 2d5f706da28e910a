#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "components/storage/IniText.h"

namespace vzt {

// An ordered list of entries, each with an optional lookup key, found by key through a hash.
// Entries may share a key; a lookup finds the first. Keys ignore letter case unless the list
// is case-sensitive. The hash is rebuilt lazily after a change that moves entries.
template <class T>
class HashedList {
 public:
  static constexpr std::size_t npos = static_cast<std::size_t>(-1);

  struct Entry {
    std::string key;
    bool keyed = true;  // an entry without a key is never found
    T value;
  };

  std::size_t Size() const { return entries_.size(); }
  bool Empty() const { return entries_.empty(); }
  const Entry& At(std::size_t i) const { return entries_[i]; }
  Entry& At(std::size_t i) { return entries_[i]; }
  typename std::vector<Entry>::const_iterator begin() const { return entries_.begin(); }
  typename std::vector<Entry>::const_iterator end() const { return entries_.end(); }

  bool CaseSensitive() const { return case_sensitive_; }
  void SetCaseSensitive(bool value) {
    if (value == case_sensitive_) return;
    case_sensitive_ = value;
    Invalidate();
  }

  std::size_t Find(std::string_view key) const {
    if (!index_valid_) RebuildIndex();
    const auto it = index_.find(Fold(key));
    return it == index_.end() ? npos : it->second;
  }

  T& Append(std::string key, bool keyed, T value) {
    entries_.push_back(Entry{std::move(key), keyed, std::move(value)});
    if (index_valid_) IndexEntry(entries_.size() - 1);
    return entries_.back().value;
  }

  // Keeps the entry's place.
  void Replace(std::size_t i, std::string key, T value) {
    if (Fold(key) != Fold(entries_[i].key)) Invalidate();
    entries_[i].key = std::move(key);
    entries_[i].value = std::move(value);
  }

  void Erase(std::size_t i) {
    entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(i));
    Invalidate();
  }

  void Clear() {
    entries_.clear();
    Invalidate();
  }

 private:
  std::string Fold(std::string_view key) const {
    return case_sensitive_ ? std::string(key) : LowerAscii(key);
  }

  void Invalidate() {
    index_.clear();
    index_valid_ = false;
  }

  void IndexEntry(std::size_t i) const {
    if (entries_[i].keyed) index_.emplace(Fold(entries_[i].key), i);
  }

  void RebuildIndex() const {
    index_.clear();
    for (std::size_t i = 0; i < entries_.size(); ++i) IndexEntry(i);
    index_valid_ = true;
  }

  std::vector<Entry> entries_;
  bool case_sensitive_ = false;
  mutable std::unordered_map<std::string, std::size_t> index_;
  mutable bool index_valid_ = true;
};

}  // namespace vzt
