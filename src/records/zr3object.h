#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "level/field_record.h"

namespace zr3 {

// A thing placed on a map: its map, its location there, a graphic, an image path and up to
// ten object scripts. Always 176 bytes.
class ZR3Object : public FieldRecord<ZR3Object> {
 public:
  static constexpr std::size_t kNameWidth = 32;
  static constexpr std::size_t kPathWidth = 80;
  static constexpr std::size_t kScriptSlots = 10;
  static constexpr std::size_t kSize = 176;

  ZR3Object() = default;
  explicit ZR3Object(ByteReader& in) { ReadFields(in); }

  Category ListCategory() const override { return Category::Objects; }

  template <class Self, class Visitor>
  static void Fields(Self& self, Visitor& visit) {
    visit(field::Text("name", self.name_, kNameWidth, "Name").Means(meaning::kName));
    visit(field::Reference("map", self.map_, "Map").Means("The map the object stands on"));
    visit(
        field::Number("location_x", self.locationX_, "")
            .About("Column", "The column it stands in, from 0 on the west; below the map's size"));
    visit(field::Number("location_y", self.locationY_, "")
              .About("Row", "The row it stands in, from 0 on the north; below the map's size"));
    visit(field::Line([&self](Lines& lines) {
      lines.push_back("Location: " + std::to_string(self.locationX_) + "," +
                      std::to_string(self.locationY_));
    }));
    visit(field::Opaque("opaque", self.opaque_).Means(meaning::kOpaque));
    visit(field::HexNumber("gfx_id", self.gfxId_, "GFX Id")
              .Means("The graphic identifier of the object's picture"));
    visit(field::ReferenceRun("scripts", self.scripts_, "Script ")
              .About("Scripts", "The object scripts that belong to the object, up to ten"));
    visit(field::Chain(self));
    visit(
        field::Text("image_path", self.path_, kPathWidth, "Image path").Means(meaning::kImagePath));
  }

  const std::string& ImagePath() const { return path_; }
  // The map the object stands on, when its identifier resolved, and its place there: the
  // first coordinate is the column (x), the second the row (y).
  const ZR3ChainRecord* Map() const { return map_.Record(); }
  int Column() const { return locationX_; }
  int Row() const { return locationY_; }

 private:
  // The map identifier 0 is looked up like any other; an unresolved one is kept. Script
  // identifier 0 is an empty slot, and an unresolved script slot is saved as empty.
  using MapReference = IdReference<IdRule{Category::Maps, Match::First, false, AtSave::Kept}>;
  using ObjectScriptReference =
      IdReference<IdRule{Category::ObjectScripts, Match::First, true, AtSave::WrittenAsZero}>;

  MapReference map_;
  std::uint8_t locationX_ = 0;
  std::uint8_t locationY_ = 0;
  std::array<std::uint8_t, 2> opaque_{};
  std::uint32_t gfxId_ = 0;
  std::array<ObjectScriptReference, kScriptSlots> scripts_{};
  std::string path_;
};

}  // namespace zr3
