// The language server in process: where it finds the level, and positions in UTF-16.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "lsp/lsp_server.h"
#include "lsp/lsp_text.h"
#include "support/temp_dir.h"

namespace zr3test {

namespace {

using ::testing::HasSubstr;

std::string Frame(const std::string& json) {
  return "Content-Length: " + std::to_string(json.size()) + "\r\n\r\n" + json;
}

TEST(LanguageServerText, ColumnsAreCharactersForTheAnalysisAndUtf16ForTheClient) {
  // e-acute is one UTF-16 unit and one byte of script text; the emoji two units and one '?'.
  const zr3::lsp::ClientText text("a\r\n\xC3\xA9\xF0\x9F\x98\x80x\n");
  EXPECT_EQ(text.Bytes(), "a\r\n\xE9?x\n");
  EXPECT_EQ(text.LineCount(), 3u);
  EXPECT_EQ(text.Utf16Column(1, 2), 3u);
  EXPECT_EQ(text.Utf16Column(1, 3), 4u);
  EXPECT_EQ(text.CharacterColumn(1, 3), 2u);
  EXPECT_EQ(text.CharacterColumn(1, 99), 3u);
  EXPECT_EQ(text.Utf16Length(0), 1u);
  EXPECT_EQ(zr3::lsp::PathOfUri("file:///tmp/my%20scripts/a.txt"), "/tmp/my scripts/a.txt");
  EXPECT_EQ(zr3::lsp::PathOfUri("untitled:Untitled-1"), "");
}

TEST(LanguageServer, TheLevelOfTheSameNameBesideTheScriptFileChecksTheNames) {
  TempDir dir;
  std::filesystem::copy_file(ZR3_DEMO_PATH, dir.Path("town.zr3"));
  std::string output;
  zr3::lsp::Server server({}, [&](std::string_view message) { output += message; });
  server.Feed(Frame(R"({"jsonrpc":"2.0","id":1,"method":"initialize","params":{}})"));
  const std::string open =
      R"({"jsonrpc":"2.0","method":"textDocument/didOpen","params":{"textDocument":{"uri":"file://)" +
      dir.Path("NAME") +
      R"(","version":1,"text":"objectscript \"Door\"\ncommands:\n  givetake give \"Nothing\"\nend script\n"}}})";
  const auto openAs = [&](const std::string& name) {
    std::string message = open;
    message.replace(message.find("NAME"), 4, name);
    output.clear();
    server.Feed(Frame(message));
    return output;
  };
  EXPECT_THAT(openAs("town.txt"), HasSubstr("no item named"));
  // Without a level beside it, the names are not checked, until one is put there.
  EXPECT_THAT(openAs("village.txt"), ::testing::Not(HasSubstr("no item named")));
  std::filesystem::copy_file(ZR3_DEMO_PATH, dir.Path("village.zr3"));
  output.clear();
  server.Feed(Frame(R"({"jsonrpc":"2.0","method":"textDocument/didChange","params":{)"
                    R"("textDocument":{"uri":"file://)" +
                    dir.Path("village.txt") +
                    R"(","version":2},"contentChanges":[{"text":"objectscript \"Door\"\n)"
                    R"(commands:\n  givetake give \"Nothing\"\nend script\n"}]}})"));
  EXPECT_THAT(output, HasSubstr("no item named"));
  EXPECT_FALSE(server.Exited());
  server.Feed(Frame(R"({"jsonrpc":"2.0","method":"exit"})"));
  EXPECT_TRUE(server.Exited());
  EXPECT_EQ(server.ExitCode(), 1);
}

}  // namespace

}  // namespace zr3test
