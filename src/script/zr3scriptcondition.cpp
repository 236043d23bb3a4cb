#include "script/zr3scriptcondition.h"

namespace zr3 {

ReferenceSteps ZR3ScriptCondition::StepsOf() const {
  ReferenceSteps steps;
  switch (Code()) {
    case kFlagValue:
      steps.Flag(0);
      AddOperandStep(steps, 2);
      break;
    case kLocation:
      AddTripleSteps(steps, 1);
      break;
    case kAttribute:
    case kTime:
      AddOperandStep(steps, 2);
      break;
    case kHasItem:
      steps.Record(1, ScriptReference::Item);
      break;
    case kCharacterGraphic:
      steps.Record(1, ScriptReference::CharacterSet);
      break;
    case kUsingPalette:
      steps.Record(1, ScriptReference::Palette);
      break;
    case kTileExists:
      AddOperandStep(steps, 0);
      AddOperandStep(steps, 2);
      break;
    case kKnowsSpell:
      steps.Record(1, ScriptReference::Spell);
      break;
    case kEquipped:
      steps.Record(0, ScriptReference::Item);
      break;
    default:
      break;
  }
  return steps;
}

void ZR3ScriptCondition::AppendReadableText(std::string& out) const {
  const VocabularyWord* kind = ConditionKind(Code());
  if (!kind) {
    out += " Invalid (" + std::to_string(Code()) + ") ";
    return;
  }
  // A negation parameter holds 0 for the plain form.
  auto yes = [this](std::size_t index) { return Parameter(index) == 0; };
  EntryText text(*this, EntryText::Style::Readable, kBadReference, out);
  text.Add(" ").Add(kind->readable).Add(" ");
  switch (Code()) {
    case kFlagValue:
      text.Flag().Add(" ").Word(Comparisons(), Parameter(1)).Add(" ").SourceAndOperand(2);
      break;
    case kLocation:
      text.Add(yes(0) ? "At Map " : "Not at Map ").MapSourceAndOperand(1);
      text.Add(", X = ").SourceAndOperand(3).Add(" Y = ").SourceAndOperand(5);
      break;
    case kAttribute:
      text.Word(Attributes(), Parameter(0)).Add(" ").Word(Comparisons(), Parameter(1)).Add(" ");
      text.SourceAndOperand(2);
      break;
    case kHasItem:
      text.Add(yes(0) ? "Has " : "Doesn't have ").Name(ScriptReference::Item);
      break;
    case kCharacterGraphic:
      text.Add(yes(0) ? "Using " : "Not using ").Name(ScriptReference::CharacterSet);
      break;
    case kUsingPalette:
      text.Add(yes(0) ? "Using " : "Not using ").Name(ScriptReference::Palette);
      break;
    case kInCombat:
      text.Add(yes(0) ? "In combat" : "Not in combat");
      break;
    case kTime:
      text.WordIfAny(TimeUnits(), Parameter(0)).Word(Comparisons(), Parameter(1)).Add(" ");
      text.SourceAndOperand(2);
      break;
    case kColor:
      text.Add(yes(0) ? "Color" : "Greyscale");
      break;
    case kTileExists:
      text.Add("X = ").SourceAndOperand(0).Add(" Y = ").SourceAndOperand(2);
      text.WordIfAny(ConditionLayers(), Parameter(4)).Add(yes(5) ? "exists" : "doesn't exist");
      break;
    case kKnowsSpell:
      text.Add(yes(0) ? "Knows " : "Doesn't know ").Name(ScriptReference::Spell);
      break;
    case kEquipped:
      text.Name(ScriptReference::Item).Add(yes(1) ? " equipped" : " not equipped");
      break;
    default:
      break;
  }
}

std::string ZR3ScriptCondition::ReadableText() const {
  std::string text;
  AppendReadableText(text);
  return text;
}

void ZR3ScriptCondition::AppendKeywordText(std::string& out) const {
  const VocabularyWord* kind = ConditionKind(Code());
  if (!kind) {
    out += "Invalid (" + std::to_string(Code()) + ") ";
    return;
  }
  // A negation parameter holds 0 for the plain form.
  auto yes = [this](std::size_t index) { return Parameter(index) == 0; };
  EntryText text(*this, EntryText::Style::Keyword, kBadReference, out);
  text.Add(kind->keyword).Add(" ");
  switch (Code()) {
    case kFlagValue:
      text.Flag().Add(" ").Word(Comparisons(), Parameter(1)).Add(" ").SourceAndOperand(2);
      break;
    case kLocation:
      text.Add(yes(0) ? "at " : "not ").MapSourceAndOperand(1).Add(" ").SourceAndOperand(3);
      text.Add(" ").SourceAndOperand(5);
      break;
    case kAttribute:
      text.Word(Attributes(), Parameter(0)).Add(" ").Word(Comparisons(), Parameter(1)).Add(" ");
      text.SourceAndOperand(2);
      break;
    case kHasItem:
      text.Add(yes(0) ? "has " : "missing ").Name(ScriptReference::Item);
      break;
    case kCharacterGraphic:
      text.Add(yes(0) ? "is " : "not ").Name(ScriptReference::CharacterSet);
      break;
    case kUsingPalette:
      text.Add(yes(0) ? "is " : "not ").Name(ScriptReference::Palette);
      break;
    case kInCombat:
    case kColor:
      text.Add(yes(0) ? "true" : "false");
      break;
    case kTime:
      if (WordAt(TimeUnits(), Parameter(0))) text.Word(TimeUnits(), Parameter(0)).Add(" ");
      text.Word(Comparisons(), Parameter(1)).Add(" ").SourceAndOperand(2);
      break;
    case kTileExists:
      text.SourceAndOperand(0).Add(" ").SourceAndOperand(2);
      if (WordAt(ConditionLayers(), Parameter(4))) {
        text.Add(" ").Word(ConditionLayers(), Parameter(4)).Add(" ");
      }
      text.Add(yes(5) ? "exists" : "missing");
      break;
    case kKnowsSpell:
      text.Add(yes(0) ? "known " : "unknown ").Name(ScriptReference::Spell);
      break;
    case kEquipped:
      text.Name(ScriptReference::Item).Add(yes(1) ? " equipped" : " unequipped");
      break;
    default:
      break;
  }
}

std::string ZR3ScriptCondition::KeywordText() const {
  std::string text;
  AppendKeywordText(text);
  return text;
}

}  // namespace zr3
