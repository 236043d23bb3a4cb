#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "level/category.h"
#include "level/zr3level.h"

namespace zr3::compare {

// The keys of a list's records: with their names, and of their content alone.
struct ListKeys {
  std::vector<std::uint64_t> named;
  std::vector<std::uint64_t> content;
};

// The keys of every counted list of one level, worked out once for each matching that reads
// the level (a merge matches its base with both sides).
class LevelKeys {
 public:
  explicit LevelKeys(const ZR3Level& level);

  const ZR3Level& Level() const { return level_; }
  const ListKeys& Of(Category list) const { return lists_[IndexOf(list)]; }

 private:
  const ZR3Level& level_;
  std::array<ListKeys, kCategoryCount> lists_;
};

// Which record of the newer version each record of the older one is, per list. Counted lists
// are aligned on a key of name and content (a longest common subsequence), the records left
// over are paired by equal key, then by equal name, then by position between the same aligned
// neighbours; the fixed tables pair by position.
class RecordMatching {
 public:
  static constexpr std::size_t kNone = SIZE_MAX;

  RecordMatching(const ZR3Level& before, const ZR3Level& after);
  // The same with the older version's keys worked out beforehand.
  RecordMatching(const LevelKeys& before, const ZR3Level& after);

  // The partner of the older record at index, or kNone when it was removed.
  std::size_t NewIndexOf(Category list, std::size_t index) const {
    return oldToNew_[IndexOf(list)][index];
  }
  std::size_t OldIndexOf(Category list, std::size_t index) const {
    return newToOld_[IndexOf(list)][index];
  }
  // Whether the pair left the order of the aligned records: a move.
  bool Moved(Category list, std::size_t oldIndex) const { return moved_[IndexOf(list)][oldIndex]; }
  // Whether the pair's keys are equal: nothing but identifiers can differ.
  bool SameContent(Category list, std::size_t oldIndex) const {
    return sameKey_[IndexOf(list)][oldIndex];
  }
  // Whether the older record a reference resolved to is the newer one (both none included).
  bool SameRecord(const ZR3Base* before, const ZR3Base* after, Category list) const;

 private:
  RecordMatching(const LevelKeys& before, const LevelKeys& after);
  void MatchList(Category list, const ListKeys& oldSide, const ListKeys& newSide);
  void Pair(Category list, std::size_t oldIndex, std::size_t newIndex);
  // Pairs records left over in one gap, the pair with the most equal fields first.
  void PairMostAlike(Category list, const std::vector<std::size_t>& olds,
                     const std::vector<std::size_t>& news);

  const ZR3Level& before_;
  const ZR3Level& after_;
  std::array<std::vector<std::size_t>, kCategoryCount> oldToNew_;
  std::array<std::vector<std::size_t>, kCategoryCount> newToOld_;
  std::array<std::vector<bool>, kCategoryCount> moved_;
  std::array<std::vector<bool>, kCategoryCount> sameKey_;
};

}  // namespace zr3::compare
