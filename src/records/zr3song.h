#pragma once

#include <array>
#include <cstdint>

#include "level/zr3base.h"

namespace zr3 {

// A named piece of music. The tool does not interpret the music data: it keeps the bytes
// verbatim, shows them in hex and writes them back.
class ZR3Song : public ZR3ChainRecord {
 public:
  static constexpr std::size_t kDataSize = 404;
  static constexpr std::size_t kSize = 448;

  ZR3Song() = default;
  explicit ZR3Song(ByteReader& in);

  Category ListCategory() const override { return Category::Songs; }
  void Describe(Lines& lines) const override;
  void Write(ByteWriter& out) override;
  void CopyTo(ZR3Base& target) const override;

  const std::array<std::uint8_t, kDataSize>& Data() const { return data_; }

 private:
  std::array<std::uint8_t, kDataSize> data_{};
};

}  // namespace zr3
