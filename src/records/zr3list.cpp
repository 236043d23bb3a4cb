#include "records/zr3list.h"

#include <algorithm>

#include "level/bytes.h"
#include "level/zr3level.h"

namespace zr3 {

ZR3List::ZR3List(ByteReader& in) {
  name_ = in.FixedText(32);
  for (std::string& text : optionTexts_) text = in.FixedText(kOptionWidth);
  for (std::uint32_t& id : resultIds_) id = in.U32();
  count_ = in.U16();
  opaque_ = in.Array<2>();
  ReadChain(in);
}

std::size_t ZR3List::OptionsInUse() const {
  return std::min<std::size_t>(count_, kOptionCount);
}

void ZR3List::Link(ZR3Level& level) {
  // Results beyond the count stay null, so they are written as 0. Identifier 0 is looked up
  // like any other, and the first script of an identifier wins.
  results_.fill(nullptr);
  for (std::size_t i = 0; i < OptionsInUse(); ++i) {
    results_[i] = level.FindFirstById(Category::ObjectScripts, resultIds_[i]);
  }
  LinkNeighbours(level);
}

void ZR3List::Describe(Lines& lines) const {
  lines.push_back("Name: " + name_);
  const std::size_t inUse = OptionsInUse();
  for (std::size_t i = 0; i < inUse; ++i) {
    lines.push_back("Option " + std::to_string(i) + ": " + optionTexts_[i]);
  }
  for (std::size_t i = 0; i < inUse; ++i) {
    const std::string label = "Result " + std::to_string(i) + ":";
    lines.push_back(results_[i] ? label + " " + results_[i]->Name()
                                : HexDumpU32(label, resultIds_[i]));
  }
  lines.push_back("Count: " + std::to_string(count_));
  lines.push_back(HexDump("Unknown:", opaque_.data(), opaque_.size()));
  DescribeChain(lines);
}

void ZR3List::Write(ByteWriter& out) {
  out.FixedText(name_, 32);
  for (const std::string& text : optionTexts_) out.FixedText(text, kOptionWidth);
  // An unresolved result is written as 0, never as its stored identifier.
  for (const ZR3ChainRecord* result : results_) out.U32(SaveIdOf(result));
  out.U16(count_);
  out.Array(opaque_);
  WriteChain(out);
}

void ZR3List::CopyTo(ZR3Base& target) const {
  auto& copy = dynamic_cast<ZR3List&>(target);
  copy.name_ = name_;
  copy.count_ = count_;
  copy.opaque_ = opaque_;
  copy.optionTexts_ = optionTexts_;
  copy.resultIds_ = resultIds_;
  copy.results_ = results_;
  CopyChainTo(copy);
}

void ZR3List::CollectProblems(RecordProblems& problems) const {
  // The writer saves every unresolved result as 0: within the count when it matched no
  // script, beyond the count because it is never linked. A result 0 is no result.
  const std::size_t inUse = OptionsInUse();
  for (std::size_t i = 0; i < kOptionCount; ++i) {
    if (resultIds_[i] == 0 || results_[i]) continue;
    RecordProblem problem = UnresolvedIdentifier("Result " + std::to_string(i), resultIds_[i],
                                                 Category::ObjectScripts, AtSave::WrittenAsZero);
    if (i >= inUse) problem.issue = "beyond the count, never linked";
    problems.push_back(std::move(problem));
  }
  if (count_ > kOptionCount) problems.push_back(CountAboveSlots("Count", count_, kOptionCount));
}

bool ZR3List::RefersToScript(const ZR3Base& record) const {
  return std::any_of(results_.begin(), results_.end(),
                     [&record](const ZR3ChainRecord* result) { return result == &record; });
}

}  // namespace zr3
