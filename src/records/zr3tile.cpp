#include "records/zr3tile.h"

#include "level/bytes.h"

namespace zr3 {

ZR3Tile::ZR3Tile(ByteReader& in) {
  name_ = in.FixedText(kNameWidth);
  gfxId_ = in.U32();
  unknown_ = in.Array<32>();
  layer_ = in.U8();
  unknownAfterLayer_ = in.Array<3>();
  ReadChain(in);
  if (HasPath()) path_ = in.FixedText(kPathWidth);
}

void ZR3Tile::Write(ByteWriter& out) {
  out.FixedText(name_, kNameWidth);
  out.U32(gfxId_);
  out.Array(unknown_);
  out.U8(layer_);
  out.Array(unknownAfterLayer_);
  WriteChain(out);
  // The graphic identifier alone decides whether the path is stored; an empty path is
  // written as zeros so that the record keeps its length.
  if (HasPath()) out.FixedText(path_, kPathWidth);
}

void ZR3Tile::Describe(Lines& lines) const {
  lines.push_back("Name: " + name_);
  lines.push_back(HexDumpU32("GFX Id:", gfxId_));
  lines.push_back(HexDump("Unknown:", unknown_.data(), unknown_.size()));
  lines.push_back("Layer: " + std::to_string(layer_));
  lines.push_back(HexDump("Unknown:", unknownAfterLayer_.data(), unknownAfterLayer_.size()));
  DescribeChain(lines);
  lines.push_back("Image path: " + path_);
}

void ZR3Tile::CopyTo(ZR3Base& target) const {
  auto& copy = static_cast<ZR3Tile&>(target);
  copy.name_ = name_;
  copy.gfxId_ = gfxId_;
  copy.unknown_ = unknown_;
  copy.layer_ = layer_;
  copy.unknownAfterLayer_ = unknownAfterLayer_;
  CopyChainTo(copy);
  copy.path_ = path_;
}

}  // namespace zr3
