#include <gtest/gtest.h>

#include <random>

#include "compare/sequence_alignment.h"

namespace {

using zr3::compare::AlignedPair;
using zr3::compare::CommonSubsequence;

std::size_t LcsLength(const std::vector<std::uint64_t>& a, const std::vector<std::uint64_t>& b) {
  std::vector<std::vector<std::size_t>> length(a.size() + 1,
                                               std::vector<std::size_t>(b.size() + 1));
  for (std::size_t i = 1; i <= a.size(); ++i) {
    for (std::size_t j = 1; j <= b.size(); ++j) {
      length[i][j] = a[i - 1] == b[j - 1] ? length[i - 1][j - 1] + 1
                                          : std::max(length[i - 1][j], length[i][j - 1]);
    }
  }
  return length[a.size()][b.size()];
}

// Over random pairs of sequences from a small alphabet: the answer is a common subsequence,
// increasing in both, as long as the longest one.
TEST(SequenceAlignment, FindsALongestCommonSubsequence) {
  std::mt19937 random(27);
  for (int round = 0; round < 500; ++round) {
    std::vector<std::uint64_t> a(random() % 30);
    std::vector<std::uint64_t> b(random() % 30);
    const std::uint64_t alphabet = 1 + random() % 6;
    for (auto& key : a) key = random() % alphabet;
    for (auto& key : b) key = random() % alphabet;
    const std::optional<std::vector<AlignedPair>> pairs =
        CommonSubsequence(a, b, a.size() + b.size());
    ASSERT_TRUE(pairs);
    EXPECT_EQ(pairs->size(), LcsLength(a, b));
    for (std::size_t k = 0; k < pairs->size(); ++k) {
      const auto [i, j] = (*pairs)[k];
      ASSERT_LT(i, a.size());
      ASSERT_LT(j, b.size());
      EXPECT_EQ(a[i], b[j]);
      if (k > 0) {
        EXPECT_LT((*pairs)[k - 1].first, i);
        EXPECT_LT((*pairs)[k - 1].second, j);
      }
    }
  }
}

TEST(SequenceAlignment, GivesUpBeyondTheEditsAllowed) {
  const std::vector<std::uint64_t> a = {1, 2, 3, 4, 5, 6};
  const std::vector<std::uint64_t> b = {1, 7, 8, 9, 6};
  EXPECT_FALSE(CommonSubsequence(a, b, 6));
  EXPECT_EQ(CommonSubsequence(a, b, 7)->size(), 2u);
}

}  // namespace
