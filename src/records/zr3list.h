#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "level/zr3base.h"

namespace zr3 {

// A menu of up to ten options that a script can show; each option has a text and, as its
// result, an object script named by identifier.
class ZR3List : public ZR3ChainRecord {
 public:
  static constexpr std::size_t kOptionCount = 10;
  static constexpr std::size_t kOptionWidth = 32;
  static constexpr std::size_t kSize = 408;

  ZR3List() = default;
  explicit ZR3List(ByteReader& in);

  Category ListCategory() const override { return Category::Lists; }
  void Describe(Lines& lines) const override;
  void Write(ByteWriter& out) override;
  void Link(ZR3Level& level) override;
  void CopyTo(ZR3Base& target) const override;
  void CollectProblems(RecordProblems& problems) const override;

  // Whether the record is one of the ten results, whatever the count.
  bool RefersToScript(const ZR3Base& record) const;

  // The count as stored; it may exceed the ten options the record holds.
  std::uint16_t Count() const { return count_; }
  const std::string& OptionText(std::size_t i) const { return optionTexts_[i]; }
  std::uint32_t StoredResultId(std::size_t i) const { return resultIds_[i]; }
  ZR3ChainRecord* Result(std::size_t i) const { return results_[i]; }

 private:
  // The options in use: the count, but never beyond the ten that exist.
  std::size_t OptionsInUse() const;

  std::uint16_t count_ = 0;
  std::array<std::uint8_t, 2> opaque_{};
  std::array<std::string, kOptionCount> optionTexts_;
  std::array<std::uint32_t, kOptionCount> resultIds_{};
  std::array<ZR3ChainRecord*, kOptionCount> results_{};
};

}  // namespace zr3
