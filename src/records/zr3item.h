#pragma once

#include <array>
#include <cstdint>

#include "level/zr3base.h"
#include "records/zr3positionrefs.h"

namespace zr3 {

// A thing the player can own, buy and use. Shops and monsters name it by its identifier,
// scripts by its list position.
class ZR3Item : public ZR3ChainRecord {
 public:
  static constexpr std::size_t kSize = 64;
  static constexpr std::size_t kNameWidth = 32;
  static constexpr std::uint16_t kWeapon = 0;
  static constexpr std::uint16_t kArmor = 1;
  static constexpr std::uint16_t kAttributeChange = 2;
  static constexpr std::uint16_t kUsable = 3;
  static constexpr std::uint16_t kHeal = 4;

  ZR3Item() = default;
  explicit ZR3Item(ByteReader& in);

  Category ListCategory() const override { return Category::Items; }
  void Describe(Lines& lines) const override;
  // A usable item first takes its script's current position into parameter 1.
  void Write(ByteWriter& out) override;
  void Link(ZR3Level& level) override;
  void CopyTo(ZR3Base& target) const override;

  bool RefersToGroup(const ZR3Base& record) const;
  bool RefersToScript(const ZR3Base& record) const;

  std::uint16_t Type() const { return type_; }
  std::int16_t Cost() const { return cost_; }
  // Definition parameters 1 to 4 are parameter(0) to parameter(3).
  std::int16_t Parameter(std::size_t i) const { return parameters_[i]; }
  std::int16_t GroupIndex(std::size_t i) const { return groups_.index[i]; }
  std::uint16_t GroupModifier(std::size_t i) const { return modifiers_[i]; }
  ZR3Base* Group(std::size_t i) const { return groups_.group[i]; }
  ZR3Base* Script() const { return script_; }

 private:
  std::string DefinitionText() const;

  std::uint16_t type_ = 0;
  std::int16_t cost_ = 0;
  std::array<std::int16_t, 4> parameters_{};
  ZR3GroupPair groups_;
  std::array<std::uint16_t, 2> modifiers_{};
  ZR3Base* script_ = nullptr;
};

}  // namespace zr3
