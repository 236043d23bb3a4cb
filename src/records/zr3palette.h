#pragma once

#include <array>
#include <cstdint>

#include "level/zr3base.h"

namespace zr3 {

// A named table of 256 colours of three bytes each, kept exactly as read. The level
// information names its palette by the palette's own identifier.
class ZR3Palette : public ZR3ChainRecord {
 public:
  static constexpr std::size_t kColourCount = 256;
  static constexpr std::size_t kColourBytes = kColourCount * 3;
  static constexpr std::size_t kSize = 812;

  ZR3Palette() = default;
  explicit ZR3Palette(ByteReader& in);

  Category ListCategory() const override { return Category::Palettes; }
  void Describe(Lines& lines) const override;
  void Write(ByteWriter& out) override;
  void CopyTo(ZR3Base& target) const override;

  const std::array<std::uint8_t, kColourBytes>& Colours() const { return colours_; }

 private:
  std::array<std::uint8_t, kColourBytes> colours_{};
};

}  // namespace zr3
