#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "level/bytes.h"
#include "level/text.h"
#include "level/zr3base.h"
#include "level/zr3level.h"
#include "support/level_builder.h"

namespace zr3test {

// The lines a record describes itself with.
inline zr3::Lines DescribeLines(const zr3::ZR3Base& record) {
  zr3::Lines lines;
  record.Describe(lines);
  return lines;
}

// The bytes a record writes.
inline std::string WriteRecord(zr3::ZR3Base& record) {
  zr3::ByteWriter out;
  record.Write(out);
  return out.Release();
}

// Reads one record of the kind from the start of bytes; consumed receives the bytes it took.
template <class Record>
std::unique_ptr<Record> ReadOne(const std::string& bytes, std::size_t* consumed = nullptr) {
  zr3::ByteReader in(bytes);
  auto record = std::make_unique<Record>(in);
  if (consumed) *consumed = in.Offset();
  return record;
}

// A level loaded and linked from bytes.
inline std::unique_ptr<zr3::ZR3Level> LoadLevel(const std::string& bytes) {
  auto level = std::make_unique<zr3::ZR3Level>();
  level->LoadFromBytes(bytes);
  return level;
}

inline std::unique_ptr<zr3::ZR3Level> LoadLevel(const LevelBuilder& builder) {
  return LoadLevel(builder.Build().Bytes());
}

// Where the first record of a counted section begins in the built file (after its count).
inline std::size_t FirstRecordAt(const LevelBuilder& builder, zr3::Category category) {
  const std::string name(zr3::InfoOf(category).sectionName);
  for (const auto& [section, offset] : builder.SectionOffsets()) {
    if (section == name) return offset + 2;
  }
  ADD_FAILURE() << "no section " << name;
  return 0;
}

}  // namespace zr3test
