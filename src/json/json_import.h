#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "level/zr3error.h"
#include "level/zr3level.h"

namespace zr3::json {

// Everything wrong with a document, one problem a line: "$.items[3].price: 70000 is out of
// range -32768..32767", or the place of a syntax error by line and column.
class JsonImportError : public ZR3Error {
 public:
  explicit JsonImportError(std::vector<std::string> problems);
  const std::vector<std::string>& Problems() const { return problems_; }

 private:
  std::vector<std::string> problems_;
};

// The most problems one import reports; the count of the rest follows them.
inline constexpr std::size_t kMaxReportedProblems = 50;

// Builds a level from a document in the shape WriteLevelJson writes: the records in list order,
// references resolved to the records they name, nothing left for a link to guess. Throws
// JsonImportError naming every problem found (up to kMaxReportedProblems); no level is made
// then.
std::unique_ptr<ZR3Level> ImportLevelJson(std::string_view document);

}  // namespace zr3::json
