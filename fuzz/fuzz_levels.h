#pragma once

#include <memory>
#include <string_view>

#include "level/zr3error.h"
#include "level/zr3level.h"

// The level the bytes hold, or none when they are refused; a refusal must say why.
inline std::unique_ptr<zr3::ZR3Level> LoadOrNone(std::string_view bytes) {
  auto level = std::make_unique<zr3::ZR3Level>();
  try {
    level->LoadFromBytes(bytes);
  } catch (const zr3::ZR3Error& error) {
    if (std::string_view(error.what()).empty()) __builtin_trap();
    return nullptr;
  }
  return level;
}
