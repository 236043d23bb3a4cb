#include <gtest/gtest.h>

#include <string>

#include "level/bytes.h"
#include "level/record_factory.h"
#include "level/zr3level.h"
#include "records/zr3shop.h"
#include "support/compare.h"
#include "support/level_builder.h"
#include "support/shop_builder.h"
#include "support/stand_in_record.h"

namespace {

using zr3::Category;
using zr3test::ShopFields;
using zr3test::ShopRecord;

constexpr std::size_t kShopSize = 88;
constexpr std::size_t kFirstSlot = 32;

zr3::Lines DescribeOf(const zr3::ZR3Base& record) {
  zr3::Lines lines;
  record.Describe(lines);
  return lines;
}

// Where the shop at index begins in a file built by the builder.
std::size_t ShopOffset(const zr3test::LevelBuilder& builder, std::size_t index) {
  for (const auto& [name, offset] : builder.SectionOffsets()) {
    if (name == "Shops") return offset + 2 + index * kShopSize;
  }
  throw std::logic_error("no shop section");
}

TEST(Shop, ReadsAndWritesEightyEightBytes) {
  ShopFields spec;
  spec.name = "Armoury";
  spec.items[9] = 0x01020304;
  spec.buyback = 7;
  spec.id = 3;
  const std::string bytes = ShopRecord(spec).Bytes() + "trailing";
  zr3::ByteReader in(bytes);
  zr3::ZR3Shop shop(in);
  EXPECT_EQ(in.Offset(), kShopSize);
  zr3::ByteWriter out;
  shop.Write(out);
  EXPECT_EQ(out.Size(), kShopSize);
  EXPECT_EQ(zr3test::U32At(out.Data(), kFirstSlot + 9 * 4), 0x01020304u);
}

TEST(Shop, RoundTripKeepsUnresolvedItemIdentifiers) {
  zr3test::LevelBuilder builder;
  ShopFields first;
  first.name = std::string(32, 'S');  // fills the field: no terminating zero
  // 1 is also the first save identifier a save hands out: it must not be reused.
  first.items[0] = 1;
  first.items[7] = 0xDEADBEEF;
  first.buyback = 0xFFFF;
  first.markup = 0x8001;
  first.nextId = 200;
  first.id = 100;
  ShopFields second;
  second.name = "Second";
  second.items[3] = 0xDEADBEEF;
  second.prevId = 100;
  second.id = 200;
  builder.Add(Category::Shops, ShopRecord(first)).Add(Category::Shops, ShopRecord(second));
  const zr3test::Blob built = builder.Build();

  zr3::ZR3Level level;
  level.LoadFromBytes(built.Bytes());
  const std::string saved = level.SaveToBytes();

  EXPECT_TRUE(zr3test::SameModuloIds(built, saved));
  const std::size_t at = ShopOffset(builder, 0);
  EXPECT_EQ(zr3test::U32At(saved, at + kFirstSlot), 1u);
  EXPECT_EQ(zr3test::U32At(saved, at + kFirstSlot + 7 * 4), 0xDEADBEEFu);
  EXPECT_EQ(zr3test::U32At(saved, ShopOffset(builder, 1) + kFirstSlot + 3 * 4), 0xDEADBEEFu);
  for (std::size_t i = 0; i < 2; ++i) {
    const std::uint32_t ownId = zr3test::U32At(saved, ShopOffset(builder, i) + kShopSize - 4);
    EXPECT_NE(ownId, 1u);
    EXPECT_NE(ownId, 0xDEADBEEFu);
  }
}

TEST(Shop, DescribesSlotsByNumberAndPricesUnsigned) {
  zr3test::LevelBuilder builder;
  ShopFields spec;
  spec.name = "Corner";
  spec.items[7] = 0x12345678;
  spec.buyback = 0xFFFF;
  spec.markup = 40000;
  spec.id = 0x0A0B0C0D;
  builder.Add(Category::Shops, ShopRecord(spec));
  zr3::ZR3Level level;
  level.LoadFromBytes(builder.Build().Bytes());

  const zr3::Lines expected = {"Name: Corner",   "Item 7: 78 56 34 12",  "Buyback: 65535",
                               "Markup: 40000",  "Next Id: 00 00 00 00", "Prev Id: 00 00 00 00",
                               "Id: 0d 0c 0b 0a"};
  EXPECT_EQ(DescribeOf(*level.List(Category::Shops)[0]), expected);
}

TEST(Shop, LinksFirstItemWithMatchingIdentifierAndSkipsEmptySlots) {
  zr3test::LevelBuilder builder;
  ShopFields spec;
  spec.name = "Stall";
  spec.items[2] = 5;
  spec.items[4] = 6;  // matches no item
  spec.id = 9;
  builder.Add(Category::Shops, ShopRecord(spec));
  zr3::ZR3Level level;
  level.LoadFromBytes(builder.Build().Bytes());
  // An item whose identifier is 0 must not fill the empty slots.
  auto& zero = zr3test::AddStandIn(level, Category::Items, 0, "Zero");
  auto& first = zr3test::AddStandIn(level, Category::Items, 5, "First");
  auto& second = zr3test::AddStandIn(level, Category::Items, 5, "Second");
  level.LinkAll();
  auto& shop = level.At<zr3::ZR3Shop>(Category::Shops, 0);

  const zr3::Lines lines = DescribeOf(shop);
  ASSERT_GE(lines.size(), 3u);
  EXPECT_EQ(lines[1], "Item 2: First");
  EXPECT_EQ(lines[2], "Item 4: 06 00 00 00");
  EXPECT_TRUE(shop.RefersTo(first));
  EXPECT_FALSE(shop.RefersTo(second));
  EXPECT_FALSE(shop.RefersTo(zero));

  zero.SetSaveId(40);
  first.SetSaveId(41);
  second.SetSaveId(42);
  zr3::ByteWriter out;
  shop.Write(out);
  EXPECT_EQ(zr3test::U32At(out.Data(), kFirstSlot + 2 * 4), 41u);
  EXPECT_EQ(zr3test::U32At(out.Data(), kFirstSlot + 4 * 4), 6u);
  EXPECT_EQ(zr3test::U32At(out.Data(), kFirstSlot), 0u);
  std::vector<std::uint32_t> kept;
  shop.CollectKeptIdentifiers(kept);
  EXPECT_EQ(kept, std::vector<std::uint32_t>{6});
}

TEST(Shop, CopyCarriesContentAndReferencesButNotNeighbours) {
  zr3test::LevelBuilder builder;
  ShopFields spec;
  spec.name = "Original";
  spec.items[1] = 5;
  spec.items[8] = 0x77;
  spec.buyback = 12;
  spec.markup = 34;
  spec.nextId = 2;
  spec.id = 1;
  ShopFields other;
  other.prevId = 1;
  other.id = 2;
  builder.Add(Category::Shops, ShopRecord(spec)).Add(Category::Shops, ShopRecord(other));
  zr3::ZR3Level level;
  level.LoadFromBytes(builder.Build().Bytes());
  auto& item = zr3test::AddStandIn(level, Category::Items, 5, "Sword");
  level.LinkAll();
  const auto& source = level.At<zr3::ZR3Shop>(Category::Shops, 0);
  ASSERT_NE(source.Next(), nullptr);

  std::unique_ptr<zr3::ZR3Base> copy = zr3::NewRecord(Category::Shops);
  ASSERT_NE(copy, nullptr);
  source.CopyTo(*copy);
  auto& shop = static_cast<zr3::ZR3Shop&>(*copy);
  EXPECT_EQ(DescribeOf(shop), DescribeOf(source));
  EXPECT_TRUE(shop.RefersTo(item));
  EXPECT_EQ(shop.Next(), nullptr);
}

}  // namespace
