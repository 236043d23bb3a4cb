#pragma once

#include <rapidjson/prettywriter.h>
#include <rapidjson/writer.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "level/bytes.h"
#include "level/record_places.h"
#include "level/zr3base.h"

namespace zr3::json {

// RapidJSON's output stream over the windowed ByteWriter, so a document of any size is
// written through the same bounded buffer as the other exports. The writer reserves room
// before it puts characters, which then go into a buffer of the stream's own without a check
// each; Sync hands them to the ByteWriter.
class ByteWriterStream {
 public:
  using Ch = char;
  explicit ByteWriterStream(ByteWriter& out) : out_(out) {}

  void Put(char c) {
    Reserve(1);
    PutUnsafe(c);
  }
  void Reserve(std::size_t count) {
    if (buffer_.size() - used_ < count) Grow(count);
  }
  void PutUnsafe(char c) { buffer_[used_++] = c; }
  void Append(std::string_view text) {
    Reserve(text.size());
    text.copy(buffer_.data() + used_, text.size());
    used_ += text.size();
  }
  void Flush() {}
  // Hands what was put so far to the ByteWriter.
  void Sync() {
    out_.Bytes(buffer_.data(), used_);
    used_ = 0;
  }

 private:
  // The buffer's size is its room: it grows, and is never cut back.
  void Grow(std::size_t count);

  ByteWriter& out_;
  std::string buffer_;
  std::size_t used_ = 0;
};

}  // namespace zr3::json

namespace rapidjson {
template <>
inline void PutReserve(zr3::json::ByteWriterStream& stream, size_t count) {
  stream.Reserve(count);
}
template <>
inline void PutUnsafe(zr3::json::ByteWriterStream& stream, char c) {
  stream.PutUnsafe(c);
}
}  // namespace rapidjson

namespace zr3::json {

// A pretty-printed document with a stable layout: every member on its own line, except the
// small values (references, choices, a row of map cells) that stay on one line each so that
// a diff shows one changed field as one changed line.
class JsonOut {
 public:
  using Pretty = rapidjson::PrettyWriter<ByteWriterStream>;
  using Compact = rapidjson::Writer<ByteWriterStream>;

  explicit JsonOut(ByteWriter& out);

  // The records' positions written are their places in the level the document is written
  // for: by default their own positions; places writes another version's records for a
  // merged level, a reference to a record without a place there as an unresolved one.
  void SetPlaces(RecordPlaces places) { places_ = std::move(places); }
  const RecordPlaces& Places() const { return places_; }
  std::optional<int> PlaceOf(const ZR3Base& record) const {
    if (!places_) return record.Position();
    return places_(record);
  }

  Pretty& Document() { return pretty_; }
  void Key(std::string_view name) {
    pretty_.Key(name.data(), static_cast<rapidjson::SizeType>(name.size()));
  }
  // A text of the level (Windows-1252 bytes) as a JSON string.
  void Text(std::string_view bytes);
  void Integer(std::int64_t value) { pretty_.Int64(value); }
  // Bytes as lowercase hex digits.
  void Hex(const std::uint8_t* bytes, std::size_t count);

  // A value written on one line by write(Compact&), which must write exactly one value: the
  // document places it (an empty raw value puts the comma, line break and indent), then a
  // writer without line breaks writes it into the same stream.
  template <class Write>
  void OneLine(Write write) {
    pretty_.RawValue("", 0, rapidjson::kObjectType);
    compact_.Reset(stream_);
    write(compact_);
  }
  // The same for a value already written out as compact JSON text: the many small values of
  // the scripts' slots and the maps' rows are made by hand, and come out as the compact
  // writer would write them.
  void OneLineText(std::string_view text) {
    pretty_.RawValue("", 0, rapidjson::kObjectType);
    stream_.Append(text);
  }

  // {"index": 3, "name": "Wall"} for a record, {"unresolved": id} for an identifier that
  // matched nothing (or whose record has no place), null for an empty slot.
  void Reference(const ZR3Base* record, std::uint32_t stored, bool empty);
  void CompactReference(Compact& out, const ZR3Base* record, std::uint32_t stored, bool empty);
  // A text of the level in a one-line value.
  void CompactText(Compact& out, std::string_view bytes);
  // {"value": 3, "word": "Usable"}; the word only where the table has one.
  void Choice(std::int64_t value, std::span<const std::string_view> words);

  // An array of values, one a line.
  void StartList() { pretty_.StartArray(); }
  void EndList() { pretty_.EndArray(); }
  // One slot of a list on its line: {"code": 101, "parameters": [...]}.
  void CodeSlot(std::uint16_t code, std::span<const std::int16_t> parameters);
  // side x side cells, one row a line: [[slot, slot, slot], ...], each slot the position of its
  // record, {"unresolved": id}, or null for an empty slot. The cells, row by row, hold indices
  // into a table of entryCount references, or emptySlot; entry(i) gives the record and stored
  // identifier of entry i, a record or an identifier other than 0. Each entry's text is made
  // once: a map of 30000 slots names a few hundred tiles.
  template <class Cell, class Entry>
  void ReferenceGrid(int side, std::span<const Cell> cells, std::size_t entryCount,
                     std::uint16_t emptySlot, Entry entry) {
    std::vector<std::string> texts(entryCount);
    for (std::size_t i = 0; i < entryCount; ++i) {
      const auto [record, stored] = entry(i);
      if (const std::optional<int> place = record ? PlaceOf(*record) : std::nullopt) {
        texts[i] = std::to_string(*place);
      } else {
        texts[i] = stored != 0 ? "{\"unresolved\":" + std::to_string(stored) + "}" : "null";
      }
    }
    pretty_.StartArray();
    const auto count = static_cast<std::size_t>(std::max(side, 0));
    for (std::size_t row = 0; row < count; ++row) {
      line_.assign(1, '[');
      for (std::size_t column = 0; column < count; ++column) {
        line_ += column > 0 ? ",[" : "[";
        const Cell& cell = cells[row * count + column];
        for (std::size_t slot = 0; slot < cell.size(); ++slot) {
          if (slot > 0) line_ += ',';
          line_ += cell[slot] == emptySlot ? std::string_view("null")
                                           : std::string_view(texts.at(cell[slot]));
        }
        line_ += ']';
      }
      line_ += ']';
      OneLineText(line_);
    }
    pretty_.EndArray();
  }

  // Hands a full window of output on; between records.
  void FlushIfFull() {
    stream_.Sync();
    out_.FlushIfFull();
  }
  // Leaves the ByteWriter holding exactly the document written; the last call.
  void Finish() { stream_.Sync(); }

 private:
  ByteWriter& out_;
  ByteWriterStream stream_;
  Pretty pretty_;
  Compact compact_;
  std::string scratch_;
  std::string line_;
  RecordPlaces places_;
};

}  // namespace zr3::json
