#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace zr3test {

// Sets each spec's next and previous identifiers from its neighbours' own identifiers, as a
// consistent file has them (0 at the ends).
template <class Spec>
void ChainIds(std::vector<Spec>& specs) {
  for (std::size_t i = 0; i < specs.size(); ++i) {
    specs[i].prevId = i > 0 ? specs[i - 1].id : 0;
    specs[i].nextId = i + 1 < specs.size() ? specs[i + 1].id : 0;
  }
}

// Gives the records of one section consecutive own identifiers from firstId, then chains them.
template <class Spec>
void ChainIds(std::vector<Spec>& specs, std::uint32_t firstId) {
  for (std::size_t i = 0; i < specs.size(); ++i) {
    specs[i].id = static_cast<std::uint32_t>(firstId + i);
  }
  ChainIds(specs);
}

}  // namespace zr3test
