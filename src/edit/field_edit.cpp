#include "edit/field_edit.h"

#include <algorithm>
#include <string>
#include <utility>

#include "edit/edit_common.h"
#include "level/field_access.h"
#include "level/record_factory.h"
#include "level/zr3error.h"
#include "records/zr3palette.h"

namespace zr3 {

// A record's fields, or the level information's.
struct FieldEdit::State {
  std::unique_ptr<ZR3Base> record;
  std::optional<ZR3LevelInfo> info;
};

FieldEdit::FieldEdit(FieldOwner owner, std::string path)
    : owner_(std::move(owner)), path_(std::move(path)) {}
FieldEdit::FieldEdit(FieldEdit&&) noexcept = default;
FieldEdit& FieldEdit::operator=(FieldEdit&&) noexcept = default;
FieldEdit::~FieldEdit() = default;

void FieldEdit::Restore(ZR3Level& level, const State& state) const {
  if (state.info) {
    level.Info() = *state.info;
  } else {
    state.record->CopyTo(RecordOf(level, *owner_.category, owner_.index));
  }
  level.SetModified(true);
}

void FieldEdit::Undo(ZR3Level& level) const {
  Restore(level, *before_);
}

void FieldEdit::Redo(ZR3Level& level) const {
  Restore(level, *after_);
}

void FieldEdit::Absorb(FieldEdit&& later) {
  after_ = std::move(later.after_);
}

FieldEdit EditField(ZR3Level& level, const FieldOwner& owner, std::string_view path,
                    std::string_view value) {
  FieldEdit edit(owner, std::string(path));
  auto capture = [&] {
    auto state = std::make_unique<FieldEdit::State>();
    if (!owner.category) {
      state->info = level.Info();
    } else {
      const ZR3Base& record = RecordOf(level, *owner.category, owner.index);
      state->record = NewRecord(*owner.category);
      record.CopyTo(*state->record);
    }
    return state;
  };
  edit.before_ = capture();
  if (owner.category) {
    RecordOf(level, *owner.category, owner.index).SetField(level, path, value);
  } else {
    level.Info().SetField(level, path, value);
  }
  edit.after_ = capture();
  level.SetModified(true);
  return edit;
}

FieldEdit EditPaletteColour(ZR3Level& level, std::size_t palette, std::size_t colour,
                            std::array<std::uint8_t, 3> rgb) {
  static_assert(ZR3Palette::kBytesPerColour == 3);
  const auto& record = static_cast<const ZR3Palette&>(
      RecordOf(level, Category::Palettes, static_cast<long long>(palette)));
  if (colour >= ZR3Palette::kColourCount) {
    throw ZR3Error("No colour " + std::to_string(colour) + " in a palette (it holds " +
                   std::to_string(ZR3Palette::kColourCount) + ")");
  }
  std::array<std::uint8_t, ZR3Palette::kColourBytes> colours = record.Colours();
  std::copy(rgb.begin(), rgb.end(),
            colours.begin() + static_cast<std::ptrdiff_t>(colour * ZR3Palette::kBytesPerColour));
  return EditField(level, FieldOwner{Category::Palettes, palette}, "colours",
                   FieldLister::HexText(colours.data(), colours.size()));
}

}  // namespace zr3
