#pragma once

#include <string>

#include "level/bytes.h"

namespace zr3::json {

// The JSON Schema (draft 2020-12) of the documents WriteLevelJson writes, made from the same
// field lists, so that an editor can complete and check the field names of an export.
void WriteLevelJsonSchema(ByteWriter& out);
std::string LevelJsonSchema();

}  // namespace zr3::json
