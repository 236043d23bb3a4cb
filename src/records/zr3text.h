#pragma once

#include <string>

#include "level/zr3base.h"

namespace zr3 {

// A named message of up to 512 characters that scripts display. It carries no identifiers
// and has no neighbours. Every byte of the text is kept as read: high characters, line
// breaks and other control characters come back unchanged.
class ZR3Text : public ZR3Base {
 public:
  static constexpr std::size_t kTextWidth = 512;
  static constexpr std::size_t kSize = 544;

  ZR3Text() = default;
  explicit ZR3Text(ByteReader& in);

  void Describe(Lines& lines) const override;
  void Write(ByteWriter& out) override;
  void CopyTo(ZR3Base& target) const override;

  const std::string& Text() const { return text_; }

 private:
  std::string text_;
};

}  // namespace zr3
