#pragma once

#include <cstddef>
#include <string>

#include "level/category.h"
#include "level/zr3level.h"

namespace zr3 {

enum class MoveDirection { Up, Down };

// What a move did: the record at from now sits at to, and the record that was at to sits at
// from. Nothing changed when refusal is set (an end of the list, or a fixed table).
struct MoveResult {
  std::string refusal;
  std::size_t from = 0;
  std::size_t to = 0;
  bool Moved() const { return refusal.empty(); }
};

// Exchanges the record with its neighbour in the direction, keeps positions equal to indexes,
// relinks the neighbours of both and of the records around the pair, and sets the modified
// flag.
MoveResult MoveRecord(ZR3Level& level, Category category, std::size_t index,
                      MoveDirection direction);

}  // namespace zr3
