#pragma once

#include "level/zr3base.h"

namespace zr3 {

// A named entry of one of the fixed tables: flags, groups and custom text. Nothing but a
// 32-byte name; no identifier and no neighbours.
class ZR3String : public ZR3Base {
 public:
  static constexpr std::size_t kSize = 32;

  ZR3String() = default;
  explicit ZR3String(ByteReader& in);

  void Describe(Lines& lines) const override;
  void Write(ByteWriter& out) override;
  void CopyTo(ZR3Base& target) const override;
};

}  // namespace zr3
