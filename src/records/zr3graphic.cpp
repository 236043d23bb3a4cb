#include "records/zr3graphic.h"

#include "level/bytes.h"

namespace zr3 {

ZR3Graphic::ZR3Graphic(ByteReader& in) {
  name_ = in.FixedText(kNameWidth);
  resource_ = in.U32();
  ReadChain(in);
  if (HasPath()) path_ = in.FixedText(kPathWidth);
}

void ZR3Graphic::Write(ByteWriter& out) {
  out.FixedText(name_, kNameWidth);
  out.U32(resource_);
  WriteChain(out);
  // The resource value alone decides whether the path is stored; an empty path is written
  // as zeros so that the record keeps its length.
  if (HasPath()) out.FixedText(path_, kPathWidth);
}

void ZR3Graphic::Describe(Lines& lines) const {
  lines.push_back("Name: " + name_);
  lines.push_back(HexDumpU32("GFX resource?:", resource_));
  DescribeChain(lines);
  lines.push_back("Image path: " + path_);
}

void ZR3Graphic::CopyTo(ZR3Base& target) const {
  auto& copy = static_cast<ZR3Graphic&>(target);
  copy.name_ = name_;
  copy.resource_ = resource_;
  CopyChainTo(copy);
  copy.path_ = path_;
}

}  // namespace zr3
