#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "level/text.h"
#include "level/zr3base.h"

namespace zr3 {

// The attributes an item of type "Attribute Change" can change (numbers 0 to 15). Not the
// script attribute table: the names and the entries from 14 on differ.
inline constexpr std::string_view kItemAttributeNames[] = {"STR",
                                                           "AGL",
                                                           "INT",
                                                           "HP",
                                                           "SP",
                                                           "Level",
                                                           "MaxHP",
                                                           "MaxSP",
                                                           "Money",
                                                           "Exp",
                                                           "Map",
                                                           "X Loc",
                                                           "Y Loc",
                                                           "Direction",
                                                           "OBJECT-> (broken?)",
                                                           "MONSTER-> (broken?)"};

// The attributes a "Change Self" or "Change Other" spell changes (numbers 0 to 5).
inline constexpr std::string_view kSpellAttributeNames[] = {"STR",   "AGL",   "INT",
                                                            "MaxHP", "MaxSP", "AL"};

// "Run " and the script's name, or "Run script " and the stored position when unresolved.
std::string RunScriptText(const ZR3Base* script, std::int16_t position);

// An attribute change as "STR +2" or "AGL -1": "+" for changes of 0 or more.
std::string AttributeChangeText(std::span<const std::string_view> attributes, int attribute,
                                int change);

}  // namespace zr3
