#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "level/id_map.h"

namespace {

using zr3::IdMap;

// Every identifier a file can hold is a key, the one that marks free slots included, and
// the values stay with their keys while the table grows.
TEST(IdMap, KeepsEveryIdentifierAcrossGrowth) {
  IdMap<int> map;
  std::vector<std::uint32_t> ids = {0, 1, 0xFFFFFFFF, 0xFFFFFFFE, 0x80000000};
  for (std::uint32_t i = 0; i < 5000; ++i) ids.push_back(i * 7919u + 2);
  for (std::size_t i = 0; i < ids.size(); ++i) {
    const auto [value, inserted] = map.TryEmplace(ids[i], static_cast<int>(i));
    ASSERT_TRUE(inserted) << ids[i];
    ASSERT_EQ(*value, static_cast<int>(i));
  }
  for (std::size_t i = 0; i < ids.size(); ++i) {
    const int* value = map.Find(ids[i]);
    ASSERT_NE(value, nullptr) << ids[i];
    EXPECT_EQ(*value, static_cast<int>(i)) << ids[i];
  }
  EXPECT_EQ(map.Find(3), nullptr);
}

// The first value stored for an identifier stays; the caller updates it through the pointer.
TEST(IdMap, ASecondInsertFindsTheFirstValue) {
  IdMap<int> map;
  for (std::uint32_t id : {5u, 0xFFFFFFFFu}) {
    map.TryEmplace(id, 1);
    auto [value, inserted] = map.TryEmplace(id, 2);
    EXPECT_FALSE(inserted);
    EXPECT_EQ(*value, 1);
    *value = 3;
    EXPECT_EQ(*map.Find(id), 3);
  }
  IdMap<int> empty;
  EXPECT_EQ(empty.Find(0xFFFFFFFF), nullptr);
  EXPECT_EQ(empty.Find(0), nullptr);
}

}  // namespace
