// zr3 lint-scripts and zr3 lsp, run as the programs they are.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <rapidjson/document.h>
#include <sys/wait.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "support/run_cli.h"
#include "support/temp_dir.h"

namespace zr3test {

namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

TEST(LintScripts, TheDemosOwnExportHasNoFindings) {
  TempDir dir;
  const std::string scripts = dir.Path("demo.txt");
  ASSERT_EQ(RunCli({"export-scripts", ZR3_DEMO_PATH, scripts}).status, 0);
  for (const bool withLevel : {true, false}) {
    std::vector<std::string> args = {"lint-scripts", scripts};
    if (withLevel) args.insert(args.end(), {"--level", ZR3_DEMO_PATH});
    const CliResult result = RunCli(args);
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err, "");
  }
}

TEST(LintScripts, PlantedMistakesAreReportedAtTheirLineAndColumn) {
  TempDir dir;
  const std::string scripts = dir.Path("planted.txt");
  WriteFile(scripts,
            "objectscript \"Gate\"\r\n"
            "conditions:\r\n"
            "  item has \"Golden Sword\"\r\n"
            "commands:\r\n"
            "  plya \"Town theme\"\r\n"
            "  changeflag set \"MetMayor val 1\r\n"
            "end scrpt\r\n");
  const CliResult checked = RunCli({"lint-scripts", scripts, "--level", ZR3_DEMO_PATH});
  EXPECT_EQ(checked.status, 1);
  EXPECT_EQ(
      checked.out,
      scripts + ":1:1: error: script 'Gate' ends without 'end script'\n" + scripts +
          ":3:12: error: no item named \"Golden Sword\"; the first item is used\n" + scripts +
          ":5:3: error: unknown command \"plya\"; the line is ignored; did you mean "
          "\"play\"?\n" +
          scripts +
          ":6:18: error: the quote is not closed: the name runs to the end of "
          "the line\n" +
          scripts + ":6:18: error: no flag named \"MetMayor val 1\"; the first flag is used\n" +
          scripts +
          ":6:18: error: a value source (\"val\", \"att\", \"rand\" or \"flag\") is "
          "missing after \"MetMayor val 1\"\n" +
          scripts + ":7:1: error: \"end scrpt\" does not end the script; \"end script\" does\n");
  // Without a level, names are not checked.
  const CliResult unchecked = RunCli({"lint-scripts", scripts});
  EXPECT_EQ(unchecked.status, 1);
  EXPECT_THAT(unchecked.out, ::testing::Not(HasSubstr("Golden Sword")));

  // Warnings alone leave the status 0.
  WriteFile(scripts, "notes\nobjectscript \"Gate\"\ncommands:\nend script\n");
  const CliResult warned = RunCli({"lint-scripts", scripts});
  EXPECT_EQ(warned.status, 0);
  EXPECT_THAT(warned.out, HasSubstr(":1:1: warning: text outside a script is ignored"));
}

// The messages of a server's output, in order.
std::vector<rapidjson::Document> Messages(const std::string& output) {
  std::vector<rapidjson::Document> messages;
  std::size_t at = 0;
  while (at < output.size()) {
    const std::size_t header = output.find("\r\n\r\n", at);
    if (header == std::string::npos) break;
    const std::string lengthText = output.substr(at, header - at);
    EXPECT_EQ(lengthText.rfind("Content-Length: ", 0), 0u) << lengthText;
    const std::size_t length = std::stoul(lengthText.substr(16));
    rapidjson::Document message;
    message.Parse(output.data() + header + 4, length);
    EXPECT_FALSE(message.HasParseError());
    messages.push_back(std::move(message));
    at = header + 4 + length;
  }
  EXPECT_EQ(at, output.size());
  return messages;
}

std::string Frame(const std::string& json) {
  return "Content-Length: " + std::to_string(json.size()) + "\r\n\r\n" + json;
}

const rapidjson::Value* Answer(const std::vector<rapidjson::Document>& messages, int id) {
  for (const rapidjson::Document& message : messages) {
    if (message.HasMember("id") && message["id"].IsInt() && message["id"].GetInt() == id) {
      return &message;
    }
  }
  return nullptr;
}

std::string Range(const rapidjson::Value& range) {
  return std::to_string(range["start"]["line"].GetInt()) + ":" +
         std::to_string(range["start"]["character"].GetInt()) + "-" +
         std::to_string(range["end"]["line"].GetInt()) + ":" +
         std::to_string(range["end"]["character"].GetInt());
}

TEST(LanguageServer, SpeaksJsonRpcOverStandardInputAndOutput) {
  TempDir dir;
  // The emoji is two UTF-16 code units and one character of script text ("?").
  const std::string text =
      "objectscript \\\"Door\\\"\\n"
      "conditions:\\n"
      "  flag \\\"MetMayor\\\" == val 0\\n"
      "  item has \\\"Golden Sword\\\"\\n"
      "commands:\\n"
      "  changeflag set \\\"\xF0\x9F\x98\x80\\\" val x\\n"
      "  plya\\n"
      "end script\\n";
  const std::string uri = "file:///nowhere/door.txt";
  std::string input;
  input += "Bogus\r\n\r\n";
  input += Frame(R"({"jsonrpc":"2.0","id":1,"method":"initialize","params":{}})");
  input += Frame(R"({"jsonrpc":"2.0","method":"initialized","params":{}})");
  input += Frame(R"({"jsonrpc":"2.0","id":2,"method":)");
  input += Frame(R"({"jsonrpc":"2.0","id":3,"method":"textDocument/rename","params":{}})");
  input += Frame(R"({"jsonrpc":"2.0","method":"textDocument/didOpen","params":{"textDocument":)"
                 R"({"uri":")" +
                 uri + R"(","languageId":"zr3script","version":1,"text":")" + text + R"("}}})");
  input += Frame(R"({"jsonrpc":"2.0","id":4,"method":"textDocument/completion","params":)"
                 R"({"textDocument":{"uri":")" +
                 uri + R"("},"position":{"line":3,"character":12}}})");
  input += Frame(R"({"jsonrpc":"2.0","id":5,"method":"textDocument/hover","params":)"
                 R"({"textDocument":{"uri":")" +
                 uri + R"("},"position":{"line":2,"character":10}}})");
  input += Frame(R"({"jsonrpc":"2.0","id":6,"method":"textDocument/documentSymbol","params":)"
                 R"({"textDocument":{"uri":")" +
                 uri + R"("}}})");
  input += Frame(R"({"jsonrpc":"2.0","id":7,"method":"shutdown"})");
  input += Frame(R"({"jsonrpc":"2.0","method":"exit"})");
  WriteFile(dir.Path("in"), input);

  const std::string command = std::string(ZR3_CLI_PATH) + " lsp --level " + ZR3_DEMO_PATH + " <" +
                              dir.Path("in") + " >" + dir.Path("out");
  const int raw = std::system(command.c_str());
  ASSERT_TRUE(WIFEXITED(raw));
  EXPECT_EQ(WEXITSTATUS(raw), 0);
  const std::vector<rapidjson::Document> messages = Messages(ReadFile(dir.Path("out")));
  ASSERT_GE(messages.size(), 8u);

  // A header without its length, then a message that is no JSON: errors, and the server
  // goes on.
  EXPECT_EQ(messages[0]["error"]["code"].GetInt(), -32700);
  const rapidjson::Value* initialize = Answer(messages, 1);
  ASSERT_TRUE(initialize);
  EXPECT_TRUE((*initialize)["result"]["capabilities"]["hoverProvider"].GetBool());
  EXPECT_EQ((*initialize)["result"]["capabilities"]["textDocumentSync"]["change"].GetInt(), 1);
  EXPECT_EQ(messages[2]["error"]["code"].GetInt(), -32700);
  EXPECT_EQ((*Answer(messages, 3))["error"]["code"].GetInt(), -32601);

  const rapidjson::Value* published = nullptr;
  for (const rapidjson::Document& message : messages) {
    if (message.HasMember("method") &&
        std::string(message["method"].GetString()) == "textDocument/publishDiagnostics") {
      published = &message;
    }
  }
  ASSERT_TRUE(published);
  EXPECT_EQ(std::string((*published)["params"]["uri"].GetString()), uri);
  std::vector<std::string> diagnostics;
  for (const rapidjson::Value& d : (*published)["params"]["diagnostics"].GetArray()) {
    diagnostics.push_back(Range(d["range"]) + " " + std::to_string(d["severity"].GetInt()) + " " +
                          d["message"].GetString());
  }
  EXPECT_THAT(diagnostics,
              ElementsAre("3:11-3:25 1 no item named \"Golden Sword\"; the first item is used",
                          "5:17-5:21 1 no flag named \"?\"; the first flag is used",
                          "5:26-5:27 1 \"x\" is not a number; 0 is used",
                          "6:2-6:6 1 unknown command \"plya\"; the line is ignored; did you "
                          "mean \"play\"?"));

  const rapidjson::Value* completion = Answer(messages, 4);
  ASSERT_TRUE(completion);
  std::vector<std::string> labels;
  for (const rapidjson::Value& item : (*completion)["result"]["items"].GetArray()) {
    labels.push_back(item["label"].GetString());
  }
  EXPECT_THAT(labels, Contains("Short Sword"));
  EXPECT_EQ(Range((*completion)["result"]["items"][0]["textEdit"]["range"]), "3:11-3:25");

  const rapidjson::Value* hover = Answer(messages, 5);
  ASSERT_TRUE(hover);
  EXPECT_THAT((*hover)["result"]["contents"]["value"].GetString(), HasSubstr("MetMayor"));
  EXPECT_EQ(Range((*hover)["result"]["range"]), "2:7-2:17");

  const rapidjson::Value* symbols = Answer(messages, 6);
  ASSERT_TRUE(symbols);
  ASSERT_EQ((*symbols)["result"].Size(), 1u);
  EXPECT_EQ(std::string((*symbols)["result"][0]["name"].GetString()), "Door");
  EXPECT_EQ(Range((*symbols)["result"][0]["range"]), "0:0-7:10");

  const rapidjson::Value* shutdown = Answer(messages, 7);
  ASSERT_TRUE(shutdown);
  EXPECT_TRUE((*shutdown)["result"].IsNull());
}

}  // namespace

}  // namespace zr3test
