#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "level/category.h"
#include "level/zr3level.h"

namespace zr3 {

// The record a field belongs to: the record at index of a category list, or the level
// information when there is no category.
struct FieldOwner {
  std::optional<Category> category;
  std::size_t index = 0;
  bool operator==(const FieldOwner&) const = default;
};

// One record's fields before and after a change: a copy of that one record (or of the level
// information), never of the level, put back over the record in place so that its position,
// its neighbours and everything that refers to it stay as they are.
class FieldEdit {
 public:
  FieldEdit(FieldEdit&&) noexcept;
  FieldEdit& operator=(FieldEdit&&) noexcept;
  ~FieldEdit();

  const FieldOwner& Owner() const { return owner_; }
  const std::string& Path() const { return path_; }

  // Puts back the fields as they were before the change, or as they were after it.
  void Undo(ZR3Level& level) const;
  void Redo(ZR3Level& level) const;
  // Takes the later state of another edit of the same field, so that one undo reverses both.
  void Absorb(FieldEdit&& later);

 private:
  friend FieldEdit EditField(ZR3Level&, const FieldOwner&, std::string_view, std::string_view);
  struct State;
  FieldEdit(FieldOwner owner, std::string path);
  void Restore(ZR3Level& level, const State& state) const;

  FieldOwner owner_;
  std::string path_;
  std::unique_ptr<State> before_;
  std::unique_ptr<State> after_;
};

// Sets the field at path of the owner from its text, as the record's SetField does (throws
// ZR3Error with the reason and changes nothing on refusal), marks the level modified and
// answers what changed.
FieldEdit EditField(ZR3Level& level, const FieldOwner& owner, std::string_view path,
                    std::string_view value);

// Sets one colour of a palette to rgb as an edit of the palette's colours, so that its undo
// puts back exactly the bytes it replaced. Throws ZR3Error and changes nothing when there is
// no such palette or colour.
FieldEdit EditPaletteColour(ZR3Level& level, std::size_t palette, std::size_t colour,
                            std::array<std::uint8_t, 3> rgb);

}  // namespace zr3
