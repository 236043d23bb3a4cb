#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "level/zr3base.h"
#include "records/reference_slots.h"

namespace zr3 {

// An opponent: its statistics, two group memberships and five lists of ten references each
// (items, spells, pre and post object scripts, tiles), ending with an image path.
class ZR3Monster : public ZR3ChainRecord {
 public:
  static constexpr std::size_t kNameWidth = 32;
  static constexpr std::size_t kImagePathWidth = 80;
  // Level, maximum HP, HP, maximum SP, SP, STR, INT and DEX, in file order.
  static constexpr std::size_t kStatisticCount = 8;

  ZR3Monster() = default;
  explicit ZR3Monster(ByteReader& in);

  Category ListCategory() const override { return Category::Monsters; }

  void Describe(Lines& lines) const override;
  void Write(ByteWriter& out) override;
  void Link(ZR3Level& level) override;
  void CopyTo(ZR3Base& target) const override;
  void CollectProblems(RecordProblems& problems) const override;

  bool RefersToScript(const ZR3Base& record) const;
  bool RefersToTile(const ZR3Base& record) const;
  bool RefersToItem(const ZR3Base& record) const;
  bool RefersToSpell(const ZR3Base& record) const;
  bool RefersToGroup(const ZR3Base& record) const;

  ZR3Base* Group1() const { return group1_; }
  ZR3Base* Group2() const { return group2_; }
  const std::string& ImagePath() const { return imagePath_; }

 private:
  std::uint32_t gfxId_ = 0;
  std::array<std::uint16_t, kStatisticCount> statistics_{};
  std::uint32_t experience_ = 0;
  std::uint16_t gold_ = 0;
  std::uint16_t type_ = 0;
  std::uint16_t build_ = 0;
  std::uint16_t attackStyle_ = 0;
  std::array<std::uint8_t, 2> opaqueA_{};
  std::int16_t groupIndex1_ = 0;
  std::int16_t groupIndex2_ = 0;
  std::array<std::uint8_t, 2> opaqueB_{};
  ReferenceSlots items_;
  ReferenceSlots spells_;
  ReferenceSlots preScripts_;
  ReferenceSlots postScripts_;
  ReferenceSlots tiles_;
  std::array<std::uint8_t, 8> opaqueC_{};
  std::string imagePath_;

  ZR3Base* group1_ = nullptr;
  ZR3Base* group2_ = nullptr;
};

}  // namespace zr3
