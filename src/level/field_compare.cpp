#include "level/field_compare.h"

#include "level/zr3error.h"

namespace zr3 {

bool SameValue(const FieldInfo& before, const FieldInfo& after, const SameRecord& same) {
  if (before.kind != after.kind) return before.value == after.value;
  switch (before.kind) {
    case FieldKind::ChainId:
      return true;
    case FieldKind::Reference:
    case FieldKind::Position:
      if (before.resolved && after.resolved)
        return same(*before.resolved, *after.resolved, *before.target);
      return !before.resolved && !after.resolved && before.number == after.number;
    default:
      return before.value == after.value;
  }
}

void VisitDifferences(const FieldList& before, const FieldList& after, const SameRecord& same,
                      const FieldPair& differs, const FieldPair& part) {
  if (before.size() != after.size()) {
    throw ZR3Error("Cannot compare records of different kinds");
  }
  for (std::size_t i = 0; i < before.size(); ++i) {
    const FieldInfo& b = before[i];
    const FieldInfo& a = after[i];
    if (b.name != a.name) {
      throw ZR3Error("Cannot compare the field " + b.name + " with the field " + a.name);
    }
    if (b.kind == FieldKind::Part && part) {
      part(b, a);
    } else if (b.kind == FieldKind::Run && a.kind == FieldKind::Run) {
      VisitDifferences(b.elements, a.elements, same, differs);
    } else if (!SameValue(b, a, same)) {
      differs(b, a);
    }
  }
}

std::vector<FieldDifference> CompareFields(const FieldList& before, const FieldList& after,
                                           const SameRecord& same) {
  std::vector<FieldDifference> differences;
  VisitDifferences(before, after, same, [&](const FieldInfo& b, const FieldInfo& a) {
    differences.push_back({b.name, b.value, a.value});
  });
  return differences;
}

}  // namespace zr3
