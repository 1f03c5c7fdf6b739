#include "core/wide_string_list.h"

#include <algorithm>

#include "core/ascii_case.h"
#include "core/collation.h"
#include "core/messages.h"
#include "platform/exceptions.h"

namespace pk {
namespace {

constexpr size_t kNoName = std::u16string_view::npos;

size_t EqualsAt(std::u16string_view item) { return item.find(u'='); }

}  // namespace

void TWideStringList::CheckIndex(int32_t index) const {
  if (index < 0 || index >= Count()) throw EStringListError(msg::kListIndexOutOfRange);
}

int TWideStringList::Compare(const std::u16string& a, const std::u16string& b) const {
  return CollateText(a, b, FCaseSensitive);
}

void TWideStringList::SetSorted(bool value) {
  if (value == FSorted) return;
  if (value) Sort();
  FSorted = value;
}

int32_t TWideStringList::Add(const std::u16string& item) {
  FStrings.push_back(item);
  if (!FSorted) return Count() - 1;
  SortInLastItem();
  Sort();
  return IndexOf(item);
}

void TWideStringList::Delete(int32_t index) {
  CheckIndex(index);
  FStrings.erase(FStrings.begin() + index);
}

void TWideStringList::Insert(int32_t index, const std::u16string& s) {
  if (FSorted) throw EStringListError(msg::kSortedListInsert);
  if (index < 0 || index > Count()) throw EStringListError(msg::kListIndexOutOfRange);
  FStrings.insert(FStrings.begin() + index, s);
}

int32_t TWideStringList::IndexOf(std::u16string_view s) const {
  const auto it = std::find_if(FStrings.begin(), FStrings.end(),
                               [s](const std::u16string& item) { return SameAsciiFolded(item, s); });
  return it == FStrings.end() ? -1 : static_cast<int32_t>(it - FStrings.begin());
}

int32_t TWideStringList::IndexOfName(std::u16string_view name) const {
  for (int32_t i = 0; i < Count(); ++i) {
    const std::u16string_view item = FStrings[i];
    const size_t eq = EqualsAt(item);
    if (eq != kNoName && SameAsciiFolded(item.substr(0, eq), name)) return i;
  }
  return -1;
}

const std::u16string& TWideStringList::GetItem(int32_t index) const {
  CheckIndex(index);
  return FStrings[index];
}

void TWideStringList::SetItem(int32_t index, const std::u16string& item) {
  CheckIndex(index);
  FStrings[index] = item;
  SortIfSorted();
}

std::u16string TWideStringList::GetNames(int32_t index) const {
  const std::u16string& item = GetItem(index);
  const size_t eq = EqualsAt(item);
  return eq == kNoName ? std::u16string() : item.substr(0, eq);
}

void TWideStringList::SetNames(int32_t index, std::u16string_view name) {
  CheckIndex(index);
  std::u16string& item = FStrings[index];
  const size_t eq = EqualsAt(item);
  if (eq == kNoName) return;
  item = std::u16string(name) + item.substr(eq);
  SortIfSorted();
}

std::u16string TWideStringList::GetValues(std::u16string_view name) const {
  const int32_t index = IndexOfName(name);
  if (index < 0) return {};
  const std::u16string& item = FStrings[index];
  return item.substr(EqualsAt(item) + 1);
}

void TWideStringList::SetValues(std::u16string_view name, std::u16string_view value) {
  const int32_t index = IndexOfName(name);
  if (index < 0) return;
  FStrings[index] = std::u16string(name) + u'=' + std::u16string(value);
  SortIfSorted();
}

void TWideStringList::Sort() {
  std::stable_sort(FStrings.begin(), FStrings.end(),
                   [this](const std::u16string& a, const std::u16string& b) { return Compare(a, b) < 0; });
}

void TWideStringList::SortIfSorted() {
  if (FSorted) Sort();
}

// Moves the last item in front of the first item that sorts after it.
void TWideStringList::SortInLastItem() {
  if (Count() < 2) return;
  const auto last = FStrings.end() - 1;
  const auto place = std::find_if(FStrings.begin(), last,
                                  [&](const std::u16string& item) { return Compare(item, *last) > 0; });
  std::rotate(place, last, FStrings.end());
}

}  // namespace pk
