#include "jpeg/xmp.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "jpeg/jpeg_error.h"
#include "platform/exceptions.h"

namespace pk {
namespace {

std::vector<XMPGroup> GroupsWithValues(const TXMP& xmp) {
  std::vector<XMPGroup> groups;
  for (XMPGroup g : {XMPGroup::DC, XMPGroup::Core, XMPGroup::Photoshop, XMPGroup::Rights, XMPGroup::XMPBasic,
                     XMPGroup::MicrosoftPhoto, XMPGroup::Regions, XMPGroup::Ext, XMPGroup::PLUS}) {
    if (xmp.HasGroupValues(g)) groups.push_back(g);
  }
  return groups;
}

TEST(XMP, NewModelHoldsNothing) {
  const TXMP xmp;
  EXPECT_FALSE(xmp.HasValues());
  EXPECT_FALSE(xmp.Marked());
  EXPECT_FALSE(xmp.MarkedDefined());
  EXPECT_EQ(xmp.MPRegionCount(), 0);
  EXPECT_TRUE(GroupsWithValues(xmp).empty());
}

TEST(XMP, EachValueCountsForItsGroupOnly) {
  struct Case {
    const char* field;
    std::function<void(TXMP&)> set;
    std::vector<XMPGroup> groups;
  };
  using G = XMPGroup;
  const Case cases[] = {
      {"IPTCCategory", [](TXMP& x) { x.IPTCCategory = u"c"; }, {G::Photoshop}},
      {"IPTCDateCreated", [](TXMP& x) { x.IPTCDateCreated = 1; }, {G::Photoshop}},
      {"IPTCUrgency", [](TXMP& x) { x.IPTCUrgency = 1; }, {G::Photoshop}},
      {"IPTCSupplementalCategories", [](TXMP& x) { x.IPTCSupplementalCategories.Add(u"s"); }, {G::Photoshop}},
      {"IPTCKeywords", [](TXMP& x) { x.IPTCKeywords.Add(u"k"); }, {G::DC}},
      {"IPTCTitle", [](TXMP& x) { x.IPTCTitle = u"t"; }, {G::DC}},
      {"IPTCCiUrlWork", [](TXMP& x) { x.IPTCCiUrlWork = u"u"; }, {G::Core}},
      {"IPTCScene", [](TXMP& x) { x.IPTCScene.Add(u"s"); }, {G::Core}},
      {"IPTCRightsUsageTerms", [](TXMP& x) { x.IPTCRightsUsageTerms = u"r"; }, {G::Rights}},
      {"MarkedString", [](TXMP& x) { x.MarkedString = u"maybe"; }, {G::Rights}},
      {"XMPRating -1", [](TXMP& x) { x.XMPRating = -1; }, {G::XMPBasic}},
      {"MSRating -1", [](TXMP& x) { x.MSRating = -1; }, {}},
      {"MSRating 1", [](TXMP& x) { x.MSRating = 1; }, {G::MicrosoftPhoto}},
      {"region", [](TXMP& x) { x.AddMPRegion(u"face"); }, {G::Regions}},
      {"IPTCMaxAvailWidth", [](TXMP& x) { x.IPTCMaxAvailWidth = 10; }, {G::Ext}},
      {"IPTCPersonInImage", [](TXMP& x) { x.IPTCPersonInImage.Add(u"p"); }, {G::Ext}},
      {"empty artwork record", [](TXMP& x) { x.IPTCArtworkOrObject.AddCopy(TArtworkOrObjectDetails()); }, {G::Ext}},
      {"IPTCRegistryId", [](TXMP& x) { x.IPTCRegistryId.AddCopy(TRegEntryDetail()); }, {G::Ext}},
      {"supplier name", [](TXMP& x) { x.PLUSImageSupplier.ImageSupplierName = u"s"; }, {G::PLUS}},
      {"PLUSLicensor", [](TXMP& x) { x.PLUSLicensor.AddCopy(TLicensorDetail()); }, {G::PLUS}},
      {"PLUSPropertyReleaseID", [](TXMP& x) { x.PLUSPropertyReleaseID.Add(u"id"); }, {G::PLUS}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.field);
    TXMP xmp;
    c.set(xmp);
    EXPECT_EQ(GroupsWithValues(xmp), c.groups);
    EXPECT_EQ(xmp.HasValues(), !c.groups.empty());
  }
}

TEST(XMP, CreatorContactInfoIsAnyOfItsTexts) {
  TXMP xmp;
  EXPECT_FALSE(xmp.IPTCCreatorContactInfo());
  xmp.IPTCCiAdrExtadr = u"street";
  EXPECT_TRUE(xmp.IPTCCreatorContactInfo());
  EXPECT_TRUE(xmp.HasIptc4xmpCoreValues());
}

TEST(XMP, MarkedFollowsTheMarkedText) {
  TXMP xmp;
  xmp.MarkedString = u"True";
  EXPECT_TRUE(xmp.Marked());
  xmp.SetMarkedDefined(true);
  EXPECT_EQ(xmp.MarkedString, u"True");
  xmp.SetMarked(false);
  EXPECT_EQ(xmp.MarkedString, u"False");
  EXPECT_TRUE(xmp.MarkedDefined());
  xmp.SetMarkedDefined(false);
  EXPECT_EQ(xmp.MarkedString, u"");
}

TEST(XMP, RegionsAreDeletedByIndexInOrder) {
  TXMP xmp;
  EXPECT_EQ(xmp.AddMPRegion(u"first"), 0);
  EXPECT_EQ(xmp.AddMPRegion(u"second"), 1);
  xmp.MPRegionList[1].X = 0.5f;
  xmp.DeleteMPRegion(0);
  ASSERT_EQ(xmp.MPRegionCount(), 1);
  EXPECT_EQ(xmp.MPRegionList[0].Name, u"second");
  EXPECT_EQ(xmp.MPRegionList[0].X, 0.5f);
  for (int32_t bad : {1, -1}) {
    try {
      xmp.DeleteMPRegion(bad);
      ADD_FAILURE() << "no error for " << bad;
    } catch (const EInvalidGraphic& e) {
      EXPECT_EQ(e.Message(), u"Index out of range.");
    }
    ASSERT_EQ(xmp.MPRegionCount(), 1);
    EXPECT_EQ(xmp.MPRegionList[0].Name, u"second");
  }
  xmp.ClearMPRegions();
  EXPECT_FALSE(xmp.HasMPRegions());
}

TXMP FilledXmp() {
  TXMP xmp;
  xmp.IPTCTitle = u"title";
  xmp.IPTCKeywords.Add(u"k");
  xmp.XMPRating = 3;
  xmp.PLUSImageSupplier.ImageSupplierID = u"sid";
  TLocationDetails location;
  location.City = u"Lyon";
  location.LocationId.Add(u"loc");
  xmp.IPTCLocationShown.AddCopy(location);
  TArtworkOrObjectDetails artwork;
  artwork.Title = u"art";
  artwork.Creator.Add(u"painter");
  artwork.DateCreated = 100;
  xmp.IPTCArtworkOrObject.AddCopy(artwork);
  xmp.AddMPRegion(u"face");
  return xmp;
}

TEST(XMP, AssignMakesADeepCopy) {
  const TXMP source = FilledXmp();
  TXMP copy;
  copy.IPTCKeywords.Add(u"old");
  copy.Assign(source);
  EXPECT_EQ(copy.IPTCTitle, u"title");
  ASSERT_EQ(copy.IPTCKeywords.Count(), 1);
  EXPECT_EQ(copy.PLUSImageSupplier.ImageSupplierID, u"sid");
  ASSERT_EQ(copy.IPTCArtworkOrObject.Count(), 1);
  EXPECT_EQ(copy.IPTCArtworkOrObject.GetItem(0).Creator.GetItem(0), u"painter");
  EXPECT_EQ(copy.IPTCArtworkOrObject.GetItem(0).DateCreated, 100);
  EXPECT_EQ(copy.IPTCLocationShown.GetItem(0).LocationId.GetItem(0), u"loc");
  EXPECT_EQ(copy.MPRegionCount(), 1);

  copy.IPTCArtworkOrObject.GetItem(0).Title = u"changed";
  copy.IPTCLocationShown.GetItem(0).LocationId.Add(u"more");
  copy.PLUSImageSupplier.ImageSupplierID.clear();
  copy.MPRegionList[0].Name = u"other";
  EXPECT_EQ(source.IPTCArtworkOrObject.GetItem(0).Title, u"art");
  EXPECT_EQ(source.IPTCLocationShown.GetItem(0).LocationId.Count(), 1);
  EXPECT_EQ(source.PLUSImageSupplier.ImageSupplierID, u"sid");
  EXPECT_EQ(source.MPRegionList[0].Name, u"face");

  // An empty source list empties the target's.
  copy.Assign(TXMP());
  EXPECT_EQ(copy.IPTCArtworkOrObject.Count(), 0);
  EXPECT_FALSE(copy.HasValues());
}

TEST(XMP, ClearReturnsToANewModel) {
  TXMP xmp = FilledXmp();
  EXPECT_TRUE(xmp.HasValues());
  xmp.Clear();
  EXPECT_FALSE(xmp.HasValues());
  EXPECT_EQ(xmp.IPTCLocationShown.Count(), 0);
  EXPECT_EQ(xmp.PLUSImageSupplier.ImageSupplierID, u"");
  EXPECT_EQ(xmp.XMPRating, 0);
}

TEST(XMPRecords, HasValuesLooksAtEveryField) {
  TLicensorDetail licensor;
  EXPECT_FALSE(licensor.HasValues());
  licensor.LicensorName = u"name";
  EXPECT_TRUE(licensor.HasValues());
  EXPECT_EQ(licensor.LicensorID, u"");
  licensor.Clear();
  EXPECT_FALSE(licensor.HasValues());

  TArtworkOrObjectDetails artwork;
  artwork.DateCreated = 1;
  EXPECT_TRUE(artwork.HasValues());
  TLocationDetails location;
  location.LocationId.Add(u"id");
  EXPECT_TRUE(location.HasValues());
}

TEST(XMPRecords, AssignKeepsEachRecordsListRule) {
  TLocationDetails location, empty_source;
  location.LocationId.Add(u"own");
  location.Assign(empty_source);  // a source without ids leaves them alone
  EXPECT_EQ(location.LocationId.Count(), 1);
  TLocationDetails source;
  source.LocationId.Add(u"theirs");
  source.City = u"Lyon";
  location.Assign(source);
  ASSERT_EQ(location.LocationId.Count(), 1);
  EXPECT_EQ(location.LocationId.GetItem(0), u"theirs");
  EXPECT_EQ(location.City, u"Lyon");

  TArtworkOrObjectDetails artwork, artwork_source;
  artwork.Creator.Add(u"own");
  artwork_source.Creator.Add(u"theirs");
  artwork.Assign(artwork_source);  // creators are added
  EXPECT_EQ(artwork.Creator.Count(), 2);
}

TEST(XMPRecords, AssignFromAnotherClassRaises) {
  TLocationDetails location;
  const TRegEntryDetail entry;
  const TPersistent& persistent = entry;
  try {
    location.Assign(persistent);
    ADD_FAILURE() << "no error";
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), u"Cannot assign a TRegEntryDetail to a TLocationDetails");
  }
}

TEST(XMP, LoadFromFileOfAMissingFileNamesIt) {
  TXMP xmp;
  try {
    xmp.LoadFromFile(u"no such dir/missing.xmp");
    ADD_FAILURE() << "no error";
  } catch (const EJPEG& e) {
    EXPECT_EQ(e.Message(), u"File not found: no such dir/missing.xmp");
  }
}

}  // namespace
}  // namespace pk
