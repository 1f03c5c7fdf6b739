#include "jpeg/xmp.h"

#include <type_traits>

#include "core/file_utils.h"
#include "jpeg/jpeg_error.h"
#include "jpeg/messages.h"

namespace pk {
namespace {

template <class T>
  requires std::is_arithmetic_v<T>
bool HasValue(T value) {
  return value != 0;
}
bool HasValue(const std::u16string& value) { return xmp_fields::HasValue(value); }
bool HasValue(const TWideStringList& value) { return xmp_fields::HasValue(value); }
bool HasValue(const TMPRegionList& regions) { return !regions.empty(); }
bool HasValue(const TImageSupplierDetail& supplier) { return supplier.HasValues(); }
template <class T>
bool HasValue(const TOwningList<T>& records) {
  return !records.Empty();
}

constexpr XMPGroup kGroups[] = {XMPGroup::DC,         XMPGroup::Core,           XMPGroup::Photoshop,
                                XMPGroup::Rights,     XMPGroup::XMPBasic,       XMPGroup::MicrosoftPhoto,
                                XMPGroup::Regions,    XMPGroup::Ext,            XMPGroup::PLUS};

}  // namespace

bool TXMP::HasGroupValues(XMPGroup group) const {
  // A rating of -1 means "rejected" to the XMP basic schema but is no rating
  // for the Microsoft Photo one.
  if (group == XMPGroup::MicrosoftPhoto) return MSRating >= 1;
#define PK_TEST_XMP_FIELD(member, type, field_group) \
  if (group == XMPGroup::field_group && HasValue(member)) return true;
  PK_XMP_FIELDS(PK_TEST_XMP_FIELD)
#undef PK_TEST_XMP_FIELD
  return false;
}

bool TXMP::HasValues() const {
  for (XMPGroup group : kGroups) {
    if (HasGroupValues(group)) return true;
  }
  return false;
}

bool TXMP::IPTCCreatorContactInfo() const {
  for (const std::u16string* text : {&IPTCCiAdrCity, &IPTCCiAdrCtry, &IPTCCiAdrExtadr, &IPTCCiAdrPcode,
                                     &IPTCCiAdrRegion, &IPTCCiEmailWork, &IPTCCiTelWork, &IPTCCiUrlWork}) {
    if (!text->empty()) return true;
  }
  return false;
}

int32_t TXMP::AddMPRegion(const std::u16string& name) {
  TMPRegion region;
  region.Name = name;
  MPRegionList.push_back(std::move(region));
  return MPRegionCount() - 1;
}

void TXMP::DeleteMPRegion(int32_t index) {
  if (index < 0 || index >= MPRegionCount()) throw EInvalidGraphic(msg::kXMPIndexOutOfRange);
  MPRegionList.erase(MPRegionList.begin() + index);
}

void TXMP::LoadFromFile(const std::u16string& file_name) {
  if (!IsExistingFile(file_name)) throw EJPEG(msg::kFileNotFound + file_name);
  TFileStream stream(file_name, FileMode::fmOpenRead);
  ReadXMPStream(stream);
}

void TXMP::SaveToFile(const std::u16string& file_name) const {
  TFileStream stream(file_name, FileMode::fmCreate);
  WriteXMPStream(stream);
}

}  // namespace pk
