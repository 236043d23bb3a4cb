#pragma once

#include <QString>
#include <exception>
#include <string>
#include <string_view>

#include "level/text.h"

// The one place where the editor turns the level's 8-bit texts, file paths and the core's
// messages into display text and back.
namespace zr3 {

// Level texts are single Windows-1252 bytes; every byte maps to one character and back, so a
// name survives the round trip through a list caption unchanged.
QString ToDisplay(std::string_view bytes);
// The level's bytes of typed text; throws ZR3Error naming the first character the level's
// text cannot hold ("'ż' cannot be stored in a level's text"). Never replaces a character.
std::string FromDisplay(const QString& text);
// The bytes of text that is only looked at (highlighted, searched), never stored: one byte per
// UTF-16 unit, so columns stay where they were, and DEL for a unit the level cannot hold,
// which no name or keyword holds.
std::string InspectedBytes(const QString& text);
// The lines joined with line breaks, as the details pane shows them.
QString LinesToDisplay(const Lines& lines);

// Paths go to the file system in its own encoding, not as level text.
std::string ToNativePath(const QString& path);
QString FromNativePath(const std::string& path);

// The core's messages carry paths (file system encoding) and level texts (bytes).
QString MessageText(const std::exception& error);

}  // namespace zr3
