#pragma once

// A Language Server Protocol server for script text files: JSON-RPC messages framed by
// Content-Length headers come in as bytes, answers and diagnostics go out the same way. It
// answers initialize, shutdown, completion, hover and documentSymbol, and follows documents
// through didOpen, didChange (whole text) and didClose, publishing their diagnostics. A
// malformed message gets a JSON-RPC error and the server goes on; only exit ends it.

#include <rapidjson/document.h>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>

namespace zr3 {
class ZR3Level;
}

namespace zr3::lsp {

struct ServerOptions {
  // The level whose records names must name; when empty, a level file of the same base name
  // beside each script file (Town.txt: Town.zr3), when there is one.
  std::string levelPath;
  // Whether levels are looked for beside the script files at all.
  bool levelsBesideScripts = true;
};

class Server {
 public:
  // output receives each message, framed, as one piece.
  Server(ServerOptions options, std::function<void(std::string_view)> output);
  ~Server();

  // Takes bytes from the client in pieces of any size; answers every message completed.
  void Feed(std::string_view bytes);
  bool Exited() const { return exited_; }
  // 0 when the client asked to shut down before exit, 1 otherwise.
  int ExitCode() const { return shutDown_ ? 0 : 1; }

 private:
  struct Document;
  class Reply;

  void ReadFrames();
  void Handle(std::string_view body);
  void Dispatch(const rapidjson::Value& message, const rapidjson::Value* id);
  void Initialize(Reply& reply);
  void Open(const rapidjson::Value& params);
  void Change(const rapidjson::Value& params);
  void Close(const rapidjson::Value& params);
  void Completion(const rapidjson::Value& params, Reply& reply);
  void Hover(const rapidjson::Value& params, Reply& reply);
  void Symbols(const rapidjson::Value& params, Reply& reply);
  // The document's problems, or none for a document that was closed.
  void Publish(const std::string& uri, const Document* document);
  void SendError(const rapidjson::Value* id, int code, std::string_view message);
  void ShowMessage(int type, std::string_view message);
  void Send(std::string_view json);
  Document* Find(const rapidjson::Value& params);
  std::string LevelPathFor(const std::string& uri) const;
  // The level as its file is now, loaded again when the file changed; null when there is
  // none or it cannot be loaded.
  const ZR3Level* LevelOf(const Document& document);

  ServerOptions options_;
  std::function<void(std::string_view)> output_;
  std::string input_;
  // Bytes of a refused message still to come, to be passed over.
  std::size_t skip_ = 0;
  bool initialized_ = false;
  bool shutDown_ = false;
  bool exited_ = false;
  std::map<std::string, std::unique_ptr<Document>> documents_;
  struct LoadedLevel {
    std::filesystem::file_time_type time{};
    std::uintmax_t size = 0;
    bool tried = false;
    std::unique_ptr<ZR3Level> level;  // null when it could not be loaded
  };
  std::map<std::string, LoadedLevel> levels_;
};

// JSON-RPC error codes.
inline constexpr int kParseError = -32700;
inline constexpr int kInvalidRequest = -32600;
inline constexpr int kMethodNotFound = -32601;
inline constexpr int kInvalidParams = -32602;
inline constexpr int kServerNotInitialized = -32002;

}  // namespace zr3::lsp
