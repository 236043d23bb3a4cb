#include "script/zr3scriptcommand.h"

namespace zr3 {

ReferenceSteps ZR3ScriptCommand::StepsOf() const {
  ReferenceSteps steps;
  const bool allMaps = Parameter(2) < 0;
  switch (Code()) {
    case kChangeFlag:
      steps.Flag(1);
      AddOperandStep(steps, 2);
      break;
    case kWarp:
    case kDeleteTileLayer:
      AddTripleSteps(steps, 0);
      break;
    case kChangeAttribute:
      AddOperandStep(steps, 2);
      break;
    case kGiveTakeItem:
    case kEquipUnequip:
      steps.Record(1, ScriptReference::Item);
      break;
    case kChangeCharacterGraphic:
      steps.Record(0, ScriptReference::CharacterSet);
      break;
    case kDisplayGraphic:
      steps.Record(0, ScriptReference::Graphic);
      break;
    case kDisplayText:
      steps.Record(0, ScriptReference::Text);
      break;
    case kPlaySong:
      steps.Record(0, ScriptReference::Song);
      break;
    case kLearnSpell:
    case kRemoveSpell:
      steps.Record(0, ScriptReference::Spell);
      break;
    case kPlaceRemoveObject:
      steps.Record(1, ScriptReference::Object);
      steps.Record(2, ScriptReference::Map);
      break;
    case kChangeMapTiles:
      steps.Record(0, ScriptReference::FirstTile);
      steps.Record(1, ScriptReference::SecondTile);
      if (!allMaps) steps.Record(2, ScriptReference::Map);
      break;
    case kRunScript:
      steps.Record(0, ScriptReference::Script);
      AddOperandStep(steps, 2);
      break;
    case kChangePalette:
      steps.Record(0, ScriptReference::Palette);
      break;
    case kChangeObjectGraphic:
      steps.Record(0, ScriptReference::Object);
      steps.Record(1, ScriptReference::Graphic);
      if (!allMaps) steps.Record(2, ScriptReference::Map);
      break;
    case kDisplayShop:
      steps.Record(0, ScriptReference::Shop);
      break;
    case kStartEndCombat:
      if (Parameter(0) == 0) steps.Record(1, ScriptReference::Monster);
      break;
    case kChangeCustomScreen:
      steps.Record(1, ScriptReference::Graphic);
      break;
    case kAdvancedDisplayGraphic:
      steps.Record(0, ScriptReference::Graphic);
      AddOperandStep(steps, 1);
      AddOperandStep(steps, 3);
      break;
    case kAdvancedTileChange:
      steps.Record(0, ScriptReference::FirstTile);
      AddTripleSteps(steps, 1);
      break;
    case kAdvancedPlaceRemoveObject:
      steps.Record(1, ScriptReference::Object);
      AddTripleSteps(steps, 2);
      break;
    case kDisplayList:
      steps.Record(0, ScriptReference::List);
      break;
    case kCustomScreenTap:
      steps.Flag(0);
      steps.Flag(1);
      break;
    default:
      break;
  }
  return steps;
}

namespace {

// " Default position", or the two corners from parameter first on.
void DefaultPositionOrCorners(EntryText& text, const ZR3ScriptEntry& entry, int first) {
  if (entry.Parameter(static_cast<std::size_t>(first)) == -1) {
    text.Add(" Default position");
    return;
  }
  text.Add(" ").Param(first).Add(",").Param(first + 1);
  text.Add(" to ").Param(first + 2).Add(",").Param(first + 3);
}

// Where "Change map tiles" and "Change object graphic" act: p2 map (negative: all maps),
// p3 and p4 the place (p3 negative: everywhere).
void MapArea(EntryText& text, const ZR3ScriptEntry& entry) {
  if (entry.Parameter(2) < 0) {
    text.Add(" on all maps");
    return;
  }
  text.Add(" on ").Name(ScriptReference::Map);
  if (entry.Parameter(3) < 0) {
    text.Add(" everywhere");
  } else {
    text.Add(" at ").Param(3).Add(",").Param(4);
  }
}

}  // namespace

void ZR3ScriptCommand::AppendReadableText(std::string& out) const {
  const int code = Code();
  if (code < kFirstCommandCode) {
    out += " null";
    return;
  }
  const VocabularyWord* kind = CommandKind(code);
  if (!kind) {
    out += " Invalid (" + std::to_string(code) + ") ";
    return;
  }
  // A choice parameter holds 0 for the first form (give, place, start, equip, ...).
  auto first = [this](std::size_t index) { return Parameter(index) == 0; };
  EntryText text(*this, EntryText::Style::Readable, kBadReference, out);
  if (code == kStartEndCombat) {
    if (!first(0)) {
      out += " stop combat";
      return;
    }
    text.Add(" start combat with ").Name(ScriptReference::Monster);
    return;
  }
  text.Add(" ").Add(kind->readable);
  switch (code) {
    case kChangeFlag:
      text.Add(" ").Word(Operations(), Parameter(0)).Add(" ").Flag().Add(" ");
      text.SourceAndOperand(2);
      break;
    case kWarp:
      text.Add(" Map=").MapSourceAndOperand(0).Add(", X=").SourceAndOperand(2);
      text.Add(", Y=").SourceAndOperand(4);
      break;
    case kChangeAttribute:
      text.Add(" ").Word(Attributes(), Parameter(0)).Add(" ").Word(Operations(), Parameter(1));
      text.Add(" ").SourceAndOperand(2);
      break;
    case kGiveTakeItem:
      text.Add(first(0) ? " Give " : " Take ").Name(ScriptReference::Item);
      break;
    case kChangeCharacterGraphic:
      text.Add(" ").Name(ScriptReference::CharacterSet);
      break;
    case kDisplayGraphic:
      text.Add(" ").Name(ScriptReference::Graphic);
      if (Parameter(1) == -1) {
        text.Add(" Default position");
      } else {
        text.Add(" ").Param(1).Add(",").Param(2);
      }
      break;
    case kDisplayText:
      text.Add(" ").Name(ScriptReference::Text).Add(" in color ").Param(1).Add(" at ");
      DefaultPositionOrCorners(text, *this, 2);
      text.Add(first(6) ? " no wait" : " wait for key");
      break;
    case kPlaySong:
      text.Add(" ").Name(ScriptReference::Song);
      break;
    case kWait:
      if (Parameter(0) == -1) {
        text.Add(" for keypress");
      } else {
        text.Add(" ").Param(0).Add("ms");
      }
      break;
    case kLearnSpell:
    case kRemoveSpell:
      text.Add(" ").Name(ScriptReference::Spell);
      break;
    case kPlaceRemoveObject:
      text.Add(first(0) ? " place " : " remove ").Name(ScriptReference::Object);
      text.Add(" on ").Name(ScriptReference::Map).Add(" at ").Param(3).Add(",").Param(4);
      break;
    case kChangeMapTiles:
      text.Add(" replace ").Name(ScriptReference::FirstTile).Add(" with ");
      text.Name(ScriptReference::SecondTile);
      MapArea(text, *this);
      break;
    case kRunScript:
      text.Add(" ").Name(ScriptReference::Script);
      text.Add(first(1) ? " process conditions " : " ignore conditions ").SourceAndOperand(2);
      text.Add(" times");
      break;
    case kChangePalette:
      text.Add(" ").Name(ScriptReference::Palette);
      break;
    case kChangeObjectGraphic:
      text.Add(" replace ").Name(ScriptReference::Object).Add(" image with ");
      text.Name(ScriptReference::Graphic);
      MapArea(text, *this);
      break;
    case kDisplayShop:
      text.Add(" ").Name(ScriptReference::Shop);
      break;
    case kChangeCustomScreen:
      text.Add(" change graphic for ").WordIfAny(CustomScreens(), Parameter(0));
      text.Name(ScriptReference::Graphic);
      break;
    case kClearScreen:
      text.Add(" color ").Param(0);
      break;
    case kAdvancedDisplayGraphic:
      text.Add(" ").Name(ScriptReference::Graphic).Add(" at X = ").SourceAndOperand(1);
      text.Add(", Y = ").SourceAndOperand(3);
      break;
    case kAdvancedTileChange:
      text.Add(" change to ").Name(ScriptReference::FirstTile).Add(" at map = ");
      text.MapSourceAndOperand(1).Add(", X = ").SourceAndOperand(3);
      text.Add(", Y = ").SourceAndOperand(5);
      break;
    case kAdvancedPlaceRemoveObject:
      text.Add(first(0) ? " place " : " remove ").Name(ScriptReference::Object);
      text.Add(" at map = ").MapSourceAndOperand(2).Add(", X = ").SourceAndOperand(4);
      text.Add(", Y = ").SourceAndOperand(6);
      break;
    case kDisplayList:
      text.Add(" ").Name(ScriptReference::List).Add(" in color ").Param(1).Add(" at ");
      DefaultPositionOrCorners(text, *this, 2);
      break;
    case kCustomScreenTap:
      text.Add(" X into ").Flag().Add(", Y into ").Flag();
      break;
    case kWalkPlayer:
      text.WordIfAny(Directions(), Parameter(0));
      break;
    case kEquipUnequip:
      text.Add(first(0) ? " equip " : " unequip ").Name(ScriptReference::Item);
      break;
    case kDeleteTileLayer:
      text.Add(" Map ").MapSourceAndOperand(0).Add(", X = ").SourceAndOperand(2);
      text.Add(", Y = ").SourceAndOperand(4).WordIfAny(CommandLayers(), Parameter(6));
      break;
    default:
      break;
  }
}

std::string ZR3ScriptCommand::ReadableText() const {
  std::string text;
  AppendReadableText(text);
  return text;
}

void ZR3ScriptCommand::AppendKeywordText(std::string& out) const {
  const int code = Code();
  if (code < kFirstCommandCode) {
    out += "null";
    return;
  }
  const VocabularyWord* kind = CommandKind(code);
  if (!kind) {
    out += "Invalid (" + std::to_string(code) + ") ";
    return;
  }
  // A choice parameter holds 0 for the first form (give, place, start, add, ...).
  auto first = [this](std::size_t index) { return Parameter(index) == 0; };
  EntryText text(*this, EntryText::Style::Keyword, kBadReference, out);
  text.Add(kind->keyword);
  switch (code) {
    case kChangeFlag:
      text.Add(" ").Word(Operations(), Parameter(0)).Add(" ").Flag().Add(" ");
      text.SourceAndOperand(2);
      break;
    case kWarp:
    case kDeleteTileLayer:
      text.Add(" ").MapSourceAndOperand(0).Add(" ").SourceAndOperand(2).Add(" ");
      text.SourceAndOperand(4);
      if (code == kDeleteTileLayer && WordAt(CommandLayers(), Parameter(6))) {
        text.Add(" ").Word(CommandLayers(), Parameter(6));
      }
      break;
    case kChangeAttribute:
      text.Add(" ").Word(Attributes(), Parameter(0)).Add(" ").Word(Operations(), Parameter(1));
      text.Add(" ").SourceAndOperand(2);
      break;
    case kGiveTakeItem:
      text.Add(first(0) ? " give " : " take ").Name(ScriptReference::Item);
      break;
    case kChangeCharacterGraphic:
      text.Add(" ").Name(ScriptReference::CharacterSet);
      break;
    case kDisplayGraphic:
      text.Add(" ").Name(ScriptReference::Graphic).Add(" ").Param(1);
      if (Parameter(1) != -1) text.Add(" ").Param(2);
      break;
    case kDisplayText:
      text.Add(" ").Name(ScriptReference::Text).Add(" ").Param(1).Add(" ").Param(2);
      if (Parameter(2) != -1) text.Add(" ").Param(3).Add(" ").Param(4).Add(" ").Param(5);
      text.Add(first(6) ? " nowait" : " wait");
      break;
    case kPlaySong:
      text.Add(" ").Name(ScriptReference::Song);
      break;
    case kWait:
    case kClearScreen:
      text.Add(" ").Param(0);
      break;
    case kLearnSpell:
    case kRemoveSpell:
      text.Add(" ").Name(ScriptReference::Spell);
      break;
    case kPlaceRemoveObject:
      text.Add(first(0) ? " place " : " remove ").Name(ScriptReference::Object).Add(" ");
      text.Name(ScriptReference::Map).Add(" ").Param(3).Add(" ").Param(4);
      break;
    case kChangeMapTiles:
      text.Add(" ").Name(ScriptReference::FirstTile).Add(" ").Name(ScriptReference::SecondTile);
      if (Parameter(2) < 0) {
        text.Add(" ").Param(2);
      } else {
        text.Add(" ").Name(ScriptReference::Map).Add(" ").Param(3);
        if (Parameter(3) >= 0) text.Add(" ").Param(4);
      }
      break;
    case kRunScript:
      text.Add(" ").Name(ScriptReference::Script).Add(first(1) ? " process " : " ignore ");
      text.SourceAndOperand(2);
      break;
    case kChangePalette:
      text.Add(" ").Name(ScriptReference::Palette);
      break;
    case kChangeObjectGraphic:
      text.Add(" ").Name(ScriptReference::Object).Add(" ").Name(ScriptReference::Graphic);
      // Every negative map or place is written as -1.
      if (Parameter(2) < 0) {
        text.Add(" -1");
        break;
      }
      text.Add(" ").Name(ScriptReference::Map);
      if (Parameter(3) < 0) {
        text.Add(" -1");
      } else {
        text.Add(" ").Param(3).Add(" ").Param(4);
      }
      break;
    case kDisplayShop:
      text.Add(" ").Name(ScriptReference::Shop);
      break;
    case kStartEndCombat:
      if (first(0)) {
        text.Add(" start ").Name(ScriptReference::Monster);
      } else {
        text.Add(" stop");
      }
      break;
    case kChangeCustomScreen:
      text.Add(" ");
      if (WordAt(CustomScreens(), Parameter(0))) {
        text.Add(" ").Word(CustomScreens(), Parameter(0)).Add(" ");
      }
      text.Name(ScriptReference::Graphic);
      break;
    case kAdvancedDisplayGraphic:
      text.Add(" ").Name(ScriptReference::Graphic).Add(" ").SourceAndOperand(1).Add(" ");
      text.SourceAndOperand(3);
      break;
    case kAdvancedTileChange:
      text.Add(" ").Name(ScriptReference::FirstTile).Add(" ").MapSourceAndOperand(1).Add(" ");
      text.SourceAndOperand(3).Add(" ").SourceAndOperand(5);
      break;
    case kAdvancedPlaceRemoveObject:
      text.Add(first(0) ? " place " : " remove ").Name(ScriptReference::Object).Add(" ");
      text.MapSourceAndOperand(2).Add(" ").SourceAndOperand(4).Add(" ").SourceAndOperand(6);
      break;
    case kDisplayList:
      text.Add(" ").Name(ScriptReference::List).Add(" ").Param(1).Add(" ");
      if (Parameter(2) == -1) {
        text.Add(" -1");
      } else {
        text.Add(" ").Param(2).Add(" ").Param(3).Add(" ").Param(4).Add(" ").Param(5);
      }
      break;
    case kCustomScreenTap:
      text.Add(" ").Flag().Add(" ").Flag();
      break;
    case kWalkPlayer:
      if (WordAt(Directions(), Parameter(0))) text.Add(" ").Word(Directions(), Parameter(0));
      break;
    case kEquipUnequip:
      text.Add(first(0) ? " add " : " remove ").Name(ScriptReference::Item);
      break;
    default:
      break;
  }
}

std::string ZR3ScriptCommand::KeywordText() const {
  std::string text;
  AppendKeywordText(text);
  return text;
}

}  // namespace zr3
