#include "level/field_compare.h"

#include "level/zr3error.h"

namespace zr3 {

bool SameValue(const FieldInfo& before, const FieldInfo& after, const SameRecord& same) {
  switch (before.kind) {
    case FieldKind::ChainId:
      return true;
    case FieldKind::Reference:
    case FieldKind::Position:
      if (before.resolved && after.resolved) return same(*before.resolved, *after.resolved);
      return !before.resolved && !after.resolved && before.number == after.number;
    default:
      return before.value == after.value;
  }
}

std::vector<FieldDifference> CompareFields(const FieldList& before, const FieldList& after,
                                           const SameRecord& same) {
  std::vector<FieldDifference> differences;
  const auto compare = [&](const FieldInfo& a, const FieldInfo& b) {
    if (a.name != b.name || a.kind != b.kind) {
      throw ZR3Error("Cannot compare the field " + a.name + " with the field " + b.name);
    }
    if (!SameValue(a, b, same)) differences.push_back({a.name, a.value, b.value});
  };
  if (before.size() != after.size()) {
    throw ZR3Error("Cannot compare records of different kinds");
  }
  for (std::size_t i = 0; i < before.size(); ++i) {
    if (before[i].kind != FieldKind::Run) {
      compare(before[i], after[i]);
      continue;
    }
    if (before[i].elements.size() != after[i].elements.size()) {
      throw ZR3Error("Cannot compare records of different kinds");
    }
    for (std::size_t slot = 0; slot < before[i].elements.size(); ++slot) {
      compare(before[i].elements[slot], after[i].elements[slot]);
    }
  }
  return differences;
}

}  // namespace zr3
