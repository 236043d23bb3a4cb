#include "compare/level_listing.h"

#include "compare/record_changes.h"
#include "level/field_access.h"
#include "records/zr3map.h"
#include "records/zr3palette.h"
#include "script/zr3script.h"

namespace zr3::compare {

namespace {

// record is none for the level information.
void FieldLines(const ZR3Base* record, const FieldList& fields, Lines& lines) {
  for (const FieldInfo& field : fields) {
    if (field.kind == FieldKind::ChainId || field.name == "name") continue;
    if (field.kind == FieldKind::Run) {
      FieldLines(record, field.elements, lines);
    } else if (field.kind == FieldKind::Opaque && field.name == "colours" &&
               dynamic_cast<const ZR3Palette*>(record)) {
      for (std::size_t colour = 0; colour < ZR3Palette::kColourCount; ++colour) {
        lines.push_back("  colour " + std::to_string(colour) + ": " +
                        field.value.substr(colour * 6, 6));
      }
    } else if (field.kind == FieldKind::Part && field.name == "cells" &&
               dynamic_cast<const ZR3Map*>(record)) {
      const auto& map = static_cast<const ZR3Map&>(*record);
      for (std::size_t slot = 0; slot < ZR3Map::kSlotsPerCell; ++slot) {
        for (int row = 0; row < map.Side(); ++row) {
          std::string& line = lines.emplace_back("  layer " + std::to_string(slot + 1) + " row " +
                                                 std::to_string(row) + ":");
          for (int column = 0; column < map.Side(); ++column) {
            const ZR3ChainRecord* tile = map.CellTile(row, column, slot);
            const std::uint32_t id = map.CellTileId(row, column, slot);
            line += " " + (tile ? tile->Name() : id == 0 ? "-" : "?" + std::to_string(id));
          }
        }
      }
    } else if (field.kind != FieldKind::Part) {
      lines.push_back("  " + field.name + ": " + ValueText(field));
    }
  }
}

}  // namespace

Lines LevelListing(const ZR3Level& level) {
  Lines lines;
  lines.push_back("Level information");
  FieldLines(nullptr, level.Info().Fields(), lines);
  for (const Category category : kFileOrder) {
    for (const auto& record : level.List(category)) {
      lines.push_back(std::string(InfoOf(category).sectionName) + " \"" + record->Name() + "\"");
      if (const auto* script = dynamic_cast<const ZR3Script*>(record.get())) {
        Lines text;
        script->ExportText(text);
        for (std::size_t i = 1; i < text.size(); ++i) lines.push_back("  " + text[i]);
      }
      FieldLines(record.get(), record->Fields(), lines);
    }
  }
  return lines;
}

}  // namespace zr3::compare
