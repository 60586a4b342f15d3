// Tag texts handed out stay readable after newer ones replace them and after their stream is
// freed (a reader may still hold one then); the sanitizer builds catch a text freed too soon.
#include "audio/TagStore.h"

#include <gtest/gtest.h>

#include <memory>

namespace audio {
namespace {

TEST(TagStore, KeptTextOutlivesItsReplacementsAndItsStore) {
  auto store = std::make_unique<TagStore>();
  const char* first = store->Keep("StreamTitle='First';");
  for (std::size_t i = 1; i < TagStore::kKeep; ++i) {
    EXPECT_STREQ(store->Keep("StreamTitle='" + std::to_string(i) + "';"),
                 ("StreamTitle='" + std::to_string(i) + "';").c_str());
  }
  EXPECT_STREQ(first, "StreamTitle='First';");
  store.reset();
  EXPECT_STREQ(first, "StreamTitle='First';");
}

}  // namespace
}  // namespace audio
