#include "cli/cli_common.h"

#include <iostream>

#include "level/safefile.h"
#include "level/windows1252.h"
#include "level/zr3error.h"

namespace zr3::cli {

std::unique_ptr<ZR3Level> LoadLevel(const std::string& path) {
  auto level = std::make_unique<ZR3Level>();
  level->Load(path);
  return level;
}

Category ParseCategory(const std::string& name) {
  if (name == "general") throw ZR3Error("The category general has no records");
  if (std::optional<Category> category = CategoryFromCommandName(name)) return *category;
  std::string valid = "general";
  for (std::size_t c = 0; c < kCategoryCount; ++c) {
    valid += ", ";
    valid += InfoOf(static_cast<Category>(c)).commandName;
  }
  throw ZR3Error("Unknown category \"" + name + "\" (one of: " + valid + ")");
}

namespace {

class StandardOutput : public ByteSink {
 public:
  void Write(const char* data, std::size_t count) override {
    std::cout.write(data, static_cast<std::streamsize>(count));
    if (!std::cout) throw ZR3Error("Cannot write to standard output");
  }
};

}  // namespace

void WriteOutput(const std::string& path, const std::function<void(ByteWriter& out)>& produce) {
  if (path != "-") {
    WriteFileAtomically(path, produce);
    return;
  }
  StandardOutput console;
  ByteWriter out(console);
  produce(out);
  out.Flush();
  std::cout.flush();
  if (!std::cout) throw ZR3Error("Cannot write to standard output");
}

void PrintLines(const Lines& lines) {
  std::string utf8;
  for (const std::string& line : lines) {
    utf8.clear();
    AppendUtf8(utf8, line);
    std::cout.write(utf8.data(), static_cast<std::streamsize>(utf8.size()));
    std::cout.put('\n');
  }
}

std::string Utf8Text(const Lines& lines) {
  std::string text;
  for (const std::string& line : lines) {
    AppendUtf8(text, line);
    text += '\n';
  }
  return text;
}

void PrintUtf8Lines(const Lines& lines) {
  for (const std::string& line : lines) std::cout << line << '\n';
}

void AddOutputOptions(CLI::App& command, OutputTarget& target) {
  CLI::Option* out = command.add_option("-o,--output", target.out, "Write the result here");
  CLI::Option* inPlace =
      command.add_flag("--in-place", target.inPlace, "Save the result over LEVEL");
  out->excludes(inPlace);
}

void SaveTo(ZR3Level& level, const std::string& levelPath, const OutputTarget& target) {
  if (target.out.empty() && !target.inPlace) {
    throw ZR3Error("Give -o OUT or --in-place to say where the changed level goes");
  }
  level.Save(target.inPlace ? levelPath : target.out);
}

}  // namespace zr3::cli
