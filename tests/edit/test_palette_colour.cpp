#include <gtest/gtest.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "edit/field_edit.h"
#include "level/zr3error.h"
#include "level/zr3level.h"
#include "support/chain_ids.h"
#include "support/level_builder.h"
#include "support/palette_builder.h"

namespace {

using Rgb = std::array<std::uint8_t, 3>;

struct ColourCase {
  std::size_t palette;
  std::size_t colour;
};

void PrintTo(const ColourCase& colour, std::ostream* out) {
  *out << "palette " << colour.palette << ", colour " << colour.colour;
}

// Two palettes whose every byte differs from its neighbours', so that a change of the wrong
// bytes shows.
class PaletteColour : public ::testing::TestWithParam<ColourCase> {
 protected:
  void SetUp() override {
    std::vector<zr3test::PaletteFields> palettes = {{.name = "Day"}, {.name = "Night"}};
    for (std::size_t p = 0; p < palettes.size(); ++p) {
      for (std::size_t i = 0; i < palettes[p].colours.size(); ++i) {
        palettes[p].colours[i] = static_cast<char>(i * 7 + p * 3 + 1);
      }
    }
    zr3test::ChainIds(palettes, 50);
    for (const zr3test::PaletteFields& palette : palettes) {
      builder_.Add(zr3::Category::Palettes, zr3test::PaletteBlob(palette));
    }
    level_.LoadFromBytes(builder_.Build().Bytes());
    saved_ = level_.SaveToBytes();
  }

  // Where colour of palette begins in the saved file: after the section's count, the
  // palettes before it and the palette's name.
  std::size_t ColourOffset(std::size_t palette, std::size_t colour) const {
    for (const auto& [name, offset] : builder_.SectionOffsets()) {
      if (name == "Palettes") return offset + 2 + palette * 812 + 32 + colour * 3;
    }
    ADD_FAILURE() << "no palette section";
    return 0;
  }

  zr3test::LevelBuilder builder_;
  zr3::ZR3Level level_;
  std::string saved_;
};

TEST_P(PaletteColour, OnlyThatColoursThreeBytesChangeAndUndoRedoAreExact) {
  const auto [palette, colour] = GetParam();
  constexpr Rgb kRgb = {0xfe, 0x00, 0x80};
  zr3::FieldEdit edit = zr3::PaletteColourEdit(level_, palette, colour, kRgb);
  edit.Redo(level_);
  EXPECT_TRUE(level_.Modified());
  const std::string changed = level_.SaveToBytes();
  ASSERT_EQ(changed.size(), saved_.size());
  const std::size_t at = ColourOffset(palette, colour);
  std::vector<std::size_t> differing;
  for (std::size_t i = 0; i < saved_.size(); ++i) {
    if (changed[i] != saved_[i]) differing.push_back(i);
  }
  // Each of the old bytes differs from the new ones, so all three must show.
  EXPECT_EQ(differing, (std::vector<std::size_t>{at, at + 1, at + 2}));
  EXPECT_EQ(changed.substr(at, 3), std::string("\xfe\x00\x80", 3));

  edit.Undo(level_);
  EXPECT_EQ(level_.SaveToBytes(), saved_);
  edit.Redo(level_);
  EXPECT_EQ(level_.SaveToBytes(), changed);
}

INSTANTIATE_TEST_SUITE_P(FirstMiddleLast, PaletteColour,
                         ::testing::Values(ColourCase{0, 0}, ColourCase{1, 17}, ColourCase{1, 255}),
                         [](const ::testing::TestParamInfo<ColourCase>& info) {
                           return "Palette" + std::to_string(info.param.palette) + "Colour" +
                                  std::to_string(info.param.colour);
                         });

TEST_F(PaletteColour, APaletteOrColourOutsideItsListIsRefusedAndChangesNothing) {
  for (const ColourCase bad : {ColourCase{2, 0}, ColourCase{0, 256}, ColourCase{1, 1000}}) {
    EXPECT_THROW(zr3::PaletteColourEdit(level_, bad.palette, bad.colour, {1, 2, 3}).Redo(level_),
                 zr3::ZR3Error)
        << bad.palette << " " << bad.colour;
  }
  EXPECT_FALSE(level_.Modified());
  EXPECT_EQ(level_.SaveToBytes(), saved_);
}

}  // namespace
