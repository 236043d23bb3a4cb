#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "level/bytes.h"
#include "level/category.h"
#include "level/zr3error.h"
#include "level/zr3level.h"
#include "support/chain_ids.h"
#include "support/compare.h"
#include "support/level_builder.h"
#include "support/map_builder.h"
#include "support/temp_dir.h"

namespace zr3test {
namespace {

// Hands out its bytes at most chunk bytes per read, as a pipe or a slow disk may.
class ChunkedSource : public zr3::ByteSource {
 public:
  ChunkedSource(std::string bytes, std::size_t chunk) : bytes_(std::move(bytes)), chunk_(chunk) {}
  std::size_t Read(unsigned char* out, std::size_t count) override {
    const std::size_t n = std::min({count, chunk_, bytes_.size() - at_});
    std::copy_n(bytes_.data() + at_, n, out);
    at_ += n;
    return n;
  }

 private:
  std::string bytes_;
  std::size_t chunk_;
  std::size_t at_ = 0;
};

TEST(ByteSourceReading, ValuesAcrossWindowAndChunkBoundariesReadAsInMemory) {
  const std::string bytes("\x01\x02\x03\x04\x05\x06\x07\x08\x09Name\0xyz\x0a", 18);
  ChunkedSource source(bytes, 2);
  zr3::ByteReader in(source, 3);  // a window smaller than some of the reads
  EXPECT_EQ(in.Peek(2), std::string("\x01\x02"));
  EXPECT_EQ(in.U8(), 0x01);
  EXPECT_EQ(in.U32(), 0x05040302u);
  EXPECT_EQ(in.U16(), 0x0706);
  in.Skip(2);
  EXPECT_EQ(in.Offset(), 9u);
  EXPECT_EQ(in.FixedText(8), "Name");
  EXPECT_EQ(in.Peek(5), std::string("\x0a"));  // fewer at the end
  EXPECT_EQ(in.U8(), 0x0a);
  EXPECT_EQ(in.Peek(1), "");
  in.SetSection("Tiles");
  try {
    in.U16();
    FAIL() << "read past the end";
  } catch (const zr3::ZR3Error& error) {
    EXPECT_STREQ(error.what(), "Unexpected end of file while loading Tiles");
  }
}

TEST(ByteSourceReading, FileLongerThanTheReadWindowLoadsWhole) {
  // Ten maps make more than a megabyte, so the file is read in several windows.
  LevelBuilder builder;
  std::vector<MapFields> maps;
  for (int i = 0; i < 10; ++i) {
    maps.push_back(NamedMap("Map " + std::to_string(i), 100, 0));
    maps.back().opaque = std::string("\x7f\x01", 2);
  }
  ChainIds(maps, 1000);
  for (const MapFields& map : maps) builder.Add(zr3::Category::Maps, MapRecord(map));
  builder.flags[255] = "Last flag";
  const Blob built = builder.Build();
  ASSERT_GT(built.Size(), std::size_t{1} << 20);
  TempDir dir;
  const std::string path = builder.WriteTo(dir.Path("big.zr3"));

  zr3::ZR3Level level;
  level.Load(path);
  EXPECT_EQ(level.List(zr3::Category::Maps).size(), 10u);
  EXPECT_EQ(level.List(zr3::Category::Flags)[255]->Name(), "Last flag");
  EXPECT_TRUE(SameModuloIds(built, level.SaveToBytes()));

  // The same file one byte short fails with the section it ended in.
  const std::string cut = dir.Path("cut.zr3");
  WriteFile(cut, built.Bytes().substr(0, built.Size() - 1));
  zr3::ZR3Level truncated;
  try {
    truncated.Load(cut);
    FAIL() << "a cut file loaded";
  } catch (const zr3::ZR3Error& error) {
    EXPECT_STREQ(error.what(), "Unexpected end of file while loading Lists");
  }
  EXPECT_FALSE(truncated.Loaded());
}

}  // namespace
}  // namespace zr3test
