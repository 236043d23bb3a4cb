#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "support/blob.h"
#include "support/chain_ids.h"

namespace zr3test {

// One condition or command slot: the code and the nine signed parameters.
struct SlotFields {
  std::uint16_t code = 0;
  std::array<std::int16_t, 9> p{};
};

// Every field of the 848-byte script record, in file order.
struct ScriptFields {
  std::string name;
  std::array<SlotFields, 10> conditions{};
  std::string blockA = std::string(200, '\0');
  std::array<SlotFields, 10> commands{};
  std::string blockB = std::string(200, '\0');
  std::uint8_t conditionCount = 0;
  std::uint8_t commandCount = 0;
  std::string opaque = std::string(2, '\0');
  std::uint32_t nextId = 0;
  std::uint32_t prevId = 0;
  std::uint32_t id = 0;
};

Blob SlotBlob(const SlotFields& slot);
Blob ScriptBlob(const ScriptFields& script);

// A script whose slots in use are the given ones, with the counts set to match.
ScriptFields ScriptWith(std::string name, const std::vector<SlotFields>& conditions,
                        const std::vector<SlotFields>& commands);

}  // namespace zr3test
