#include "compare/level_diff.h"

#include "compare/record_changes.h"
#include "compare/record_matching.h"

namespace zr3::compare {

LevelDiff CompareLevels(const ZR3Level& before, const ZR3Level& after) {
  const RecordMatching matching(before, after);
  const RecordChanges fields(before, after, matching);
  LevelDiff diff;
  diff.info = fields.CompareInfo();
  for (const Category category : kFileOrder) {
    const RecordList& oldList = before.List(category);
    const RecordList& newList = after.List(category);
    ListDiff list{category, {}, {}, {}, {}, {}};
    for (std::size_t i = 0; i < oldList.size(); ++i) {
      if (matching.NewIndexOf(category, i) == RecordMatching::kNone) {
        list.removed.push_back({i, oldList[i]->Name()});
      }
    }
    for (std::size_t j = 0; j < newList.size(); ++j) {
      const std::size_t i = matching.OldIndexOf(category, j);
      const ZR3Base& record = *newList[j];
      if (i == RecordMatching::kNone) {
        list.added.push_back({j, record.Name()});
        continue;
      }
      const ZR3Base& old = *oldList[i];
      if (matching.Moved(category, i)) list.moved.push_back({record.Name(), i, j});
      if (old.Name() != record.Name()) list.renamed.push_back({j, old.Name(), record.Name()});
      if (matching.SameContent(category, i)) continue;
      RecordChange change{i, j, record.Name(), {}, {}};
      fields.CompareRecords(old, record, change);
      if (!change.fields.empty() || !change.cells.empty())
        list.changed.push_back(std::move(change));
    }
    if (!list.Empty()) diff.lists.push_back(std::move(list));
  }
  return diff;
}

std::vector<MapCellChanges> ChangedCells(const LevelDiff& diff) {
  std::vector<MapCellChanges> maps;
  for (const ListDiff& list : diff.lists) {
    if (list.category != Category::Maps) continue;
    for (const RecordChange& change : list.changed) {
      if (!change.cells.empty()) maps.push_back({change.index, change.cells});
    }
  }
  return maps;
}

}  // namespace zr3::compare
