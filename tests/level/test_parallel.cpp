#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <string>
#include <vector>

#include "level/parallel.h"
#include "level/zr3level.h"
#include "script/zr3script.h"
#include "support/chain_ids.h"
#include "support/level_builder.h"
#include "support/script_builder.h"

namespace {

using zr3::Category;

TEST(ParallelParts, EveryIndexOnceAndTheFirstFailureRethrown) {
  for (std::size_t count : {std::size_t{0}, std::size_t{5}, std::size_t{1000}, std::size_t{4099}}) {
    std::vector<std::atomic<int>> visits(count);
    zr3::ParallelParts(count, 100, [&](std::size_t first, std::size_t last) {
      for (std::size_t i = first; i < last; ++i) ++visits[i];
    });
    for (std::size_t i = 0; i < count; ++i) ASSERT_EQ(visits[i], 1) << i << " of " << count;
  }
  try {
    zr3::ParallelParts(4000, 100, [](std::size_t first, std::size_t) {
      throw std::runtime_error("part from " + std::to_string(first));
    });
    ADD_FAILURE() << "nothing was thrown";
  } catch (const std::runtime_error& error) {
    EXPECT_STREQ(error.what(), "part from 0");
  }
}

// Enough object scripts that their links are shared among threads: each still names what it
// names, and its neighbours are the scripts beside it.
TEST(ParallelParts, ALevelOfManyScriptsLinksEveryScript) {
  constexpr std::size_t kScripts = 4100;
  std::vector<zr3test::ScriptFields> scripts;
  for (std::size_t i = 0; i < kScripts; ++i) {
    // "Run script" i / 2 (code 114): a reference into the list being linked.
    scripts.push_back(zr3test::ScriptWith("Script " + std::to_string(i), {},
                                          {{114, {static_cast<std::int16_t>(i / 2)}}}));
  }
  zr3test::ChainIds(scripts, 100);
  zr3test::LevelBuilder builder;
  for (const auto& script : scripts)
    builder.Add(Category::ObjectScripts, zr3test::ScriptBlob(script));
  zr3::ZR3Level level;
  level.LoadFromBytes(builder.Build().Bytes());
  const auto& list = level.List(Category::ObjectScripts);
  for (std::size_t i = 0; i < kScripts; ++i) {
    const auto& script = static_cast<const zr3::ZR3Script&>(*list[i]);
    ASSERT_EQ(script.Command(0).Reference(zr3::ScriptReference::Script), list[i / 2].get()) << i;
    ASSERT_EQ(script.Prev(), i > 0 ? list[i - 1].get() : nullptr) << i;
    ASSERT_EQ(script.Next(), i + 1 < kScripts ? list[i + 1].get() : nullptr) << i;
  }
}

}  // namespace
