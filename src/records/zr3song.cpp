#include "records/zr3song.h"

#include "level/bytes.h"

namespace zr3 {

ZR3Song::ZR3Song(ByteReader& in) {
  name_ = in.FixedText(32);
  data_ = in.Array<kDataSize>();
  ReadChain(in);
}

void ZR3Song::Describe(Lines& lines) const {
  lines.push_back("Name: " + name_);
  lines.push_back(HexDump("Unknown:", data_.data(), data_.size()));
  DescribeChain(lines);
}

void ZR3Song::Write(ByteWriter& out) {
  out.FixedText(name_, 32);
  out.Array(data_);
  WriteChain(out);
}

void ZR3Song::CopyTo(ZR3Base& target) const {
  auto& copy = dynamic_cast<ZR3Song&>(target);
  copy.name_ = name_;
  copy.data_ = data_;
  CopyChainTo(copy);
}

}  // namespace zr3
