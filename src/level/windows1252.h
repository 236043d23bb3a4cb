#pragma once

#include <string>
#include <string_view>

namespace zr3 {

// The level's texts are 8-bit Windows-1252. The five byte values that code page leaves
// undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) stand for the code points of the same value, so
// that every byte from 1 to 255 has a character and comes back unchanged. Every text that is
// typed, given on the command line or read from JSON goes into a level through this mapping,
// and every text printed or shown comes out through it.

// Appends the bytes as UTF-8.
void AppendUtf8(std::string& out, std::string_view windows1252);
std::string ToUtf8(std::string_view windows1252);

// The Windows-1252 bytes of UTF-8 text; false with a reason in error when the text is not
// valid UTF-8 or holds a character the level's text cannot store (U+0000 included, which would
// end a stored text): "'ż' cannot be stored in a level's text".
bool ToWindows1252(std::string_view utf8, std::string& out, std::string& error);

// The Windows-1252 bytes of UTF-8 text; throws ZR3Error with ToWindows1252's reason.
std::string StoredText(std::string_view utf8);

}  // namespace zr3
