#include "records/zr3string.h"

#include "level/bytes.h"

namespace zr3 {

ZR3String::ZR3String(ByteReader& in) {
  name_ = in.FixedText(kSize);
}

void ZR3String::Describe(Lines& lines) const {
  lines.push_back("Name: " + name_);
}

void ZR3String::Write(ByteWriter& out) {
  out.FixedText(name_, kSize);
}

void ZR3String::CopyTo(ZR3Base& target) const {
  target.SetName(name_);
}

}  // namespace zr3
