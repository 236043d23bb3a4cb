#pragma once

#include <array>
#include <cstdint>

#include "level/field_record.h"

namespace zr3 {

// A shop: up to ten items named by their own identifiers, and two price values.
class ZR3Shop : public FieldRecord<ZR3Shop> {
 public:
  static constexpr std::size_t kNameWidth = 32;
  static constexpr std::size_t kStockSlots = 10;

  ZR3Shop() = default;
  explicit ZR3Shop(ByteReader& in) { ReadFields(in); }

  Category ListCategory() const override { return Category::Shops; }

  template <class Self, class Visitor>
  static void Fields(Self& self, Visitor& visit) {
    visit(field::Text("name", self.name_, kNameWidth, "Name").Means(meaning::kName));
    visit(field::ReferenceRun("items", self.stock_, "Item ")
              .About("Items", "The items the shop offers, up to ten"));
    visit(field::Number("buyback", self.buyback_, "Buyback")
              .Means("The shop's buyback value (0 to 65535)"));
    visit(field::Number("markup", self.markup_, "Markup")
              .Means("The shop's markup value (0 to 65535)"));
    visit(field::Chain(self));
  }

 private:
  // Identifier 0 is an empty slot; an item identifier that matched no item survives the save.
  using ItemReference = IdReference<IdRule{Category::Items, Match::First, true, AtSave::Kept}>;

  std::array<ItemReference, kStockSlots> stock_{};
  std::uint16_t buyback_ = 0;
  std::uint16_t markup_ = 0;
};

}  // namespace zr3
