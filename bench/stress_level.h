#pragma once

#include <cstdint>
#include <string>

#include "level/category.h"

namespace zr3bench {

// How many records of each kind a stress level holds.
struct StressSize {
  std::string name;
  int maps = 0;
  int tilesPerMap = 0;  // distinct tiles each map uses
  int tiles = 0;
  int objects = 0;
  int scriptsPerObject = 0;  // object script slots in use per object
  int globalScripts = 0;
  int deathScripts = 0;
  int objectScripts = 0;
  int startupScripts = 0;
  int items = 0;
  bool allItemsUsable = false;
  int spells = 0;
  int shops = 0;
  int monsters = 0;
  int palettes = 0;
  int texts = 0;
  int characters = 0;
  int songs = 0;
  int graphics = 0;
  int lists = 0;
};

// "large": about fifty full maps and thousands of records of every kind.
StressSize LargeSize();
// "max": the object scripts, objects, items and tiles lists full.
StressSize MaxSize();
// The size with every count times multiplier divided by divisor (at least one of each kind
// that had any); throws when a list would exceed 65535 records.
StressSize Scaled(const StressSize& size, int multiplier, int divisor);
// "large", "max", optionally followed by "/N" or "*N" for the scaled size; throws on other
// names.
StressSize SizeNamed(const std::string& name);

// The own identifier that the stress level gives record index of a category: unique across
// the whole file, so that every reference by identifier resolves to exactly one record.
std::uint32_t StressId(zr3::Category category, int index);

// The record that thousands of others name: object script 0, named by every object, usable
// item, list, monster, spell and many commands.
inline constexpr zr3::Category kHotCategory = zr3::Category::ObjectScripts;
inline constexpr int kHotIndex = 0;
// The last object script is named by nothing, so that its deletion check asks every place.

// The level file's bytes, built field by field by the tests' builders.
std::string BuildStressLevel(const StressSize& size);

}  // namespace zr3bench
