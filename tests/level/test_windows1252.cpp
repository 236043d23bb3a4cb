#include <gtest/gtest.h>

#include "level/windows1252.h"
#include "level/zr3error.h"

TEST(Windows1252, EveryByteOfALevelTextComesBackThroughUtf8) {
  for (int byte = 1; byte < 256; ++byte) {
    const std::string stored(1, static_cast<char>(byte));
    EXPECT_EQ(zr3::StoredText(zr3::ToUtf8(stored)), stored) << byte;
  }
  // The euro sign, the five undefined bytes and the upper half.
  EXPECT_EQ(zr3::ToUtf8("\x80\x81\x8D\x8F\x90\x9D\xC9"),
            "\u20AC\u0081\u008D\u008F\u0090\u009D\u00C9");
  EXPECT_EQ(zr3::StoredText("\u00C9p\u00E9e"),
            "\xC9p\xE9"
            "e");
}

TEST(Windows1252, RefusesWhatALevelTextCannotHoldNamingTheCharacter) {
  const auto refusal = [](std::string_view utf8) {
    try {
      zr3::StoredText(utf8);
    } catch (const zr3::ZR3Error& error) {
      return std::string(error.what());
    }
    return std::string("stored");
  };
  EXPECT_EQ(refusal("Za\u017C\u00F3\u0142\u0107"), "'\u017C' cannot be stored in a level's text");
  EXPECT_EQ(refusal("\U0001F600"), "'\U0001F600' cannot be stored in a level's text");
  EXPECT_EQ(refusal(std::string("a\0b", 3)), "U+0000 cannot be stored in a level's text");
  EXPECT_EQ(refusal("\u0080"), "U+0080 cannot be stored in a level's text");
  // Bytes that are no UTF-8 at all: a lone Windows-1252 byte, a cut sequence, an overlong form
  // and a surrogate.
  for (const std::string_view bad : {"\xE9", "\xC3", "\xC0\xAF", "\xED\xA0\x80"}) {
    EXPECT_EQ(refusal(bad), "the text is not valid UTF-8");
  }
}
