#pragma once

#include "level/field_record.h"

namespace zr3 {

// A named entry of one of the fixed tables: flags, groups and custom text. Nothing but a
// 32-byte name; no identifier and no neighbours.
class ZR3String : public FieldRecord<ZR3String, ZR3Base> {
 public:
  static constexpr std::size_t kSize = 32;

  ZR3String() = default;
  explicit ZR3String(ByteReader& in) { ReadFields(in); }

  template <class Self, class Visitor>
  static void Fields(Self& self, Visitor& visit) {
    visit(field::Text("name", self.name_, kSize, "Name").Means(meaning::kName));
  }
};

}  // namespace zr3
