#include "level/windows1252.h"

#include <array>
#include <cstdint>
#include <cstdio>

#include "level/zr3error.h"

namespace zr3 {

namespace {

// The characters of 0x80 to 0x9F; the undefined bytes map to themselves.
constexpr std::array<char32_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char32_t CodePointOf(unsigned char byte) {
  return byte >= 0x80 && byte < 0xA0 ? kHighControls[byte - 0x80] : byte;
}

// The byte of a code point, or -1 when the code page has none.
int ByteOf(char32_t c) {
  if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<int>(c);
  for (std::size_t i = 0; i < kHighControls.size(); ++i) {
    if (kHighControls[i] == c) return static_cast<int>(0x80 + i);
  }
  return -1;
}

void AppendCodePoint(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

// The character as the author typed it, or its code point for a control, which shows nothing.
std::string CharacterName(char32_t c) {
  if (c < 0x20 || (c >= 0x7F && c < 0xA0)) {
    char name[16];
    std::snprintf(name, sizeof name, "U+%04X", static_cast<unsigned>(c));
    return name;
  }
  std::string name = "'";
  AppendCodePoint(name, c);
  return name + "'";
}

// The length of the UTF-8 sequence a lead byte starts; 0 for a byte that starts none.
std::size_t SequenceLength(unsigned char lead) {
  if (lead < 0x80) return 1;
  if (lead >= 0xC2 && lead < 0xE0) return 2;
  if (lead >= 0xE0 && lead < 0xF0) return 3;
  if (lead >= 0xF0 && lead < 0xF5) return 4;
  return 0;
}

}  // namespace

void AppendUtf8(std::string& out, std::string_view windows1252) {
  for (char byte : windows1252) AppendCodePoint(out, CodePointOf(static_cast<unsigned char>(byte)));
}

std::string ToUtf8(std::string_view windows1252) {
  std::string out;
  out.reserve(windows1252.size());
  AppendUtf8(out, windows1252);
  return out;
}

bool ToWindows1252(std::string_view utf8, std::string& out, std::string& error) {
  out.clear();
  for (std::size_t i = 0; i < utf8.size();) {
    const auto lead = static_cast<unsigned char>(utf8[i]);
    const std::size_t length = SequenceLength(lead);
    if (length == 0 || i + length > utf8.size()) {
      error = "the text is not valid UTF-8";
      return false;
    }
    char32_t c = length == 1 ? lead : lead & (0x7F >> length);
    for (std::size_t k = 1; k < length; ++k) {
      const auto next = static_cast<unsigned char>(utf8[i + k]);
      if ((next & 0xC0) != 0x80) {
        error = "the text is not valid UTF-8";
        return false;
      }
      c = (c << 6) | (next & 0x3F);
    }
    // Overlong forms, surrogates and values beyond Unicode are no characters.
    if ((length == 3 && (c < 0x800 || (c >= 0xD800 && c <= 0xDFFF))) ||
        (length == 4 && (c < 0x10000 || c > 0x10FFFF))) {
      error = "the text is not valid UTF-8";
      return false;
    }
    i += length;
    const int byte = c == 0 ? -1 : ByteOf(c);
    if (byte < 0) {
      error = CharacterName(c) + " cannot be stored in a level's text";
      return false;
    }
    out += static_cast<char>(byte);
  }
  return true;
}

std::string StoredText(std::string_view utf8) {
  std::string out;
  std::string error;
  if (!ToWindows1252(utf8, out, error)) throw ZR3Error(error);
  return out;
}

}  // namespace zr3
