#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "level/field_record.h"

namespace zr3 {

// A menu of up to ten options that a script can show; each option has a text and, as its
// result, an object script named by identifier.
class ZR3List : public FieldRecord<ZR3List> {
 public:
  static constexpr std::size_t kNameWidth = 32;
  static constexpr std::size_t kOptionCount = 10;
  static constexpr std::size_t kOptionWidth = 32;
  static constexpr std::size_t kSize = 408;

  ZR3List() = default;
  explicit ZR3List(ByteReader& in) { ReadFields(in); }

  Category ListCategory() const override { return Category::Lists; }

  // Only the options within the count are shown and linked; results beyond it stay null and
  // are written as 0, as is a result that matched no script.
  template <class Self, class Visitor>
  static void Fields(Self& self, Visitor& visit) {
    static constexpr std::string_view kOptionNames[kOptionCount] = {
        "option_0", "option_1", "option_2", "option_3", "option_4",
        "option_5", "option_6", "option_7", "option_8", "option_9"};
    static constexpr std::string_view kOptionLabels[kOptionCount] = {
        "Option 0", "Option 1", "Option 2", "Option 3", "Option 4",
        "Option 5", "Option 6", "Option 7", "Option 8", "Option 9"};
    const std::size_t inUse = self.OptionsInUse();
    visit(field::Text("name", self.name_, kNameWidth, "Name").Means(meaning::kName));
    for (std::size_t i = 0; i < kOptionCount; ++i) {
      visit(field::Text(kOptionNames[i], self.optionTexts_[i], kOptionWidth,
                        i < inUse ? kOptionLabels[i] : std::string_view())
                .About(kOptionLabels[i], "An option's text; the list offers the first Count"));
    }
    visit(field::ReferenceRun("results", self.results_, "Result ", ReferenceStyle::NameOrHex, inUse)
              .About("Results", "The object script each option runs"));
    visit(field::Number("count", self.count_, "Count")
              .Means("How many options the list offers (0 to 10)"));
    visit(field::Problems([&self](RecordProblems& problems) {
      if (self.count_ > kOptionCount) {
        problems.push_back(CountAboveSlots("Count", self.count_, kOptionCount));
      }
    }));
    visit(field::Opaque("opaque", self.opaque_).Means(meaning::kOpaque));
    visit(field::Chain(self));
  }

  // The count as stored; it may exceed the ten options the record holds.
  std::uint16_t Count() const { return count_; }
  const std::string& OptionText(std::size_t i) const { return optionTexts_[i]; }
  std::uint32_t StoredResultId(std::size_t i) const { return results_[i].Stored(); }
  ZR3ChainRecord* Result(std::size_t i) const { return results_[i].Record(); }

 private:
  // Identifier 0 is looked up like any other, and the first script of an identifier wins.
  using ResultReference =
      IdReference<IdRule{Category::ObjectScripts, Match::First, false, AtSave::WrittenAsZero}>;

  // The options in use: the count, but never beyond the ten that exist.
  std::size_t OptionsInUse() const { return std::min<std::size_t>(count_, kOptionCount); }

  std::array<std::string, kOptionCount> optionTexts_;
  std::array<ResultReference, kOptionCount> results_{};
  std::uint16_t count_ = 0;
  std::array<std::uint8_t, 2> opaque_{};
};

}  // namespace zr3
