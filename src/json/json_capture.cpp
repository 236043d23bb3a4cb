#include "json/json_capture.h"

namespace zr3::json {

namespace {

constexpr std::size_t kFirstBlockBytes = 64 * 1024;

}  // namespace

ValueCapture::ValueCapture()
    : firstBlock_(new std::max_align_t[kFirstBlockBytes / sizeof(std::max_align_t)]),
      allocator_(firstBlock_.get(), kFirstBlockBytes),
      document_(&allocator_) {}

void ValueCapture::Begin() {
  document_.SetNull();
  allocator_.Clear();
  values_ = 0;
  text_ = 0;
  depth_ = 0;
  started_ = false;
  failure_.clear();
}

const rapidjson::Value& ValueCapture::Finish() {
  // The events went to the document one by one as the reader gave them; Populate moves the
  // finished value from the document's stack to its root.
  auto alreadyGiven = [](rapidjson::Document&) { return true; };
  document_.Populate(alreadyGiven);
  return document_;
}

bool ValueCapture::Add() {
  if (values_ >= kMaxValues) {
    failure_ = "a record holds more than " + std::to_string(kMaxValues) + " values";
    return false;
  }
  ++values_;
  started_ = true;
  return true;
}

bool ValueCapture::AddText(std::size_t length) {
  if (text_ + length > kMaxText) {
    failure_ = "a record holds more than " + std::to_string(kMaxText >> 20) + " MB of text";
    return false;
  }
  text_ += length;
  return true;
}

}  // namespace zr3::json
