#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "level/field_record.h"

namespace zr3 {

// One reusable map square. Maps name tiles by their own identifier. The image path is
// stored only when the graphic identifier is not 0, so the record is 84 or 164 bytes.
class ZR3Tile : public FieldRecord<ZR3Tile> {
 public:
  static constexpr std::size_t kNameWidth = 32;
  static constexpr std::size_t kPathWidth = 80;

  ZR3Tile() = default;
  explicit ZR3Tile(ByteReader& in) { ReadFields(in); }

  Category ListCategory() const override { return Category::Tiles; }

  // The graphic identifier alone decides whether the path is stored; an empty path is
  // written as zeros so that the record keeps its length.
  template <class Self, class Visitor>
  static void Fields(Self& self, Visitor& visit) {
    visit(field::Text("name", self.name_, kNameWidth, "Name").Means(meaning::kName));
    visit(field::HexNumber("gfx_id", self.gfxId_, "GFX Id").Means(meaning::kGraphicId));
    visit(field::Opaque("opaque_a", self.opaqueA_).Means(meaning::kOpaque));
    visit(field::Number("layer", self.layer_, "Layer")
              .Means("The layer of the map the tile is meant for"));
    visit(field::Opaque("opaque_b", self.opaqueB_).Means(meaning::kOpaque));
    visit(field::Chain(self));
    visit(field::Text("image_path", self.path_, kPathWidth, "Image path", self.gfxId_ != 0)
              .Means(meaning::kImagePath));
  }

  const std::string& ImagePath() const { return path_; }

 private:
  std::uint32_t gfxId_ = 0;
  std::array<std::uint8_t, 32> opaqueA_{};
  std::uint8_t layer_ = 0;
  std::array<std::uint8_t, 3> opaqueB_{};
  std::string path_;
};

}  // namespace zr3
