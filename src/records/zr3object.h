#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "level/zr3base.h"

namespace zr3 {

// A thing placed on a map: its map, its location there, a graphic, an image path and up to
// ten object scripts. Always 176 bytes.
class ZR3Object : public ZR3ChainRecord {
 public:
  static constexpr std::size_t kNameWidth = 32;
  static constexpr std::size_t kPathWidth = 80;
  static constexpr std::size_t kScriptSlots = 10;
  static constexpr std::size_t kSize = 176;

  ZR3Object() = default;
  explicit ZR3Object(ByteReader& in);

  Category ListCategory() const override { return Category::Objects; }
  void Describe(Lines& lines) const override;
  void Write(ByteWriter& out) override;
  // The map and the scripts take the first record of an equal identifier.
  void Link(ZR3Level& level) override;
  void CopyTo(ZR3Base& target) const override;
  void CollectKeptIdentifiers(std::vector<std::uint32_t>& kept) const override;

  bool RefersToScript(const ZR3Base& record) const;
  bool RefersToMap(const ZR3Base& record) const;

 private:
  std::uint32_t mapId_ = 0;
  ZR3ChainRecord* map_ = nullptr;
  std::uint8_t locationX_ = 0;
  std::uint8_t locationY_ = 0;
  std::array<std::uint8_t, 2> unknown_{};
  std::uint32_t gfxId_ = 0;
  // 0 marks an empty slot.
  std::array<std::uint32_t, kScriptSlots> scriptIds_{};
  std::array<ZR3ChainRecord*, kScriptSlots> scripts_{};
  std::string path_;
};

}  // namespace zr3
