#include "lsp/lsp_text.h"

#include "level/windows1252.h"

namespace zr3::lsp {

namespace {

constexpr char32_t kInvalid = 0xFFFFFFFF;

// The code point at i, which moves past it; a byte that does not start valid UTF-8 is taken
// alone and answers kInvalid.
char32_t NextCodePoint(std::string_view text, std::size_t& i) {
  const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
  const unsigned char lead = byte(i);
  std::size_t length = 0;
  char32_t value = 0;
  if (lead < 0x80) {
    ++i;
    return lead;
  } else if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
    value = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    value = lead & 0x0F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    value = lead & 0x07;
  } else {
    ++i;
    return kInvalid;
  }
  if (i + length > text.size()) {
    ++i;
    return kInvalid;
  }
  for (std::size_t k = 1; k < length; ++k) {
    if ((byte(i + k) & 0xC0) != 0x80) {
      ++i;
      return kInvalid;
    }
    value = (value << 6) | (byte(i + k) & 0x3F);
  }
  const bool overlong = (length == 3 && value < 0x800) || (length == 4 && value < 0x10000);
  if (overlong || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
    ++i;
    return kInvalid;
  }
  i += length;
  return value;
}

std::size_t Utf16Units(char32_t codePoint) {
  return codePoint != kInvalid && codePoint > 0xFFFF ? 2 : 1;
}

}  // namespace

ClientText::ClientText(std::string utf8) : utf8_(std::move(utf8)) {
  bytes_.reserve(utf8_.size());
  lineStarts_.push_back(0);
  std::string converted;
  std::string error;
  for (std::size_t i = 0; i < utf8_.size();) {
    const std::size_t start = i;
    const char32_t codePoint = NextCodePoint(utf8_, i);
    if (codePoint == '\n') lineStarts_.push_back(i);
    if (codePoint < 0x80) {
      bytes_ += static_cast<char>(codePoint);
      continue;
    }
    converted.clear();
    const bool held =
        codePoint != kInvalid &&
        ToWindows1252(std::string_view(utf8_).substr(start, i - start), converted, error) &&
        converted.size() == 1;
    bytes_ += held ? converted[0] : '?';
  }
}

std::string_view ClientText::Line(std::size_t line) const {
  if (line >= lineStarts_.size()) return {};
  const std::size_t start = lineStarts_[line];
  std::size_t end = line + 1 < lineStarts_.size() ? lineStarts_[line + 1] - 1 : utf8_.size();
  if (end > start && utf8_[end - 1] == '\r') --end;
  return std::string_view(utf8_).substr(start, end - start);
}

std::size_t ClientText::Utf16Column(std::size_t line, std::size_t characters) const {
  const std::string_view text = Line(line);
  std::size_t units = 0;
  for (std::size_t i = 0, c = 0; i < text.size() && c < characters; ++c) {
    units += Utf16Units(NextCodePoint(text, i));
  }
  return units;
}

std::size_t ClientText::CharacterColumn(std::size_t line, std::size_t utf16) const {
  const std::string_view text = Line(line);
  std::size_t characters = 0;
  for (std::size_t i = 0, units = 0; i < text.size();) {
    units += Utf16Units(NextCodePoint(text, i));
    if (units > utf16) break;
    ++characters;
  }
  return characters;
}

std::size_t ClientText::Utf16Length(std::size_t line) const {
  return Utf16Column(line, Line(line).size());
}

std::string PathOfUri(std::string_view uri) {
  constexpr std::string_view kScheme = "file://";
  if (uri.substr(0, kScheme.size()) != kScheme) return {};
  uri.remove_prefix(kScheme.size());
  // "file://host/path": only the local host is a file of this machine.
  const std::size_t slash = uri.find('/');
  if (slash == std::string_view::npos) return {};
  const std::string_view host = uri.substr(0, slash);
  if (!host.empty() && host != "localhost") return {};
  uri.remove_prefix(slash);
  std::string path;
  for (std::size_t i = 0; i < uri.size(); ++i) {
    const auto hex = [](char c) {
      if (c >= '0' && c <= '9') return c - '0';
      if (c >= 'a' && c <= 'f') return c - 'a' + 10;
      if (c >= 'A' && c <= 'F') return c - 'A' + 10;
      return -1;
    };
    if (uri[i] == '%' && i + 2 < uri.size() && hex(uri[i + 1]) >= 0 && hex(uri[i + 2]) >= 0) {
      path += static_cast<char>(hex(uri[i + 1]) * 16 + hex(uri[i + 2]));
      i += 2;
    } else {
      path += uri[i];
    }
  }
  return path;
}

}  // namespace zr3::lsp
