#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "level/field_record.h"

namespace zr3 {

// A named table of 256 colours of three bytes each, kept exactly as read. The level
// information names its palette by the palette's own identifier.
class ZR3Palette : public FieldRecord<ZR3Palette> {
 public:
  static constexpr std::size_t kNameWidth = 32;
  static constexpr std::size_t kColourCount = 256;
  static constexpr std::size_t kBytesPerColour = 3;  // red, green, blue
  static constexpr std::size_t kColourBytes = kColourCount * kBytesPerColour;
  static constexpr std::size_t kSize = 812;

  ZR3Palette() = default;
  explicit ZR3Palette(ByteReader& in) { ReadFields(in); }

  Category ListCategory() const override { return Category::Palettes; }

  template <class Self, class Visitor>
  static void Fields(Self& self, Visitor& visit) {
    visit(field::Text("name", self.name_, kNameWidth, "Name").Means(meaning::kName));
    visit(field::Opaque("colours", self.colours_, "")
              .About("Colours", "The 256 colours, three bytes each: red, green, blue (0 to 255)"));
    visit(field::Line([&self](Lines& lines) { self.DescribeColours(lines); }));
    visit(field::Chain(self));
  }

  const std::array<std::uint8_t, kColourBytes>& Colours() const { return colours_; }

 private:
  // "Colour 5:" and the colour's three bytes, for each colour.
  void DescribeColours(Lines& lines) const {
    for (std::size_t n = 0; n < kColourCount; ++n) {
      lines.push_back(HexDump("Colour " + std::to_string(n) + ":", &colours_[n * kBytesPerColour],
                              kBytesPerColour));
    }
  }

  std::array<std::uint8_t, kColourBytes> colours_{};
};

}  // namespace zr3
