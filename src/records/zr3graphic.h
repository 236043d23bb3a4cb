#pragma once

#include <cstdint>
#include <string>

#include "level/field_record.h"

namespace zr3 {

// A named picture that scripts show by list position and the level information names by
// identifier. The image path is stored only when the resource value is not 0, so the record
// is 48 or 128 bytes.
class ZR3Graphic : public FieldRecord<ZR3Graphic> {
 public:
  static constexpr std::size_t kNameWidth = 32;
  static constexpr std::size_t kPathWidth = 80;

  ZR3Graphic() = default;
  explicit ZR3Graphic(ByteReader& in) { ReadFields(in); }

  Category ListCategory() const override { return Category::Graphics; }

  // The resource value alone decides whether the path is stored; an empty path is written
  // as zeros so that the record keeps its length.
  template <class Self, class Visitor>
  static void Fields(Self& self, Visitor& visit) {
    visit(field::Text("name", self.name_, kNameWidth, "Name").Means(meaning::kName));
    visit(field::HexNumber("resource", self.resource_, "GFX resource?")
              .Means("The graphic's resource value; with 0 no image path is stored"));
    visit(field::Chain(self));
    visit(field::Text("image_path", self.path_, kPathWidth, "Image path", self.resource_ != 0)
              .Means(meaning::kImagePath));
  }

  const std::string& ImagePath() const { return path_; }

 private:
  std::uint32_t resource_ = 0;
  std::string path_;
};

}  // namespace zr3
