#pragma once

#include <string>

namespace zr3 {
class ZR3Base;
}  // namespace zr3

namespace zr3::render {

// The game path of the picture a tile, object, graphic or monster names (empty when it names
// none); empty for every other kind of record.
std::string ImagePathOf(const ZR3Base& record);

}  // namespace zr3::render
