#pragma once

#include <array>
#include <cstdint>

#include "level/field_record.h"

namespace zr3 {

// A named piece of music. The tool does not interpret the music data: it keeps the bytes
// verbatim, shows them in hex and writes them back.
class ZR3Song : public FieldRecord<ZR3Song> {
 public:
  static constexpr std::size_t kNameWidth = 32;
  static constexpr std::size_t kDataSize = 404;
  static constexpr std::size_t kSize = 448;

  ZR3Song() = default;
  explicit ZR3Song(ByteReader& in) { ReadFields(in); }

  Category ListCategory() const override { return Category::Songs; }

  template <class Self, class Visitor>
  static void Fields(Self& self, Visitor& visit) {
    visit(field::Text("name", self.name_, kNameWidth, "Name").Means(meaning::kName));
    visit(field::Opaque("data", self.data_).About("Music", "The music data, kept as read"));
    visit(field::Chain(self));
  }

  const std::array<std::uint8_t, kDataSize>& Data() const { return data_; }

 private:
  std::array<std::uint8_t, kDataSize> data_{};
};

}  // namespace zr3
