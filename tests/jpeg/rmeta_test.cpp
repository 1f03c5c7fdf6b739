#include "jpeg/rmeta.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/byte_building.h"

namespace pk {
namespace {

using test::Append;
using test::Bytes;

struct RmetaFields {
  std::string order = "II";
  uint16_t length = 6;  // the items start at length + 17
  uint8_t type = 5;
  std::string ascii = "ASCII";
  std::vector<std::string> items = {"one", "two"};
};

// The header, the gap up to the items, the items with their length bytes, the
// closing 0 and two bytes more (an item must end three bytes before the payload).
Bytes Build(const RmetaFields& p) {
  Bytes b;
  Append(b, "RMETA");
  b.push_back(0);
  Append(b, p.order);
  b.insert(b.end(), 7, 0);
  const uint8_t high = static_cast<uint8_t>(p.length >> 8), low = static_cast<uint8_t>(p.length);
  b.push_back(p.order == "MM" ? high : low);
  b.push_back(p.order == "MM" ? low : high);
  b.push_back(p.type);
  Append(b, p.ascii);
  if (p.length + 17u > b.size()) b.resize(p.length + 17u, 0xEE);
  for (const std::string& item : p.items) {
    b.push_back(static_cast<uint8_t>(item.size() + 1));
    Append(b, item);
  }
  b.insert(b.end(), 3, 0);
  return b;
}

std::vector<std::u16string> Parse(TRMETA& rmeta, const Bytes& payload) {
  rmeta.SetRMETAStream(TBEMemoryStream(payload));
  rmeta.ParseRMETA();
  std::vector<std::u16string> items;
  for (int32_t i = 0; i < rmeta.Count(); ++i) items.push_back(rmeta.GetTag(i));
  return items;
}

TEST(RMETA, ReadsTheItemsInEitherByteOrder) {
  for (const char* order : {"II", "MM"}) {
    SCOPED_TRACE(order);
    RmetaFields p;
    p.order = order;
    p.length = 10;
    p.items = {" Nikon\t", "caf\xe9", "", "x"};
    TRMETA rmeta;
    EXPECT_EQ(Parse(rmeta, Build(p)), (std::vector<std::u16string>{u"Nikon", u"caf\u00e9", u"", u"x"}));
    EXPECT_EQ(rmeta.RMETAStream().IsBigEndian, std::string(order) == "MM");
  }
}

TEST(RMETA, MalformedPayloadsGiveNoItems) {
  struct Case {
    const char* name;
    Bytes payload;
    bool keeps_stream;
  };
  auto with = [](auto change) {
    RmetaFields p;
    change(p);
    return Build(p);
  };
  Bytes no_mark = Build({});
  no_mark[0] = 'X';
  Bytes short_payload = Build({});
  short_payload.resize(23);
  Bytes items_past_end = Build({});
  items_past_end[15] = items_past_end[16] = 0xFF;
  // The items would start at the payload's end.
  Bytes items_at_end = with([](RmetaFields& p) { p.length = 8; p.items = {}; });
  items_at_end.resize(25);
  const Case cases[] = {
      {"23 bytes", short_payload, true},
      {"byte order MX", with([](RmetaFields& p) { p.order = "MX"; }), true},
      {"no RMETA mark", no_mark, true},
      {"type 4", with([](RmetaFields& p) { p.type = 4; }), true},
      {"not ASCII", with([](RmetaFields& p) { p.ascii = "ASCIX"; }), true},
      // The length points outside the payload: nothing is read from beyond it,
      // and the payload is dropped.
      {"items past the end", items_past_end, false},
      {"items at the very end", items_at_end, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TRMETA rmeta;
    EXPECT_TRUE(Parse(rmeta, c.payload).empty());
    EXPECT_EQ(rmeta.RMETAStream().Size(), c.keeps_stream ? static_cast<int64_t>(c.payload.size()) : 0);
  }
}

TEST(RMETA, AnItemReachingTheLastByteEndsTheList) {
  Bytes payload = Build({});
  payload[payload.size() - 3] = 3;  // a length byte where the closing 0 was
  TRMETA rmeta;
  EXPECT_EQ(Parse(rmeta, payload), (std::vector<std::u16string>{u"one", u"two"}));
  EXPECT_EQ(rmeta.RMETAStream().Size(), static_cast<int64_t>(payload.size()));
}

TEST(RMETA, GetTagOutsideTheListRaises) {
  TRMETA rmeta;
  Parse(rmeta, Build({}));
  for (int32_t index : {-1, 2}) {
    try {
      rmeta.GetTag(index);
      ADD_FAILURE() << index;
    } catch (const ERMETAError& e) {
      EXPECT_EQ(e.Message(), u"Index out of range");
    }
  }
}

TEST(RMETA, AssignTakesTheItemsButNotThePayload) {
  TRMETA source, copy;
  Parse(source, Build({}));
  copy.RMETAStream().WriteBytes(Bytes{1, 2, 3});
  copy.Assign(source);
  EXPECT_EQ(copy.Count(), 2);
  EXPECT_EQ(copy.GetTag(1), u"two");
  EXPECT_EQ(copy.RMETAStream().Size(), 0);
  copy.Assign(copy);
  EXPECT_EQ(copy.Count(), 2);
  copy.Clear();
  EXPECT_EQ(copy.Count(), 0);
}

}  // namespace
}  // namespace pk
