#include "support/placeholder_script.h"

namespace zr3test {

void AddPlaceholderScripts(zr3::ZR3Level& level, int count) {
  zr3::RecordList& scripts = level.List(zr3::Category::ObjectScripts);
  for (int i = 0; i < count; ++i) {
    scripts.push_back(std::make_unique<PlaceholderScript>("Script " + std::to_string(i)));
    scripts.back()->SetPosition(static_cast<int>(scripts.size()) - 1);
  }
}

}  // namespace zr3test
