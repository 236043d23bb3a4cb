#include "support/list_builder.h"

namespace zr3test {

Blob ListBlob(const ListFields& list) {
  Blob b;
  b.Text(list.name, 32);
  for (const std::string& text : list.optionTexts) b.Text(text, 32);
  for (std::uint32_t id : list.resultIds) b.Id(id);
  b.U16(list.count).Raw(list.opaque);
  b.Id(list.nextId).Id(list.prevId).Id(list.id);
  return b;
}

}  // namespace zr3test
