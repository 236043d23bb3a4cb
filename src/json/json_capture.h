#pragma once

#include <rapidjson/document.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace zr3::json {

// Gathers one JSON value from RapidJSON's reader events into a RapidJSON document, with limits
// on its size: the import reads a record at a time, so it never holds more than the document
// text, one record's values and the level. Each event answers false once a limit is passed;
// Failure() then says which.
class ValueCapture {
 public:
  // The largest record, a map of 100 x 100 cells, has about 40200 values.
  static constexpr std::uint32_t kMaxValues = 1u << 18;
  static constexpr std::size_t kMaxText = std::size_t{16} << 20;

  ValueCapture();
  ValueCapture(const ValueCapture&) = delete;
  ValueCapture& operator=(const ValueCapture&) = delete;

  // Starts a new value, dropping the last one (the first block of its memory is kept).
  void Begin();
  // Whether the value begun last is complete.
  bool Done() const { return started_ && depth_ == 0; }
  // The complete value; it lasts until the next Begin.
  const rapidjson::Value& Finish();
  const std::string& Failure() const { return failure_; }

  bool Null() { return Add() && document_.Null(); }
  bool Bool(bool b) { return Add() && document_.Bool(b); }
  // The reader reports "-0" as a signed 0 and "0" as an unsigned one. A document keeps an
  // integer without the sign of its zero, so -0 is kept as the double -0.0, which has it.
  bool Int(int i) { return Add() && (i == 0 ? document_.Double(-0.0) : document_.Int(i)); }
  bool Uint(unsigned u) { return Add() && document_.Uint(u); }
  bool Int64(std::int64_t i) { return Add() && document_.Int64(i); }
  bool Uint64(std::uint64_t u) { return Add() && document_.Uint64(u); }
  bool Double(double d) { return Add() && document_.Double(d); }
  // Numbers are never read as text.
  bool RawNumber(const char*, rapidjson::SizeType, bool) { return false; }
  bool String(const char* text, rapidjson::SizeType length, bool copy) {
    return AddText(length) && Add() && document_.String(text, length, copy);
  }
  bool Key(const char* text, rapidjson::SizeType length, bool copy) {
    return AddText(length) && document_.Key(text, length, copy);
  }
  bool StartObject() { return Add() && Open() && document_.StartObject(); }
  bool EndObject(rapidjson::SizeType count) { return Close() && document_.EndObject(count); }
  bool StartArray() { return Add() && Open() && document_.StartArray(); }
  bool EndArray(rapidjson::SizeType count) { return Close() && document_.EndArray(count); }

 private:
  bool Add();
  bool AddText(std::size_t length);
  bool Open() {
    ++depth_;
    return true;
  }
  bool Close() {
    --depth_;
    return true;
  }

  // The document's first block of memory, kept from one value to the next so that a small
  // record needs no allocation of its own.
  std::unique_ptr<std::max_align_t[]> firstBlock_;
  rapidjson::MemoryPoolAllocator<> allocator_;
  rapidjson::Document document_;
  std::uint32_t values_ = 0;
  std::size_t text_ = 0;
  std::uint32_t depth_ = 0;
  bool started_ = false;
  std::string failure_;
};

}  // namespace zr3::json
