#pragma once

#include <rapidjson/prettywriter.h>
#include <rapidjson/stringbuffer.h>
#include <rapidjson/writer.h>

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "level/bytes.h"

namespace zr3 {
class ZR3Base;
}

namespace zr3::json {

// RapidJSON's output stream over the windowed ByteWriter, so a document of any size is
// written through the same bounded buffer as the other exports.
class ByteWriterStream {
 public:
  using Ch = char;
  explicit ByteWriterStream(ByteWriter& out) : out_(out) {}
  void Put(char c) { out_.Text().push_back(c); }
  void Flush() {}

 private:
  ByteWriter& out_;
};

// A pretty-printed document with a stable layout: every member on its own line, except the
// small values (references, choices, a row of map cells) that stay on one line each so that
// a diff shows one changed field as one changed line.
class JsonOut {
 public:
  using Pretty = rapidjson::PrettyWriter<ByteWriterStream>;
  using Compact = rapidjson::Writer<rapidjson::StringBuffer>;

  explicit JsonOut(ByteWriter& out);

  Pretty& Document() { return pretty_; }
  void Key(std::string_view name) {
    pretty_.Key(name.data(), static_cast<rapidjson::SizeType>(name.size()));
  }
  // A text of the level (Windows-1252 bytes) as a JSON string.
  void Text(std::string_view bytes);
  void Integer(std::int64_t value) { pretty_.Int64(value); }
  // Bytes as lowercase hex digits.
  void Hex(const std::uint8_t* bytes, std::size_t count);

  // A value written on one line by write(Compact&), which must write exactly one value.
  template <class Write>
  void OneLine(Write write) {
    line_.Clear();
    compact_.Reset(line_);
    write(compact_);
    pretty_.RawValue(line_.GetString(), line_.GetSize(), rapidjson::kObjectType);
  }

  // {"index": 3, "name": "Wall"} for a record, {"unresolved": id} for an identifier that
  // matched nothing, null for an empty slot.
  void Reference(const ZR3Base* record, std::uint32_t stored, bool empty);
  void CompactReference(Compact& out, const ZR3Base* record, std::uint32_t stored, bool empty);
  // A text of the level in a one-line value.
  void CompactText(Compact& out, std::string_view bytes);
  // {"value": 3, "word": "Usable"}; the word only where the table has one.
  void Choice(std::int64_t value, std::span<const std::string_view> words);

  // Hands a full window of output on; between records.
  void FlushIfFull() { out_.FlushIfFull(); }

 private:
  ByteWriter& out_;
  ByteWriterStream stream_;
  Pretty pretty_;
  rapidjson::StringBuffer line_;
  Compact compact_;
  std::string scratch_;
};

}  // namespace zr3::json
