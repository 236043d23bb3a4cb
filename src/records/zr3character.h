#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "level/field_record.h"

namespace zr3 {

// The eight pictures of a character figure, two per direction. Each picture is a graphic
// identifier and, when that identifier is not 0, the path of an image file; so a set
// occupies 76 bytes plus 80 for every non-zero identifier.
class ZR3Character : public FieldRecord<ZR3Character> {
 public:
  static constexpr std::size_t kNameWidth = 32;
  static constexpr std::size_t kImageCount = 8;
  static constexpr std::size_t kPathWidth = 80;
  static constexpr std::size_t kFixedSize = 76;

  ZR3Character() = default;
  explicit ZR3Character(ByteReader& in) { ReadFields(in); }

  Category ListCategory() const override { return Category::Characters; }

  // Pictures in the order up 1, up 2, down 1, down 2, left 1, left 2, right 1, right 2. The
  // identifiers decide the length: every non-zero one is followed by a path field, and a
  // path kept in memory for an identifier of 0 is never written.
  template <class Self, class Visitor>
  static void Fields(Self& self, Visitor& visit) {
    static constexpr std::string_view kIdNames[kImageCount] = {
        "gfx_id_up_1",   "gfx_id_up_2",   "gfx_id_down_1",  "gfx_id_down_2",
        "gfx_id_left_1", "gfx_id_left_2", "gfx_id_right_1", "gfx_id_right_2"};
    static constexpr std::string_view kIdLabels[kImageCount] = {
        "GFX Id0", "GFX Id1", "GFX Id2", "GFX Id3", "GFX Id4", "GFX Id5", "GFX Id6", "GFX Id7"};
    static constexpr std::string_view kPathNames[kImageCount] = {
        "image_up_1",   "image_up_2",   "image_down_1",  "image_down_2",
        "image_left_1", "image_left_2", "image_right_1", "image_right_2"};
    static constexpr std::string_view kPathLabels[kImageCount] = {
        "Image up1",   "Image up2",   "Image down1",  "Image down2",
        "Image left1", "Image left2", "Image right1", "Image right2"};
    visit(field::Text("name", self.name_, kNameWidth, "Name").Means(meaning::kName));
    for (std::size_t i = 0; i < kImageCount; ++i) {
      visit(
          field::HexNumber(kIdNames[i], self.imageIds_[i], kIdLabels[i])
              .Means("A picture's graphic identifier (up 1, up 2, down 1, down 2, left 1, left 2, "
                     "right 1, right 2); with 0 no image path is stored"));
    }
    visit(field::Chain(self));
    for (std::size_t i = 0; i < kImageCount; ++i) {
      visit(field::Text(kPathNames[i], self.imagePaths_[i], kPathWidth, kPathLabels[i],
                        self.imageIds_[i] != 0)
                .Means(meaning::kImagePath));
    }
  }

  std::uint32_t ImageId(std::size_t i) const { return imageIds_[i]; }
  const std::string& ImagePath(std::size_t i) const { return imagePaths_[i]; }

 private:
  std::array<std::uint32_t, kImageCount> imageIds_{};
  std::array<std::string, kImageCount> imagePaths_;
};

}  // namespace zr3
