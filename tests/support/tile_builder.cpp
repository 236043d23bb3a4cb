#include "support/tile_builder.h"

namespace zr3test {

Blob TileRecord(const TileFields& tile) {
  Blob b;
  b.Text(tile.name, 32).U32(tile.gfxId).Raw(tile.opaque).U8(tile.layer).Raw(tile.opaqueAfterLayer);
  b.Id(tile.nextId).Id(tile.prevId).Id(tile.id);
  if (tile.gfxId != 0) b.Text(tile.path, 80);
  return b;
}

TileFields NamedTile(std::string name, std::uint32_t id) {
  TileFields tile;
  tile.name = std::move(name);
  tile.id = id;
  return tile;
}

}  // namespace zr3test
