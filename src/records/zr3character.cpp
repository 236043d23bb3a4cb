#include "records/zr3character.h"

#include "level/bytes.h"

namespace zr3 {

ZR3Character::ZR3Character(ByteReader& in) {
  name_ = in.FixedText(32);
  for (std::uint32_t& id : imageIds_) id = in.U32();
  ReadChain(in);
  // The identifiers decide the length: every non-zero one is followed by a path field.
  for (std::size_t i = 0; i < kImageCount; ++i) {
    if (imageIds_[i] != 0) imagePaths_[i] = in.FixedText(kPathWidth);
  }
}

void ZR3Character::Describe(Lines& lines) const {
  static constexpr const char* kImageLabels[kImageCount] = {
      "Image up1: ",   "Image up2: ",   "Image down1: ",  "Image down2: ",
      "Image left1: ", "Image left2: ", "Image right1: ", "Image right2: "};
  lines.push_back("Name: " + name_);
  for (std::size_t i = 0; i < kImageCount; ++i) {
    lines.push_back(HexDumpU32("GFX Id" + std::to_string(i) + ":", imageIds_[i]));
  }
  DescribeChain(lines);
  for (std::size_t i = 0; i < kImageCount; ++i) lines.push_back(kImageLabels[i] + imagePaths_[i]);
}

void ZR3Character::Write(ByteWriter& out) {
  out.FixedText(name_, 32);
  for (std::uint32_t id : imageIds_) out.U32(id);
  WriteChain(out);
  // Decided by the identifier, not by the path: an empty path still takes its 80 bytes, and
  // a path kept in memory for an identifier of 0 is never written.
  for (std::size_t i = 0; i < kImageCount; ++i) {
    if (imageIds_[i] != 0) out.FixedText(imagePaths_[i], kPathWidth);
  }
}

void ZR3Character::CopyTo(ZR3Base& target) const {
  auto& copy = dynamic_cast<ZR3Character&>(target);
  copy.name_ = name_;
  copy.imageIds_ = imageIds_;
  copy.imagePaths_ = imagePaths_;
  CopyChainTo(copy);
}

}  // namespace zr3
