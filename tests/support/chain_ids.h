#pragma once

#include <cstdint>
#include <vector>

namespace zr3test {

// Gives the records of one section consecutive own identifiers from firstId and the next and
// previous identifiers of a consistent chain, as a saved file holds them.
template <class Spec>
void ChainIds(std::vector<Spec>& specs, std::uint32_t firstId) {
  for (std::size_t i = 0; i < specs.size(); ++i) {
    const auto id = static_cast<std::uint32_t>(firstId + i);
    specs[i].id = id;
    specs[i].prevId = i > 0 ? id - 1 : 0;
    specs[i].nextId = i + 1 < specs.size() ? id + 1 : 0;
  }
}

}  // namespace zr3test
