#include "compare/record_matching.h"

#include <algorithm>
#include <map>
#include <string_view>
#include <unordered_map>

#include "compare/record_keys.h"
#include "compare/sequence_alignment.h"
#include "level/parallel.h"

namespace zr3::compare {

namespace {

// Beyond this many inserted and removed records a list is aligned greedily rather than by
// the longest common subsequence, whose search grows with the square of the edits.
constexpr std::size_t kMaxAlignedEdits = 2000;
// Beyond this many candidate pairs in one gap the records left over pair by position.
constexpr std::size_t kMaxLikenessPairs = 4096;

// Pairs equal keys in increasing order of both positions, each record of the older list
// taking the first free equal record after the last pair.
std::vector<AlignedPair> GreedyAlignment(const std::vector<std::uint64_t>& before,
                                         const std::vector<std::uint64_t>& after) {
  std::unordered_map<std::uint64_t, std::vector<std::size_t>> where;
  for (std::size_t j = 0; j < after.size(); ++j) where[after[j]].push_back(j);
  std::vector<AlignedPair> pairs;
  std::size_t next = 0;
  for (std::size_t i = 0; i < before.size(); ++i) {
    const auto found = where.find(before[i]);
    if (found == where.end()) continue;
    const std::vector<std::size_t>& places = found->second;
    const auto place = std::lower_bound(places.begin(), places.end(), next);
    if (place == places.end()) continue;
    pairs.emplace_back(i, *place);
    next = *place + 1;
  }
  return pairs;
}

// For each index, how many aligned records come before it: the gap it stands in.
std::vector<std::size_t> Gaps(std::size_t count, const std::vector<AlignedPair>& anchors,
                              bool newer) {
  std::vector<std::size_t> gaps(count);
  std::size_t anchor = 0;
  for (std::size_t i = 0; i < count; ++i) {
    while (anchor < anchors.size() &&
           (newer ? anchors[anchor].second : anchors[anchor].first) < i) {
      ++anchor;
    }
    gaps[i] = anchor;
  }
  return gaps;
}

}  // namespace

LevelKeys::LevelKeys(const ZR3Level& level) : level_(level) {
  const NameHashes names(level);
  for (const Category list : kFileOrder) {
    if (IsFixedTable(list)) continue;
    const RecordList& records = level.List(list);
    ListKeys& keys = lists_[IndexOf(list)];
    keys.named.resize(records.size());
    keys.content.resize(records.size());
    ParallelParts(records.size(), 64, [&](std::size_t first, std::size_t last) {
      for (std::size_t i = first; i < last; ++i) {
        keys.content[i] = RecordKeys::ContentKey(*records[i], list, names);
        keys.named[i] = RecordKeys::Key(*records[i], keys.content[i]);
      }
    });
  }
}

RecordMatching::RecordMatching(const ZR3Level& before, const ZR3Level& after)
    : RecordMatching(LevelKeys(before), LevelKeys(after)) {}

RecordMatching::RecordMatching(const LevelKeys& before, const ZR3Level& after)
    : RecordMatching(before, LevelKeys(after)) {}

RecordMatching::RecordMatching(const LevelKeys& beforeKeys, const LevelKeys& afterKeys)
    : before_(beforeKeys.Level()), after_(afterKeys.Level()) {
  for (const Category list : kFileOrder) {
    const std::size_t index = IndexOf(list);
    const RecordList& before = before_.List(list);
    const RecordList& after = after_.List(list);
    oldToNew_[index].assign(before.size(), kNone);
    newToOld_[index].assign(after.size(), kNone);
    moved_[index].assign(before.size(), false);
    sameKey_[index].assign(before.size(), false);
    if (IsFixedTable(list)) {
      const std::size_t count = std::min(before.size(), after.size());
      for (std::size_t i = 0; i < count; ++i) {
        Pair(list, i, i);
        sameKey_[index][i] = before[i]->Name() == after[i]->Name();
      }
      continue;
    }
    MatchList(list, beforeKeys.Of(list), afterKeys.Of(list));
  }
}

void RecordMatching::Pair(Category list, std::size_t oldIndex, std::size_t newIndex) {
  oldToNew_[IndexOf(list)][oldIndex] = newIndex;
  newToOld_[IndexOf(list)][newIndex] = oldIndex;
}

void RecordMatching::MatchList(Category list, const ListKeys& oldSide, const ListKeys& newSide) {
  const std::vector<std::uint64_t>& oldKeys = oldSide.named;
  const std::vector<std::uint64_t>& newKeys = newSide.named;
  const std::size_t index = IndexOf(list);
  std::vector<std::size_t>& oldToNew = oldToNew_[index];
  std::vector<std::size_t>& newToOld = newToOld_[index];
  std::optional<std::vector<AlignedPair>> common =
      CommonSubsequence(oldKeys, newKeys, kMaxAlignedEdits);
  const std::vector<AlignedPair> aligned =
      common ? std::move(*common) : GreedyAlignment(oldKeys, newKeys);
  for (const auto& [i, j] : aligned) Pair(list, i, j);
  const std::vector<std::size_t> oldGaps = Gaps(oldKeys.size(), aligned, false);
  const std::vector<std::size_t> newGaps = Gaps(newKeys.size(), aligned, true);

  // The records left over pair by an equal key, then by an equal name, then by equal content
  // (a record renamed and moved); such a pair that crosses the aligned records has moved.
  const auto pairBy = [&](auto oldKey, auto newKey, auto usable) {
    std::unordered_map<decltype(newKey(0)), std::vector<std::size_t>> free;
    for (std::size_t j = newKeys.size(); j-- > 0;) {
      if (newToOld[j] == kNone && usable(newSide, j)) free[newKey(j)].push_back(j);
    }
    for (std::size_t i = 0; i < oldKeys.size(); ++i) {
      if (oldToNew[i] != kNone || !usable(oldSide, i)) continue;
      const auto found = free.find(oldKey(i));
      if (found == free.end() || found->second.empty()) continue;
      const std::size_t j = found->second.back();
      found->second.pop_back();
      Pair(list, i, j);
      moved_[index][i] = oldGaps[i] != newGaps[j];
    }
  };
  const auto any = [](const ListKeys&, std::size_t) { return true; };
  pairBy([&](std::size_t i) { return oldKeys[i]; }, [&](std::size_t j) { return newKeys[j]; }, any);
  pairBy([&](std::size_t i) { return std::string_view(before_.List(list)[i]->Name()); },
         [&](std::size_t j) { return std::string_view(after_.List(list)[j]->Name()); }, any);
  // Content alone tells a record only when no other record of either version has it.
  std::unordered_map<std::uint64_t, int> contentCount;
  for (const std::uint64_t key : oldSide.content) ++contentCount[key];
  for (const std::uint64_t key : newSide.content) ++contentCount[key];
  pairBy([&](std::size_t i) { return oldSide.content[i]; },
         [&](std::size_t j) { return newSide.content[j]; },
         [&](const ListKeys& side, std::size_t k) { return contentCount[side.content[k]] == 2; });

  // What is still left pairs inside the same gap: a record replaced in place. Where a gap
  // holds as many on both sides they pair by position; otherwise the most alike pair first.
  std::map<std::size_t, std::pair<std::vector<std::size_t>, std::vector<std::size_t>>> gaps;
  for (std::size_t i = 0; i < oldKeys.size(); ++i) {
    if (oldToNew[i] == kNone) gaps[oldGaps[i]].first.push_back(i);
  }
  for (std::size_t j = 0; j < newKeys.size(); ++j) {
    if (newToOld[j] == kNone && gaps.contains(newGaps[j])) gaps[newGaps[j]].second.push_back(j);
  }
  for (const auto& [gap, left] : gaps) {
    const auto& [olds, news] = left;
    if (olds.size() == news.size() || olds.size() * news.size() > kMaxLikenessPairs) {
      for (std::size_t k = 0; k < std::min(olds.size(), news.size()); ++k) {
        Pair(list, olds[k], news[k]);
      }
      continue;
    }
    PairMostAlike(list, olds, news);
  }
  for (std::size_t i = 0; i < oldKeys.size(); ++i) {
    if (oldToNew[i] != kNone) sameKey_[index][i] = oldKeys[i] == newKeys[oldToNew[i]];
  }
}

void RecordMatching::PairMostAlike(Category list, const std::vector<std::size_t>& olds,
                                   const std::vector<std::size_t>& news) {
  const auto keysOf = [list](const RecordList& records, const std::vector<std::size_t>& indices) {
    std::vector<std::vector<std::uint64_t>> keys;
    for (const std::size_t index : indices) {
      keys.push_back(RecordKeys::FieldKeys(*records[index], list));
    }
    return keys;
  };
  const std::vector<std::vector<std::uint64_t>> oldFields = keysOf(before_.List(list), olds);
  const std::vector<std::vector<std::uint64_t>> newFields = keysOf(after_.List(list), news);
  struct Candidate {
    std::size_t alike;
    std::size_t oldAt;
    std::size_t newAt;
  };
  std::vector<Candidate> candidates;
  for (std::size_t a = 0; a < olds.size(); ++a) {
    for (std::size_t b = 0; b < news.size(); ++b) {
      std::size_t alike = 0;
      for (std::size_t f = 0; f < std::min(oldFields[a].size(), newFields[b].size()); ++f) {
        alike += oldFields[a][f] == newFields[b][f] ? 1 : 0;
      }
      candidates.push_back({alike, a, b});
    }
  }
  std::stable_sort(candidates.begin(), candidates.end(),
                   [](const Candidate& x, const Candidate& y) { return x.alike > y.alike; });
  for (const Candidate& candidate : candidates) {
    const std::size_t i = olds[candidate.oldAt];
    const std::size_t j = news[candidate.newAt];
    if (NewIndexOf(list, i) == kNone && OldIndexOf(list, j) == kNone) Pair(list, i, j);
  }
}

bool RecordMatching::SameRecord(const ZR3Base* before, const ZR3Base* after, Category list) const {
  if (!before || !after) return before == after;
  const std::vector<std::size_t>& oldToNew = oldToNew_[IndexOf(list)];
  const auto position = static_cast<std::size_t>(before->Position());
  return position < oldToNew.size() &&
         oldToNew[position] == static_cast<std::size_t>(after->Position());
}

}  // namespace zr3::compare
