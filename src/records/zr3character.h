#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "level/zr3base.h"

namespace zr3 {

// The eight pictures of a character figure, two per direction. Each picture is a graphic
// identifier and, when that identifier is not 0, the path of an image file; so a set
// occupies 76 bytes plus 80 for every non-zero identifier.
class ZR3Character : public ZR3ChainRecord {
 public:
  static constexpr std::size_t kImageCount = 8;
  static constexpr std::size_t kPathWidth = 80;
  static constexpr std::size_t kFixedSize = 76;

  ZR3Character() = default;
  explicit ZR3Character(ByteReader& in);

  Category ListCategory() const override { return Category::Characters; }
  void Describe(Lines& lines) const override;
  void Write(ByteWriter& out) override;
  void CopyTo(ZR3Base& target) const override;

  // Pictures in the order up 1, up 2, down 1, down 2, left 1, left 2, right 1, right 2.
  std::uint32_t ImageId(std::size_t i) const { return imageIds_[i]; }
  const std::string& ImagePath(std::size_t i) const { return imagePaths_[i]; }

 private:
  std::array<std::uint32_t, kImageCount> imageIds_{};
  std::array<std::string, kImageCount> imagePaths_;
};

}  // namespace zr3
