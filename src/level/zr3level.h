#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "level/category.h"
#include "level/fields.h"
#include "level/id_map.h"
#include "level/references.h"
#include "level/text.h"
#include "level/zr3base.h"

namespace zr3 {

using RecordList = std::vector<std::unique_ptr<ZR3Base>>;

// Receives the level's progress messages while it loads.
class ZR3Progress {
 public:
  virtual ~ZR3Progress() = default;
  virtual void ShowStatus(const std::string& text) = 0;
};

// The level information block: 432 bytes between the songs and the graphics. Its palette
// and graphics are named by identifier, the last record of an equal identifier winning, and
// are written back as stored while unresolved.
struct ZR3LevelInfo {
  static constexpr std::size_t kNameWidth = 80;
  static constexpr std::size_t kAuthorWidth = 32;
  static constexpr std::size_t kEmailWidth = 32;
  static constexpr std::size_t kVersionWidth = 10;
  static constexpr std::size_t kLevelTextWidth = 200;
  static constexpr std::size_t kSize = 432;
  using PaletteReference =
      IdReference<IdRule{Category::Palettes, Match::Last, false, AtSave::Kept}>;
  using GraphicReference =
      IdReference<IdRule{Category::Graphics, Match::Last, false, AtSave::Kept}>;

  std::string name;
  std::string author;
  std::string email;
  std::string version;
  std::uint8_t statBuying = 0;  // 1 means off
  std::uint8_t encounterPercent = 0;
  std::uint8_t inventorySize = 0;
  std::array<std::uint8_t, 19> opaqueA{};
  PaletteReference palette;
  GraphicReference background;
  GraphicReference combatScreen;
  GraphicReference inventoryScreen;
  std::array<std::uint8_t, 40> opaqueB{};
  std::string levelText;

  // The details text names these fields first, in this order, then the level's custom texts,
  // then the other fields in file order.
  static constexpr std::array<std::string_view, 8> kDescribedFirst = {
      "name",        "version",           "author",        "email", "level_text",
      "stat_buying", "encounter_percent", "inventory_size"};

  // The fields in file order.
  template <class Self, class Visitor>
  static void Fields(Self& self, Visitor& visit) {
    visit(field::Text("name", self.name, kNameWidth, "Name").Means("The level's name"));
    visit(field::Text("author", self.author, kAuthorWidth, "Author").Means("Who made the level"));
    visit(field::Text("email", self.email, kEmailWidth, "Email").Means("How to reach the author"));
    visit(field::Text("version", self.version, kVersionWidth, "Version")
              .Means("The level's version, as its author numbers it"));
    visit(field::OnOff("stat_buying", self.statBuying, "Stat Buying", 1)
              .Means("Whether the player may buy statistics (stored 1: off)"));
    visit(field::Number("encounter_percent", self.encounterPercent, "Encounter Percent")
              .Means("The chance of a random encounter, in percent (0 to 100)"));
    visit(field::Number("inventory_size", self.inventorySize, "Inventory Size")
              .Means("How many items the player can carry"));
    visit(field::Opaque("opaque_a", self.opaqueA, "").About("Unknown", meaning::kOpaque));
    visit(field::Reference("palette", self.palette, "Palette")
              .Means("The palette the level is drawn with"));
    visit(field::Reference("background", self.background, "Background")
              .Means("The full-screen graphic behind the game's views"));
    visit(field::Reference("combat_screen", self.combatScreen, "Combat Screen")
              .Means("The full-screen graphic of a fight"));
    visit(field::Reference("inventory_screen", self.inventoryScreen, "Inventory Screen")
              .Means("The full-screen graphic of the inventory"));
    visit(field::Opaque("opaque_b", self.opaqueB, "").About("Unknown", meaning::kOpaque));
    visit(field::Text("level_text", self.levelText, kLevelTextWidth, "Level Text")
              .Means("The level's introduction, as the game shows it"));
  }

  // The fields, and one of them set from its text, as a record's Fields and SetField do. The
  // custom texts are the records of their own list.
  FieldList Fields() const;
  void SetField(ZR3Level& level, std::string_view path, std::string_view value);
};

// One level file held in memory: twenty category lists plus the level's own settings.
class ZR3Level {
 public:
  static constexpr std::string_view kHeader = "02012400";
  // The bytes the tool keeps as read between the custom texts and the lists.
  static constexpr std::size_t kOpaqueSize = 320;
  static constexpr std::size_t kMaxRecords = 65535;

  ZR3Level();
  ~ZR3Level();
  ZR3Level(const ZR3Level&) = delete;
  ZR3Level& operator=(const ZR3Level&) = delete;

  // Reads the file into this newly constructed level and links it. Throws ZR3Error on
  // failure; the records read so far stay and the loaded flag stays false.
  void Load(const std::string& path, ZR3Progress* progress = nullptr);
  void LoadFromBytes(std::string_view bytes, ZR3Progress* progress = nullptr);

  // Writes the level to path (the level's file name when path is empty). The file is
  // replaced atomically: on failure the existing file is untouched, the modified flag is set
  // and ZR3Error is thrown.
  void Save(const std::string& path = {});
  // The whole file as it would be saved; throws ZR3Error when the level cannot be written.
  std::string SaveToBytes();

  // The level information lines.
  void DescribeInfo(Lines& lines) const;
  // The whole level as readable text, every line ended by CR LF.
  std::string LevelText() const;
  void WriteLevelText(ByteWriter& out) const;
  // The level text's lines without their line ends, handed over a part (a record) at a time.
  void EachLevelTextPart(const std::function<void(const Lines&)>& each) const;
  // Writes the level text to path atomically, streamed; throws ZR3Error on failure or an
  // empty path.
  void ExportLevelText(const std::string& path) const;

  const std::string& FileName() const { return fileName_; }
  // The index of the first record of the list named exactly name, or -1.
  int FindByName(std::string_view name, Category category) const;

  RecordList& List(Category category) { return lists_[IndexOf(category)]; }
  const RecordList& List(Category category) const { return lists_[IndexOf(category)]; }
  template <class Record>
  Record& At(Category category, std::size_t index) const {
    return static_cast<Record&>(*lists_[IndexOf(category)][index]);
  }

  const std::string& HeaderText() const { return header_; }
  ZR3LevelInfo& Info() { return info_; }
  const ZR3LevelInfo& Info() const { return info_; }
  const std::array<std::uint8_t, kOpaqueSize>& Opaque() const { return opaque_; }
  // The reserved block, which a level built field by field (an import) sets.
  std::array<std::uint8_t, kOpaqueSize>& Opaque() { return opaque_; }
  // Completes a level built field by field into its lists rather than loaded: its header is
  // the version text, and it counts as loaded and as not yet saved.
  void FinishBuilt();

  bool Loaded() const { return loaded_; }
  bool Modified() const { return modified_; }
  void SetModified(bool modified) { modified_ = modified; }

  // Looks up a chain record of the list by its stored identifier; the first or the last of
  // equal identifiers, as each reference's rule says. Inside an IndexScope the lookup goes
  // through a hash built once per list; outside it is a linear search.
  ZR3ChainRecord* FindFirstById(Category category, std::uint32_t id) const;
  ZR3ChainRecord* FindLastById(Category category, std::uint32_t id) const;

  // The record at index of the list: none for a negative index; ZR3Error "List index out of
  // bounds (%d)" at or beyond the end.
  ZR3Base* AtPosition(Category category, int index) const;
  // The record at index of the list; none for an index outside it, negative included.
  ZR3Base* RecordAt(Category category, int index) const {
    const RecordList& list = List(category);
    if (index < 0 || static_cast<std::size_t>(index) >= list.size()) return nullptr;
    return list[static_cast<std::size_t>(index)].get();
  }

  // Keeps identifier hashes while linking many records; the lists must not change meanwhile.
  class IndexScope {
   public:
    explicit IndexScope(const ZR3Level& level);
    ~IndexScope();
    IndexScope(const IndexScope&) = delete;
    IndexScope& operator=(const IndexScope&) = delete;

   private:
    const ZR3Level& level_;
    bool outermost_;
  };

  // Links every record of the linked categories in the link order and resolves the level
  // information's palette and graphics.
  void LinkAll(ZR3Progress* progress = nullptr);
  // Resolves the level information's palette and graphics.
  void LinkInfo();

  // Sets the current position of every record from index first to the end of the list, then
  // applies the neighbour rule to the records from first to last (inclusive, clamped).
  void Renumber(Category category, std::size_t first, std::size_t last);

 private:
  // Where the first and the last record with one identifier stand in their list.
  struct IdSpan {
    std::uint32_t first;
    std::uint32_t last;
  };
  using IdIndex = IdMap<IdSpan>;

  void ReadAndLink(class ByteReader& in, ZR3Progress* progress);
  void ReadSections(class ByteReader& in, ZR3Progress* progress);
  void ReadInfo(class ByteReader& in);
  void WriteInfo(ByteWriter& out);
  void AssignSaveIdentifiers();
  void CheckSavable() const;
  // Assigns the save identifiers and writes the file; CheckSavable comes first.
  void WriteFile(ByteWriter& out);
  const IdIndex& IndexFor(Category category) const;

  std::string fileName_;
  std::array<RecordList, kCategoryCount> lists_;
  std::string header_;
  ZR3LevelInfo info_;
  std::array<std::uint8_t, kOpaqueSize> opaque_{};
  bool loaded_ = false;
  bool modified_ = false;
  std::size_t lastFileSize_ = 0;

  mutable int indexScopes_ = 0;
  mutable std::array<std::optional<IdIndex>, kCategoryCount> idIndexes_;
};

// The record at index of the category's list; ZR3Error "No record <index> in <category> (it
// holds <count>)" outside it, negative included. Every command that names a record by its
// position asks this.
ZR3Base& RecordOf(const ZR3Level& level, Category category, long long index);

}  // namespace zr3
