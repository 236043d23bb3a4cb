#pragma once

#include <memory>

#include "level/category.h"
#include "level/zr3base.h"

namespace zr3 {

class ByteReader;

// How records of each kind are made. The level knows no record kind: the library that knows
// them all installs its makers once, before main runs.
struct RecordKinds {
  // Reads one record of the category's kind; nullptr for a kind that cannot be read.
  std::unique_ptr<ZR3Base> (*read)(Category category, ByteReader& in);
  // An empty record of the category's kind, the target of a copy.
  std::unique_ptr<ZR3Base> (*make)(Category category);
};

// Returns true, so that an installer can be a static initializer.
bool InstallRecordKinds(const RecordKinds& kinds);

// Both answer nullptr for a kind that cannot be read, and throw ZR3Error when no kinds were
// installed (a program that did not link the record kinds).
std::unique_ptr<ZR3Base> ReadRecord(Category category, ByteReader& in);
std::unique_ptr<ZR3Base> NewRecord(Category category);

}  // namespace zr3
