#pragma once

#include <cstdint>
#include <string>

#include "level/zr3base.h"

namespace zr3 {

// A named picture that scripts show by list position and the level information names by
// identifier. The image path is stored only when the resource value is not 0, so the record
// is 48 or 128 bytes.
class ZR3Graphic : public ZR3ChainRecord {
 public:
  static constexpr std::size_t kNameWidth = 32;
  static constexpr std::size_t kPathWidth = 80;

  ZR3Graphic() = default;
  explicit ZR3Graphic(ByteReader& in);

  Category ListCategory() const override { return Category::Graphics; }
  void Describe(Lines& lines) const override;
  void Write(ByteWriter& out) override;
  void CopyTo(ZR3Base& target) const override;

 private:
  bool HasPath() const { return resource_ != 0; }

  std::uint32_t resource_ = 0;
  std::string path_;
};

}  // namespace zr3
