#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

#include "level/category.h"
#include "level/field_access.h"
#include "level/zr3level.h"

// One field's or one record's value in the form the export writes it, read back on its own
// against a level that is already whole.
namespace zr3::json {

// The text the field interface takes back (SetField) for the field's JSON value: a text in the
// level's code page, a number in decimal, a choice's number, hex bytes, a reference's
// position, "none" for null, "unresolved ID", or a record's name where the value names it by
// name alone. Throws ZR3Error naming the field when the value is not of the field's form.
std::string FieldTextOfJson(const FieldInfo& field, std::string_view json);

// A record of the list read from its JSON object, its references resolved against the level
// as the import resolves them (a position decides, a name alone must name one record, an
// identifier that matched nothing is kept). The record belongs to no list yet; index is where
// it is meant to stand, for the messages. Throws JsonImportError naming every problem.
std::unique_ptr<ZR3Base> ReadRecordJson(ZR3Level& level, Category list, std::size_t index,
                                        std::string_view object);

}  // namespace zr3::json
