#include "core/wide_string_list.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/exceptions.h"

namespace pk {
namespace {

TWideStringList ListOf(std::initializer_list<std::u16string> items) {
  TWideStringList list;
  for (const auto& item : items) list.Add(item);
  return list;
}

std::vector<std::u16string> Items(const TWideStringList& list) {
  std::vector<std::u16string> items;
  for (int32_t i = 0; i < list.Count(); ++i) items.push_back(list.GetItem(i));
  return items;
}

template <typename F>
std::u16string MessageOf(F&& call) {
  try {
    call();
  } catch (const EStringListError& e) {
    return e.Message();
  }
  return u"(no EStringListError)";
}

TEST(WideStringList, NamesAndValues) {
  struct Case {
    std::u16string item, name, value;
  };
  const Case cases[] = {
      {u"a=b", u"a", u"b"},
      {u"=abc", u"", u"abc"},
      {u"a=b=c", u"a", u"b=c"},
      {u"key=", u"key", u""},
  };
  for (const Case& c : cases) {
    const TWideStringList list = ListOf({u"plain", c.item});
    EXPECT_EQ(list.GetNames(1), c.name);
    EXPECT_EQ(list.IndexOfName(c.name), 1);
    EXPECT_EQ(list.GetValues(c.name), c.value);
  }
  const TWideStringList plain = ListOf({u"plain"});
  EXPECT_EQ(plain.GetNames(0), u"");
  EXPECT_EQ(plain.IndexOfName(u""), -1);
  EXPECT_EQ(plain.IndexOfName(u"plain"), -1);
}

TEST(WideStringList, NameLookupFoldsAsciiLettersAndSetValuesTakesTheGivenName) {
  TWideStringList list = ListOf({u"x=0", u"KEY=1"});
  EXPECT_EQ(list.GetValues(u"Key"), u"1");
  list.SetValues(u"key", u"2");
  EXPECT_EQ(Items(list), (std::vector<std::u16string>{u"x=0", u"key=2"}));
  list.SetValues(u"missing", u"3");
  EXPECT_EQ(list.Count(), 2);
}

TEST(WideStringList, SetNamesRenamesOnlyItemsWithAName) {
  TWideStringList list = ListOf({u"a=1=2", u"plain"});
  list.SetNames(0, u"b");
  list.SetNames(1, u"c");
  EXPECT_EQ(Items(list), (std::vector<std::u16string>{u"b=1=2", u"plain"}));
}

TEST(WideStringList, IndexOfFoldsOnlyAsciiLetters) {
  const TWideStringList list = ListOf({u"caf\u00e9", u"Abc"});
  EXPECT_EQ(list.IndexOf(u"ABC"), 1);
  EXPECT_EQ(list.IndexOf(u"CAF\u00e9"), 0);
  EXPECT_EQ(list.IndexOf(u"CAF\u00c9"), -1);
  EXPECT_EQ(list.IndexOf(u"ab"), -1);
}

TEST(WideStringList, DeleteAndInsertBounds) {
  TWideStringList list = ListOf({u"a", u"b", u"c"});
  EXPECT_EQ(MessageOf([&] { list.Delete(3); }), u"Index out of range.");
  EXPECT_EQ(MessageOf([&] { list.Delete(-1); }), u"Index out of range.");
  EXPECT_EQ(MessageOf([&] { list.Insert(4, u"x"); }), u"Index out of range.");
  EXPECT_EQ(MessageOf([&] { list.Insert(-1, u"x"); }), u"Index out of range.");
  EXPECT_EQ(Items(list), (std::vector<std::u16string>{u"a", u"b", u"c"}));
  list.Insert(3, u"d");
  list.Insert(0, u"z");
  list.Delete(2);
  EXPECT_EQ(Items(list), (std::vector<std::u16string>{u"z", u"a", u"c", u"d"}));
  TWideStringList empty;
  EXPECT_EQ(MessageOf([&] { empty.Delete(0); }), u"Index out of range.");
}

TEST(WideStringList, InsertIntoASortedListRaisesAndKeepsTheList) {
  TWideStringList list = ListOf({u"b", u"a"});
  list.SetSorted(true);
  EXPECT_EQ(MessageOf([&] { list.Insert(0, u"c"); }), u"Cannot call Insert with a sorted list.");
  EXPECT_EQ(Items(list), (std::vector<std::u16string>{u"a", u"b"}));
}

// Items, Names and SetNames are range-checked rather than reading past the list.
TEST(WideStringList, ItemAccessOutsideTheListRaises) {
  TWideStringList list = ListOf({u"a=1"});
  for (int32_t index : {-1, 1, 1000}) {
    EXPECT_EQ(MessageOf([&] { list.GetItem(index); }), u"Index out of range.");
    EXPECT_EQ(MessageOf([&] { list.SetItem(index, u"x"); }), u"Index out of range.");
    EXPECT_EQ(MessageOf([&] { list.GetNames(index); }), u"Index out of range.");
    EXPECT_EQ(MessageOf([&] { list.SetNames(index, u"x"); }), u"Index out of range.");
  }
  EXPECT_EQ(Items(list), (std::vector<std::u16string>{u"a=1"}));
}

TEST(WideStringList, AddToASortedListReturnsTheFirstEqualItemUnderAsciiFolding) {
  TWideStringList list;
  list.SetSorted(true);
  EXPECT_EQ(list.Add(u"pear"), 0);
  EXPECT_EQ(list.Add(u"apple"), 0);
  EXPECT_EQ(list.Add(u"zebra"), 2);
  EXPECT_EQ(list.Add(u"Pear"), 1);  // finds the earlier "pear"
  EXPECT_EQ(Items(list), (std::vector<std::u16string>{u"apple", u"pear", u"Pear", u"zebra"}));
}

TEST(WideStringList, SortedListsResortAfterEveryChange) {
  TWideStringList list = ListOf({u"c=3", u"a=1", u"b=2"});
  EXPECT_EQ(Items(list), (std::vector<std::u16string>{u"c=3", u"a=1", u"b=2"}));
  list.SetSorted(true);
  EXPECT_EQ(Items(list), (std::vector<std::u16string>{u"a=1", u"b=2", u"c=3"}));
  list.SetItem(0, u"d=4");
  EXPECT_EQ(Items(list), (std::vector<std::u16string>{u"b=2", u"c=3", u"d=4"}));
  list.SetNames(2, u"a");
  EXPECT_EQ(Items(list), (std::vector<std::u16string>{u"a=4", u"b=2", u"c=3"}));
  list.SetValues(u"c", u"0");
  EXPECT_EQ(Items(list), (std::vector<std::u16string>{u"a=4", u"b=2", u"c=0"}));
  list.SetSorted(false);
  list.Add(u"0");
  EXPECT_EQ(list.GetItem(3), u"0");
}

TEST(WideStringList, SortIsStableAndCaseSensitivityOnlyAffectsSorting) {
  TWideStringList list = ListOf({u"b", u"B", u"a", u"A", u"b"});
  list.Sort();
  EXPECT_EQ(Items(list), (std::vector<std::u16string>{u"a", u"A", u"b", u"B", u"b"}));
  list.SetCaseSensitive(true);
  list.Sort();
  EXPECT_EQ(Items(list), (std::vector<std::u16string>{u"a", u"A", u"b", u"b", u"B"}));
  EXPECT_EQ(list.IndexOf(u"B"), 2);
}

TEST(WideStringList, SortPlacesAccentedLettersBesideTheirBaseLetter) {
  TWideStringList list = ListOf({u"zoo", u"\u00e9t\u00e9", u"eta", u"Ete", u"apple"});
  list.Sort();
  EXPECT_EQ(Items(list), (std::vector<std::u16string>{u"apple", u"eta", u"Ete", u"\u00e9t\u00e9", u"zoo"}));
}

}  // namespace
}  // namespace pk
