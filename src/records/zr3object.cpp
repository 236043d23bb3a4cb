#include "records/zr3object.h"

#include <algorithm>

#include "level/bytes.h"
#include "level/zr3level.h"

namespace zr3 {

ZR3Object::ZR3Object(ByteReader& in) {
  name_ = in.FixedText(kNameWidth);
  mapId_ = in.U32();
  locationX_ = in.U8();
  locationY_ = in.U8();
  unknown_ = in.Array<2>();
  gfxId_ = in.U32();
  for (std::uint32_t& id : scriptIds_) id = in.U32();
  ReadChain(in);
  path_ = in.FixedText(kPathWidth);
}

void ZR3Object::Write(ByteWriter& out) {
  out.FixedText(name_, kNameWidth);
  // An unresolved map keeps its stored identifier.
  out.U32(map_ ? map_->SaveId() : mapId_);
  out.U8(locationX_);
  out.U8(locationY_);
  out.Array(unknown_);
  out.U32(gfxId_);
  // An unresolved script slot is saved as empty.
  for (const ZR3ChainRecord* script : scripts_) out.U32(SaveIdOf(script));
  WriteChain(out);
  out.FixedText(path_, kPathWidth);
}

void ZR3Object::Link(ZR3Level& level) {
  // The map identifier 0 is searched like any other; script identifier 0 is an empty slot.
  map_ = level.FindFirstById(Category::Maps, mapId_);
  for (std::size_t i = 0; i < kScriptSlots; ++i) {
    scripts_[i] =
        scriptIds_[i] == 0 ? nullptr : level.FindFirstById(Category::ObjectScripts, scriptIds_[i]);
  }
  LinkNeighbours(level);
}

void ZR3Object::Describe(Lines& lines) const {
  lines.push_back("Name: " + name_);
  lines.push_back(map_ ? "Map: " + map_->Name() : HexDumpU32("Map:", mapId_));
  lines.push_back("Location: " + std::to_string(locationX_) + "," + std::to_string(locationY_));
  lines.push_back(HexDump("Unknown:", unknown_.data(), unknown_.size()));
  lines.push_back(HexDumpU32("GFX Id:", gfxId_));
  for (std::size_t i = 0; i < kScriptSlots; ++i) {
    const std::string label = "Script " + std::to_string(i) + ":";
    if (scripts_[i]) {
      lines.push_back(label + " " + scripts_[i]->Name());
    } else if (scriptIds_[i] != 0) {
      lines.push_back(HexDumpU32(label, scriptIds_[i]));
    }
  }
  DescribeChain(lines);
  lines.push_back("Image path: " + path_);
}

void ZR3Object::CopyTo(ZR3Base& target) const {
  auto& copy = static_cast<ZR3Object&>(target);
  copy.name_ = name_;
  copy.mapId_ = mapId_;
  copy.map_ = map_;
  copy.locationX_ = locationX_;
  copy.locationY_ = locationY_;
  copy.unknown_ = unknown_;
  copy.gfxId_ = gfxId_;
  copy.scriptIds_ = scriptIds_;
  copy.scripts_ = scripts_;
  CopyChainTo(copy);
  copy.path_ = path_;
}

void ZR3Object::CollectKeptIdentifiers(std::vector<std::uint32_t>& kept) const {
  if (!map_) kept.push_back(mapId_);
}

bool ZR3Object::RefersToScript(const ZR3Base& record) const {
  return std::any_of(scripts_.begin(), scripts_.end(),
                     [&record](const ZR3ChainRecord* script) { return script == &record; });
}

bool ZR3Object::RefersToMap(const ZR3Base& record) const {
  return map_ == &record;
}

}  // namespace zr3
