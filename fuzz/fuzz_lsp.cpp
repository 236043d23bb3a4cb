// Bytes a client might send -> the language server, in two pieces split where the first byte
// says. Whatever comes, the server answers with framed JSON and never crashes; it is
// initialized first so that every method is reachable.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "lsp/lsp_server.h"

namespace {

std::string Frame(std::string_view json) {
  return "Content-Length: " + std::to_string(json.size()) + "\r\n\r\n" + std::string(json);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  std::size_t answered = 0;
  zr3::lsp::Server server({.levelsBesideScripts = false}, [&](std::string_view message) {
    if (message.rfind("Content-Length: ", 0) != 0) __builtin_trap();
    ++answered;
  });
  server.Feed(Frame(R"({"jsonrpc":"2.0","id":0,"method":"initialize","params":{}})"));
  if (answered != 1) __builtin_trap();
  const std::size_t split = size == 0 ? 0 : data[0] % size;
  server.Feed(input.substr(0, split));
  server.Feed(input.substr(split));
  return 0;
}
