#pragma once

#include <array>
#include <cstdint>

#include "level/zr3base.h"
#include "records/zr3positionrefs.h"

namespace zr3 {

// A magic action. Monsters and other spells (as learn spell) name it by its identifier,
// scripts by its list position.
class ZR3Spell : public ZR3ChainRecord {
 public:
  static constexpr std::size_t kSize = 76;
  static constexpr std::size_t kNameWidth = 32;
  static constexpr std::uint16_t kOffense = 0;
  static constexpr std::uint16_t kObsolete = 1;
  static constexpr std::uint16_t kChangeSelf = 2;
  static constexpr std::uint16_t kChangeOther = 3;
  static constexpr std::uint16_t kHeal = 4;
  static constexpr std::uint16_t kRunScript = 5;

  ZR3Spell() = default;
  explicit ZR3Spell(ByteReader& in);

  Category ListCategory() const override { return Category::Spells; }
  void Describe(Lines& lines) const override;
  // First takes the learn spell's save identifier and, for "Run Script", the script's
  // current position into the record.
  void Write(ByteWriter& out) override;
  void Link(ZR3Level& level) override;
  void CopyTo(ZR3Base& target) const override;
  // An unresolved learn spell identifier is written back as stored.
  void CollectKeptIdentifiers(std::vector<std::uint32_t>& kept) const override;
  void CollectProblems(RecordProblems& problems) const override;

  bool RefersToGroup(const ZR3Base& record) const;
  bool RefersToScript(const ZR3Base& record) const;
  bool RefersToSpell(const ZR3Base& record) const;

  std::int16_t MinSp() const { return minSp_; }
  std::int16_t SpCost() const { return spCost_; }
  std::int16_t Mastery() const { return mastery_; }
  std::uint32_t LearnId() const { return learnId_; }
  std::uint16_t Type() const { return type_; }
  // Definition parameters 1 to 4 are parameter(0) to parameter(3).
  std::int16_t Parameter(std::size_t i) const { return parameters_[i]; }
  std::int16_t GroupIndex(std::size_t i) const { return groups_.index[i]; }
  std::int16_t GroupModifier(std::size_t i) const { return modifiers_[i]; }
  ZR3Base* Group(std::size_t i) const { return groups_.group[i]; }
  ZR3Base* Script() const { return script_; }
  ZR3ChainRecord* LearnSpell() const { return learnSpell_; }

 private:
  std::string DefinitionText() const;
  std::string ChangeText() const;

  std::int16_t minSp_ = 0;
  std::int16_t spCost_ = 0;
  std::int16_t mastery_ = 0;
  std::array<std::uint8_t, 2> opaqueA_{};
  std::uint32_t learnId_ = 0;
  std::uint16_t type_ = 0;
  std::array<std::int16_t, 4> parameters_{};
  ZR3GroupPair groups_;
  std::array<std::int16_t, 2> modifiers_{};
  std::array<std::uint8_t, 2> opaqueB_{};
  ZR3Base* script_ = nullptr;
  ZR3ChainRecord* learnSpell_ = nullptr;
};

}  // namespace zr3
