#pragma once

#include <QString>
#include <exception>
#include <string>
#include <string_view>

#include "level/text.h"

// The one place where the editor turns the level's 8-bit texts, file paths and the core's
// messages into display text and back.
namespace zr3 {

// Level texts are single bytes; Latin-1 maps every byte to one character and back, so a
// name survives the round trip through a list caption unchanged.
QString ToDisplay(std::string_view bytes);
// Characters outside Latin-1 cannot be stored and become '?'.
std::string FromDisplay(const QString& text);
// The lines joined with line breaks, as the details pane shows them.
QString LinesToDisplay(const Lines& lines);

// Paths go to the file system in its own encoding, not as level text.
std::string ToNativePath(const QString& path);
QString FromNativePath(const std::string& path);

// The core's messages carry paths (file system encoding) and level texts (bytes).
QString MessageText(const std::exception& error);

}  // namespace zr3
