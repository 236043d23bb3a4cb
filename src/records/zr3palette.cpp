#include "records/zr3palette.h"

#include "level/bytes.h"

namespace zr3 {

ZR3Palette::ZR3Palette(ByteReader& in) {
  name_ = in.FixedText(32);
  colours_ = in.Array<kColourBytes>();
  ReadChain(in);
}

void ZR3Palette::Describe(Lines& lines) const {
  lines.push_back("Name: " + name_);
  for (std::size_t n = 0; n < kColourCount; ++n) {
    lines.push_back(HexDump("Colour " + std::to_string(n) + ":", &colours_[n * 3], 3));
  }
  DescribeChain(lines);
}

void ZR3Palette::Write(ByteWriter& out) {
  out.FixedText(name_, 32);
  out.Array(colours_);
  WriteChain(out);
}

void ZR3Palette::CopyTo(ZR3Base& target) const {
  auto& copy = dynamic_cast<ZR3Palette&>(target);
  copy.name_ = name_;
  copy.colours_ = colours_;
  CopyChainTo(copy);
}

}  // namespace zr3
