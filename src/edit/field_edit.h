#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "level/category.h"
#include "level/zr3level.h"
#include "script/zr3scriptcommand.h"
#include "script/zr3scriptcondition.h"

namespace zr3 {

class ZR3ChainRecord;

// The record a field belongs to: the record at index of a category list, or the level
// information when there is no category.
struct FieldOwner {
  std::optional<Category> category;
  std::size_t index = 0;
  bool operator==(const FieldOwner&) const = default;
};

// The text of the field at path ("price", "items[3]") as the field interface shows it and
// SetField takes it back. Throws ZR3Error when the owner has no such field.
std::string FieldText(const ZR3Level& level, const FieldOwner& owner, std::string_view path);

// How many cells of the map hold a tile outside the square of the given side: the cells a
// smaller size would drop.
std::size_t PaintedCellsOutside(const ZR3Level& level, std::size_t map, int side);

// One field set to a new value, undoably: it keeps the field's text before and after the
// change, never a copy of the record. A field that reshapes its record also keeps what the
// reshaping changes besides the field, and only that: a map's size drops the cells outside it,
// a script's new count links its slots again.
class FieldEdit {
 public:
  // An edit not yet done: Redo does it.
  FieldEdit(FieldOwner owner, std::string path, std::string value);

  const FieldOwner& Owner() const { return owner_; }
  const std::string& Path() const { return path_; }
  // The field's text before the edit (known once it was first done) and the text it sets.
  const std::string& Before() const { return before_; }
  const std::string& After() const { return after_; }

  // Sets the field to its new value; the first time it also reads the value it replaces.
  // Throws ZR3Error with the reason and changes nothing when the field refuses the value.
  void Redo(ZR3Level& level);
  // Puts the old value back, and what a reshaping dropped.
  void Undo(ZR3Level& level) const;

  // Whether the edit changes the shape of its record, so that its undo must put back more
  // than the old value.
  bool Reshapes() const { return shape_ != Shape::Plain; }
  // Takes the new value of a later edit of the same field, so that one undo reverses both;
  // false, changing nothing, when the two cannot be one step.
  bool Absorb(const FieldEdit& later);
  // Whether the edit, merged or not, leaves the field as it found it.
  bool ChangesNothing() const { return done_ && before_ == after_; }

 private:
  enum class Shape { Plain, MapSize, ScriptConditions, ScriptCommands };
  static Shape ShapeOf(const FieldOwner& owner, std::string_view path);
  // The first doing of a reshaping edit, keeping what it changes.
  void ReshapeMap(ZR3Level& level);
  void ReshapeScript(ZR3Level& level);

  // A map cell slot that a smaller size dropped.
  struct DroppedSlot {
    int row;
    int column;
    std::size_t slot;
    std::uint32_t id;
    ZR3ChainRecord* tile;
  };

  FieldOwner owner_;
  std::string path_;
  std::string before_;
  std::string after_;
  bool done_ = false;
  Shape shape_;
  std::vector<DroppedSlot> dropped_;
  // A script's slots as they were before a new count linked them again.
  std::vector<ZR3ScriptCondition> conditions_;
  std::vector<ZR3ScriptCommand> commands_;
};

// The edit that sets one colour of a palette to rgb: an edit of the palette's colours, so that
// its undo puts back exactly the bytes it replaced. Throws ZR3Error when there is no such
// palette or colour.
FieldEdit PaletteColourEdit(const ZR3Level& level, std::size_t palette, std::size_t colour,
                            std::array<std::uint8_t, 3> rgb);

// The edits above done at once, for callers without an undo history (the command line, the
// comparison's tests); the answer can still undo them.
FieldEdit EditField(ZR3Level& level, const FieldOwner& owner, std::string_view path,
                    std::string_view value);
FieldEdit EditPaletteColour(ZR3Level& level, std::size_t palette, std::size_t colour,
                            std::array<std::uint8_t, 3> rgb);

}  // namespace zr3
