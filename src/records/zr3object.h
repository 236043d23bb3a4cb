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
    visit(field::Text("name", self.name_, kNameWidth, "Name"));
    visit(field::Reference("map", self.map_, "Map"));
    visit(field::Number("location_x", self.locationX_, ""));
    visit(field::Number("location_y", self.locationY_, ""));
    visit(field::Line([&self](Lines& lines) {
      lines.push_back("Location: " + std::to_string(self.locationX_) + "," +
                      std::to_string(self.locationY_));
    }));
    visit(field::Opaque("opaque", self.opaque_));
    visit(field::HexNumber("gfx_id", self.gfxId_, "GFX Id"));
    visit(field::ReferenceRun("scripts", self.scripts_, "Script "));
    visit(field::Chain(self));
    visit(field::Text("image_path", self.path_, kPathWidth, "Image path"));
  }

  const std::string& ImagePath() const { return path_; }
  // The map it stands on (none while unresolved) and its cell there: column, then row.
  const ZR3ChainRecord* StandsOn() const { return map_.Record(); }
  int LocationX() const { return locationX_; }
  int LocationY() const { return locationY_; }

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
