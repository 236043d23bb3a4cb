#include "level/zr3base.h"

#include "level/bytes.h"
#include "level/zr3level.h"

namespace zr3 {

void ZR3Base::Link(ZR3Level&) {}
void ZR3Base::LinkNeighbours(ZR3Level&) {}
void ZR3Base::CollectKeptIdentifiers(std::vector<std::uint32_t>&) const {}
void ZR3Base::CollectProblems(RecordProblems&) const {}
bool ZR3Base::RefersTo(const ZR3Base&) const {
  return false;
}

void ZR3ChainRecord::Link(ZR3Level& level) {
  LinkNeighbours(level);
}

void ZR3ChainRecord::LinkNeighbours(ZR3Level& level) {
  const RecordList& list = level.List(ListCategory());
  const int p = Position();
  const int count = static_cast<int>(list.size());
  prev_ = (p > 0 && p - 1 < count) ? static_cast<ZR3ChainRecord*>(list[p - 1].get()) : nullptr;
  next_ = (p >= 0 && p < count - 1) ? static_cast<ZR3ChainRecord*>(list[p + 1].get()) : nullptr;
}

void ZR3ChainRecord::ReadChain(ByteReader& in) {
  storedNextId_ = in.U32();
  storedPrevId_ = in.U32();
  storedId_ = in.U32();
}

void ZR3ChainRecord::WriteChain(ByteWriter& out) const {
  out.U32(SaveIdOf(next_));
  out.U32(SaveIdOf(prev_));
  out.U32(saveId_);
}

void ZR3ChainRecord::DescribeChain(Lines& lines) const {
  lines.push_back(HexDumpU32("Next Id:", storedNextId_));
  lines.push_back(HexDumpU32("Prev Id:", storedPrevId_));
  lines.push_back(HexDumpU32("Id:", storedId_));
}

}  // namespace zr3
