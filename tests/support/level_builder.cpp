#include "support/level_builder.h"

#include <fstream>
#include <stdexcept>

namespace zr3test {

using zr3::Category;

Blob InfoBlock(const InfoFields& info) {
  Blob b;
  b.Text(info.name, 80).Text(info.author, 32).Text(info.email, 32).Text(info.version, 10);
  b.U8(info.statBuying).U8(info.encounterPercent).U8(info.inventorySize);
  b.Raw(info.opaqueA);
  b.Id(info.paletteId).Id(info.backgroundId).Id(info.combatScreenId).Id(info.inventoryScreenId);
  b.Raw(info.opaqueB);
  b.Text(info.levelText, 200);
  return b;
}

LevelBuilder::LevelBuilder() = default;

LevelBuilder& LevelBuilder::Add(Category category, Blob record) {
  records_[category].push_back(std::move(record));
  return *this;
}

LevelBuilder& LevelBuilder::SetCount(Category category, std::uint16_t count) {
  counts_[category] = count;
  return *this;
}

// Visits every piece of the file in order as visit(name, blob).
template <class Visit>
void LevelBuilder::Walk(Visit visit) const {
  Blob header;
  header.Raw(this->header);
  visit("Header", header);
  for (Category category : zr3::kFileOrder) {
    if (category == Category::Graphics) visit("Level Info", InfoBlock(info));
    if (category == Category::Lists) {
      Blob block;
      block.Raw(opaque);
      visit("Reserved Block", block);
    }
    Blob section;
    auto table = [&section](const auto& names) {
      for (const std::string& name : names) section.Text(name, 32);
    };
    if (category == Category::Flags) {
      table(flags);
    } else if (category == Category::Groups) {
      table(groups);
    } else if (category == Category::CustomText) {
      table(customText);
    } else {
      auto found = records_.find(category);
      const std::size_t count = found == records_.end() ? 0 : found->second.size();
      auto counted = counts_.find(category);
      section.U16(counted != counts_.end() ? counted->second : static_cast<std::uint16_t>(count));
      if (found != records_.end()) {
        for (const Blob& record : found->second) section.Append(record);
      }
    }
    visit(std::string(zr3::InfoOf(category).sectionName), section);
  }
}

Blob LevelBuilder::Build() const {
  Blob file;
  Walk([&file](const std::string&, const Blob& piece) { file.Append(piece); });
  return file;
}

std::vector<std::pair<std::string, std::size_t>> LevelBuilder::SectionOffsets() const {
  std::vector<std::pair<std::string, std::size_t>> offsets;
  std::size_t at = 0;
  Walk([&](const std::string& name, const Blob& piece) {
    offsets.emplace_back(name, at);
    at += piece.Size();
  });
  offsets.emplace_back("End", at);
  return offsets;
}

std::string LevelBuilder::WriteTo(const std::string& path) const {
  const Blob file = Build();
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(file.Bytes().data(), static_cast<std::streamsize>(file.Size()));
  out.close();
  if (!out) throw std::runtime_error("cannot write test level " + path);
  return path;
}

}  // namespace zr3test
