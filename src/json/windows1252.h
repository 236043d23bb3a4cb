#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace zr3::json {

// The level's texts are 8-bit Windows-1252. The five byte values that code page leaves
// undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) stand for the code points of the same value, so
// that every byte from 1 to 255 has a character and comes back unchanged.

// Appends the bytes as UTF-8.
void AppendUtf8(std::string& out, std::string_view windows1252);

// The Windows-1252 bytes of valid UTF-8 text; false with a reason in error when the text
// holds a character the code page cannot store (or U+0000, which would end a stored text).
bool ToWindows1252(std::string_view utf8, std::string& out, std::string& error);

}  // namespace zr3::json
