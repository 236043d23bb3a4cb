#pragma once

#include <gtest/gtest.h>

#include <string>

#include "level/bytes.h"
#include "level/zr3level.h"
#include "script/zr3scriptcommand.h"
#include "script/zr3scriptcondition.h"
#include "support/print_category.h"
#include "support/script_builder.h"

namespace zr3test {

// A level whose lists hold named records at known positions: flags 0 to 2 are Gold, Silver
// and Copper, object scripts 0 to 5 Door, Chest, Well, Sign, Gate and Altar, and every
// other list that conditions and commands name holds stand-ins.
class EntryTest : public ::testing::Test {
 protected:
  void SetUp() override;

  template <class Entry>
  Entry Linked(const SlotFields& slot) {
    const Blob bytes = SlotBlob(slot);
    zr3::ByteReader in(bytes.Bytes());
    Entry entry;
    entry.Read(in);
    entry.Link(level);
    return entry;
  }
  zr3::ZR3ScriptCondition Condition(const SlotFields& slot) {
    return Linked<zr3::ZR3ScriptCondition>(slot);
  }
  zr3::ZR3ScriptCommand Command(const SlotFields& slot) {
    return Linked<zr3::ZR3ScriptCommand>(slot);
  }
  std::string ConditionText(const SlotFields& slot) { return Condition(slot).ReadableText(); }
  std::string CommandText(const SlotFields& slot) { return Command(slot).ReadableText(); }

  zr3::ZR3Base& At(zr3::Category category, int index) {
    return *level.List(category)[static_cast<std::size_t>(index)];
  }
  zr3::ZR3Base& Flag(int index) { return At(zr3::Category::Flags, index); }

  // The 20 bytes an entry writes.
  template <class Entry>
  static std::string Written(const Entry& entry) {
    zr3::ByteWriter out;
    entry.Write(out);
    return out.Release();
  }
  static std::int16_t WrittenParameter(const std::string& bytes, std::size_t index) {
    return static_cast<std::int16_t>(U16At(bytes, 2 + 2 * index));
  }

  zr3::ZR3Level level;
};

}  // namespace zr3test
