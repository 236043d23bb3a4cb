#include "support/song_builder.h"

namespace zr3test {

Blob SongBlob(const SongFields& song) {
  Blob b;
  b.Text(song.name, 32).Raw(song.data);
  b.Id(song.nextId).Id(song.prevId).Id(song.id);
  return b;
}

}  // namespace zr3test
