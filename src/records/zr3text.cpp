#include "records/zr3text.h"

#include "level/bytes.h"

namespace zr3 {

ZR3Text::ZR3Text(ByteReader& in) {
  name_ = in.FixedText(32);
  text_ = in.FixedText(kTextWidth);
}

void ZR3Text::Describe(Lines& lines) const {
  lines.push_back("Name: " + name_);
  lines.push_back("Text: " + text_);
}

void ZR3Text::Write(ByteWriter& out) {
  out.FixedText(name_, 32);
  out.FixedText(text_, kTextWidth);
}

void ZR3Text::CopyTo(ZR3Base& target) const {
  auto& copy = dynamic_cast<ZR3Text&>(target);
  copy.name_ = name_;
  copy.text_ = text_;
}

}  // namespace zr3
