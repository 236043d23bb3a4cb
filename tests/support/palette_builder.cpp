#include "support/palette_builder.h"

namespace zr3test {

Blob PaletteBlob(const PaletteFields& palette) {
  Blob b;
  b.Text(palette.name, 32).Raw(palette.colours);
  b.Id(palette.nextId).Id(palette.prevId).Id(palette.id);
  return b;
}

}  // namespace zr3test
