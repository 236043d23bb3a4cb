#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "level/zr3base.h"

namespace zr3 {

// One reusable map square. Maps name tiles by their own identifier. The image path is
// stored only when the graphic identifier is not 0, so the record is 84 or 164 bytes.
class ZR3Tile : public ZR3ChainRecord {
 public:
  static constexpr std::size_t kNameWidth = 32;
  static constexpr std::size_t kPathWidth = 80;

  ZR3Tile() = default;
  explicit ZR3Tile(ByteReader& in);

  Category ListCategory() const override { return Category::Tiles; }
  void Describe(Lines& lines) const override;
  void Write(ByteWriter& out) override;
  void CopyTo(ZR3Base& target) const override;

 private:
  bool HasPath() const { return gfxId_ != 0; }

  std::uint32_t gfxId_ = 0;
  std::array<std::uint8_t, 32> unknown_{};
  std::uint8_t layer_ = 0;
  std::array<std::uint8_t, 3> unknownAfterLayer_{};
  std::string path_;
};

}  // namespace zr3
