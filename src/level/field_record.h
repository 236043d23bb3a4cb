#pragma once

#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "level/field_access.h"
#include "level/field_visitors.h"
#include "level/zr3base.h"
#include "level/zr3error.h"

namespace zr3 {

// Sets the field at path of self (a record or the level information) from its text, and links
// what the new value names by position; on a refusal self is left as it was. The one path by
// which a field is set from its text.
template <class Self>
void SetFieldOf(Self& self, ZR3Level& level, std::string_view path, std::string_view value) {
  const Self before = self;
  try {
    std::vector<bool> active;
    PositionStates states(active);
    Self::Fields(self, states);
    FieldSetter set(level, path, value);
    Self::Fields(self, set);
    if (!set.Found()) throw ZR3Error(std::string(path) + ": no such field");
    // A changed type can make a parameter name a record, or stop it from naming one; every
    // other link stays as it is.
    ChangedPositionLinker link(level, active);
    Self::Fields(self, link);
  } catch (...) {
    self = before;
    throw;
  }
  level.SetModified(true);
}

// The record operations every kind derives from its field list: a kind `Derived` declares
//
//   template <class Self, class Visitor>
//   static void Fields(Self& self, Visitor& visit);
//
// which hands each field, in file order, to visit; FieldRecord turns that one list into
// reading, writing, the details text, linking, copying, the problem report, the stored
// identifiers a save keeps, the reference search and the field interface.
template <class Derived, class Base = ZR3ChainRecord>
class FieldRecord : public Base {
 public:
  void Describe(Lines& lines) const override {
    FieldDescriber describe(lines);
    Derived::Fields(Self(), describe);
  }
  void Write(ByteWriter& out) override {
    FieldWriter write(out, Owner());
    Derived::Fields(Self(), write);
  }
  void Link(ZR3Level& level) override {
    LinkFields(level);
    this->LinkNeighbours(level);
  }
  void CopyTo(ZR3Base& target) const override { static_cast<Derived&>(target) = Self(); }
  void CollectKeptIdentifiers(std::vector<std::uint32_t>& kept) const override {
    KeptIdentifiers collect(kept);
    Derived::Fields(Self(), collect);
  }
  void CollectProblems(RecordProblems& problems) const override {
    ProblemCollector collect(problems);
    Derived::Fields(Self(), collect);
  }
  bool RefersTo(const ZR3Base& record) const override {
    ReferenceFinder find(record);
    Derived::Fields(Self(), find);
    return find.Found();
  }
  FieldList Fields() const override {
    FieldList fields;
    FieldLister list(fields);
    Derived::Fields(Self(), list);
    return fields;
  }
  FieldList FieldsToCompare() const override {
    FieldList fields;
    FieldLister list(fields, true);
    Derived::Fields(Self(), list);
    return fields;
  }
  void SetField(ZR3Level& level, std::string_view path, std::string_view value) override {
    SetFieldOf(Self(), level, path, value);
  }

 protected:
  FieldRecord() = default;
  FieldRecord(const FieldRecord&) = default;
  FieldRecord& operator=(const FieldRecord&) = default;

  void ReadFields(ByteReader& in) {
    FieldReader read(in);
    Derived::Fields(Self(), read);
  }
  void LinkFields(ZR3Level& level) {
    for (const bool lastPass : {false, true}) {
      FieldLinker link(level, lastPass);
      Derived::Fields(Self(), link);
    }
  }

 private:
  Derived& Self() { return static_cast<Derived&>(*this); }
  const Derived& Self() const { return static_cast<const Derived&>(*this); }
  const ZR3ChainRecord* Owner() const {
    if constexpr (std::is_base_of_v<ZR3ChainRecord, Derived>) {
      return this;
    } else {
      return nullptr;
    }
  }
};

}  // namespace zr3
