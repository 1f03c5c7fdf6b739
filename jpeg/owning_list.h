// An ordered list that owns its entries: the resource and dataset lists of the
// Photoshop resources and the structure lists of the XMP model. Entries live
// on the heap, so a reference taken with GetItem stays valid while others are
// added, and copying the list copies every entry (the models are values).
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "core/messages.h"
#include "platform/exceptions.h"

namespace pk {

template <class T>
class TOwningList {
 public:
  TOwningList() = default;
  TOwningList(const TOwningList& other) { CopyFrom(other); }
  TOwningList& operator=(const TOwningList& other) {
    if (this != &other) {
      TOwningList copy(other);
      items_.swap(copy.items_);
    }
    return *this;
  }
  TOwningList(TOwningList&&) noexcept = default;
  TOwningList& operator=(TOwningList&&) noexcept = default;

  int32_t Count() const { return static_cast<int32_t>(items_.size()); }
  bool Empty() const { return items_.empty(); }

  // Appends and returns the new entry's index.
  int32_t Add(std::unique_ptr<T> item) {
    items_.push_back(std::move(item));
    return Count() - 1;
  }
  // A fresh entry made a copy of item; the caller keeps item.
  int32_t AddCopy(const T& item) { return Add(std::make_unique<T>(item)); }

  // EListError "Index out of range." unless 0 <= index < Count.
  T& GetItem(int32_t index) { return *items_[Checked(index)]; }
  const T& GetItem(int32_t index) const { return *items_[Checked(index)]; }
  // Replaces the entry; the list frees the one it held.
  void SetItem(int32_t index, std::unique_ptr<T> item) { items_[Checked(index)] = std::move(item); }
  void Clear() { items_.clear(); }

  auto begin() const { return items_.begin(); }
  auto end() const { return items_.end(); }

 private:
  size_t Checked(int32_t index) const {
    if (index < 0 || index >= Count()) throw EListError(msg::kListIndexOutOfRange);
    return static_cast<size_t>(index);
  }
  void CopyFrom(const TOwningList& other) {
    items_.reserve(other.items_.size());
    for (const auto& item : other.items_) AddCopy(*item);
  }

  std::vector<std::unique_ptr<T>> items_;
};

}  // namespace pk
