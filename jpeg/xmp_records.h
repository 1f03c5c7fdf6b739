// The structure records of the XMP model: the IPTC Extension and PLUS values
// made of several fields (a location, an artwork, a licensor...). Each record
// lists its fields once, as a tuple of member pointers, and copying, clearing
// and the test for content are generated from that list. Records sit in
// owning structure lists, which copy them entry by entry.
#pragma once

#include <string>
#include <tuple>

#include "core/wide_string_list.h"
#include "jpeg/owning_list.h"
#include "platform/date_time.h"

namespace pk {

// A value that can copy another of its own class; Assign from another class
// raises EConvertError "Cannot assign a <source> to a <target>".
class TPersistent {
 public:
  virtual ~TPersistent() = default;
  virtual const char* ClassName() const = 0;
  virtual void Assign(const TPersistent& source);
};

namespace xmp_fields {

inline void Clear(std::u16string& field) { field.clear(); }
inline void Clear(TWideStringList& field) { field.Clear(); }
inline void Clear(TDateTime& field) { field = 0; }
inline bool HasValue(const std::u16string& field) { return !field.empty(); }
inline bool HasValue(const TWideStringList& field) { return field.Count() > 0; }
inline bool HasValue(TDateTime field) { return field != 0; }

}  // namespace xmp_fields

// Derived lists its fields in a static Fields() tuple. Lists are assigned by
// Derived::AssignList: by default the source's entries replace the own ones
// only when the source has any.
template <class Derived>
class TXMPRecord : public TPersistent {
 public:
  const char* ClassName() const override { return Derived::kClassName; }

  void Assign(const TPersistent& source) override {
    const auto* same = dynamic_cast<const Derived*>(&source);
    if (same == nullptr) return TPersistent::Assign(source);
    if (same == this) return;
    ForEachField([&](auto field) { AssignField(Self().*field, same->*field); });
  }
  void Clear() {
    ForEachField([&](auto field) { xmp_fields::Clear(Self().*field); });
  }
  bool HasValues() const {
    bool any = false;
    ForEachField([&](auto field) { any = any || xmp_fields::HasValue(Self().*field); });
    return any;
  }

  static void AssignList(TWideStringList& target, const TWideStringList& source) {
    if (source.Count() > 0) target = source;
  }

 private:
  Derived& Self() { return static_cast<Derived&>(*this); }
  const Derived& Self() const { return static_cast<const Derived&>(*this); }

  template <class F>
  static void ForEachField(F&& visit) {
    std::apply([&](auto... fields) { (visit(fields), ...); }, Derived::Fields());
  }
  template <class T>
  static void AssignField(T& target, const T& source) {
    target = source;
  }
  static void AssignField(TWideStringList& target, const TWideStringList& source) {
    Derived::AssignList(target, source);
  }
};

class TLocationDetails : public TXMPRecord<TLocationDetails> {
 public:
  static constexpr char kClassName[] = "TLocationDetails";
  TWideStringList LocationId;
  std::u16string City, CountryCode, CountryName, ProvinceState, Sublocation, WorldRegion;
  static constexpr auto Fields() {
    using T = TLocationDetails;
    return std::tuple{&T::LocationId, &T::City,          &T::CountryCode, &T::CountryName,
                      &T::ProvinceState, &T::Sublocation, &T::WorldRegion};
  }
};

class TArtworkOrObjectDetails : public TXMPRecord<TArtworkOrObjectDetails> {
 public:
  static constexpr char kClassName[] = "TArtworkOrObjectDetails";
  std::u16string CopyrightNotice, CurrentCopyrightOwnerName, CurrentCopyrightOwnerID, CurrentLicensorName,
      CurrentLicensorId;
  TWideStringList Creator, CreatorId;
  TDateTime DateCreated = 0;
  std::u16string CircaDateCreated;
  TWideStringList StylePeriod;
  std::u16string Source, SourceInvNo, SourceInvURL, ContentDescription, ContributionDescription,
      PhysicalDescription, Title;
  static constexpr auto Fields() {
    using T = TArtworkOrObjectDetails;
    return std::tuple{&T::CopyrightNotice,    &T::CurrentCopyrightOwnerName, &T::CurrentCopyrightOwnerID,
                      &T::CurrentLicensorName, &T::CurrentLicensorId,       &T::Creator,
                      &T::CreatorId,          &T::DateCreated,               &T::CircaDateCreated,
                      &T::StylePeriod,        &T::Source,                    &T::SourceInvNo,
                      &T::SourceInvURL,       &T::ContentDescription,        &T::ContributionDescription,
                      &T::PhysicalDescription, &T::Title};
  }
  // The source's creators and style periods are added to the own lists.
  static void AssignList(TWideStringList& target, const TWideStringList& source) {
    for (int32_t i = 0; i < source.Count(); ++i) target.Add(source.GetItem(i));
  }
};

class TLicensorDetail : public TXMPRecord<TLicensorDetail> {
 public:
  static constexpr char kClassName[] = "TLicensorDetail";
  std::u16string LicensorID, LicensorName, LicensorStreetAddress, LicensorExtendedAddress, LicensorCity,
      LicensorRegion, LicensorPostalCode, LicensorCountry, LicensorTelephoneType1, LicensorTelephone1,
      LicensorTelephoneType2, LicensorTelephone2, LicensorEmail, LicensorURL;
  static constexpr auto Fields() {
    using T = TLicensorDetail;
    return std::tuple{&T::LicensorID,         &T::LicensorName,          &T::LicensorStreetAddress,
                      &T::LicensorExtendedAddress, &T::LicensorCity,     &T::LicensorRegion,
                      &T::LicensorPostalCode, &T::LicensorCountry,       &T::LicensorTelephoneType1,
                      &T::LicensorTelephone1, &T::LicensorTelephoneType2, &T::LicensorTelephone2,
                      &T::LicensorEmail,      &T::LicensorURL};
  }
};

class TRegEntryDetail : public TXMPRecord<TRegEntryDetail> {
 public:
  static constexpr char kClassName[] = "TRegEntryDetail";
  std::u16string RegItemId, RegOrgId;
  static constexpr auto Fields() { return std::tuple{&TRegEntryDetail::RegItemId, &TRegEntryDetail::RegOrgId}; }
};

class TImageSupplierDetail : public TXMPRecord<TImageSupplierDetail> {
 public:
  static constexpr char kClassName[] = "TImageSupplierDetail";
  std::u16string ImageSupplierName, ImageSupplierID;
  static constexpr auto Fields() {
    return std::tuple{&TImageSupplierDetail::ImageSupplierName, &TImageSupplierDetail::ImageSupplierID};
  }
};

class TCopyrightOwner : public TXMPRecord<TCopyrightOwner> {
 public:
  static constexpr char kClassName[] = "TCopyrightOwner";
  std::u16string CopyrightOwnerName, CopyrightOwnerID;
  static constexpr auto Fields() {
    return std::tuple{&TCopyrightOwner::CopyrightOwnerName, &TCopyrightOwner::CopyrightOwnerID};
  }
};

class TEncodedRightsExpressionDetail : public TXMPRecord<TEncodedRightsExpressionDetail> {
 public:
  static constexpr char kClassName[] = "TEncodedRightsExpressionDetail";
  std::u16string EncRightsExpr, RightsExprEncType, RightsExprLangId;
  static constexpr auto Fields() {
    using T = TEncodedRightsExpressionDetail;
    return std::tuple{&T::EncRightsExpr, &T::RightsExprEncType, &T::RightsExprLangId};
  }
};

class TImageCreatorDetail : public TXMPRecord<TImageCreatorDetail> {
 public:
  static constexpr char kClassName[] = "TImageCreatorDetail";
  std::u16string ImageCreatorName, ImageCreatorID;
  static constexpr auto Fields() {
    return std::tuple{&TImageCreatorDetail::ImageCreatorName, &TImageCreatorDetail::ImageCreatorID};
  }
};

// Owning lists of records; AddCopy appends a copy of a record the caller keeps.
template <class T>
using TStructureList = TOwningList<T>;
template <class T>
using TAOList = TOwningList<T>;

}  // namespace pk
