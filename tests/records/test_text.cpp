#include <gtest/gtest.h>

#include <string>

#include "level/bytes.h"
#include "records/zr3text.h"
#include "support/text_builder.h"

namespace {

using zr3::ZR3Text;
using zr3test::TextBlob;

std::string Written(ZR3Text& text) {
  zr3::ByteWriter out;
  text.Write(out);
  return out.Release();
}

ZR3Text Read(const zr3test::Blob& blob) {
  zr3::ByteReader in(blob.Bytes());
  return ZR3Text(in);
}

}  // namespace

TEST(Text, EmptyTextIsFiveHundredTwelveZerosAndAnEmptyLine) {
  ZR3Text text = Read(TextBlob({.name = "Sign"}));
  const std::string bytes = Written(text);
  ASSERT_EQ(bytes.size(), ZR3Text::kSize);
  EXPECT_EQ(bytes.substr(32), std::string(512, '\0'));

  zr3::Lines lines;
  text.Describe(lines);
  EXPECT_EQ(lines, (zr3::Lines{"Name: Sign", "Text: "}));
}

TEST(Text, KeepsEveryByteOfTheText) {
  std::string message = "Caf\xe9 \xff\x80\r\nLine two\tand\x01\x1b end";
  ZR3Text text = Read(TextBlob({.name = "N\xe4me\n", .text = message}));
  EXPECT_EQ(text.Text(), message);
  EXPECT_EQ(text.Name(), "N\xe4me\n");
  zr3::Lines lines;
  text.Describe(lines);
  EXPECT_EQ(lines[1], "Text: " + message);
  EXPECT_EQ(Written(text), TextBlob({.name = "N\xe4me\n", .text = message}).Bytes());
}

TEST(Text, TextOfFiveHundredTwelveCharactersFillsTheFieldWithoutZero) {
  const std::string full(512, 'x');
  ZR3Text text = Read(TextBlob({.name = "Long", .text = full + "ignored"}));
  EXPECT_EQ(text.Text(), full);
  const std::string bytes = Written(text);
  ASSERT_EQ(bytes.size(), ZR3Text::kSize);
  EXPECT_EQ(bytes.substr(32), full);
}
