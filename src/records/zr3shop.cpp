#include "records/zr3shop.h"

#include "level/bytes.h"
#include "level/zr3level.h"

namespace zr3 {

namespace {

// An item identifier that matched no item survives the save.
constexpr auto kUnresolvedStock = ReferenceSlots::Unresolved::KeepStoredId;

}  // namespace

ZR3Shop::ZR3Shop(ByteReader& in) {
  name_ = in.FixedText(kNameWidth);
  stock_.Read(in);
  buyback_ = in.U16();
  markup_ = in.U16();
  ReadChain(in);
}

void ZR3Shop::Describe(Lines& lines) const {
  lines.push_back("Name: " + name_);
  stock_.Describe(lines, "Item ");
  lines.push_back("Buyback: " + std::to_string(buyback_));
  lines.push_back("Markup: " + std::to_string(markup_));
  DescribeChain(lines);
}

void ZR3Shop::Write(ByteWriter& out) {
  out.FixedText(name_, kNameWidth);
  stock_.Write(out, kUnresolvedStock);
  out.U16(buyback_);
  out.U16(markup_);
  WriteChain(out);
}

void ZR3Shop::Link(ZR3Level& level) {
  for (std::size_t slot = 0; slot < ReferenceSlots::kCount; ++slot) {
    stock_.ResolveSlot(slot, level, Category::Items);
  }
  LinkNeighbours(level);
}

void ZR3Shop::CopyTo(ZR3Base& target) const {
  auto& shop = static_cast<ZR3Shop&>(target);
  shop.name_ = name_;
  shop.stock_ = stock_;
  shop.buyback_ = buyback_;
  shop.markup_ = markup_;
  CopyChainTo(shop);
}

void ZR3Shop::CollectKeptIdentifiers(std::vector<std::uint32_t>& kept) const {
  stock_.CollectUnresolved(kept);
}

void ZR3Shop::CollectProblems(RecordProblems& problems) const {
  stock_.CollectProblems(problems, "Item ", Category::Items, kUnresolvedStock);
}

bool ZR3Shop::RefersToItem(const ZR3Base& record) const {
  return stock_.RefersTo(record);
}

}  // namespace zr3
