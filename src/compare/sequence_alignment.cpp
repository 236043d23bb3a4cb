#include "compare/sequence_alignment.h"

#include <algorithm>

namespace zr3::compare {

namespace {

// Myers' greedy search over diagonals, keeping each step's furthest reaching points (a row of
// 2d + 1 values at step d) so that the path can be walked back.
std::optional<std::vector<AlignedPair>> MyersMiddle(std::span<const std::uint64_t> a,
                                                    std::span<const std::uint64_t> b,
                                                    std::size_t offset, std::size_t maxEdits) {
  const long n = static_cast<long>(a.size());
  const long m = static_cast<long>(b.size());
  const long limit = std::min<long>(n + m, static_cast<long>(maxEdits));
  std::vector<long> furthest(static_cast<std::size_t>(2 * limit + 3), 0);
  const auto at = [&](long k) -> long& {
    return furthest[static_cast<std::size_t>(k + limit + 1)];
  };
  std::vector<std::vector<long>> trace;
  for (long d = 0; d <= limit; ++d) {
    for (long k = -d; k <= d; k += 2) {
      long x = (k == -d || (k != d && at(k - 1) < at(k + 1))) ? at(k + 1) : at(k - 1) + 1;
      long y = x - k;
      while (x < n && y < m && a[static_cast<std::size_t>(x)] == b[static_cast<std::size_t>(y)]) {
        ++x;
        ++y;
      }
      at(k) = x;
      if (x < n || y < m) continue;
      // Walks the steps back from the end, collecting the diagonal moves.
      std::vector<AlignedPair> pairs;
      long cx = n;
      long cy = m;
      for (long step = d; step >= 0; --step) {
        const long ck = cx - cy;
        long startX = 0;
        long startY = 0;
        if (step > 0) {
          const std::vector<long>& previous = trace[static_cast<std::size_t>(step - 1)];
          const auto prev = [&](long pk) {
            return previous[static_cast<std::size_t>(pk + step - 1)];
          };
          const bool down = ck == -step || (ck != step && prev(ck - 1) < prev(ck + 1));
          const long pk = down ? ck + 1 : ck - 1;
          const long px = prev(pk);
          startX = down ? px : px + 1;
          startY = startX - ck;
          while (cx > startX && cy > startY) {
            --cx;
            --cy;
            pairs.emplace_back(offset + static_cast<std::size_t>(cx),
                               offset + static_cast<std::size_t>(cy));
          }
          cx = px;
          cy = px - pk;
        } else {
          while (cx > 0 && cy > 0) {
            --cx;
            --cy;
            pairs.emplace_back(offset + static_cast<std::size_t>(cx),
                               offset + static_cast<std::size_t>(cy));
          }
        }
      }
      std::reverse(pairs.begin(), pairs.end());
      return pairs;
    }
    trace.emplace_back(furthest.begin() + (limit + 1 - d), furthest.begin() + (limit + 2 + d));
  }
  return std::nullopt;
}

}  // namespace

std::optional<std::vector<AlignedPair>> CommonSubsequence(std::span<const std::uint64_t> before,
                                                          std::span<const std::uint64_t> after,
                                                          std::size_t maxEdits) {
  std::size_t head = 0;
  while (head < before.size() && head < after.size() && before[head] == after[head]) ++head;
  std::size_t tail = 0;
  while (tail < before.size() - head && tail < after.size() - head &&
         before[before.size() - 1 - tail] == after[after.size() - 1 - tail]) {
    ++tail;
  }
  std::optional<std::vector<AlignedPair>> middle =
      MyersMiddle(before.subspan(head, before.size() - head - tail),
                  after.subspan(head, after.size() - head - tail), head, maxEdits);
  if (!middle) return std::nullopt;
  std::vector<AlignedPair> pairs;
  pairs.reserve(head + middle->size() + tail);
  for (std::size_t i = 0; i < head; ++i) pairs.emplace_back(i, i);
  pairs.insert(pairs.end(), middle->begin(), middle->end());
  for (std::size_t i = tail; i > 0; --i) {
    pairs.emplace_back(before.size() - i, after.size() - i);
  }
  return pairs;
}

}  // namespace zr3::compare
