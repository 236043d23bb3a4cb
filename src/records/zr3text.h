#pragma once

#include <string>

#include "level/field_record.h"

namespace zr3 {

// A named message of up to 512 characters that scripts display. It carries no identifiers
// and has no neighbours. Every byte of the text is kept as read: high characters, line
// breaks and other control characters come back unchanged.
class ZR3Text : public FieldRecord<ZR3Text, ZR3Base> {
 public:
  static constexpr std::size_t kNameWidth = 32;
  static constexpr std::size_t kTextWidth = 512;
  static constexpr std::size_t kSize = 544;

  ZR3Text() = default;
  explicit ZR3Text(ByteReader& in) { ReadFields(in); }

  template <class Self, class Visitor>
  static void Fields(Self& self, Visitor& visit) {
    visit(field::Text("name", self.name_, kNameWidth, "Name").Means(meaning::kName));
    visit(field::Text("text", self.text_, kTextWidth, "Text").Means("The text a script shows"));
  }

  const std::string& Text() const { return text_; }

 private:
  std::string text_;
};

}  // namespace zr3
