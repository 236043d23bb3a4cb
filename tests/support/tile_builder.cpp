#include "support/tile_builder.h"

namespace zr3test {

Blob TileRecord(const TileSpec& tile) {
  Blob b;
  b.Text(tile.name, 32)
      .U32(tile.gfxId)
      .Raw(tile.unknown)
      .U8(tile.layer)
      .Raw(tile.unknownAfterLayer);
  b.Id(tile.nextId).Id(tile.prevId).Id(tile.id);
  if (tile.gfxId != 0) b.Text(tile.path, 80);
  return b;
}

TileSpec NamedTile(std::string name, std::uint32_t id) {
  TileSpec tile;
  tile.name = std::move(name);
  tile.id = id;
  return tile;
}

}  // namespace zr3test
