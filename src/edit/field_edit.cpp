#include "edit/field_edit.h"

#include <algorithm>
#include <string>
#include <utility>

#include "level/field_access.h"
#include "level/zr3error.h"
#include "records/zr3map.h"
#include "records/zr3palette.h"
#include "script/zr3script.h"

namespace zr3 {

namespace {

const FieldInfo* FindIn(const FieldList& fields, std::string_view path) {
  for (const FieldInfo& field : fields) {
    if (field.name == path) return &field;
    for (const FieldInfo& slot : field.elements) {
      if (slot.name == path) return &slot;
    }
  }
  return nullptr;
}

void SetFieldText(ZR3Level& level, const FieldOwner& owner, std::string_view path,
                  std::string_view value) {
  if (owner.category) {
    RecordOf(level, *owner.category, static_cast<long long>(owner.index))
        .SetField(level, path, value);
  } else {
    level.Info().SetField(level, path, value);
  }
}

}  // namespace

std::string FieldText(const ZR3Level& level, const FieldOwner& owner, std::string_view path) {
  const FieldList fields =
      owner.category
          ? RecordOf(level, *owner.category, static_cast<long long>(owner.index)).Fields()
          : level.Info().Fields();
  const FieldInfo* field = FindIn(fields, path);
  if (field == nullptr) throw ZR3Error(std::string(path) + ": no such field");
  return field->value;
}

FieldEdit::FieldEdit(FieldOwner owner, std::string path, std::string value)
    : owner_(std::move(owner)),
      path_(std::move(path)),
      after_(std::move(value)),
      shape_(ShapeOf(owner_, path_)) {}

FieldEdit::Shape FieldEdit::ShapeOf(const FieldOwner& owner, std::string_view path) {
  // A map keeps only the cells inside its size.
  if (owner.category == Category::Maps && path == "size") return Shape::MapSize;
  // A script links the slots its counts bring into use.
  if (owner.category && IsScriptCategory(*owner.category)) {
    if (path == "condition_count") return Shape::ScriptConditions;
    if (path == "command_count") return Shape::ScriptCommands;
  }
  return Shape::Plain;
}

void FieldEdit::Redo(ZR3Level& level) {
  if (done_) {
    SetFieldText(level, owner_, path_, after_);
    return;
  }
  before_ = FieldText(level, owner_, path_);
  switch (shape_) {
    case Shape::Plain:
      SetFieldText(level, owner_, path_, after_);
      break;
    case Shape::MapSize:
      ReshapeMap(level);
      break;
    case Shape::ScriptConditions:
    case Shape::ScriptCommands:
      ReshapeScript(level);
      break;
  }
  done_ = true;
}

void FieldEdit::ReshapeScript(ZR3Level& level) {
  // A new count links every slot in use again, so all of them are kept as they were.
  const auto& script = level.At<ZR3Script>(*owner_.category, owner_.index);
  std::vector<ZR3ScriptCondition> conditions;
  std::vector<ZR3ScriptCommand> commands;
  for (std::size_t i = 0; i < ZR3Script::kSlotCount; ++i) {
    conditions.push_back(script.Condition(i));
    commands.push_back(script.Command(i));
  }
  SetFieldText(level, owner_, path_, after_);
  conditions_ = std::move(conditions);
  commands_ = std::move(commands);
}

std::size_t PaintedCellsOutside(const ZR3Level& level, std::size_t map, int side) {
  const auto& record = static_cast<const ZR3Map&>(RecordOf(level, Category::Maps, map));
  record.DecodeCells();
  std::size_t painted = 0;
  for (int row = 0; row < record.Side(); ++row) {
    for (int column = 0; column < record.Side(); ++column) {
      if (row < side && column < side) continue;
      for (std::size_t slot = 0; slot < ZR3Map::kSlotsPerCell; ++slot) {
        if (record.CellTileId(row, column, slot) != 0 || record.CellTile(row, column, slot)) {
          ++painted;
          break;
        }
      }
    }
  }
  return painted;
}

void FieldEdit::ReshapeMap(ZR3Level& level) {
  auto& map = level.At<ZR3Map>(Category::Maps, owner_.index);
  map.DecodeCells();
  const int oldSide = map.Side();
  std::vector<DroppedSlot> slots;
  for (int row = 0; row < oldSide; ++row) {
    for (int column = 0; column < oldSide; ++column) {
      for (std::size_t slot = 0; slot < ZR3Map::kSlotsPerCell; ++slot) {
        const std::uint32_t id = map.CellTileId(row, column, slot);
        ZR3ChainRecord* tile = map.CellTile(row, column, slot);
        if (id != 0 || tile) slots.push_back({row, column, slot, id, tile});
      }
    }
  }
  SetFieldText(level, owner_, path_, after_);
  const int side = map.Side();
  std::erase_if(slots,
                [side](const DroppedSlot& kept) { return kept.row < side && kept.column < side; });
  dropped_ = std::move(slots);
}

void FieldEdit::Undo(ZR3Level& level) const {
  SetFieldText(level, owner_, path_, before_);
  if (!dropped_.empty()) {
    auto& map = level.At<ZR3Map>(Category::Maps, owner_.index);
    for (const DroppedSlot& slot : dropped_) {
      map.SetCellTileId(slot.row, slot.column, slot.slot, slot.id, slot.tile);
    }
  }
  if (!conditions_.empty() || !commands_.empty()) {
    auto& script = level.At<ZR3Script>(*owner_.category, owner_.index);
    for (std::size_t i = 0; i < conditions_.size(); ++i) script.Condition(i) = conditions_[i];
    for (std::size_t i = 0; i < commands_.size(); ++i) script.Command(i) = commands_[i];
  }
}

bool FieldEdit::Absorb(const FieldEdit& later) {
  if (Reshapes() || later.Reshapes() || !done_ || !later.done_ || later.owner_ != owner_ ||
      later.path_ != path_) {
    return false;
  }
  after_ = later.after_;
  return true;
}

FieldEdit PaletteColourEdit(const ZR3Level& level, std::size_t palette, std::size_t colour,
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
  return FieldEdit(FieldOwner{Category::Palettes, palette}, "colours",
                   FieldLister::HexText(colours.data(), colours.size()));
}

FieldEdit EditField(ZR3Level& level, const FieldOwner& owner, std::string_view path,
                    std::string_view value) {
  FieldEdit edit(owner, std::string(path), std::string(value));
  edit.Redo(level);
  return edit;
}

FieldEdit EditPaletteColour(ZR3Level& level, std::size_t palette, std::size_t colour,
                            std::array<std::uint8_t, 3> rgb) {
  FieldEdit edit = PaletteColourEdit(level, palette, colour, rgb);
  edit.Redo(level);
  return edit;
}

}  // namespace zr3
