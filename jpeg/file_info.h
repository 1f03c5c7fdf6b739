// The IPTC record of an image: the datasets of IPTC-IIM record 2 that image
// editors show as file information, with the copyright flag and URL that
// travel beside them as Photoshop resources. It is read from and written to a
// resource sequence (TApp14Segment) and to the separate File Info file.
//
// The datasets are described once, in the tables below, in the order the
// writer stores them; members, reading and writing all come from the tables.
// The record is a value: Assign is a copy and Clear a fresh record.
#pragma once

#include <cstdint>
#include <string>

#include "core/wide_string_list.h"
#include "jpeg/marked_string.h"
#include "jpeg/photoshop_resources.h"
#include "platform/date_time.h"
#include "platform/stream.h"

namespace pk {

// Text datasets: X(member, dataset number, rule, written). With the rule
// First a dataset is taken only while the field is empty; with Last every
// occurrence overwrites.
#define PK_IPTC_TEXT_FIELDS(X)               \
  X(Caption, 120, First, true)               \
  X(CaptionWriter, 122, First, true)         \
  X(Headline, 105, First, true)              \
  X(SpecialInstructions, 40, First, true)    \
  X(ObjectName, 5, First, true)              \
  X(City, 90, First, true)                   \
  X(ProvinceState, 95, First, true)          \
  X(CountryName, 101, First, true)           \
  X(Category, 15, First, true)               \
  X(Byline, 80, First, true)                 \
  X(BylineTitle, 85, First, true)            \
  X(Credit, 110, First, true)                \
  X(Source, 115, First, true)                \
  X(OTR, 103, First, true)                   \
  X(CopyrightNotice, 116, First, true)       \
  X(EditStatus, 7, Last, true)               \
  X(FixtureIdentifier, 22, Last, true)       \
  X(ReferenceService, 45, Last, true)        \
  X(ReferenceNumber, 50, Last, true)         \
  X(OriginatingProgram, 65, Last, true)      \
  X(ProgramVersion, 70, Last, true)          \
  X(ObjectCycle, 75, Last, true)             \
  X(Sublocation, 92, Last, true)             \
  X(CountryCode, 100, Last, true)            \
  X(LocalCaption, 121, Last, true)           \
  X(CustomField1, 200, Last, true)           \
  X(CustomField2, 201, Last, true)           \
  X(CustomField3, 202, Last, true)           \
  X(CustomField4, 203, Last, true)           \
  X(CustomField5, 204, Last, true)           \
  X(CustomField6, 205, Last, true)           \
  X(CustomField7, 206, Last, true)           \
  X(CustomField8, 207, Last, true)           \
  X(CustomField9, 208, Last, true)           \
  X(CustomField10, 209, Last, true)          \
  X(CustomField11, 210, Last, true)          \
  X(CustomField12, 211, Last, true)          \
  X(CustomField13, 212, Last, true)          \
  X(CustomField14, 213, Last, true)          \
  X(CustomField15, 214, Last, true)          \
  X(CustomField16, 215, Last, true)          \
  X(CustomField17, 216, Last, true)          \
  X(CustomField18, 217, Last, true)          \
  X(CustomField19, 218, Last, true)          \
  X(CustomField20, 219, Last, true)          \
  X(ImageNotes, 230, Last, true)             \
  X(E7, 231, Last, false)                    \
  X(E8, 232, Last, false)

// Dated datasets: X(member, dataset number, Date or Time). A date is the text
// YYYYMMDD, a time HHMMSS or HH:MM:SS with an optional zone offset after it.
#define PK_IPTC_DATE_FIELDS(X)  \
  X(DateCreated, 55, Date)      \
  X(DateReleased, 30, Date)     \
  X(TimeCreated, 60, Time)      \
  X(TimeReleased, 35, Time)     \
  X(ReferenceDate, 47, Date)

// Dataset numbers the record handles outside the tables.
inline constexpr uint8_t kIPTCRecordVersion = 0;
inline constexpr uint8_t kIPTCUrgency = 10;
inline constexpr uint8_t kIPTCSupplementalCategory = 20;
inline constexpr uint8_t kIPTCKeywords = 25;

class TFileInfo {
 public:
  // Set by the readers when the data held IPTC resources; the writers store
  // IPTC data only when it is true.
  bool HasFileInfo = false;
#define PK_DECLARE_TEXT(member, number, rule, written) std::u16string member;
  PK_IPTC_TEXT_FIELDS(PK_DECLARE_TEXT)
#undef PK_DECLARE_TEXT
#define PK_DECLARE_DATE(member, number, kind) TDateTime member = 0;
  PK_IPTC_DATE_FIELDS(PK_DECLARE_DATE)
#undef PK_DECLARE_DATE
  uint8_t Urgency = 0;
  bool CopyrightFlag = false;
  std::u16string ImageURL;
  TWideStringList Keywords;
  TWideStringList SupplementalCategories;
  // The XMP "Marked" value carried through the copies between the models;
  // it is not stored in the IPTC data.
  std::u16string MarkedString;

  // Second names of the same fields.
  std::u16string& Title() { return ObjectName; }
  std::u16string& Author() { return Byline; }
  std::u16string& AuthorPosition() { return BylineTitle; }

  bool Marked() const { return IsMarked(MarkedString); }
  void SetMarked(bool value) { pk::SetMarked(MarkedString, value); }
  bool MarkedDefined() const { return IsMarkedDefined(MarkedString); }
  void SetMarkedDefined(bool value) { pk::SetMarkedDefined(MarkedString, value); }

  void Assign(const TFileInfo& source) { *this = source; }
  void Clear() { *this = TFileInfo(); }

  // Fills fields from the kept resources; clears nothing first. An IPTC
  // resource without datasets ends the reading. Unreadable numbers, dates and
  // times become 0.
  void ReadFromAPP14(const TApp14Segment& app14);
  // A new resource sequence ("Photoshop 3.0") built from the record.
  TApp14Segment WriteToApp14() const;

  // The File Info file. Loading clears the record first and raises EJPEG
  // "Invalid File Info." for a file shorter than its header or malformed
  // after it; saving writes at the stream's position and leaves the record
  // alone.
  void LoadFromStream(TStream& stream);
  void SaveToStream(TStream& stream) const;

 private:
  void ReadDataset(const TSegmentData& dataset);
  // The 0x0404 resource the writers store: record version first, then the
  // fields in table order, keywords, categories and urgency.
  TBIMSegment BuildIPTCResource() const;
};

// Appends dataset 2:number to the resource when the text is not empty.
void AddIPTCDataset(TBIMSegment& resource, uint8_t number, const std::u16string& text);

// An IPTC time (HHMMSS or HH:MM:SS, "." and "-" also separating, anything
// after the seconds ignored) as a time of day; 0 for anything unreadable.
TDateTime IPTCTimeToDateTime(const std::u16string& text);

}  // namespace pk
