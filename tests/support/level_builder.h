#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "level/category.h"
#include "support/blob.h"

namespace zr3test {

// The level information block's fields, written by the builder at their offsets.
struct InfoFields {
  std::string name;
  std::string author;
  std::string email;
  std::string version;
  std::uint8_t statBuying = 0;
  std::uint8_t encounterPercent = 0;
  std::uint8_t inventorySize = 0;
  std::string opaqueA = std::string(19, '\0');
  std::uint32_t paletteId = 0;
  std::uint32_t backgroundId = 0;
  std::uint32_t combatScreenId = 0;
  std::uint32_t inventoryScreenId = 0;
  std::string opaqueB = std::string(40, '\0');
  std::string levelText;
};

Blob InfoBlock(const InfoFields& info);

// Builds level files section by section from record blobs made by the per-kind builders.
class LevelBuilder {
 public:
  LevelBuilder();

  std::string header = "02012400";
  std::array<std::string, 256> flags;
  std::array<std::string, 20> groups;
  std::array<std::string, 4> customText;
  InfoFields info;
  std::string opaque = std::string(320, '\0');

  // Appends a record to a counted section.
  LevelBuilder& Add(zr3::Category category, Blob record);
  // Overrides the count field written for a section (to build inconsistent files).
  LevelBuilder& SetCount(zr3::Category category, std::uint16_t count);

  Blob Build() const;
  // Builds the level and writes it to a file; returns the path.
  std::string WriteTo(const std::string& path) const;

  // Where each piece of the built file begins, in file order: "Header", "Maps", ...,
  // "Level Info", ..., "Reserved Block", "Lists", then "End" at the file's size.
  std::vector<std::pair<std::string, std::size_t>> SectionOffsets() const;

 private:
  template <class Visit>
  void Walk(Visit visit) const;

  std::map<zr3::Category, std::vector<Blob>> records_;
  std::map<zr3::Category, std::uint16_t> counts_;
};

}  // namespace zr3test
