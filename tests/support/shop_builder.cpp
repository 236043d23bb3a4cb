#include "support/shop_builder.h"

namespace zr3test {

Blob ShopRecord(const ShopFields& shop) {
  Blob b;
  b.Text(shop.name, 32);
  for (std::uint32_t item : shop.items) b.Id(item);
  b.U16(shop.buyback).U16(shop.markup);
  b.Id(shop.nextId).Id(shop.prevId).Id(shop.id);
  return b;
}

}  // namespace zr3test
