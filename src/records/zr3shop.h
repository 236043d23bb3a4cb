#pragma once

#include <cstdint>

#include "level/zr3base.h"
#include "records/reference_slots.h"

namespace zr3 {

// A shop: up to ten items named by their own identifiers, and two price values.
class ZR3Shop : public ZR3ChainRecord {
 public:
  static constexpr std::size_t kNameWidth = 32;

  ZR3Shop() = default;
  explicit ZR3Shop(ByteReader& in);

  Category ListCategory() const override { return Category::Shops; }

  void Describe(Lines& lines) const override;
  void Write(ByteWriter& out) override;
  void Link(ZR3Level& level) override;
  void CopyTo(ZR3Base& target) const override;
  void CollectKeptIdentifiers(std::vector<std::uint32_t>& kept) const override;
  void CollectProblems(RecordProblems& problems) const override;

  bool RefersToItem(const ZR3Base& record) const;

 private:
  ReferenceSlots stock_;
  std::uint16_t buyback_ = 0;
  std::uint16_t markup_ = 0;
};

}  // namespace zr3
