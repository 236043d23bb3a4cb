// The field tables of every record kind against layouts built independently: each field of the
// binary layout is listed once, in file order, with widths adding up to the record's size, and
// setting one field through the field interface changes exactly that field's bytes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <map>
#include <memory>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "level/field_access.h"
#include "level/zr3error.h"
#include "level/zr3level.h"
#include "records/zr3character.h"
#include "records/zr3graphic.h"
#include "records/zr3item.h"
#include "records/zr3list.h"
#include "records/zr3map.h"
#include "records/zr3monster.h"
#include "records/zr3object.h"
#include "records/zr3palette.h"
#include "records/zr3shop.h"
#include "records/zr3song.h"
#include "records/zr3spell.h"
#include "records/zr3string.h"
#include "records/zr3text.h"
#include "records/zr3tile.h"
#include "script/zr3script.h"
#include "support/character_builder.h"
#include "support/graphic_builder.h"
#include "support/item_builder.h"
#include "support/level_builder.h"
#include "support/list_builder.h"
#include "support/map_builder.h"
#include "support/monster_builder.h"
#include "support/object_builder.h"
#include "support/palette_builder.h"
#include "support/print_category.h"
#include "support/record_helpers.h"
#include "support/script_builder.h"
#include "support/shop_builder.h"
#include "support/song_builder.h"
#include "support/spell_builder.h"
#include "support/text_builder.h"
#include "support/tile_builder.h"

namespace {

using zr3::Category;

// Where one field lies inside its record.
struct FieldSpan {
  std::string name;
  std::size_t offset;
  std::size_t width;
};

// Walks a kind's field list and lays the fields end to end. Parts have widths of their own,
// known here from the file layout rather than from the production code.
class LayoutWalker {
 public:
  std::vector<FieldSpan> spans;

  template <class S>
  void operator()(zr3::TextField<S> f) {
    Add(f.name, f.present ? f.width : 0);
  }
  template <class T>
  void operator()(zr3::NumberField<T> f) {
    Add(f.name, sizeof(T));
  }
  template <class T>
  void operator()(zr3::ChoiceField<T> f) {
    Add(f.name, sizeof(T));
  }
  template <class A>
  void operator()(zr3::OpaqueField<A> f) {
    Add(f.name, f.bytes.size());
  }
  template <class Ref>
  void operator()(zr3::ReferenceField<Ref> f) {
    Add(f.name, 4);
  }
  template <class A>
  void operator()(zr3::ReferenceRunField<A> f) {
    for (std::size_t i = 0; i < f.refs.size(); ++i) {
      Add(std::string(f.name) + "[" + std::to_string(i) + "]", 4);
    }
  }
  template <class Ref>
  void operator()(zr3::PositionField<Ref> f) {
    Add(f.name, 2);
  }
  template <class R>
  void operator()(zr3::ChainField<R>) {
    for (std::string_view name : zr3::kChainNames) Add(name, 4);
  }
  template <class P>
  void operator()(zr3::PartField<P> f) {
    static const std::map<std::string, std::size_t> kPartWidths = {{"cells", 100 * 100 * 3 * 4},
                                                                   {"conditions", 10 * 20},
                                                                   {"opaque_a", 200},
                                                                   {"commands", 10 * 20},
                                                                   {"opaque_b", 200}};
    Add(f.name, kPartWidths.at(std::string(f.name)));
  }
  template <class F>
  void operator()(const F&) {}

 private:
  void Add(std::string_view name, std::size_t width) {
    const std::size_t offset = spans.empty() ? 0 : spans.back().offset + spans.back().width;
    spans.push_back({std::string(name), offset, width});
  }
};

template <class Kind>
std::vector<FieldSpan> LayoutOf(const zr3::ZR3Base& record) {
  LayoutWalker walker;
  Kind::Fields(static_cast<const Kind&>(record), walker);
  return walker.spans;
}

std::vector<FieldSpan> LayoutOf(Category category, const zr3::ZR3Base& record) {
  switch (category) {
    case Category::Maps:
      return LayoutOf<zr3::ZR3Map>(record);
    case Category::Tiles:
      return LayoutOf<zr3::ZR3Tile>(record);
    case Category::Objects:
      return LayoutOf<zr3::ZR3Object>(record);
    case Category::Flags:
    case Category::Groups:
    case Category::CustomText:
      return LayoutOf<zr3::ZR3String>(record);
    case Category::Items:
      return LayoutOf<zr3::ZR3Item>(record);
    case Category::Spells:
      return LayoutOf<zr3::ZR3Spell>(record);
    case Category::Shops:
      return LayoutOf<zr3::ZR3Shop>(record);
    case Category::Monsters:
      return LayoutOf<zr3::ZR3Monster>(record);
    case Category::Palettes:
      return LayoutOf<zr3::ZR3Palette>(record);
    case Category::Texts:
      return LayoutOf<zr3::ZR3Text>(record);
    case Category::Characters:
      return LayoutOf<zr3::ZR3Character>(record);
    case Category::Songs:
      return LayoutOf<zr3::ZR3Song>(record);
    case Category::Graphics:
      return LayoutOf<zr3::ZR3Graphic>(record);
    case Category::Lists:
      return LayoutOf<zr3::ZR3List>(record);
    case Category::GlobalScripts:
    case Category::DeathScripts:
    case Category::ObjectScripts:
    case Category::StartupScripts:
      return LayoutOf<zr3::ZR3Script>(record);
    default:
      return {};
  }
}

// A level with one record of every kind, each field holding a value of its own and every
// reference resolving, and the bytes each record occupies as the builder wrote them.
struct SampleLevel {
  zr3test::LevelBuilder builder;
  std::map<Category, zr3test::Blob> records;

  SampleLevel() {
    for (std::size_t i = 0; i < builder.groups.size(); ++i) {
      builder.groups[i] = "Group" + std::to_string(i);
    }
    builder.flags[5] = "Flag5";
    builder.customText = {"Spells", "Items", "Gold", "Exp"};

    zr3test::MapFields map = zr3test::NamedMap("Town", 3, 10);
    map.At(1, 2) = {20, 0, 20};
    map.borders = {20, 20, 20, 20};
    Put(Category::Maps, zr3test::MapRecord(map));
    Put(Category::Tiles,
        zr3test::TileRecord(
            {.name = "Grass", .gfxId = 7, .layer = 2, .id = 20, .path = "gfx\\grass.bmp"}));
    zr3test::ObjectFields object = zr3test::NamedObject("Door", 10);
    object.x = 4;
    object.y = 5;
    object.gfxId = 9;
    object.scriptIds[0] = 30;
    object.id = 40;
    object.path = "gfx\\door.bmp";
    Put(Category::Objects, zr3test::ObjectRecord(object));
    for (Category scripts : zr3::kScriptListsByKind) {
      zr3test::ScriptFields script = zr3test::ScriptWith("Run", {}, {});
      script.id = scripts == Category::ObjectScripts ? 30 : 31;
      Put(scripts, zr3test::ScriptBlob(script));
    }
    Put(Category::Items, zr3test::ItemBlob({.name = "Potion",
                                            .type = zr3::ZR3Item::kUsable,
                                            .cost = 12,
                                            .parameters = {0, 3, 4, 5},
                                            .groups = {1, 2},
                                            .modifiers = {6, 7},
                                            .id = 50}));
    Put(Category::Spells, zr3test::SpellBlob({.name = "Call",
                                              .minSp = 1,
                                              .spCost = 2,
                                              .mastery = 3,
                                              .opaqueA = {1, 2},
                                              .learnId = 60,
                                              .type = zr3::ZR3Spell::kRunScript,
                                              .parameters = {0, 4, 5, 6},
                                              .groups = {3, 4},
                                              .modifiers = {-1, 2},
                                              .opaqueB = {3, 4},
                                              .id = 60}));
    zr3test::ShopFields shop{.name = "Store", .buyback = 50, .markup = 150, .id = 70};
    shop.items[0] = 50;
    Put(Category::Shops, zr3test::ShopRecord(shop));
    zr3test::MonsterFields monster;
    monster.name = "Orc";
    monster.gfxId = 8;
    monster.level = 3;
    monster.experience = 99;
    monster.type = 1;
    monster.group1 = 5;
    monster.group2 = 6;
    monster.items[0] = 50;
    monster.spells[1] = 60;
    monster.preScripts[2] = 30;
    monster.postScripts[3] = 30;
    monster.tiles[4] = 20;
    monster.id = 80;
    monster.imagePath = "gfx\\orc.bmp";
    Put(Category::Monsters, zr3test::MonsterRecord(monster));
    zr3test::PaletteFields palette{.name = "Day", .id = 90};
    palette.colours[5] = '\x40';
    Put(Category::Palettes, zr3test::PaletteBlob(palette));
    Put(Category::Texts, zr3test::TextBlob({.name = "Hello", .text = "Welcome"}));
    zr3test::CharacterFields character{.name = "Hero", .id = 100};
    for (std::size_t i = 0; i < character.imageIds.size(); ++i) {
      character.imageIds[i] = static_cast<std::uint32_t>(200 + i);
      character.imagePaths[i] = "gfx\\hero" + std::to_string(i) + ".bmp";
    }
    Put(Category::Characters, zr3test::CharacterBlob(character));
    zr3test::SongFields song{.name = "Tune", .id = 110};
    song.data[0] = '\x01';
    Put(Category::Songs, zr3test::SongBlob(song));
    zr3test::GraphicFields graphic = zr3test::NamedGraphic("Sky", 5, 120);
    graphic.path = "gfx\\sky.bmp";
    Put(Category::Graphics, zr3test::GraphicRecord(graphic));
    zr3test::ListFields list{.name = "Menu", .count = 2, .id = 130};
    list.optionTexts = {"Yes", "No"};
    list.resultIds = {30, 30};
    Put(Category::Lists, zr3test::ListBlob(list));
    builder.info.paletteId = 90;
    builder.info.backgroundId = 120;
    builder.info.combatScreenId = 120;
    builder.info.inventoryScreenId = 120;
  }

  void Put(Category category, zr3test::Blob record) {
    builder.Add(category, record);
    records.emplace(category, std::move(record));
  }

  // Where the first record of the category begins in the file.
  std::size_t RecordStart(Category category) const {
    const std::string section(zr3::InfoOf(category).sectionName);
    for (const auto& [name, offset] : builder.SectionOffsets()) {
      if (name == section) return offset + (zr3::IsFixedTable(category) ? 0 : 2);
    }
    ADD_FAILURE() << "no section " << section;
    return 0;
  }
};

std::string Hex(const std::string& bytes) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string hex;
  for (const char c : bytes) {
    hex += kDigits[static_cast<unsigned char>(c) >> 4];
    hex += kDigits[static_cast<unsigned char>(c) & 0x0F];
  }
  return hex;
}

std::int64_t LittleEndian(const std::string& bytes, bool isSigned) {
  std::uint64_t value = 0;
  for (std::size_t i = bytes.size(); i-- > 0;) {
    value = value << 8 | static_cast<unsigned char>(bytes[i]);
  }
  const unsigned bits = static_cast<unsigned>(bytes.size() * 8);
  if (isSigned && bits < 64 && (value >> (bits - 1)) != 0) {
    return static_cast<std::int64_t>(value) - (std::int64_t{1} << bits);
  }
  return static_cast<std::int64_t>(value);
}

std::vector<zr3::FieldInfo> Flatten(const zr3::FieldList& fields) {
  std::vector<zr3::FieldInfo> flat;
  for (const zr3::FieldInfo& field : fields) {
    if (field.kind == zr3::FieldKind::Run) {
      flat.insert(flat.end(), field.elements.begin(), field.elements.end());
    } else {
      flat.push_back(field);
    }
  }
  return flat;
}

// A value the field can take that differs from its current one.
std::string OtherValue(const zr3::FieldInfo& field) {
  switch (field.kind) {
    case zr3::FieldKind::Text:
      return field.value == "Fx" ? "Fy" : "Fx";
    case zr3::FieldKind::Integer:
    case zr3::FieldKind::Choice:
      return std::to_string(field.number == field.max ? field.number - 1 : field.number + 1);
    case zr3::FieldKind::Opaque: {
      std::string hex = field.value;
      hex[0] = hex[0] == 'f' ? '0' : 'f';
      return hex;
    }
    case zr3::FieldKind::Reference:
      return field.resolved ? "none" : "0";
    case zr3::FieldKind::Position:
      return field.number < 0 ? "0" : "-1";
    default:
      return {};
  }
}

class FieldTables : public ::testing::TestWithParam<Category> {};

TEST_P(FieldTables, ListEveryFieldOnceInFileOrderAndAddUpToTheRecordSize) {
  const Category category = GetParam();
  SampleLevel sample;
  auto level = zr3test::LoadLevel(sample.builder);
  const zr3::ZR3Base& record = *level->List(category).front();
  const std::vector<FieldSpan> spans = LayoutOf(category, record);
  ASSERT_FALSE(spans.empty());

  const std::size_t size = spans.back().offset + spans.back().width;
  const std::size_t expected =
      zr3::IsFixedTable(category) ? 32 : sample.records.at(category).Size();
  EXPECT_EQ(size, expected);

  std::set<std::string> names;
  const std::regex snake("[a-z][a-z0-9_]*(\\[[0-9]+\\])?");
  for (const FieldSpan& span : spans) {
    EXPECT_TRUE(names.insert(span.name).second) << "twice: " << span.name;
    EXPECT_TRUE(std::regex_match(span.name, snake)) << span.name;
  }
  // The field interface lists the same fields in the same order, and each value is what the
  // builder wrote at that field's place.
  const std::string bytes = zr3::IsFixedTable(category)
                                ? std::string(record.Name()).append(32 - record.Name().size(), '\0')
                                : sample.records.at(category).Bytes();
  const std::vector<zr3::FieldInfo> fields = Flatten(record.Fields());
  ASSERT_EQ(fields.size(), spans.size());
  for (std::size_t i = 0; i < fields.size(); ++i) {
    const zr3::FieldInfo& field = fields[i];
    const FieldSpan& span = spans[i];
    SCOPED_TRACE(span.name);
    EXPECT_EQ(field.name, span.name);
    const std::string written = bytes.substr(span.offset, span.width);
    switch (field.kind) {
      case zr3::FieldKind::Text:
        EXPECT_EQ(field.value, written.substr(0, written.find('\0')));
        break;
      case zr3::FieldKind::Opaque:
        EXPECT_EQ(field.value, Hex(written));
        break;
      case zr3::FieldKind::Integer:
      case zr3::FieldKind::Choice:
      case zr3::FieldKind::Position:
      case zr3::FieldKind::Reference:
      case zr3::FieldKind::ChainId:
        EXPECT_EQ(field.number, LittleEndian(written, field.min < 0));
        break;
      default:
        break;
    }
  }
}

TEST_P(FieldTables, SettingOneFieldChangesExactlyItsBytesInTheSavedFile) {
  const Category category = GetParam();
  SampleLevel sample;
  const std::size_t start = sample.RecordStart(category);
  auto level = zr3test::LoadLevel(sample.builder);
  const std::string original = level->SaveToBytes();
  const std::vector<FieldSpan> spans = LayoutOf(category, *level->List(category).front());

  std::size_t edits = 0;
  for (const zr3::FieldInfo& field : Flatten(level->List(category).front()->Fields())) {
    // Chain identifiers are replaced at each save and parts are set as a whole elsewhere;
    // every other field of the sample can be set (its paths stand beside non-zero identifiers).
    if (field.kind == zr3::FieldKind::ChainId || field.kind == zr3::FieldKind::Part) continue;
    const std::string value = OtherValue(field);
    ASSERT_FALSE(value.empty()) << field.name;
    ++edits;
    SCOPED_TRACE(field.name + " = " + value);
    auto edited = zr3test::LoadLevel(sample.builder);
    edited->List(category).front()->SetField(*edited, field.name, value);
    EXPECT_TRUE(edited->Modified());
    const std::string saved = edited->SaveToBytes();
    ASSERT_EQ(saved.size(), original.size());
    const auto first = std::mismatch(saved.begin(), saved.end(), original.begin()).first;
    ASSERT_NE(first, saved.end()) << "nothing changed";
    const auto last = std::mismatch(saved.rbegin(), saved.rend(), original.rbegin()).first;
    const auto from = static_cast<std::size_t>(first - saved.begin());
    const auto to = saved.size() - static_cast<std::size_t>(last - saved.rbegin());
    const auto span = std::find_if(spans.begin(), spans.end(),
                                   [&](const FieldSpan& s) { return s.name == field.name; });
    ASSERT_NE(span, spans.end());
    EXPECT_GE(from, start + span->offset);
    EXPECT_LE(to, start + span->offset + span->width);
  }
  EXPECT_GT(edits, 0u);
}

TEST_P(FieldTables, RefuseValuesTheFieldDoesNotAllowAndChangeNothing) {
  const Category category = GetParam();
  SampleLevel sample;
  auto level = zr3test::LoadLevel(sample.builder);
  const std::string original = level->SaveToBytes();
  zr3::ZR3Base& record = *level->List(category).front();
  const auto refused = [&](const std::string& path, const std::string& value,
                           const std::string& reason) {
    try {
      record.SetField(*level, path, value);
      ADD_FAILURE() << path << " = " << value << " was taken";
    } catch (const zr3::ZR3Error& error) {
      EXPECT_NE(std::string(error.what()).find(reason), std::string::npos) << error.what();
      EXPECT_EQ(std::string(error.what()).rfind(path + ": ", 0), 0u) << error.what();
    }
  };
  for (const zr3::FieldInfo& field : Flatten(record.Fields())) {
    SCOPED_TRACE(field.name);
    switch (field.kind) {
      case zr3::FieldKind::Text:
        if (field.editable) refused(field.name, std::string(field.width + 1, 'x'), "longer");
        break;
      case zr3::FieldKind::Integer:
      case zr3::FieldKind::Choice:
        refused(field.name, std::to_string(field.max + 1), "out of range");
        refused(field.name, "1.5", "not a whole number");
        break;
      case zr3::FieldKind::Reference:
        refused(field.name, "999", "at position 999");
        refused(field.name, "No such record", "named");
        break;
      case zr3::FieldKind::Opaque:
        refused(field.name, "0", "hex digits");
        break;
      default:
        break;
    }
  }
  refused("no_such_field", "1", "no such field");
  EXPECT_EQ(level->SaveToBytes(), original);
}

// Every field reads as a person names it: a capitalised label that is not its identifier, and
// what it means; for each word of a choice (an item's or spell's type gives the parameters
// their meaning), and in the level information.
void ExpectReadable(const zr3::FieldList& fields, const std::string& context) {
  for (const zr3::FieldInfo& field : fields) {
    SCOPED_TRACE(context + " " + field.name);
    ASSERT_FALSE(field.label.empty());
    EXPECT_TRUE(std::isupper(static_cast<unsigned char>(field.label[0]))) << field.label;
    EXPECT_NE(field.label, field.name);
    EXPECT_FALSE(field.meaning.empty());
    ExpectReadable(field.elements, context);
  }
}

TEST_P(FieldTables, EveryFieldHasAReadableLabelAndAMeaning) {
  SampleLevel sample;
  auto level = zr3test::LoadLevel(sample.builder);
  zr3::ZR3Base& record = *level->List(GetParam()).front();
  ExpectReadable(record.Fields(), "as built");
  for (const zr3::FieldInfo& field : record.Fields()) {
    if (field.kind != zr3::FieldKind::Choice) continue;
    for (std::size_t word = 0; word <= field.words.size(); ++word) {
      record.SetField(*level, field.name, std::to_string(word));
      ExpectReadable(record.Fields(), field.name + " " + std::to_string(word));
    }
  }
  ExpectReadable(level->Info().Fields(), "level information");
}

INSTANTIATE_TEST_SUITE_P(
    AllKinds, FieldTables,
    ::testing::Values(Category::Maps, Category::Tiles, Category::Objects, Category::GlobalScripts,
                      Category::DeathScripts, Category::ObjectScripts, Category::StartupScripts,
                      Category::Flags, Category::Groups, Category::Items, Category::Spells,
                      Category::Shops, Category::Monsters, Category::Palettes, Category::Texts,
                      Category::Characters, Category::Songs, Category::Graphics,
                      Category::CustomText, Category::Lists),
    [](const auto& info) {
      std::string name(zr3::InfoOf(info.param).commandName);
      std::replace(name.begin(), name.end(), '-', '_');
      return name;
    });

TEST(LevelInfoFields, SettingOneChangesExactlyItsBytesAndRefusalsChangeNothing) {
  SampleLevel sample;
  std::size_t infoStart = 0;
  for (const auto& [name, offset] : sample.builder.SectionOffsets()) {
    if (name == "Level Info") infoStart = offset;
  }
  auto level = zr3test::LoadLevel(sample.builder);
  const std::string original = level->SaveToBytes();
  const zr3::FieldList fields = level->Info().Fields();
  ASSERT_EQ(fields.size(), 14u);
  std::size_t fieldStart = infoStart;
  for (const zr3::FieldInfo& field : fields) {
    const std::size_t width = field.kind == zr3::FieldKind::Text        ? field.width
                              : field.kind == zr3::FieldKind::Opaque    ? field.width
                              : field.kind == zr3::FieldKind::Reference ? 4
                                                                        : 1;
    SCOPED_TRACE(field.name);
    auto edited = zr3test::LoadLevel(sample.builder);
    edited->Info().SetField(*edited, field.name, OtherValue(field));
    const std::string saved = edited->SaveToBytes();
    const auto first = std::mismatch(saved.begin(), saved.end(), original.begin()).first;
    const auto last = std::mismatch(saved.rbegin(), saved.rend(), original.rbegin()).first;
    EXPECT_GE(static_cast<std::size_t>(first - saved.begin()), fieldStart);
    EXPECT_LE(saved.size() - static_cast<std::size_t>(last - saved.rbegin()), fieldStart + width);
    fieldStart += width;
  }
  EXPECT_EQ(fieldStart - infoStart, zr3::ZR3LevelInfo::kSize);
  EXPECT_THROW(level->Info().SetField(*level, "encounter_percent", "256"), zr3::ZR3Error);
  EXPECT_THROW(level->Info().SetField(*level, "palette", "1"), zr3::ZR3Error);
  EXPECT_EQ(level->SaveToBytes(), original);
}

}  // namespace
