#pragma once

#include <string>

#include "level/bytes.h"
#include "level/record_places.h"
#include "level/zr3level.h"

namespace zr3::json {

// The version of the document's shape, written as "format_version" and checked on import.
inline constexpr int kFormatVersion = 1;
inline constexpr std::string_view kFormatName = "zr3-level";

// The whole level as one pretty-printed JSON document: the format, the header, the level
// information, the custom texts, flags and groups, the bytes kept as read and every record of
// every list in list order, each field under its field-table name in file order.
void WriteLevelJson(const ZR3Level& level, ByteWriter& out);
std::string LevelJson(const ZR3Level& level);

// One record of the list, or the level information, as the object the level's document holds
// for it; with places, as the document of another level holds it, its references naming the
// records by their places there.
std::string RecordJson(const ZR3Base& record, Category list, const RecordPlaces& places = {});
std::string InfoJson(const ZR3LevelInfo& info, const RecordPlaces& places = {});
class JsonOut;
// One record of the list as an object of the level's document.
void WriteRecordJson(JsonOut& json, Category list, const ZR3Base& record);

}  // namespace zr3::json
