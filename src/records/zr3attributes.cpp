#include "records/zr3attributes.h"

namespace zr3 {

std::string RunScriptText(const ZR3Base* script, std::int16_t position) {
  return script ? "Run " + script->Name() : "Run script " + std::to_string(position);
}

std::string AttributeChangeText(std::span<const std::string_view> attributes, int attribute,
                                int change) {
  return EntryOrNumber(attributes, attribute) + " " + (change >= 0 ? "+" : "") +
         std::to_string(change);
}

}  // namespace zr3
