#include "json/json_out.h"

#include <algorithm>
#include <array>
#include <charconv>

#include "level/windows1252.h"

namespace zr3::json {

void ByteWriterStream::Grow(std::size_t count) {
  buffer_.resize(std::max(used_ + count, 2 * buffer_.size() + 4096));
}

JsonOut::JsonOut(ByteWriter& out) : out_(out), stream_(out), pretty_(stream_), compact_(stream_) {
  pretty_.SetIndent(' ', 2);
}

void JsonOut::Text(std::string_view bytes) {
  scratch_.clear();
  AppendUtf8(scratch_, bytes);
  pretty_.String(scratch_.data(), static_cast<rapidjson::SizeType>(scratch_.size()));
}

void JsonOut::CompactText(Compact& out, std::string_view bytes) {
  scratch_.clear();
  AppendUtf8(scratch_, bytes);
  out.String(scratch_.data(), static_cast<rapidjson::SizeType>(scratch_.size()));
}

void JsonOut::Hex(const std::uint8_t* bytes, std::size_t count) {
  static constexpr char kDigits[] = "0123456789abcdef";
  // Hex digits need no escaping: the string goes out as it is, quotes included.
  scratch_.resize(count * 2 + 2);
  char* out = scratch_.data();
  *out++ = '"';
  for (std::size_t i = 0; i < count; ++i) {
    *out++ = kDigits[bytes[i] >> 4];
    *out++ = kDigits[bytes[i] & 0x0F];
  }
  *out = '"';
  pretty_.RawValue(scratch_.data(), scratch_.size(), rapidjson::kStringType);
}

void JsonOut::CompactReference(Compact& out, const ZR3Base* record, std::uint32_t stored,
                               bool empty) {
  if (const std::optional<int> place = record ? PlaceOf(*record) : std::nullopt) {
    out.StartObject();
    out.Key("index");
    out.Int(*place);
    out.Key("name");
    CompactText(out, record->Name());
    out.EndObject();
  } else if (!record && empty) {
    out.Null();
  } else {
    out.StartObject();
    out.Key("unresolved");
    out.Uint(stored);
    out.EndObject();
  }
}

void JsonOut::Reference(const ZR3Base* record, std::uint32_t stored, bool empty) {
  if (!record && empty) {
    pretty_.Null();
    return;
  }
  OneLine([&](Compact& out) { CompactReference(out, record, stored, empty); });
}

void JsonOut::CodeSlot(std::uint16_t code, std::span<const std::int16_t> parameters) {
  // 400000 slots in a large level: written out here rather than value by value.
  static constexpr std::string_view kCode = "{\"code\":";
  static constexpr std::string_view kParameters = ",\"parameters\":[";
  std::array<char, 128> text;
  char* out = text.data();
  char* const end = text.data() + text.size();
  out = kCode.copy(out, kCode.size()) + out;
  out = std::to_chars(out, end, code).ptr;
  out = kParameters.copy(out, kParameters.size()) + out;
  for (std::size_t i = 0; i < parameters.size(); ++i) {
    if (i > 0) *out++ = ',';
    out = std::to_chars(out, end, parameters[i]).ptr;
  }
  *out++ = ']';
  *out++ = '}';
  OneLineText(std::string_view(text.data(), static_cast<std::size_t>(out - text.data())));
}

void JsonOut::Choice(std::int64_t value, std::span<const std::string_view> words) {
  OneLine([&](Compact& out) {
    out.StartObject();
    out.Key("value");
    out.Int64(value);
    if (value >= 0 && static_cast<std::size_t>(value) < words.size() &&
        !words[static_cast<std::size_t>(value)].empty()) {
      const std::string_view word = words[static_cast<std::size_t>(value)];
      out.Key("word");
      out.String(word.data(), static_cast<rapidjson::SizeType>(word.size()));
    }
    out.EndObject();
  });
}

}  // namespace zr3::json
