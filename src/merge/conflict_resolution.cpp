#include "merge/conflict_resolution.h"

#include <rapidjson/document.h>
#include <rapidjson/stringbuffer.h>
#include <rapidjson/writer.h>

#include <algorithm>
#include <array>
#include <utility>

#include "edit/creation.h"
#include "edit/deletion.h"
#include "edit/placement.h"
#include "json/json_export.h"
#include "json/json_single.h"
#include "level/numbers.h"
#include "level/record_factory.h"
#include "level/zr3error.h"
#include "records/zr3palette.h"

namespace zr3::merge {

namespace {

rapidjson::Document Parse(std::string_view json, std::string_view what) {
  rapidjson::Document value;
  value.Parse<rapidjson::kParseValidateEncodingFlag>(json.data(), json.size());
  if (value.HasParseError()) throw ZR3Error("The " + std::string(what) + " is not a JSON value");
  return value;
}

std::optional<std::uint32_t> Whole(const rapidjson::Value& value) {
  if (!value.IsUint()) return std::nullopt;
  return value.GetUint();
}

// A colour as the export writes its bytes, "rrggbb", or as [r, g, b].
std::array<std::uint8_t, 3> ColourOf(std::string_view json) {
  const rapidjson::Document value = Parse(json, "colour");
  std::array<std::uint8_t, 3> rgb{};
  if (value.IsString() && value.GetStringLength() == 6) {
    const std::string_view text(value.GetString(), 6);
    if (std::all_of(text.begin(), text.end(), [](char c) { return HexDigitValue(c) >= 0; })) {
      for (std::size_t i = 0; i < rgb.size(); ++i) {
        rgb[i] = static_cast<std::uint8_t>(HexDigitValue(text[2 * i]) << 4 |
                                           HexDigitValue(text[2 * i + 1]));
      }
      return rgb;
    }
  } else if (value.IsArray() && value.Size() == 3) {
    bool valid = true;
    for (rapidjson::SizeType i = 0; i < 3; ++i) {
      const std::optional<std::uint32_t> part = Whole(value[i]);
      valid = valid && part && *part <= 255;
      if (valid) rgb[i] = static_cast<std::uint8_t>(*part);
    }
    if (valid) return rgb;
  }
  throw ZR3Error("A colour is \"rrggbb\" or [red, green, blue], not " + std::string(json));
}

}  // namespace

std::string_view SideName(ConflictSide side) {
  switch (side) {
    case ConflictSide::Base:
      return "base";
    case ConflictSide::Ours:
      return "ours";
    case ConflictSide::Theirs:
      break;
  }
  return "theirs";
}

const std::string& ValueOf(const MergeConflict& conflict, ConflictSide side) {
  switch (side) {
    case ConflictSide::Base:
      return conflict.base;
    case ConflictSide::Ours:
      return conflict.ours;
    case ConflictSide::Theirs:
      break;
  }
  return conflict.theirs;
}

std::string ShownValue(std::string_view json) {
  rapidjson::Document value;
  value.Parse(json.data(), json.size());
  if (value.HasParseError()) return std::string(json);
  if (value.IsNull()) return "(none)";
  if (value.IsObject()) {
    const auto name = value.FindMember("name");
    if (name != value.MemberEnd() && name->value.IsString()) {
      return "record \"" + std::string(name->value.GetString(), name->value.GetStringLength()) +
             "\"";
    }
  }
  return std::string(json);
}

bool RecordPresent(const MergeConflict& conflict) {
  if (!conflict.place.WholeRecord()) return true;
  rapidjson::Document ours;
  ours.Parse(conflict.ours.data(), conflict.ours.size());
  return !ours.HasParseError() && ours.IsObject();
}

ConflictResolution::ConflictResolution(MergeConflict conflict, ConflictSide side)
    : conflict_(std::move(conflict)), side_(side) {}
ConflictResolution::ConflictResolution(ConflictResolution&&) noexcept = default;
ConflictResolution& ConflictResolution::operator=(ConflictResolution&&) noexcept = default;
ConflictResolution::~ConflictResolution() = default;

void ConflictResolution::Redo(ZR3Level& level) {
  if (!done_) {
    FirstRedo(level);
    done_ = true;
    return;
  }
  const Category list = conflict_.category.value_or(Category::Maps);
  switch (change_) {
    case ResolutionChange::None:
      return;
    case ResolutionChange::Field:
    case ResolutionChange::Colour:
      field_->Redo(level);
      return;
    case ResolutionChange::Cells:
      paint_->Redo(level);
      return;
    case ResolutionChange::RecordInserted:
      InsertRecord(level, list, conflict_.index, std::move(kept_));
      break;
    case ResolutionChange::RecordRemoved:
      kept_ = TakeRecord(level, list, conflict_.index);
      break;
    case ResolutionChange::RecordReplaced:
      CopyFields(level, *chosen_);
      break;
  }
  level.SetModified(true);
}

void ConflictResolution::Undo(ZR3Level& level) {
  const Category list = conflict_.category.value_or(Category::Maps);
  switch (change_) {
    case ResolutionChange::None:
      return;
    case ResolutionChange::Field:
    case ResolutionChange::Colour:
      field_->Undo(level);
      return;
    case ResolutionChange::Cells:
      paint_->Undo(level);
      return;
    case ResolutionChange::RecordInserted:
      kept_ = TakeRecord(level, list, conflict_.index);
      break;
    case ResolutionChange::RecordRemoved:
      InsertRecord(level, list, conflict_.index, std::move(kept_));
      break;
    case ResolutionChange::RecordReplaced:
      CopyFields(level, *kept_);
      break;
  }
  level.SetModified(true);
}

void ConflictResolution::FirstRedo(ZR3Level& level) {
  const ConflictPlace& place = conflict_.place;
  if (!place.field.empty()) {
    ResolveField(level);
  } else if (place.cell) {
    ResolveCell(level);
  } else if (place.colour) {
    ResolveColour(level);
  } else {
    ResolveRecord(level);
  }
}

void ConflictResolution::ResolveField(ZR3Level& level) {
  const FieldOwner owner{conflict_.category, conflict_.index};
  const FieldList fields =
      owner.category
          ? RecordOf(level, *owner.category, static_cast<long long>(owner.index)).Fields()
          : level.Info().Fields();
  const std::string& path = conflict_.place.field;
  const FieldInfo* field = nullptr;
  for (const FieldInfo& candidate : fields) {
    if (candidate.name == path) field = &candidate;
    for (const FieldInfo& slot : candidate.elements) {
      if (slot.name == path) field = &slot;
    }
  }
  // What the field interface cannot set (a script's slot, its blocks) is set in the record's
  // JSON object, which is read back.
  if (field == nullptr || field->kind == FieldKind::Part) {
    ResolveWithinRecord(level);
    return;
  }
  const std::string text = json::FieldTextOfJson(*field, ValueOf(conflict_, side_));
  if (text == field->value) return;
  field_ = EditField(level, owner, path, text);
  change_ = ResolutionChange::Field;
}

void ConflictResolution::ResolveCell(ZR3Level& level) {
  const ConflictPlace::Cell& cell = *conflict_.place.cell;
  const rapidjson::Document value = Parse(ValueOf(conflict_, side_), "cell's value");
  MapPaint paint(level, conflict_.index);
  const auto slot = static_cast<std::size_t>(cell.layer - 1);
  bool changed = false;
  if (value.IsNull()) {
    changed = paint.SetKept(level, cell.row, cell.column, slot, 0);
  } else if (const std::optional<std::uint32_t> position = Whole(value)) {
    ZR3Base* tile = level.RecordAt(Category::Tiles, static_cast<int>(*position));
    if (tile == nullptr) {
      throw ZR3Error("No tile at position " + std::to_string(*position) + " (the list holds " +
                     std::to_string(level.List(Category::Tiles).size()) + ")");
    }
    changed = paint.Set(level, cell.row, cell.column, slot, static_cast<ZR3ChainRecord*>(tile));
  } else if (value.IsObject() && value.HasMember("unresolved") && Whole(value["unresolved"])) {
    changed = paint.SetKept(level, cell.row, cell.column, slot, *Whole(value["unresolved"]));
  } else {
    throw ZR3Error("A cell's slot is a tile's position, null or {\"unresolved\": id}");
  }
  if (!changed) return;
  paint_ = std::move(paint);
  change_ = ResolutionChange::Cells;
}

void ConflictResolution::ResolveColour(ZR3Level& level) {
  FieldEdit edit =
      PaletteColourEdit(level, conflict_.index, static_cast<std::size_t>(*conflict_.place.colour),
                        ColourOf(ValueOf(conflict_, side_)));
  if (edit.After() == FieldText(level, edit.Owner(), edit.Path())) return;
  edit.Redo(level);
  field_ = std::move(edit);
  change_ = ResolutionChange::Colour;
}

void ConflictResolution::ResolveRecord(ZR3Level& level) {
  if (!conflict_.category) throw ZR3Error("The level information cannot be deleted or added");
  const Category list = *conflict_.category;
  const std::string& value = ValueOf(conflict_, side_);
  const rapidjson::Document parsed = Parse(value, "record's value");
  if (!parsed.IsObject() && !parsed.IsNull()) {
    throw ZR3Error("A record's value is its JSON object, or null where the side has none");
  }
  const bool wanted = parsed.IsObject();
  if (RecordPresent(conflict_)) {
    if (!wanted) {
      const DeletionCheck check = CheckDeletion(level, list, conflict_.index);
      if (!check.Allowed()) {
        throw ZR3Error(check.referrer.empty() ? check.refusal
                                              : check.refusal + "\n" + check.referrer);
      }
      kept_ = TakeRecord(level, list, conflict_.index);
      change_ = ResolutionChange::RecordRemoved;
    } else {
      ReplaceFields(level, value);
    }
  } else if (wanted) {
    if (const std::string refusal = AddRefusal(level, list); !refusal.empty()) {
      throw ZR3Error(refusal);
    }
    conflict_.index = std::min(conflict_.index, level.List(list).size());
    InsertRecord(level, list, conflict_.index,
                 json::ReadRecordJson(level, list, conflict_.index, value));
    change_ = ResolutionChange::RecordInserted;
  }
  if (change_ != ResolutionChange::None) level.SetModified(true);
}

void ConflictResolution::ReplaceFields(ZR3Level& level, std::string_view object) {
  const Category list = *conflict_.category;
  const ZR3Base& record = RecordOf(level, list, static_cast<long long>(conflict_.index));
  chosen_ = json::ReadRecordJson(level, list, conflict_.index, object);
  kept_ = NewRecord(list);
  record.CopyTo(*kept_);
  // The record keeps its own identifiers in this file.
  if (const auto* chain = dynamic_cast<const ZR3ChainRecord*>(&record)) {
    static_cast<ZR3ChainRecord&>(*chosen_).SetStoredIds(chain->StoredNextId(),
                                                        chain->StoredPrevId(), chain->StoredId());
  }
  CopyFields(level, *chosen_);
  change_ = ResolutionChange::RecordReplaced;
}

void ConflictResolution::ResolveWithinRecord(ZR3Level& level) {
  const std::string& path = conflict_.place.field;
  if (!conflict_.category) throw ZR3Error(path + ": no such field");
  const Category list = *conflict_.category;
  rapidjson::Document object =
      Parse(json::RecordJson(RecordOf(level, list, static_cast<long long>(conflict_.index)), list),
            "record");
  rapidjson::Document original;
  original.CopyFrom(object, original.GetAllocator());
  rapidjson::Value chosen;
  chosen.CopyFrom(Parse(ValueOf(conflict_, side_), "field's value"), object.GetAllocator());
  const std::size_t bracket = path.find('[');
  const std::string name = path.substr(0, bracket);
  const auto member = object.FindMember(name.c_str());
  if (bracket != std::string::npos) {
    // A slot of a part: "conditions[3]".
    const std::optional<std::int64_t> slot =
        path.ends_with(']')
            ? ParseInteger(std::string_view(path).substr(bracket + 1, path.size() - bracket - 2))
            : std::nullopt;
    const std::int64_t at = slot.value_or(-1);
    if (member == object.MemberEnd() || !member->value.IsArray() || at < 0 ||
        at >= static_cast<std::int64_t>(member->value.Size())) {
      throw ZR3Error(path + ": no such field");
    }
    member->value[static_cast<rapidjson::SizeType>(at)] = chosen;
  } else if (member != object.MemberEnd()) {
    // A part the document leaves out while it holds nothing (a script's zero blocks) is null
    // on a side without it.
    if (chosen.IsNull()) {
      object.RemoveMember(member);
    } else {
      member->value = chosen;
    }
  } else if (!chosen.IsNull()) {
    object.AddMember(rapidjson::Value(name.c_str(), object.GetAllocator()), chosen,
                     object.GetAllocator());
  }
  if (object == original) return;
  rapidjson::StringBuffer text;
  rapidjson::Writer<rapidjson::StringBuffer> writer(text);
  object.Accept(writer);
  ReplaceFields(level, std::string_view(text.GetString(), text.GetSize()));
}

void ConflictResolution::CopyFields(ZR3Level& level, const ZR3Base& source) const {
  source.CopyTo(RecordOf(level, *conflict_.category, static_cast<long long>(conflict_.index)));
}

ConflictResolution ResolveConflict(ZR3Level& level, const MergeConflict& conflict,
                                   ConflictSide side) {
  ConflictResolution resolution(conflict, side);
  resolution.Redo(level);
  return resolution;
}

}  // namespace zr3::merge
