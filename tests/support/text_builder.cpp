#include "support/text_builder.h"

namespace zr3test {

Blob TextBlob(const TextFields& text) {
  Blob b;
  b.Text(text.name, 32).Text(text.text, 512);
  return b;
}

}  // namespace zr3test
