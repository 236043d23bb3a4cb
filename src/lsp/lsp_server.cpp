#include "lsp/lsp_server.h"

#include <rapidjson/error/en.h>
#include <rapidjson/stringbuffer.h>
#include <rapidjson/writer.h>

#include <charconv>
#include <filesystem>
#include <optional>

#include "level/text.h"
#include "level/windows1252.h"
#include "level/zr3level.h"
#include "lsp/lsp_text.h"
#include "script/script_analysis.h"

namespace zr3::lsp {

namespace {

using JsonWriter = rapidjson::Writer<rapidjson::StringBuffer>;

// A header block longer than this is no header.
constexpr std::size_t kMaxHeaderBytes = 64 * 1024;
// No script text comes near this.
constexpr std::size_t kMaxMessageBytes = 64 * 1024 * 1024;

// LSP's own numbers.
constexpr int kSeverityError = 1;
constexpr int kSeverityWarning = 2;
constexpr int kMessageWarning = 2;
constexpr int kSymbolFunction = 12;
constexpr int kCompletionKeyword = 14;
constexpr int kCompletionEnumMember = 20;
constexpr int kCompletionReference = 18;
constexpr int kSyncFull = 1;

// The level's texts are Windows-1252; JSON is UTF-8.
void String(JsonWriter& json, std::string_view windows1252) {
  std::string utf8;
  AppendUtf8(utf8, windows1252);
  json.String(utf8.data(), static_cast<rapidjson::SizeType>(utf8.size()));
}

void Key(JsonWriter& json, std::string_view key) {
  json.Key(key.data(), static_cast<rapidjson::SizeType>(key.size()));
}

void CopyValue(JsonWriter& json, const rapidjson::Value& value) {
  value.Accept(json);
}

const rapidjson::Value* Member(const rapidjson::Value& object, const char* name) {
  if (!object.IsObject()) return nullptr;
  const auto found = object.FindMember(name);
  return found == object.MemberEnd() ? nullptr : &found->value;
}

std::optional<std::string> StringMember(const rapidjson::Value& object, const char* name) {
  const rapidjson::Value* value = Member(object, name);
  if (!value || !value->IsString()) return std::nullopt;
  return std::string(value->GetString(), value->GetStringLength());
}

std::optional<std::size_t> CountMember(const rapidjson::Value& object, const char* name) {
  const rapidjson::Value* value = Member(object, name);
  if (!value || !value->IsUint()) return std::nullopt;
  return value->GetUint();
}

bool AsciiEqualsIgnoringCase(std::string_view a, std::string_view b) {
  return EqualsIgnoringAsciiCase(a, b);
}

std::string_view Trim(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

// The Content-Length of a header block, or nothing when the block is not a valid header.
std::optional<std::size_t> ContentLength(std::string_view header) {
  std::optional<std::size_t> length;
  while (!header.empty()) {
    const std::size_t end = header.find("\r\n");
    const std::string_view line = header.substr(0, end);
    header.remove_prefix(end == std::string_view::npos ? header.size() : end + 2);
    const std::size_t colon = line.find(':');
    if (colon == std::string_view::npos) return std::nullopt;
    if (!AsciiEqualsIgnoringCase(Trim(line.substr(0, colon)), "Content-Length")) continue;
    const std::string_view digits = Trim(line.substr(colon + 1));
    std::size_t value = 0;
    const auto [rest, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (error != std::errc() || rest != digits.data() + digits.size() || digits.empty()) {
      return std::nullopt;
    }
    length = value;
  }
  return length;
}

}  // namespace

struct Server::Document {
  std::string uri;
  std::int64_t version = 0;
  ClientText text;
  // The level whose names the text must name; empty for none.
  std::string levelPath;
};

// The answer to one request, written once: a result or an error.
class Server::Reply {
 public:
  explicit Reply(const rapidjson::Value* id) : id_(id), json_(buffer_) {}
  // Starts the result; the caller writes its value.
  JsonWriter& Result() {
    Begin();
    Key(json_, "result");
    return json_;
  }
  void Error(int code, std::string_view message) {
    Begin();
    Key(json_, "error");
    json_.StartObject();
    Key(json_, "code");
    json_.Int(code);
    Key(json_, "message");
    json_.String(message.data(), static_cast<rapidjson::SizeType>(message.size()));
    json_.EndObject();
  }
  bool Started() const { return started_; }
  std::string_view Finish() {
    json_.EndObject();
    return {buffer_.GetString(), buffer_.GetSize()};
  }

 private:
  void Begin() {
    started_ = true;
    json_.StartObject();
    Key(json_, "jsonrpc");
    json_.String("2.0");
    Key(json_, "id");
    if (id_) {
      CopyValue(json_, *id_);
    } else {
      json_.Null();
    }
  }

  const rapidjson::Value* id_;
  rapidjson::StringBuffer buffer_;
  JsonWriter json_;
  bool started_ = false;
};

Server::Server(ServerOptions options, std::function<void(std::string_view)> output)
    : options_(std::move(options)), output_(std::move(output)) {}

Server::~Server() = default;

void Server::Feed(std::string_view bytes) {
  if (exited_) return;
  const std::size_t skipped = std::min(skip_, bytes.size());
  skip_ -= skipped;
  bytes.remove_prefix(skipped);
  input_.append(bytes);
  ReadFrames();
}

void Server::ReadFrames() {
  std::size_t offset = 0;
  while (!exited_) {
    const std::string_view rest = std::string_view(input_).substr(offset);
    const std::size_t headerEnd = rest.find("\r\n\r\n");
    if (headerEnd == std::string_view::npos) {
      if (rest.size() > kMaxHeaderBytes) {
        SendError(nullptr, kParseError, "message header without its end");
        offset = input_.size();
      }
      break;
    }
    const std::optional<std::size_t> length = ContentLength(rest.substr(0, headerEnd));
    const std::size_t bodyStart = headerEnd + 4;
    if (!length) {
      SendError(nullptr, kParseError, "message header without a valid Content-Length");
      offset += bodyStart;
      continue;
    }
    if (*length > kMaxMessageBytes) {
      SendError(nullptr, kParseError, "message too large");
      const std::size_t present = std::min(*length, rest.size() - bodyStart);
      skip_ = *length - present;
      offset += bodyStart + present;
      continue;
    }
    if (rest.size() - bodyStart < *length) break;
    offset += bodyStart + *length;
    Handle(rest.substr(bodyStart, *length));
  }
  input_.erase(0, std::min(offset, input_.size()));
}

void Server::Handle(std::string_view body) {
  rapidjson::Document message;
  message.Parse(body.data(), body.size());
  if (message.HasParseError()) {
    SendError(nullptr, kParseError,
              std::string("parse error: ") + rapidjson::GetParseError_En(message.GetParseError()));
    return;
  }
  if (!message.IsObject()) {
    SendError(nullptr, kInvalidRequest, "a message is a JSON object");
    return;
  }
  const rapidjson::Value* id = Member(message, "id");
  if (id && !id->IsString() && !id->IsInt64() && !id->IsNull()) {
    SendError(nullptr, kInvalidRequest, "an id is a number or a string");
    return;
  }
  const rapidjson::Value* method = Member(message, "method");
  if (!method) {
    // A response to a request of the server's: it sends none, so there is nothing to do.
    if (id && (Member(message, "result") || Member(message, "error"))) return;
    SendError(id, kInvalidRequest, "a request names its method");
    return;
  }
  if (!method->IsString()) {
    SendError(id, kInvalidRequest, "a method is a string");
    return;
  }
  Dispatch(message, id);
}

void Server::Dispatch(const rapidjson::Value& message, const rapidjson::Value* id) {
  const std::string_view method(Member(message, "method")->GetString(),
                                Member(message, "method")->GetStringLength());
  static const rapidjson::Value kNoParams(rapidjson::kObjectType);
  const rapidjson::Value* given = Member(message, "params");
  const rapidjson::Value& params = given ? *given : kNoParams;

  if (!id) {
    // Notifications are never answered, not even when they are not understood.
    if (method == "exit") {
      exited_ = true;
    } else if (!initialized_ || shutDown_) {
      return;
    } else if (method == "textDocument/didOpen") {
      Open(params);
    } else if (method == "textDocument/didChange") {
      Change(params);
    } else if (method == "textDocument/didClose") {
      Close(params);
    }
    return;
  }

  Reply reply(id);
  if (method == "initialize") {
    if (initialized_) {
      reply.Error(kInvalidRequest, "initialize was already asked");
    } else {
      Initialize(reply);
    }
  } else if (!initialized_) {
    reply.Error(kServerNotInitialized, "the server is not initialized");
  } else if (shutDown_) {
    reply.Error(kInvalidRequest, "the server is shutting down");
  } else if (method == "shutdown") {
    shutDown_ = true;
    reply.Result().Null();
  } else if (method == "textDocument/completion") {
    Completion(params, reply);
  } else if (method == "textDocument/hover") {
    Hover(params, reply);
  } else if (method == "textDocument/documentSymbol") {
    Symbols(params, reply);
  } else {
    reply.Error(kMethodNotFound, "method not found: " + std::string(method));
  }
  if (!reply.Started()) reply.Error(kInvalidParams, "invalid params");
  Send(reply.Finish());
}

void Server::Initialize(Reply& reply) {
  initialized_ = true;
  JsonWriter& json = reply.Result();
  json.StartObject();
  Key(json, "capabilities");
  json.StartObject();
  Key(json, "textDocumentSync");
  json.StartObject();
  Key(json, "openClose");
  json.Bool(true);
  Key(json, "change");
  json.Int(kSyncFull);
  json.EndObject();
  Key(json, "completionProvider");
  json.StartObject();
  Key(json, "triggerCharacters");
  json.StartArray();
  json.String(" ");
  json.String("\"");
  json.EndArray();
  json.EndObject();
  Key(json, "hoverProvider");
  json.Bool(true);
  Key(json, "documentSymbolProvider");
  json.Bool(true);
  json.EndObject();
  Key(json, "serverInfo");
  json.StartObject();
  Key(json, "name");
  json.String("zr3 lsp");
  json.EndObject();
  json.EndObject();
}

Server::Document* Server::Find(const rapidjson::Value& params) {
  const rapidjson::Value* document = Member(params, "textDocument");
  if (!document) return nullptr;
  const std::optional<std::string> uri = StringMember(*document, "uri");
  if (!uri) return nullptr;
  const auto found = documents_.find(*uri);
  return found == documents_.end() ? nullptr : found->second.get();
}

std::string Server::LevelPathFor(const std::string& uri) const {
  if (!options_.levelPath.empty() || !options_.levelsBesideScripts) return options_.levelPath;
  const std::string file = PathOfUri(uri);
  if (file.empty()) return {};
  return std::filesystem::path(file).replace_extension(".zr3").string();
}

const ZR3Level* Server::LevelOf(const Document& document) {
  const std::string& path = document.levelPath;
  if (path.empty()) return nullptr;
  std::error_code error;
  const auto time = std::filesystem::last_write_time(path, error);
  const auto size = error ? 0 : std::filesystem::file_size(path, error);
  if (error) return nullptr;
  // A level saved since it was loaded is loaded again.
  LoadedLevel& loaded = levels_[path];
  if (loaded.time == time && loaded.size == size && loaded.tried) return loaded.level.get();
  loaded = {time, size, true, nullptr};
  auto level = std::make_unique<ZR3Level>();
  try {
    level->Load(path);
    loaded.level = std::move(level);
  } catch (const std::exception& failure) {
    ShowMessage(kMessageWarning,
                "zr3: " + path + ": " + failure.what() + "; names are not checked");
  }
  return loaded.level.get();
}

void Server::Open(const rapidjson::Value& params) {
  const rapidjson::Value* item = Member(params, "textDocument");
  if (!item) return;
  const std::optional<std::string> uri = StringMember(*item, "uri");
  std::optional<std::string> text = StringMember(*item, "text");
  if (!uri || !text) return;
  const rapidjson::Value* version = Member(*item, "version");
  auto document = std::make_unique<Document>(
      Document{*uri, version && version->IsInt64() ? version->GetInt64() : 0,
               ClientText(std::move(*text)), LevelPathFor(*uri)});
  Document& opened = *(documents_[*uri] = std::move(document));
  Publish(*uri, &opened);
}

void Server::Change(const rapidjson::Value& params) {
  Document* document = Find(params);
  const rapidjson::Value* changes = Member(params, "contentChanges");
  if (!document || !changes || !changes->IsArray() || changes->Empty()) return;
  // The server asked for whole texts: the last change holds the text as it is now.
  const rapidjson::Value& last = (*changes)[changes->Size() - 1];
  std::optional<std::string> text = StringMember(last, "text");
  if (!text) return;
  document->text = ClientText(std::move(*text));
  const rapidjson::Value* version = Member(*Member(params, "textDocument"), "version");
  if (version && version->IsInt64()) document->version = version->GetInt64();
  Publish(document->uri, document);
}

void Server::Close(const rapidjson::Value& params) {
  Document* document = Find(params);
  if (!document) return;
  const std::string uri = document->uri;
  documents_.erase(uri);
  // The closed document's problems are no longer shown.
  Publish(uri, nullptr);
}

namespace {

// A range of one line, given in characters, written in UTF-16 code units.
void Range(JsonWriter& json, const ClientText& text, std::size_t line, std::size_t column,
           std::size_t length) {
  const auto position = [&](std::size_t character) {
    json.StartObject();
    Key(json, "line");
    json.Uint64(line);
    Key(json, "character");
    json.Uint64(text.Utf16Column(line, character));
    json.EndObject();
  };
  json.StartObject();
  Key(json, "start");
  position(column);
  Key(json, "end");
  position(column + length);
  json.EndObject();
}

// The place a request names: its line counted from 1 and its column in characters.
struct TextPlace {
  std::size_t line;
  std::size_t column;
};

std::optional<TextPlace> PlaceOf(const rapidjson::Value& params, const ClientText& text) {
  const rapidjson::Value* position = Member(params, "position");
  if (!position) return std::nullopt;
  const std::optional<std::size_t> line = CountMember(*position, "line");
  const std::optional<std::size_t> character = CountMember(*position, "character");
  if (!line || !character) return std::nullopt;
  return TextPlace{*line + 1, text.CharacterColumn(*line, *character)};
}

}  // namespace

void Server::Publish(const std::string& uri, const Document* document) {
  const ScriptAnalysis analysis =
      document ? ScriptAnalyzer(LevelOf(*document)).Analyze(document->text.Bytes())
               : ScriptAnalysis{};
  rapidjson::StringBuffer buffer;
  JsonWriter json(buffer);
  json.StartObject();
  Key(json, "jsonrpc");
  json.String("2.0");
  Key(json, "method");
  json.String("textDocument/publishDiagnostics");
  Key(json, "params");
  json.StartObject();
  Key(json, "uri");
  json.String(uri.data(), static_cast<rapidjson::SizeType>(uri.size()));
  if (document) {
    Key(json, "version");
    json.Int64(document->version);
  }
  Key(json, "diagnostics");
  json.StartArray();
  for (const ScriptDiagnostic& diagnostic : analysis.diagnostics) {
    json.StartObject();
    Key(json, "range");
    Range(json, document->text, diagnostic.line - 1, diagnostic.column, diagnostic.length);
    Key(json, "severity");
    json.Int(diagnostic.severity == Severity::Error ? kSeverityError : kSeverityWarning);
    Key(json, "source");
    json.String("zr3");
    Key(json, "message");
    String(json, diagnostic.message);
    json.EndObject();
  }
  json.EndArray();
  json.EndObject();
  json.EndObject();
  Send({buffer.GetString(), buffer.GetSize()});
}

void Server::Completion(const rapidjson::Value& params, Reply& reply) {
  const Document* document = Find(params);
  if (!document) return;
  const std::optional<TextPlace> place = PlaceOf(params, document->text);
  if (!place) return;
  const CompletionList list = ScriptAnalyzer(LevelOf(*document))
                                  .Complete(document->text.Bytes(), place->line, place->column);
  JsonWriter& json = reply.Result();
  json.StartObject();
  Key(json, "isIncomplete");
  json.Bool(false);
  Key(json, "items");
  json.StartArray();
  for (const ScriptCompletion& item : list.items) {
    json.StartObject();
    Key(json, "label");
    String(json, item.label);
    Key(json, "kind");
    json.Int(item.kind == CompletionKind::Keyword ? kCompletionKeyword
             : item.kind == CompletionKind::Word  ? kCompletionEnumMember
                                                  : kCompletionReference);
    Key(json, "detail");
    String(json, item.detail);
    // The client matches what is typed against the whole token, its quote included.
    Key(json, "filterText");
    String(json, item.insertText);
    Key(json, "textEdit");
    json.StartObject();
    Key(json, "range");
    Range(json, document->text, place->line - 1, list.column, list.length);
    Key(json, "newText");
    String(json, item.insertText);
    json.EndObject();
    json.EndObject();
  }
  json.EndArray();
  json.EndObject();
}

void Server::Hover(const rapidjson::Value& params, Reply& reply) {
  const Document* document = Find(params);
  if (!document) return;
  const std::optional<TextPlace> place = PlaceOf(params, document->text);
  if (!place) return;
  const std::optional<ScriptHover> hover =
      ScriptAnalyzer(LevelOf(*document)).Hover(document->text.Bytes(), place->line, place->column);
  JsonWriter& json = reply.Result();
  if (!hover) {
    json.Null();
    return;
  }
  std::string value;
  for (const std::string& line : hover->text) {
    if (!value.empty()) value += '\n';
    value += line;
  }
  json.StartObject();
  Key(json, "contents");
  json.StartObject();
  Key(json, "kind");
  json.String("plaintext");
  Key(json, "value");
  String(json, value);
  json.EndObject();
  Key(json, "range");
  Range(json, document->text, place->line - 1, hover->column, hover->length);
  json.EndObject();
}

void Server::Symbols(const rapidjson::Value& params, Reply& reply) {
  const Document* document = Find(params);
  if (!document) return;
  const ScriptAnalysis analysis = ScriptAnalyzer(nullptr).Analyze(document->text.Bytes());
  JsonWriter& json = reply.Result();
  json.StartArray();
  for (const ScriptSymbol& script : analysis.scripts) {
    const std::size_t lastLine = std::min(script.endLine, document->text.LineCount()) - 1;
    json.StartObject();
    Key(json, "name");
    String(json, script.name);
    Key(json, "detail");
    std::string_view label = ScriptHeaders()[static_cast<std::size_t>(script.kind)].readable;
    label = label.substr(0, label.find(':'));
    String(json, label);
    Key(json, "kind");
    json.Int(kSymbolFunction);
    Key(json, "range");
    json.StartObject();
    Key(json, "start");
    json.StartObject();
    Key(json, "line");
    json.Uint64(script.line - 1);
    Key(json, "character");
    json.Uint(0);
    json.EndObject();
    Key(json, "end");
    json.StartObject();
    Key(json, "line");
    json.Uint64(lastLine);
    Key(json, "character");
    json.Uint64(document->text.Utf16Length(lastLine));
    json.EndObject();
    json.EndObject();
    Key(json, "selectionRange");
    Range(json, document->text, script.line - 1, script.nameColumn, script.nameLength);
    json.EndObject();
  }
  json.EndArray();
}

void Server::SendError(const rapidjson::Value* id, int code, std::string_view message) {
  Reply reply(id);
  reply.Error(code, message);
  Send(reply.Finish());
}

void Server::ShowMessage(int type, std::string_view message) {
  rapidjson::StringBuffer buffer;
  JsonWriter json(buffer);
  json.StartObject();
  Key(json, "jsonrpc");
  json.String("2.0");
  Key(json, "method");
  json.String("window/showMessage");
  Key(json, "params");
  json.StartObject();
  Key(json, "type");
  json.Int(type);
  Key(json, "message");
  String(json, message);
  json.EndObject();
  json.EndObject();
  Send({buffer.GetString(), buffer.GetSize()});
}

void Server::Send(std::string_view json) {
  std::string framed = "Content-Length: " + std::to_string(json.size()) + "\r\n\r\n";
  framed += json;
  output_(framed);
}

}  // namespace zr3::lsp
