// A list of UTF-16 strings with optional sorting and Name=Value access: the
// lines of a text block and the keyword lists of the metadata models. An item
// name=value has as name the text before its first "=" and as value the text
// after it; an item without "=" has no name. Lookups by text or name fold only
// the ASCII letters a-z, while sorting uses the collation of core/collation.h
// (CaseSensitive affects sorting only).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace pk {

class TWideStringList {
 public:
  int32_t Count() const { return static_cast<int32_t>(FStrings.size()); }
  bool Sorted() const { return FSorted; }
  // Turning sorting on sorts the list.
  void SetSorted(bool value);
  bool CaseSensitive() const { return FCaseSensitive; }
  void SetCaseSensitive(bool value) { FCaseSensitive = value; }

  // In a sorted list the item goes to its place and the result is IndexOf(item),
  // which may be an earlier item differing only in case.
  int32_t Add(const std::u16string& item);
  void Clear() { FStrings.clear(); }
  // EStringListError "Index out of range." unless 0 <= index < Count.
  void Delete(int32_t index);
  // EStringListError when sorted, or unless 0 <= index <= Count.
  void Insert(int32_t index, const std::u16string& s);

  int32_t IndexOf(std::u16string_view s) const;
  int32_t IndexOfName(std::u16string_view name) const;

  // Items, Names and SetNames raise EStringListError "Index out of range."
  // unless 0 <= index < Count.
  const std::u16string& GetItem(int32_t index) const;
  void SetItem(int32_t index, const std::u16string& item);
  // The empty string for an item without "=".
  std::u16string GetNames(int32_t index) const;
  // Renames an item that has a name; an item without "=" stays as it is.
  void SetNames(int32_t index, std::u16string_view name);
  // The value of the first item with that name, or the empty string.
  std::u16string GetValues(std::u16string_view name) const;
  // Rewrites the first item with that name as name=value; adds nothing when no
  // item has the name.
  void SetValues(std::u16string_view name, std::u16string_view value);

  // A stable sort by the list's collation: equal items keep their order.
  void Sort();

 private:
  void CheckIndex(int32_t index) const;
  int Compare(const std::u16string& a, const std::u16string& b) const;
  void SortInLastItem();
  void SortIfSorted();

  std::vector<std::u16string> FStrings;
  bool FSorted = false;
  bool FCaseSensitive = false;
};

}  // namespace pk
