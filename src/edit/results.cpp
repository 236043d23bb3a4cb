#include "edit/results.h"

#include <utility>

namespace zr3 {

Lines TextOf(ResultLines lines) {
  Lines text;
  text.reserve(lines.size());
  for (ResultLine& line : lines) text.push_back(std::move(line.text));
  return text;
}

}  // namespace zr3
