#pragma once

// Script text as a client sends it (UTF-8, positions in UTF-16 code units) and as the
// analysis reads it (Windows-1252 bytes, positions in characters).

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace zr3::lsp {

class ClientText {
 public:
  explicit ClientText(std::string utf8);

  // The text as Windows-1252 bytes, one byte a character; a character the code page cannot
  // hold, or a byte that is not UTF-8, becomes '?'.
  const std::string& Bytes() const { return bytes_; }
  // Lines are counted from 0 here, as the client counts them.
  std::size_t LineCount() const { return lineStarts_.size(); }
  // The UTF-16 column of a character column of the line, and back; columns beyond the line
  // stop at its end.
  std::size_t Utf16Column(std::size_t line, std::size_t characters) const;
  std::size_t CharacterColumn(std::size_t line, std::size_t utf16) const;
  // The line's length in UTF-16 code units.
  std::size_t Utf16Length(std::size_t line) const;

 private:
  std::string_view Line(std::size_t line) const;

  std::string utf8_;
  std::string bytes_;
  std::vector<std::size_t> lineStarts_;  // in utf8_
};

// The file path of a "file:" URI, or an empty text for any other.
std::string PathOfUri(std::string_view uri);

}  // namespace zr3::lsp
