#include "level/field_access.h"

#include <array>

#include "level/numbers.h"
#include "level/zr3error.h"
#include "level/zr3level.h"

namespace zr3 {

std::string_view FieldKindName(FieldKind kind) {
  static constexpr std::array<std::string_view, 9> kNames = {
      "text",      "integer",  "choice", "opaque", "chain identifier",
      "reference", "position", "run",    "part"};
  return kNames[static_cast<std::size_t>(kind)];
}

int FindRecordForField(const ZR3Level& level, Category list, std::string_view field,
                       std::string_view text) {
  const RecordList& records = level.List(list);
  const std::string noun(InfoOf(list).recordNoun);
  if (const std::optional<std::int64_t> position = ParseInteger(text)) {
    if (*position < 0 || static_cast<std::size_t>(*position) >= records.size()) {
      throw ZR3Error(std::string(field) + ": no " + noun + " at position " +
                     std::to_string(*position) + " (the list holds " +
                     std::to_string(records.size()) + ")");
    }
    return static_cast<int>(*position);
  }
  const std::optional<NameIndex::Found> found = NameIndex(records).Find(text);
  if (!found) {
    throw ZR3Error(std::string(field) + ": no " + noun + " is named \"" + std::string(text) + "\"");
  }
  if (found->ambiguous) {
    throw ZR3Error(std::string(field) + ": more than one " + noun + " is named \"" +
                   std::string(text) + "\"");
  }
  return found->position;
}

std::string FieldLister::HexText(const std::uint8_t* bytes, std::size_t count) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string text;
  text.reserve(count * 2);
  for (std::size_t i = 0; i < count; ++i) {
    text += kDigits[bytes[i] >> 4];
    text += kDigits[bytes[i] & 0x0F];
  }
  return text;
}

FieldSetter::FieldSetter(ZR3Level& level, std::string_view path, std::string_view value)
    : level_(level), path_(path), name_(path), value_(value) {
  // "items[3]" names slot 3 of the run "items".
  const std::size_t open = path.find('[');
  if (open == std::string_view::npos || path.back() != ']') return;
  name_ = path.substr(0, open);
  const std::optional<std::int64_t> slot =
      ParseInteger(path.substr(open + 1, path.size() - open - 2));
  index_ = slot && *slot >= 0 ? static_cast<std::size_t>(*slot) : SIZE_MAX;
}

void FieldSetter::Refuse(const std::string& reason) const {
  throw ZR3Error(path_ + ": " + reason);
}

void FieldSetter::CheckText(std::size_t width) const {
  if (value_.find('\0') != std::string_view::npos) {
    Refuse("a text cannot hold a zero byte");
  }
  if (value_.size() > width) {
    Refuse("a text of " + std::to_string(value_.size()) + " bytes is longer than the field's " +
           std::to_string(width));
  }
}

std::int64_t FieldSetter::Integer(std::string_view text, std::int64_t min, std::int64_t max) const {
  const std::optional<std::int64_t> number = ParseInteger(text);
  if (!number) Refuse("\"" + std::string(text) + "\" is not a whole number");
  if (*number < min || *number > max) {
    Refuse(std::string(text) + " is out of range " + std::to_string(min) + ".." +
           std::to_string(max));
  }
  return *number;
}

std::optional<std::size_t> FieldSetter::WordIndex(std::span<const std::string_view> words) const {
  for (std::size_t i = 0; i < words.size(); ++i) {
    if (!words[i].empty() && EqualsIgnoringAsciiCase(words[i], value_)) return i;
  }
  return std::nullopt;
}

void FieldSetter::SetHex(std::uint8_t* bytes, std::size_t count) const {
  if (value_.size() != count * 2) {
    Refuse("takes " + std::to_string(count) + " bytes as " + std::to_string(count * 2) +
           " hex digits, not " + std::to_string(value_.size()) + " characters");
  }
  for (std::size_t i = 0; i < count; ++i) {
    const int high = HexDigitValue(value_[2 * i]);
    const int low = HexDigitValue(value_[2 * i + 1]);
    if (high < 0 || low < 0) Refuse("\"" + std::string(value_) + "\" is not hex digits");
  }
  for (std::size_t i = 0; i < count; ++i) {
    bytes[i] = static_cast<std::uint8_t>(HexDigitValue(value_[2 * i]) << 4 |
                                         HexDigitValue(value_[2 * i + 1]));
  }
}

std::string FieldSetter::NoRecordAt(Category list, int position) const {
  return "no " + std::string(InfoOf(list).recordNoun) + " at position " + std::to_string(position) +
         " (the list holds " + std::to_string(level_.List(list).size()) + ")";
}

FieldList ZR3Base::Fields() const {
  return {};
}

FieldList ZR3Base::FieldsToCompare() const {
  return Fields();
}

void ZR3Base::SetField(ZR3Level&, std::string_view path, std::string_view) {
  throw ZR3Error(std::string(path) + ": no such field");
}

}  // namespace zr3
