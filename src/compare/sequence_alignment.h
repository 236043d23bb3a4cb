#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <utility>
#include <vector>

namespace zr3::compare {

// One pair of a common subsequence: a position in the first sequence and its partner in the
// second.
using AlignedPair = std::pair<std::size_t, std::size_t>;

// A longest common subsequence of two sequences of keys (Myers' difference algorithm, after
// the common head and tail are set aside), in increasing order of both positions. None when
// more than maxEdits insertions and deletions separate them: the caller then pairs by a
// cheaper rule, so that two unrelated long lists cost no more than linear time and bounded
// memory.
std::optional<std::vector<AlignedPair>> CommonSubsequence(std::span<const std::uint64_t> before,
                                                          std::span<const std::uint64_t> after,
                                                          std::size_t maxEdits);

}  // namespace zr3::compare
