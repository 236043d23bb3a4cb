#include "support/character_builder.h"

namespace zr3test {

Blob CharacterBlob(const CharacterFields& character) {
  Blob b;
  b.Text(character.name, 32);
  // Image identifiers name graphics that the set does not resolve: plain values.
  for (std::uint32_t id : character.imageIds) b.U32(id);
  b.Id(character.nextId).Id(character.prevId).Id(character.id);
  for (std::size_t i = 0; i < 8; ++i) {
    if (character.imageIds[i] != 0) b.Text(character.imagePaths[i], 80);
  }
  return b;
}

}  // namespace zr3test
