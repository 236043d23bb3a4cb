#include "support/compare.h"

#include <map>
#include <set>

namespace zr3test {

::testing::AssertionResult SameModuloIds(const Blob& built, const std::string& saved) {
  const std::string& original = built.Bytes();
  if (original.size() != saved.size()) {
    return ::testing::AssertionFailure()
           << "sizes differ: built " << original.size() << ", saved " << saved.size();
  }
  std::set<std::size_t> idBytes;
  std::map<std::uint32_t, std::uint32_t> forward;
  std::map<std::uint32_t, std::uint32_t> backward;
  for (std::size_t offset : built.IdOffsets()) {
    for (std::size_t i = 0; i < 4; ++i) idBytes.insert(offset + i);
    const std::uint32_t from = U32At(original, offset);
    const std::uint32_t to = U32At(saved, offset);
    if ((from == 0) != (to == 0)) {
      return ::testing::AssertionFailure()
             << "identifier at offset " << offset << " was " << from << " and became " << to;
    }
    auto [f, fNew] = forward.emplace(from, to);
    auto [b, bNew] = backward.emplace(to, from);
    if (f->second != to || b->second != from) {
      return ::testing::AssertionFailure() << "identifier at offset " << offset << " maps " << from
                                           << " to " << to << ", elsewhere " << from << " -> "
                                           << f->second << " and " << b->second << " -> " << to;
    }
  }
  for (std::size_t i = 0; i < original.size(); ++i) {
    if (original[i] != saved[i] && idBytes.count(i) == 0) {
      return ::testing::AssertionFailure()
             << "byte " << i << " differs: built " << int(static_cast<unsigned char>(original[i]))
             << ", saved " << int(static_cast<unsigned char>(saved[i]));
    }
  }
  return ::testing::AssertionSuccess();
}

}  // namespace zr3test
