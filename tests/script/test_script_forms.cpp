// Every condition and command form, taken from the code tables themselves: a slot built from
// its parameters is written as script text and imported back.
#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <utility>
#include <vector>

#include "script/entry_fixture.h"
#include "script/scriptforms.h"
#include "script/zr3importer.h"
#include "script/zr3script.h"

namespace zr3test {
namespace {

using zr3::Category;
using zr3::Piece;
using zr3::PieceKind;
using Params = zr3::ZR3ScriptEntry::Parameters;

const zr3::Form* FormOf(int code) {
  return code < zr3::kFirstCommandCode ? zr3::ConditionForm(code) : zr3::CommandForm(code);
}

std::vector<int> AllCodes() {
  std::vector<int> codes;
  for (int code = 0; code <= 0xFFFF; ++code) {
    if (FormOf(code)) codes.push_back(code);
  }
  return codes;
}

// Visits the pieces that script text carries, as the parameters make them.
template <class Visit>
void WalkWritten(const zr3::Form& form, const Params& parameters, Visit visit) {
  zr3::WalkForm(form, parameters, [&](const Piece& piece) {
    if (!piece.importOnly) visit(piece);
    return true;
  });
}

bool Met(const Piece& piece, const Params& parameters) {
  return zr3::MeetsSentinel(piece.sentinel, parameters[piece.parameter]);
}

// A name (flag or record) and the list it is looked up in.
struct NamedParameter {
  std::size_t parameter;
  Category list;
};

// The parameters whose value script text gives as a name.
std::vector<NamedParameter> NamedParameters(const zr3::Form& form, const Params& parameters) {
  std::vector<NamedParameter> named;
  WalkWritten(form, parameters, [&](const Piece& piece) {
    const std::size_t at = piece.parameter;
    switch (piece.kind) {
      case PieceKind::Record:
        if (!Met(piece, parameters)) named.push_back({at, zr3::CategoryOf(piece.reference)});
        break;
      case PieceKind::Flag:
        named.push_back({at, Category::Flags});
        break;
      case PieceKind::MapOperand:
        if (parameters[at] == zr3::kSourceValue) named.push_back({at + 1, Category::Maps});
        [[fallthrough]];
      case PieceKind::Operand:
        if (parameters[at] == zr3::kSourceFlag) named.push_back({at + 1, Category::Flags});
        break;
      default:
        break;
    }
  });
  return named;
}

class FormRoundTrip : public EntryTest, public ::testing::WithParamInterface<int> {
 protected:
  // The parameters of one variant, piece by piece: the last record of each list, words
  // inside their tables, the four value sources and both choices in turn, and on odd
  // variants every sentinel (the later pieces it leaves out stay 0). Values the exporter
  // never writes stay 0 as well.
  Params Generate(const zr3::Form& form, int variant) {
    Params p{};
    zr3::WalkForm(form, p, [&](const Piece& piece) {
      if (piece.importOnly) return true;
      const std::size_t at = piece.parameter;
      const bool sentinel = piece.sentinel != zr3::Sentinel::None && variant % 2 == 1;
      const int turn = variant + static_cast<int>(at);
      switch (piece.kind) {
        case PieceKind::Text:
          break;
        case PieceKind::Number:
          p[at] = static_cast<std::int16_t>(sentinel ? SentinelValue(piece) : 3 + turn);
          break;
        case PieceKind::Record:
          p[at] = sentinel ? SentinelValue(piece) : Last(zr3::CategoryOf(piece.reference));
          break;
        case PieceKind::Flag:
          p[at] = static_cast<std::int16_t>(1 + at % 2);
          break;
        case PieceKind::Word:
        case PieceKind::OptionalWord:
          p[at] = static_cast<std::int16_t>(turn % zr3::Words(piece.words).size());
          break;
        case PieceKind::Choice:
          p[at] = static_cast<std::int16_t>(sentinel ? 1 : variant / 2 % 2);
          break;
        case PieceKind::Operand:
        case PieceKind::MapOperand:
          p[at] = static_cast<std::int16_t>(turn % 4);
          p[at + 1] = OperandFor(p[at], piece.kind == PieceKind::MapOperand, turn);
          break;
      }
      return true;
    });
    return p;
  }

  // The entry of the code with these parameters, linked in the level.
  const zr3::ZR3ScriptEntry& Linked(int code, const Params& parameters) {
    const SlotFields spec{static_cast<std::uint16_t>(code), parameters};
    if (code < zr3::kFirstCommandCode) {
      condition_ = Condition(spec);
      return condition_;
    }
    command_ = Command(spec);
    return command_;
  }

  // Imports the line as the only condition or command of a new script; answers the log.
  zr3::Lines ImportLine(int code, const std::string& line, const std::string& script) {
    const bool command = code >= zr3::kFirstCommandCode;
    zr3::ZR3Importer importer(level);
    importer.ImportText("objectscript \"" + script + "\"\nconditions:\n  " +
                        (command ? std::string("always ") : line) + "\ncommands:\n  " +
                        (command ? line : std::string("nothing")) + "\nend script\n");
    return importer.Log();
  }
  const zr3::ZR3ScriptEntry& Imported(int code) const {
    const auto& script = level.At<zr3::ZR3Script>(Category::ObjectScripts,
                                                  level.List(Category::ObjectScripts).size() - 1);
    if (code < zr3::kFirstCommandCode) return script.Condition(0);
    return script.Command(0);
  }

 private:
  static int SentinelValue(const Piece& piece) {
    switch (piece.sentinel) {
      case zr3::Sentinel::Negative:
        return piece.writesMinusOne ? -1 : -2;
      case zr3::Sentinel::NotZero:
        return 1;
      default:
        return -1;
    }
  }
  std::int16_t Last(Category list) const {
    return static_cast<std::int16_t>(level.List(list).size() - 1);
  }
  std::int16_t OperandFor(int source, bool map, int turn) const {
    switch (source) {
      case zr3::kSourceValue:
        return map ? Last(Category::Maps) : static_cast<std::int16_t>(7 + turn);
      case zr3::kSourceAttribute:
        return static_cast<std::int16_t>(turn * 5 % 27);
      case zr3::kSourceFlag:
        return 2;
      default:
        return 4;
    }
  }

  zr3::ZR3ScriptCondition condition_;
  zr3::ZR3ScriptCommand command_;
};

std::vector<std::string> WarningsOf(const zr3::Lines& log) {
  std::vector<std::string> warnings;
  for (const std::string& line : log) {
    if (line.rfind("Warning: ", 0) == 0) warnings.push_back(line);
  }
  return warnings;
}

TEST(FormTable, EveryCodeOfBothTablesHasAForm) {
  const std::vector<int> codes = AllCodes();
  EXPECT_EQ(codes.size(), 13u + 35u);
  EXPECT_EQ(codes.front(), 0);
  EXPECT_EQ(codes.back(), zr3::kLastCommandCode);
  EXPECT_EQ(zr3::ConditionForm(10), nullptr);
  EXPECT_EQ(zr3::CommandForm(99), nullptr);
}

TEST_P(FormRoundTrip, NamesThatResolveComeBackAsTheSameSlot) {
  const int code = GetParam();
  const zr3::Form& form = *FormOf(code);
  for (int variant = 0; variant < 4; ++variant) {
    SCOPED_TRACE("variant " + std::to_string(variant));
    const Params parameters = Generate(form, variant);
    const zr3::ZR3ScriptEntry& original = Linked(code, parameters);
    // Every name the line gives is a reference the slot resolved, into the list it names.
    for (const NamedParameter& named : NamedParameters(form, parameters)) {
      const zr3::ZR3Base& record = At(named.list, parameters[named.parameter]);
      EXPECT_TRUE(original.RefersTo(record)) << "p" << named.parameter;
      EXPECT_EQ(original.ListReferred(record), named.list) << "p" << named.parameter;
    }
    const std::string line = original.KeywordText();
    const std::string readable = original.ReadableText();
    EXPECT_EQ(line.find("Bad reference"), std::string::npos) << line;

    EXPECT_TRUE(
        WarningsOf(ImportLine(code, line, "Round trip " + std::to_string(variant))).empty());
    const zr3::ZR3ScriptEntry& imported = Imported(code);
    EXPECT_EQ(imported.Code(), code);
    EXPECT_EQ(imported.StoredParameters(), parameters) << line;
    EXPECT_EQ(imported.ReadableText(), readable);
    EXPECT_EQ(imported.KeywordText(), line);
  }
}

TEST_P(FormRoundTrip, NamesThatDoNotResolveBecomeTheFirstOfTheirListWithAWarning) {
  const int code = GetParam();
  const zr3::Form& form = *FormOf(code);
  for (int variant = 0; variant < 4; ++variant) {
    SCOPED_TRACE("variant " + std::to_string(variant));
    const Params parameters = Generate(form, variant);
    const std::string line = Linked(code, parameters).KeywordText();
    const std::vector<NamedParameter> named = NamedParameters(form, parameters);
    // The text names records that the level no longer knows by those names.
    std::vector<std::pair<zr3::ZR3Base*, std::string>> renamed;
    for (const NamedParameter& name : named) {
      zr3::ZR3Base& record = At(name.list, parameters[name.parameter]);
      if (record.Name().ends_with('~')) continue;
      renamed.emplace_back(&record, record.Name());
      record.SetName(record.Name() + "~");
    }
    const std::vector<std::string> warnings =
        WarningsOf(ImportLine(code, line, "Unresolved " + std::to_string(variant)));
    ASSERT_EQ(warnings.size(), named.size()) << line;
    Params expected = parameters;
    for (std::size_t i = 0; i < named.size(); ++i) {
      expected[named[i].parameter] = 0;
      const std::string noun(zr3::InfoOf(named[i].list).recordNoun);
      EXPECT_NE(warnings[i].find(": no " + noun + " named \""), std::string::npos) << warnings[i];
      EXPECT_NE(warnings[i].find("the first " + noun + " is used"), std::string::npos);
    }
    const zr3::ZR3ScriptEntry& imported = Imported(code);
    EXPECT_EQ(imported.StoredParameters(), expected) << line;
    const std::string importedText = imported.ReadableText();
    EXPECT_EQ(importedText, Linked(code, expected).ReadableText());
    for (auto& [record, name] : renamed) record->SetName(name);
  }
}

std::string KeywordName(const ::testing::TestParamInfo<int>& info) {
  std::string name;
  for (char c : FormOf(info.param)->kind.keyword) {
    if (std::isalnum(static_cast<unsigned char>(c))) name += c;
  }
  return std::to_string(info.param) + "_" + name;
}

INSTANTIATE_TEST_SUITE_P(EveryCode, FormRoundTrip, ::testing::ValuesIn(AllCodes()), KeywordName);

}  // namespace
}  // namespace zr3test
