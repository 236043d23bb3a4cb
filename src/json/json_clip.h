#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "edit/paste.h"
#include "edit/results.h"
#include "level/zr3level.h"

// Records carried from one level to another (the clipboard's records) as a JSON document.
namespace zr3::json {

inline constexpr std::string_view kRecordsFormatName = "zr3-records";

// The records as one pretty-printed document: the format, the positions the records have in
// their level (so that a paste knows the references among them), then each list's records
// under the list's name, each as the level's JSON writes it. Lists and records go in level
// order.
std::string RecordsJson(const ZR3Level& level, std::vector<NamedRecord> records);

struct PasteResult {
  // Where each pasted record went, in the document's order.
  std::vector<NamedRecord> placed;
  std::vector<UnresolvedReference> unresolved;
};

// Pastes the records of a RecordsJson document into the level (see InsertPasted for where
// they go and PastedNames for what their references name). Throws JsonImportError listing
// what is wrong when the text is no such document, and ZR3Error when the level refuses the
// records; the level is then as it was.
PasteResult PasteRecordsJson(ZR3Level& level, std::string_view document,
                             std::optional<NamedRecord> after);

}  // namespace zr3::json
