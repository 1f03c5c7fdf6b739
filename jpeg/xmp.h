// The XMP metadata of an image as typed properties: IPTC Core and Extension,
// the Dublin Core, photoshop, XMP basic and rights properties that carry the
// same descriptive data, PLUS licensing, the Microsoft Photo rating and face
// regions. The packet reader fills it and the packet writer turns it into a
// packet; the writer declares a namespace only when its group predicate says
// the model holds a value of it.
//
// Every property is listed once in PK_XMP_FIELDS with its group; the members
// and the group predicates come from that table. The model is a value whose
// lists own deep copies of their records, so Assign is a copy and Clear a
// fresh model.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/wide_string_list.h"
#include "jpeg/marked_string.h"
#include "jpeg/xmp_records.h"
#include "platform/date_time.h"
#include "platform/stream.h"

namespace pk {

// One face region of the Microsoft Photo region schema; the position and
// size are fractions of the image size.
struct TMPRegion {
  float X = 0;
  float Y = 0;
  float Height = 0;
  float Width = 0;
  std::u16string Name;
  std::u16string EmailEnc;
  std::u16string LiveId;
};

using TMPRegionList = std::vector<TMPRegion>;

// The namespaces a packet writer may declare, one per group predicate.
enum class XMPGroup { DC, Core, Photoshop, Rights, XMPBasic, MicrosoftPhoto, Regions, Ext, PLUS };

// X(member, type, group). MSRating counts for its group only when positive;
// every other field counts when it is not empty or not 0.
#define PK_XMP_FIELDS(X)                                                          \
  X(IPTCCiAdrCity, std::u16string, Core)                                          \
  X(IPTCCiAdrCtry, std::u16string, Core)                                          \
  X(IPTCCiAdrExtadr, std::u16string, Core)                                        \
  X(IPTCCiAdrPcode, std::u16string, Core)                                         \
  X(IPTCCiAdrRegion, std::u16string, Core)                                        \
  X(IPTCCiEmailWork, std::u16string, Core)                                        \
  X(IPTCCiTelWork, std::u16string, Core)                                          \
  X(IPTCCiUrlWork, std::u16string, Core)                                          \
  X(IPTCCity, std::u16string, Photoshop)                                          \
  X(IPTCCopyrightNotice, std::u16string, DC)                                      \
  X(IPTCCountry, std::u16string, Photoshop)                                       \
  X(IPTCCountryCode, std::u16string, Core)                                        \
  X(IPTCCreator, std::u16string, DC)                                              \
  X(IPTCCreatorJobTitle, std::u16string, Photoshop)                               \
  X(IPTCDateCreated, TDateTime, Photoshop)                                        \
  X(IPTCDescription, std::u16string, DC)                                          \
  X(IPTCDescriptionWriter, std::u16string, Photoshop)                             \
  X(IPTCHeadline, std::u16string, Photoshop)                                      \
  X(IPTCInstructions, std::u16string, Photoshop)                                  \
  X(IPTCIntellectualGenre, std::u16string, Core)                                  \
  X(IPTCJobID, std::u16string, Photoshop)                                         \
  X(IPTCKeywords, TWideStringList, DC)                                            \
  X(IPTCLocation, std::u16string, Core)                                           \
  X(IPTCProvider, std::u16string, Photoshop)                                      \
  X(IPTCProvinceState, std::u16string, Photoshop)                                 \
  X(IPTCRightsUsageTerms, std::u16string, Rights)                                 \
  X(IPTCScene, TWideStringList, Core)                                             \
  X(IPTCSubjectCode, TWideStringList, Core)                                       \
  X(IPTCSource, std::u16string, Photoshop)                                        \
  X(IPTCTitle, std::u16string, DC)                                                \
  X(IPTCCategory, std::u16string, Photoshop)                                      \
  X(IPTCUrgency, uint8_t, Photoshop)                                              \
  X(IPTCSupplementalCategories, TWideStringList, Photoshop)                       \
  X(MarkedString, std::u16string, Rights)                                         \
  X(XMPRating, int32_t, XMPBasic)                                                 \
  X(MSRating, int32_t, MicrosoftPhoto)                                            \
  X(MPRegionList, TMPRegionList, Regions)                                         \
  X(IPTCOrganisationInImageCode, TWideStringList, Ext)                            \
  X(IPTCOrganisationInImageName, TWideStringList, Ext)                            \
  X(IPTCPersonInImage, TWideStringList, Ext)                                      \
  X(IPTCEvent, std::u16string, Ext)                                               \
  X(IPTCRegistryId, TStructureList<TRegEntryDetail>, Ext)                         \
  X(PLUSImageSupplier, TImageSupplierDetail, PLUS)                                \
  X(IPTCMaxAvailHeight, int32_t, Ext)                                             \
  X(IPTCMaxAvailWidth, int32_t, Ext)                                              \
  X(PLUSVersion, std::u16string, PLUS)                                            \
  X(PLUSCopyrightOwner, TStructureList<TCopyrightOwner>, PLUS)                    \
  X(IPTCEmbdEncRightsExpr, TStructureList<TEncodedRightsExpressionDetail>, Ext)   \
  X(PLUSImageCreator, TStructureList<TImageCreatorDetail>, PLUS)                  \
  X(PLUSLicensor, TStructureList<TLicensorDetail>, PLUS)                          \
  X(PLUSMinorModelAgeDisclosure, std::u16string, PLUS)                            \
  X(PLUSModelReleaseID, TWideStringList, PLUS)                                    \
  X(PLUSModelReleaseStatus, std::u16string, PLUS)                                 \
  X(PLUSPropertyReleaseID, TWideStringList, PLUS)                                 \
  X(PLUSPropertyReleaseStatus, std::u16string, PLUS)                              \
  X(IPTCLocationShown, TStructureList<TLocationDetails>, Ext)                     \
  X(IPTCLocationCreated, TStructureList<TLocationDetails>, Ext)                   \
  X(PLUSImageSupplierImageID, std::u16string, PLUS)                               \
  X(IPTCArtworkOrObject, TAOList<TArtworkOrObjectDetails>, Ext)

class TXMP {
 public:
#define PK_DECLARE_XMP_FIELD(member, type, group) type member{};
  PK_XMP_FIELDS(PK_DECLARE_XMP_FIELD)
#undef PK_DECLARE_XMP_FIELD

  // Built aside, then moved in: a failed copy leaves the model as it was.
  void Assign(const TXMP& source) { *this = TXMP(source); }
  void Clear() { *this = TXMP(); }

  // True when the model holds at least one value that the packet writer
  // stores under the group's namespace.
  bool HasGroupValues(XMPGroup group) const;
  bool HasDCValues() const { return HasGroupValues(XMPGroup::DC); }
  bool HasIptc4xmpCoreValues() const { return HasGroupValues(XMPGroup::Core); }
  bool HasPhotoshopValues() const { return HasGroupValues(XMPGroup::Photoshop); }
  bool HasXapRightsValues() const { return HasGroupValues(XMPGroup::Rights); }
  bool HasXMPBasicValues() const { return HasGroupValues(XMPGroup::XMPBasic); }
  bool HasMicrosoftPhotoValues() const { return HasGroupValues(XMPGroup::MicrosoftPhoto); }
  bool HasIptc4xmpExtValues() const { return HasGroupValues(XMPGroup::Ext); }
  bool HasPLUSValues() const { return HasGroupValues(XMPGroup::PLUS); }
  // Any group: the image writers store a packet only then.
  bool HasValues() const;
  // Any of the eight creator contact texts.
  bool IPTCCreatorContactInfo() const;

  bool Marked() const { return IsMarked(MarkedString); }
  void SetMarked(bool value) { pk::SetMarked(MarkedString, value); }
  bool MarkedDefined() const { return IsMarkedDefined(MarkedString); }
  void SetMarkedDefined(bool value) { pk::SetMarkedDefined(MarkedString, value); }

  // Appends a region with that name at 0, 0 and no size; returns its index.
  int32_t AddMPRegion(const std::u16string& name);
  // EInvalidGraphic "Index out of range." unless 0 <= index < MPRegionCount;
  // the others keep their order.
  void DeleteMPRegion(int32_t index);
  void ClearMPRegions() { MPRegionList.clear(); }
  int32_t MPRegionCount() const { return static_cast<int32_t>(MPRegionList.size()); }
  bool HasMPRegions() const { return MPRegionCount() >= 1; }

  // EJPEG "File not found: <name>" when the file does not exist; otherwise
  // reads the file as an XMP packet.
  void LoadFromFile(const std::u16string& file_name);
  // Creates (or replaces) the file and writes the model as an XMP packet.
  void SaveToFile(const std::u16string& file_name) const;
  void ReadXMPStream(TStream& stream);
  void WriteXMPStream(TStream& stream) const;
};

}  // namespace pk
